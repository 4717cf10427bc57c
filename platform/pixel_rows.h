#pragma once
// Rows of 32-bit pixels packed into 24-bit rows, the same on every backend.
//
// Pixels are 32-bit words 0xAARRGGBB as both backends keep them in memory (blue, green, red, and a
// fourth byte that is dropped).

#include <cstdint>

namespace platform {

// Writes `width` pixels as 3-byte blue, green, red triples at `out` (width x 3 bytes, no padding).
void pack_bgr24_row(const std::uint32_t* pixels, int width, std::uint8_t* out);

}  // namespace platform
