#pragma once
// Icon and cursor files: the directory walk, the choice of entry, and the entry's image (a bitmap
// with colour and mask rows at 1, 4, 8, 24 or 32 bits, or a PNG) as 32-bit pixels, from which the
// platform makes the icon of kinds 3 and 4.

#include "runtime/imaging/decode_error.h"
#include "runtime/imaging/decoded_picture.h"

#include <cstdint>
#include <span>
#include <vector>

namespace runtime::imaging {

// The image size the decoder asks for when it chooses an entry.
inline constexpr int kIconSize = 32;

struct IconImage {
    int entry = 0;  // 0-based directory position of the entry used
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> pixels;  // blue, green, red, alpha (not premultiplied); top row first
};

// The directory position of the entry to use: the first whose colour count byte is above 15 and whose
// width byte is `wanted_size`, else the last.
DecodeResult<int> choose_icon_entry(std::span<const std::uint8_t> bytes, int wanted_size);
DecodeResult<IconImage> decode_icon_image(std::span<const std::uint8_t> bytes, int wanted_size = kIconSize);
// Kind Icon for an icon file (type 1), Cursor for a cursor file (type 2).
DecodeResult<DecodedPicture> decode_icon(std::span<const std::uint8_t> bytes, int wanted_size = kIconSize);

}  // namespace runtime::imaging
