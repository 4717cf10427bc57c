#include "platform/text_encoding.h"

namespace platform {
namespace {

bool in_range(unsigned char byte, unsigned char low, unsigned char high)
{
    return byte >= low && byte <= high;
}

}  // namespace

std::size_t multibyte_character_length(std::string_view text)
{
    if (text.empty())
        return 0;
    auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    if (byte(0) < 0x81 || text.size() < 2)
        return 1;
    if (text.size() >= 4 && in_range(byte(0), 0x81, 0xFE) && in_range(byte(1), 0x30, 0x39) &&
        in_range(byte(2), 0x81, 0xFE) && in_range(byte(3), 0x30, 0x39))
        return 4;
    return 2;
}

std::string_view cut_at_character(std::string_view text, std::size_t limit)
{
    std::size_t length = 0;
    while (length < text.size()) {
        std::size_t step = multibyte_character_length(text.substr(length));
        if (length + step > limit)
            break;
        length += step;
    }
    return text.substr(0, length);
}

// Linux file names are bytes, which the desktop (Qt, GLib) reads as UTF-8; Windows' names are
// UTF-16, reached from UTF-8 through std::filesystem::path.
std::string os_file_name(std::string_view runtime_name)
{
    return utf8_from_gbk(runtime_name);
}

std::string runtime_file_name(std::string_view os_name)
{
    return gbk_from_utf8(os_name);
}

}  // namespace platform
