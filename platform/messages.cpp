#include "platform/messages.h"

namespace platform {

std::uint32_t gbk_char_code(std::string_view gbk_character)
{
    if (gbk_character.empty())
        return 0;
    auto first = static_cast<unsigned char>(gbk_character[0]);
    if (first < 0x80 || gbk_character.size() < 2)
        return first;
    return (static_cast<std::uint32_t>(first) << 8) | static_cast<unsigned char>(gbk_character[1]);
}

std::string gbk_from_char_code(std::uint32_t code)
{
    if (code > 0xFF)
        return std::string{static_cast<char>((code >> 8) & 0xFF), static_cast<char>(code & 0xFF)};
    return std::string(1, static_cast<char>(code));
}

}  // namespace platform
