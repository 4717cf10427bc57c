// Showing, hiding, minimising and maximising windows, and enabling them.

#include "platform/qt/native_window_shared_qt.h"

#include "platform/qt/input_routing_qt.h"

#include <QApplication>

namespace platform {

bool show_window(WindowHandle handle, ShowCommand command)
{
    std::shared_ptr<NativeWindow> window = find_window(handle);
    if (!window || !window->outer || window->destroying)
        return false;
    QWidget* outer = window->outer;
    bool was_visible = !outer->isHidden();
    bool top_level = is_top_level(*window);
    if (command == ShowCommand::Hide) {
        if (!was_visible)
            return false;
        Message message{WM_SHOWWINDOW, 0, 0, 0};
        call_window_procedure(window, message);
        if (window->outer)
            window->outer->hide();
        return true;
    }
    if (!was_visible) {
        Message message{WM_SHOWWINDOW, 1, 0, 0};
        call_window_procedure(window, message);
        if (!is_window(handle))
            return false;
    }
    bool activate = top_level;
    Qt::WindowStates state = outer->windowState() & ~(Qt::WindowMinimized | Qt::WindowMaximized);
    switch (command) {
    case ShowCommand::Normal:
    case ShowCommand::Restore:
        if (outer->isMinimized() && command == ShowCommand::Restore)
            state = outer->windowState() & ~Qt::WindowMinimized;
        break;
    case ShowCommand::Maximized:
        state |= Qt::WindowMaximized;
        break;
    case ShowCommand::Minimized:
    case ShowCommand::Minimize:
    case ShowCommand::MinimizedNoActivate:
        state |= Qt::WindowMinimized;
        activate = activate && command == ShowCommand::Minimized;
        break;
    case ShowCommand::NoActivate:
        activate = false;
        break;
    case ShowCommand::Show:
    case ShowCommand::ShowNoActivate:
    case ShowCommand::Hide:
        state = outer->windowState();
        activate = activate && command == ShowCommand::Show;
        break;
    }
    if (top_level) {
        if (state & Qt::WindowMaximized) {
            outer->setMinimumSize(0, 0);
            outer->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
        }
        outer->setWindowState(state);
        outer->setAttribute(Qt::WA_ShowWithoutActivating, !activate);
    }
    outer->show();
    if (top_level && activate && !(state & Qt::WindowMinimized)) {
        bring_top_level_to_front(handle);
        activate_top_level(outer);
    }
    if (std::shared_ptr<NativeWindow> still = find_window(handle)) {
        layout_client(*still);
        report_geometry(still);
    }
    return was_visible;
}

bool enable_window(WindowHandle handle, bool enable)
{
    std::shared_ptr<NativeWindow> window = find_window(handle);
    if (!window || !window->outer)
        return false;
    bool was_disabled = window->outer->testAttribute(Qt::WA_ForceDisabled);
    if (was_disabled == !enable)
        return was_disabled;
    window->outer->setEnabled(enable);
    Message message{WM_ENABLE, enable ? 1u : 0u, 0, 0};
    call_window_procedure(window, message);
    return was_disabled;
}

bool is_visible(WindowHandle handle)
{
    std::shared_ptr<NativeWindow> window = find_window(handle);
    return window && window->outer && window->outer->isVisible();
}

bool is_enabled(WindowHandle handle)
{
    std::shared_ptr<NativeWindow> window = find_window(handle);
    return window && window->outer && !window->outer->testAttribute(Qt::WA_ForceDisabled);
}

bool is_minimized(WindowHandle handle)
{
    std::shared_ptr<NativeWindow> window = find_window(handle);
    return window && window->outer && window->outer->isMinimized();
}

bool is_maximized(WindowHandle handle)
{
    std::shared_ptr<NativeWindow> window = find_window(handle);
    return window && window->outer && window->outer->isMaximized();
}

}  // namespace platform
