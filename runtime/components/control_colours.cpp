#include "runtime/components/control_colours.h"

#include "platform/native_window.h"
#include "runtime/components/component.h"
#include "runtime/components/notification_reflection.h"

namespace runtime::components {

bool is_reflected_colour_query(const platform::Message& message)
{
    return message.id == kReflectedControlColourEdit || message.id == kReflectedControlColourListBox ||
           message.id == kReflectedControlColourStatic || message.id == kReflectedControlColourButton;
}

std::intptr_t answer_colour_query(const platform::Message& message, std::uint32_t text_colour,
                                  std::uint32_t background_colour)
{
    auto* colours = reinterpret_cast<platform::ControlColours*>(message.wparam);
    if (!colours)
        return 0;
    platform::Colour background = resolve_background_colour(background_colour);
    colours->text = text_colour & 0x00FFFFFF;
    colours->text_background = background;
    colours->brush = background;
    return 1;
}

void send_control_font(platform::WindowHandle control, const form::Font& font)
{
    const platform::LogFont* log_font = font ? &*font : nullptr;
    platform::send_message(control, platform::WM_SETFONT, reinterpret_cast<std::uintptr_t>(log_font), 1);
}

}  // namespace runtime::components
