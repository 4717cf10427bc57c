// The "msctls_updown32" class on Qt: a widget painted as two arrow buttons.

#include "platform/controls/updown_control.h"

#include "platform/qt/controls/control_text_qt.h"
#include "platform/qt/native_window_qt.h"
#include "platform/qt/vector_state_qt.h"
#include "platform/system_colours.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPolygon>

#include <algorithm>
#include <map>
#include <optional>

namespace platform {
namespace {

struct UpDownState {
    WindowHandle target = 0;
    UpDownRange range;
};

std::map<WindowHandle, UpDownState>& updown_states()
{
    static std::map<WindowHandle, UpDownState> states;
    return states;
}

class UpDownWidget final : public QWidget {
public:
    explicit UpDownWidget(WindowHandle handle)
        : m_handle(handle)
    {
        setFocusPolicy(Qt::NoFocus);
    }

    QRect arrow_rect(UpDownArrow arrow) const
    {
        int half = height() / 2;
        return arrow == UpDownArrow::Up ? QRect(0, 0, width(), half) : QRect(0, half, width(), height() - half);
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        for (UpDownArrow arrow : {UpDownArrow::Up, UpDownArrow::Down}) {
            QRect box = arrow_rect(arrow);
            bool pressed = m_pressed && *m_pressed == arrow;
            painter.save();
            painter.fillRect(box, control_qcolor(system_colour(SystemColour::ButtonFace)));
            clear_wide_vector_state();
            QColor light = control_qcolor(system_colour(SystemColour::ButtonHighlight));
            QColor dark = control_qcolor(system_colour(SystemColour::ButtonShadow));
            painter.setPen(pressed ? dark : light);
            painter.drawLine(box.topLeft(), box.topRight());
            painter.drawLine(box.topLeft(), box.bottomLeft());
            painter.setPen(pressed ? light : dark);
            painter.drawLine(box.bottomLeft(), box.bottomRight());
            painter.drawLine(box.topRight(), box.bottomRight());
            int size = std::max(2, std::min(box.width(), box.height()) / 4);
            QPoint centre = box.center() + (pressed ? QPoint(1, 1) : QPoint(0, 0));
            QPolygon triangle;
            if (arrow == UpDownArrow::Up)
                triangle << QPoint(centre.x() - size, centre.y() + size / 2)
                         << QPoint(centre.x() + size, centre.y() + size / 2)
                         << QPoint(centre.x(), centre.y() - size / 2 - 1);
            else
                triangle << QPoint(centre.x() - size, centre.y() - size / 2)
                         << QPoint(centre.x() + size, centre.y() - size / 2)
                         << QPoint(centre.x(), centre.y() + size / 2 + 1);
            QColor arrow_colour =
                control_qcolor(system_colour(isEnabled() ? SystemColour::ButtonText : SystemColour::GrayText));
            painter.setPen(arrow_colour);
            painter.setBrush(arrow_colour);
            painter.drawPolygon(triangle);
            painter.restore();
        }
    }

    void mousePressEvent(QMouseEvent* event) override
    {
        if (event->button() != Qt::LeftButton)
            return;
        const int middle = height() / 2;
        UpDownArrow arrow = event->position().y() < middle ? UpDownArrow::Up : UpDownArrow::Down;
        m_pressed = arrow;
        update();
        press(arrow);
    }

    void mouseReleaseEvent(QMouseEvent*) override
    {
        m_pressed.reset();
        update();
    }

private:
    void press(UpDownArrow arrow)
    {
        auto found = updown_states().find(m_handle);
        if (found == updown_states().end())
            return;
        WindowHandle target = found->second.target ? found->second.target : parent_window(m_handle);
        if (!target)
            return;
        std::intptr_t step = arrow == UpDownArrow::Up ? 1 : -1;
        send_message(target, kUpDownPressed, static_cast<std::uintptr_t>(step), m_handle);
    }

    WindowHandle m_handle;
    std::optional<UpDownArrow> m_pressed;
};

QWidget* make_updown_widget(NativeWindow& window, const CreateParams&)
{
    updown_states()[window.handle] = UpDownState{};
    return new UpDownWidget(window.handle);
}

UpDownWidget* updown_widget(WindowHandle handle)
{
    std::shared_ptr<NativeWindow> window = find_window(handle);
    if (!window || !window->client || window->window_class->name != kUpDownClassName)
        return nullptr;
    return static_cast<UpDownWidget*>(window->client.data());
}

std::intptr_t updown_procedure(WindowHandle handle, Message& message)
{
    if (message.id == WM_NCDESTROY)
        updown_states().erase(handle);
    return default_window_procedure(handle, message);
}

}  // namespace

void register_updown_class()
{
    if (is_window_class_registered(kUpDownClassName))
        return;
    ClassInfo info;
    info.background = Brush::system(SystemColour::ButtonFace);
    info.procedure = &updown_procedure;
    register_builtin_window_class(kUpDownClassName, std::move(info), &make_updown_widget);
}

bool is_updown_control(WindowHandle handle)
{
    return updown_widget(handle) != nullptr;
}

void updown_set_target(WindowHandle updown, WindowHandle target)
{
    auto found = updown_states().find(updown);
    if (found != updown_states().end())
        found->second.target = target;
}

WindowHandle updown_target(WindowHandle updown)
{
    auto found = updown_states().find(updown);
    if (found == updown_states().end())
        return 0;
    return found->second.target ? found->second.target : parent_window(updown);
}

void updown_set_range(WindowHandle updown, int lower, int upper)
{
    auto found = updown_states().find(updown);
    if (found != updown_states().end())
        found->second.range = UpDownRange{lower, upper};
}

UpDownRange updown_range(WindowHandle updown)
{
    auto found = updown_states().find(updown);
    return found == updown_states().end() ? UpDownRange{} : found->second.range;
}

Point updown_arrow_point(WindowHandle updown, UpDownArrow arrow)
{
    UpDownWidget* widget = updown_widget(updown);
    if (!widget)
        return {};
    QPoint centre = widget->arrow_rect(arrow).center();
    return Point{centre.x(), centre.y()};
}

}  // namespace platform
