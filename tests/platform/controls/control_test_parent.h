#pragma once
// A top-level window that records the notifications (WM_COMMAND) its child controls send it.

#include "platform/message_loop.h"
#include "platform/native_window.h"

#include <string>
#include <vector>

namespace control_test {

struct Notification {
    int id = 0;
    int code = 0;
    bool operator==(const Notification&) const = default;
};

inline std::vector<Notification>& notifications()
{
    static std::vector<Notification> list;
    return list;
}

inline platform::WindowHandle make_recording_parent()
{
    constexpr const char* kClass = "ControlsRecordingParent";
    if (!platform::is_window_class_registered(kClass)) {
        platform::ClassInfo info;
        info.background = platform::Brush::solid(0xF0F0F0);
        info.procedure = [](platform::WindowHandle handle, platform::Message& message) -> std::intptr_t {
            if (message.id == platform::WM_COMMAND) {
                notifications().push_back({platform::low_word(message.wparam), platform::high_word(message.wparam)});
                return 0;
            }
            return platform::default_window_procedure(handle, message);
        };
        platform::register_window_class(kClass, std::move(info));
    }
    platform::CreateParams params;
    params.class_name = kClass;
    params.style = platform::WS_OVERLAPPED | platform::WS_CAPTION;
    params.x = 120;
    params.y = 120;
    params.width = 400;
    params.height = 300;
    platform::WindowHandle parent = platform::create_window(params);
    platform::show_window(parent, platform::ShowCommand::Show);
    platform::set_active_window(parent);
    platform::process_waiting_messages();
    notifications().clear();
    return parent;
}

inline platform::WindowHandle make_child(const char* class_name, platform::WindowHandle parent, std::uint32_t style,
                                         int id, platform::Rect rect, const std::string& text = {})
{
    platform::CreateParams params;
    params.class_name = class_name;
    params.text = text;
    params.style = platform::WS_CHILD | platform::WS_VISIBLE | style;
    params.x = rect.left;
    params.y = rect.top;
    params.width = rect.width();
    params.height = rect.height();
    params.parent = parent;
    params.id = id;
    return platform::create_window(params);
}

}  // namespace control_test
