#pragma once
// A font description in the 60-byte layout that stored property blocks and the runtime use.

#include <cstdint>
#include <cstring>

namespace platform {

struct LogFont {
    std::int32_t height = 0;  // negative: character height in pixels; positive: cell height
    std::int32_t width = 0;
    std::int32_t escapement = 0;  // tenths of a degree
    std::int32_t orientation = 0;
    std::int32_t weight = 0;  // 0 default, 400 normal, 700 bold
    std::uint8_t italic = 0;
    std::uint8_t underline = 0;
    std::uint8_t strike_out = 0;
    std::uint8_t char_set = 0;
    std::uint8_t out_precision = 0;
    std::uint8_t clip_precision = 0;
    std::uint8_t quality = 0;
    std::uint8_t pitch_and_family = 0;
    char face_name[32] = {};  // GBK, zero-terminated; bytes after the terminator are kept as they are
};
static_assert(sizeof(LogFont) == 60, "LogFont must keep its stored 60-byte layout");

inline LogFont log_font_from_bytes(const void* bytes)
{
    LogFont font;
    std::memcpy(&font, bytes, sizeof font);
    return font;
}

// The system's default GUI font: "宋体", height -12.
LogFont default_gui_log_font();

// Logical resolution: point sizes convert as on a 96 pixels-per-inch screen, whatever the display.
inline constexpr int kLogicalPixelsPerInch = 96;

}  // namespace platform
