#pragma once
// Input modes of the edit box: which typed characters each mode lets through, and the normal form a
// text takes when the box loses the focus.

#include <cstdint>
#include <string>
#include <string_view>

namespace runtime::components {

namespace EditInputMode {
inline constexpr std::uint32_t Normal = 0;
inline constexpr std::uint32_t ReadOnly = 1;
inline constexpr std::uint32_t Password = 2;
inline constexpr std::uint32_t IntegerText = 3;
inline constexpr std::uint32_t DecimalText = 4;
inline constexpr std::uint32_t Byte = 5;
inline constexpr std::uint32_t Short = 6;
inline constexpr std::uint32_t Integer = 7;
inline constexpr std::uint32_t Long = 8;
inline constexpr std::uint32_t Single = 9;
inline constexpr std::uint32_t Double = 10;
inline constexpr std::uint32_t DateTime = 11;
inline constexpr std::uint32_t Highest = 11;
}  // namespace EditInputMode

// Whether a typed character (a WM_CHAR code: single byte, or GBK lead << 8 | trail) may enter a box
// of the mode. Control characters (below 32) always pass.
bool accepts_character(std::uint32_t mode, std::uint32_t character_code);

// The text in the mode's normal form (GBK); modes 0 to 4 keep the text as it is.
std::string normalise_input(std::uint32_t mode, std::string_view text);

}  // namespace runtime::components
