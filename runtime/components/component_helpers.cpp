// Small services the runtime offers every kind.

#include "platform/log_font.h"
#include "platform/system_colours.h"
#include "runtime/components/component.h"
#include "runtime/components/window_kind.h"
#include "runtime/windows/window_system.h"
#include "runtime/windows/window_table.h"

namespace runtime::components {

bool handle_common_message(const Component& component, const platform::Message& message)
{
    if (message.id == platform::WM_SETFOCUS) {
        if (WindowEntry* entry = window_table().find(component.window_id())) {
            if (WindowObject* window = window_object(*entry))
                window->focused_control = component.control_id();
        }
        EventRecord record{component.window_id(), component.control_id(), CommonEvent::GotFocus};
        raise_event(record);
    } else if (message.id == platform::WM_KILLFOCUS) {
        EventRecord record{component.window_id(), component.control_id(), CommonEvent::LostFocus};
        raise_event(record);
    }
    return false;
}

platform::Colour resolve_background_colour(std::uint32_t stored)
{
    if (stored == kDefaultColour)
        return platform::system_colour(platform::SystemColour::ButtonFace);
    return stored & 0x00FFFFFF;
}

const platform::LogFont& default_gui_log_font()
{
    static const platform::LogFont font = platform::default_gui_log_font();
    return font;
}

}  // namespace runtime::components
