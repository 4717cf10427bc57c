#pragma once
// The validity rule shared by window and unit identifiers, and the class bits of a unit identifier.

#include "runtime/boundary/values.h"

#include <cstdint>

namespace runtime::form {

// Low 24 bits not all zero and bits 24..27 not all zero. Every lookup by identifier rejects an
// invalid one without searching.
constexpr bool is_valid_identifier(std::int32_t id)
{
    auto bits = static_cast<std::uint32_t>(id);
    return (bits & 0x00FFFFFF) != 0 && (bits & 0x0F000000) != 0;
}

// A menu item of the window's menu bar: class 2 in bits 28..31, 6 in bits 24..27.
constexpr bool is_menu_item_id(std::int32_t id)
{
    auto bits = static_cast<std::uint32_t>(id);
    return (bits >> 28) == 2 && ((bits >> 24) & 0xF) == 6;
}

// Bits of a unit record's state-flag word.
namespace StateFlag {
inline constexpr std::uint32_t Visible = 0x1;
inline constexpr std::uint32_t Disabled = 0x2;
inline constexpr std::uint32_t TabStop = 0x4;
}  // namespace StateFlag

// Bits of a menu-item record's flag word.
namespace MenuFlag {
inline constexpr std::uint32_t Hidden = 0x1;
}  // namespace MenuFlag

inline constexpr std::uint32_t kNoHandlerOffset = 0xFFFFFFFF;

}  // namespace runtime::form
