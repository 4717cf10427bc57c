#include "runtime/components/notification_reflection.h"

#include "platform/native_window.h"

namespace runtime::components {

std::optional<std::intptr_t> reflect_to_child(platform::WindowHandle parent, platform::Message& message)
{
    using namespace platform;
    bool colour_query = message.id == WM_CTLCOLOREDIT || message.id == WM_CTLCOLORLISTBOX ||
                        message.id == WM_CTLCOLORBTN || message.id == WM_CTLCOLORSTATIC;
    if (message.id != WM_COMMAND && !colour_query)
        return std::nullopt;
    auto child = static_cast<WindowHandle>(message.lparam);
    if (!child || !is_window(child) || parent_window(child) != parent)
        return std::nullopt;
    Message reflected = message;
    reflected.id = kReflectedMessageBase + message.id;
    std::intptr_t result = send_message(child, reflected);
    if (colour_query && result == 0)
        return std::nullopt;
    return result;
}

}  // namespace runtime::components
