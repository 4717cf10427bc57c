// Focus and activation.

#include "platform/qt/native_window_shared_qt.h"

#include "platform/qt/input_routing_qt.h"

#include <QApplication>

namespace platform {

void activate_top_level(QWidget* widget)
{
    if (!widget || !widget->isVisible())
        return;
    widget->activateWindow();
    // Activation by the window system comes later (or never, off screen); make it effective now so
    // that focus and activation messages follow at once.
    QT_WARNING_PUSH
    QT_WARNING_DISABLE_DEPRECATED
    QApplication::setActiveWindow(widget);
    QT_WARNING_POP
}

WindowHandle focus_window()
{
    return tracked_focus();
}

WindowHandle set_focus(WindowHandle handle)
{
    WindowHandle previous = tracked_focus();
    if (handle == 0) {
        if (QWidget* focused = QApplication::focusWidget())
            focused->clearFocus();
        return previous;
    }
    std::shared_ptr<NativeWindow> window = find_window(handle);
    if (!window || !window->outer || window->destroying)
        return previous;
    QWidget* top = window->outer->window();
    if (!top->isActiveWindow())
        activate_top_level(top);
    if (QWidget* widget = input_widget(*window))
        widget->setFocus(Qt::OtherFocusReason);
    return previous;
}

WindowHandle active_window()
{
    std::shared_ptr<NativeWindow> window = window_of_widget(QApplication::activeWindow());
    return window ? top_level_ancestor(window->handle) : 0;
}

bool set_active_window(WindowHandle handle)
{
    std::shared_ptr<NativeWindow> window = find_window(top_level_ancestor(handle));
    if (!window || !window->outer || !window->outer->isVisible())
        return false;
    bring_top_level_to_front(window->handle);
    window->outer->raise();
    activate_top_level(window->outer);
    return true;
}

}  // namespace platform
