#pragma once
// A 24-bit PNG from rows of blue, green, red: what the driver's screen shots are saved as.

#include <cstdint>
#include <span>
#include <vector>

namespace drive {

// `rows` holds height rows of width x 3 bytes, top row first; empty when the size is not a picture's.
std::vector<std::uint8_t> png_from_bgr_rows(std::span<const std::uint8_t> rows, int width, int height);

}  // namespace drive
