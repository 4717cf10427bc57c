#pragma once
// The `mouse pointer` property: a byte set whose leading index (one byte in data of fewer than 4
// bytes, else a 32-bit word) selects a stock cursor, or -1 followed by cursor-file bytes. Data of
// 4 or more bytes is kept with its index translated to the system cursor id, and read back with
// the id translated to the index.

#include "platform/window_handle.h"

#include <cstdint>
#include <span>
#include <vector>

namespace runtime::components {

inline constexpr std::int32_t kCursorFileFollows = -1;

// Index 0..14 to its system cursor id; any other value is returned unchanged.
std::int32_t cursor_id_from_index(std::int32_t index);
// The reverse; a value that is no table id is returned unchanged.
std::int32_t index_from_cursor_id(std::int32_t id);

// Copies with the leading 32-bit word translated (only data of 4 or more bytes has one).
std::vector<std::uint8_t> pointer_with_cursor_id(std::span<const std::uint8_t> data);
std::vector<std::uint8_t> pointer_with_index(std::span<const std::uint8_t> data);

// The cursor the data stands for; 0 for no data, index 0 or data that makes no cursor. Cursors
// made from file bytes are new each time (destroy them with platform::destroy_cursor).
platform::CursorHandle make_cursor(std::span<const std::uint8_t> data);

}  // namespace runtime::components
