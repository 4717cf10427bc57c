// Messages: sending, the default window procedure, notifications to the parent, control colours
// and timers.

#include "platform/qt/native_window_shared_qt.h"

#include "platform/key_codes.h"
#include "platform/qt/device_context_qt.h"
#include "platform/qt/input_routing_qt.h"

#include <QApplication>

namespace platform {

std::intptr_t send_message(WindowHandle handle, Message message)
{
    std::shared_ptr<NativeWindow> window = find_window(handle);
    if (!window)
        return 0;
    return call_window_procedure(window, message);
}

std::intptr_t default_window_procedure(WindowHandle handle, Message& message)
{
    std::shared_ptr<NativeWindow> window = find_window(handle);
    if (!window)
        return 0;
    if (is_input_message(message.id)) {
        note_default_input_handling();
        if (message.id == WM_SYSKEYDOWN && message.wparam == VK_F4 && (message.key_state & KeyState::Alt))
            send_message(top_level_ancestor(handle), WM_CLOSE);
        return 0;
    }
    switch (message.id) {
    case WM_ERASEBKGND: {
        std::optional<Colour> colour = window->window_class->info.background.resolve();
        auto* context = reinterpret_cast<DeviceContext*>(message.wparam);
        if (!colour || !context || !window->client)
            return 0;
        context->fill_rect(Rect{0, 0, window->client->width(), window->client->height()}, *colour);
        return 1;
    }
    case WM_CLOSE:
        destroy_window(handle);
        return 0;
    case WM_SETTEXT: {
        const char* text = reinterpret_cast<const char*>(message.lparam);
        window->text = text ? text : "";
        if (window->outer) {
            if (is_top_level(*window))
                window->outer->setWindowTitle(qt_from_gbk(window->text));
            window->outer->update();
        }
        return 1;
    }
    case WM_GETTEXT: {
        auto* text = reinterpret_cast<std::string*>(message.lparam);
        if (!text)
            return 0;
        *text = window->text;
        return static_cast<std::intptr_t>(text->size());
    }
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORSTATIC:
        return default_control_colours(message);
    case WM_ACTIVATE:
        // An activated window takes the focus unless it is already inside it.
        if (message.wparam != WA_INACTIVE && !is_minimized(handle)) {
            WindowHandle focus = focus_window();
            if (!focus || top_level_ancestor(focus) != handle)
                set_focus(handle);
        }
        return 0;
    default:
        return 0;
    }
}

bool set_timer(WindowHandle handle, int id, int milliseconds)
{
    std::shared_ptr<NativeWindow> window = find_window(handle);
    if (!window || !window->outer || window->destroying)
        return false;
    kill_timer(handle, id);
    int qt_id = window->outer->startTimer(std::max(milliseconds, 1));
    if (qt_id == 0)
        return false;
    window->timers[id] = qt_id;
    return true;
}

bool kill_timer(WindowHandle handle, int id)
{
    std::shared_ptr<NativeWindow> window = find_window(handle);
    if (!window || !window->outer)
        return false;
    auto found = window->timers.find(id);
    if (found == window->timers.end())
        return false;
    window->outer->killTimer(found->second);
    window->timers.erase(found);
    return true;
}

}  // namespace platform
