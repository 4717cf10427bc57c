#include "platform/input_synthesis.h"

#include "platform/messages.h"
#include "platform/qt/key_codes_qt.h"
#include "platform/qt/native_window_qt.h"
#include "platform/text_encoding.h"

#include <QApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWheelEvent>

namespace platform {
namespace {

Qt::KeyboardModifiers qt_modifiers(std::uint32_t key_state)
{
    Qt::KeyboardModifiers modifiers;
    if (key_state & KeyState::Ctrl)
        modifiers |= Qt::ControlModifier;
    if (key_state & KeyState::Shift)
        modifiers |= Qt::ShiftModifier;
    if (key_state & KeyState::Alt)
        modifiers |= Qt::AltModifier;
    return modifiers;
}

Qt::MouseButton qt_button(MouseButton button)
{
    switch (button) {
    case MouseButton::Left:
        return Qt::LeftButton;
    case MouseButton::Right:
        return Qt::RightButton;
    case MouseButton::Middle:
        return Qt::MiddleButton;
    }
    return Qt::LeftButton;
}

// Buttons held during synthetic input, as real input reports them.
Qt::MouseButtons g_buttons_held;

struct Target {
    QWidget* widget = nullptr;
    QPoint position;
};

// The window's client widget, or the part of a standard control under the point.
Target mouse_target(WindowHandle handle, Point position)
{
    std::shared_ptr<NativeWindow> window = find_window(handle);
    if (!window || !window->client)
        return {};
    QPoint point(position.x, position.y);
    Target target{window->client, point};
    if (window->builtin) {
        QWidget* child = window->client->childAt(point);
        std::shared_ptr<NativeWindow> owner = child ? window_of_widget(child) : nullptr;
        if (child && owner && owner->handle == handle)
            target = Target{child, child->mapFrom(window->client, point)};
    }
    return target;
}

void send_mouse(WindowHandle handle, Point position, QEvent::Type type, Qt::MouseButton button, std::uint32_t key_state)
{
    Target target = mouse_target(handle, position);
    if (!target.widget)
        return;
    QPointF global = target.widget->mapToGlobal(QPointF(target.position));
    QMouseEvent event(type, QPointF(target.position), global, button, g_buttons_held, qt_modifiers(key_state));
    QApplication::sendEvent(target.widget, &event);
}

QWidget* key_target(WindowHandle handle)
{
    if (handle == 0) {
        if (QWidget* focused = QApplication::focusWidget())
            return focused;
        return nullptr;
    }
    std::shared_ptr<NativeWindow> window = find_window(handle);
    return window ? input_widget(*window) : nullptr;
}

void send_key(WindowHandle handle, QEvent::Type type, int virtual_key, std::uint32_t key_state)
{
    QWidget* target = key_target(handle);
    if (!target)
        return;
    QString text;
    // Keys typed with Ctrl or Alt held make no text, except the control characters of Ctrl+letter.
    if (!(key_state & KeyState::Alt)) {
        if (key_state & KeyState::Ctrl) {
            if (virtual_key >= 'A' && virtual_key <= 'Z')
                text = QString(QChar(virtual_key - 'A' + 1));
        } else {
            text = text_of_virtual_key(virtual_key, key_state & KeyState::Shift);
        }
    }
    Qt::KeyboardModifiers modifiers = qt_modifiers(key_state);
    if (virtual_key >= VK_NUMPAD0 && virtual_key <= VK_DIVIDE)
        modifiers |= Qt::KeypadModifier;
    QKeyEvent event(type, qt_key_from_virtual_key(virtual_key), modifiers, text);
    QApplication::sendEvent(target, &event);
}

}  // namespace

void synthesize_mouse_press(WindowHandle window, Point position, MouseButton button, std::uint32_t key_state)
{
    g_buttons_held |= qt_button(button);
    send_mouse(window, position, QEvent::MouseButtonPress, qt_button(button), key_state);
}

void synthesize_mouse_release(WindowHandle window, Point position, MouseButton button, std::uint32_t key_state)
{
    g_buttons_held &= ~Qt::MouseButtons(qt_button(button));
    send_mouse(window, position, QEvent::MouseButtonRelease, qt_button(button), key_state);
}

void synthesize_mouse_move(WindowHandle window, Point position, std::uint32_t key_state)
{
    send_mouse(window, position, QEvent::MouseMove, Qt::NoButton, key_state);
}

void synthesize_click(WindowHandle window, Point position, MouseButton button, std::uint32_t key_state)
{
    synthesize_mouse_press(window, position, button, key_state);
    synthesize_mouse_release(window, position, button, key_state);
}

void synthesize_double_click(WindowHandle window, Point position, MouseButton button, std::uint32_t key_state)
{
    synthesize_click(window, position, button, key_state);
    g_buttons_held |= qt_button(button);
    send_mouse(window, position, QEvent::MouseButtonDblClick, qt_button(button), key_state);
    synthesize_mouse_release(window, position, button, key_state);
}

void synthesize_wheel(WindowHandle window, Point position, int delta, std::uint32_t key_state)
{
    Target target = mouse_target(window, position);
    if (!target.widget)
        return;
    QPointF global = target.widget->mapToGlobal(QPointF(target.position));
    QWheelEvent event(QPointF(target.position), global, QPoint(), QPoint(0, delta), g_buttons_held,
                      qt_modifiers(key_state), Qt::NoScrollPhase, false);
    QApplication::sendEvent(target.widget, &event);
}

void synthesize_key_press(WindowHandle window, int virtual_key, std::uint32_t key_state)
{
    send_key(window, QEvent::KeyPress, virtual_key, key_state);
}

void synthesize_key_release(WindowHandle window, int virtual_key, std::uint32_t key_state)
{
    send_key(window, QEvent::KeyRelease, virtual_key, key_state);
}

void synthesize_key_stroke(WindowHandle window, int virtual_key, std::uint32_t key_state)
{
    synthesize_key_press(window, virtual_key, key_state);
    synthesize_key_release(window, virtual_key, key_state);
}

void synthesize_text_input(WindowHandle window, std::string_view gbk)
{
    QWidget* target = key_target(window);
    if (!target)
        return;
    std::u16string text = utf16_from_gbk(gbk);
    QInputMethodEvent event;
    event.setCommitString(QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size())));
    QApplication::sendEvent(target, &event);
}

}  // namespace platform
