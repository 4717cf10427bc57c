// The two widgets behind a native window: the outer widget reports moves, resizes, activation,
// close requests and timers to the window procedure; the client widget is the client area.

#include "platform/qt/native_window_shared_qt.h"

#include <QApplication>
#include <QCloseEvent>
#include <QTimerEvent>

#include <algorithm>

namespace platform {

OuterWidget::OuterWidget(WindowHandle handle, QWidget* parent)
    : QWidget(parent)
    , m_handle(handle)
{
    setAttribute(Qt::WA_NoMousePropagation);
    setMouseTracking(true);
}

void OuterWidget::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    if (std::shared_ptr<NativeWindow> window = find_window(m_handle)) {
        layout_client(*window);
        report_geometry(window);
    }
}

void OuterWidget::moveEvent(QMoveEvent* event)
{
    QWidget::moveEvent(event);
    if (std::shared_ptr<NativeWindow> window = find_window(m_handle))
        report_geometry(window);
}

void OuterWidget::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    std::shared_ptr<NativeWindow> window = find_window(m_handle);
    if (!window || window->destroying)
        return;
    if (event->type() == QEvent::WindowStateChange) {
        report_geometry(window);
    } else if (event->type() == QEvent::ActivationChange && isWindow()) {
        QWidget* active = QApplication::activeWindow();
        std::shared_ptr<NativeWindow> other = window_of_widget(active);
        bool activated = isActiveWindow();
        if (activated)
            bring_top_level_to_front(m_handle);
        Message message{WM_ACTIVATE, activated ? WA_ACTIVE : WA_INACTIVE,
                        (other && other->handle != m_handle) ? other->handle : 0, 0};
        call_window_procedure(window, message);
    }
}

void OuterWidget::closeEvent(QCloseEvent* event)
{
    // The window procedure decides; the default one destroys the window.
    event->ignore();
    if (std::shared_ptr<NativeWindow> window = find_window(m_handle); window && !window->destroying) {
        Message message{WM_CLOSE, 0, 0, 0};
        call_window_procedure(window, message);
    }
}

void OuterWidget::timerEvent(QTimerEvent* event)
{
    std::shared_ptr<NativeWindow> window = find_window(m_handle);
    if (!window || window->destroying)
        return;
    for (const auto& [id, qt_id] : window->timers) {
        if (qt_id == event->timerId()) {
            Message message{WM_TIMER, static_cast<std::uintptr_t>(id), 0, 0};
            call_window_procedure(window, message);
            return;
        }
    }
}

ClientWidget::ClientWidget(WindowHandle handle, QWidget* parent)
    : QWidget(parent)
    , m_handle(handle)
{
    setAttribute(Qt::WA_NoMousePropagation);
    setAttribute(Qt::WA_InputMethodEnabled);
    setMouseTracking(true);
    // A click does not focus a plain window; focus comes from set_focus (and activation).
    setFocusPolicy(Qt::NoFocus);
}

void layout_client(NativeWindow& window)
{
    if (!window.outer || !window.client)
        return;
    FrameInsets insets = drawn_insets(window);
    QRect area = window.outer->rect().adjusted(insets.left, insets.top, -insets.right, -insets.bottom);
    window.client->setGeometry(area.x(), area.y(), std::max(0, area.width()), std::max(0, area.height()));
}

void report_geometry(const std::shared_ptr<NativeWindow>& window)
{
    if (!window->outer || !window->client || window->destroying || !window->created)
        return;
    // geometry(), not pos(): for a top-level window pos() includes the desktop's frame.
    QPoint origin = window->outer->geometry().topLeft() + window->client->pos();
    QSize size = window->client->size();
    std::uintptr_t kind = SIZE_RESTORED;
    if (window->outer->isMinimized())
        kind = SIZE_MINIMIZED;
    else if (window->outer->isMaximized())
        kind = SIZE_MAXIMIZED;
    bool moved = !window->geometry_reported || origin != window->reported_origin;
    bool resized = !window->geometry_reported || size != window->reported_size || kind != window->reported_size_kind;
    window->geometry_reported = true;
    window->reported_origin = origin;
    window->reported_size = size;
    window->reported_size_kind = kind;
    if (moved) {
        Message message{WM_MOVE, 0, make_lparam(origin.x(), origin.y()), 0};
        call_window_procedure(window, message);
    }
    if (resized && !window->destroying) {
        Message message{WM_SIZE, kind, make_lparam(size.width(), size.height()), 0};
        call_window_procedure(window, message);
    }
}

}  // namespace platform
