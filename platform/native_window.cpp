// The parts of the window interface that are the same on every backend: brushes resolved to
// colours, and what is done by sending messages to windows.

#include "platform/native_window.h"

#include "platform/system_colours.h"

namespace platform {

std::optional<Colour> Brush::resolve() const
{
    switch (kind) {
    case Kind::Null:
        return std::nullopt;
    case Kind::Solid:
        return colour;
    case Kind::System:
        return system_colour(system_index);
    }
    return std::nullopt;
}

std::string window_text(WindowHandle handle)
{
    std::string text;
    send_message(handle, WM_GETTEXT, 0, reinterpret_cast<std::intptr_t>(&text));
    return text;
}

void set_window_text(WindowHandle handle, const std::string& gbk)
{
    send_message(handle, WM_SETTEXT, 0, reinterpret_cast<std::intptr_t>(gbk.c_str()));
}

std::intptr_t send_message(WindowHandle handle, std::uint32_t id, std::uintptr_t wparam, std::intptr_t lparam)
{
    return send_message(handle, Message{id, wparam, lparam, 0});
}

std::intptr_t notify_parent(WindowHandle child, int code)
{
    WindowHandle parent = parent_window(child);
    if (!parent)
        return 0;
    return send_message(parent, WM_COMMAND, make_wparam(window_id(child), code), child);
}

ControlColours query_control_colours(WindowHandle child, std::uint32_t message_id)
{
    ControlColours colours;
    WindowHandle parent = parent_window(child);
    Message message{message_id, reinterpret_cast<std::uintptr_t>(&colours), child, 0};
    if (parent && send_message(parent, message) != 0)
        return colours;
    default_window_procedure(child, message);
    return colours;
}

}  // namespace platform
