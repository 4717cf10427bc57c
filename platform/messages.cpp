#include "platform/messages.h"

#include "platform/system_colours.h"
#include "platform/text_encoding.h"

namespace platform {

std::uint32_t gbk_char_code(std::string_view gbk_character)
{
    if (gbk_character.empty())
        return 0;
    std::size_t length = multibyte_character_length(gbk_character);
    std::uint32_t code = 0;
    for (std::size_t i = 0; i < length; ++i)
        code = code << 8 | static_cast<unsigned char>(gbk_character[i]);
    return code;
}

std::string gbk_from_char_code(std::uint32_t code)
{
    if (code > 0xFFFFFF)
        return std::string{static_cast<char>(code >> 24), static_cast<char>((code >> 16) & 0xFF),
                           static_cast<char>((code >> 8) & 0xFF), static_cast<char>(code & 0xFF)};
    if (code > 0xFF)
        return std::string{static_cast<char>((code >> 8) & 0xFF), static_cast<char>(code & 0xFF)};
    return std::string(1, static_cast<char>(code));
}

std::intptr_t default_control_colours(const Message& message)
{
    auto* colours = reinterpret_cast<ControlColours*>(message.wparam);
    if (!colours)
        return 0;
    bool field = message.id == WM_CTLCOLOREDIT || message.id == WM_CTLCOLORLISTBOX;
    Colour background = system_colour(field ? SystemColour::Window : SystemColour::ButtonFace);
    colours->text = system_colour(SystemColour::WindowText);
    colours->text_background = background;
    colours->brush = background;
    return 1;
}

bool is_input_message(std::uint32_t id)
{
    switch (id) {
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_CHAR:
    case WM_SYSKEYDOWN:
    case WM_SYSKEYUP:
    case WM_SYSCHAR:
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
    case WM_MOUSEWHEEL:
        return true;
    default:
        return false;
    }
}

}  // namespace platform
