#pragma once
// Uncompressed BMP at 1, 4, 8, 24 and 32 bits per pixel, into the kind-2 layout (blue, green, red;
// bottom row first; no padding).

#include "runtime/imaging/decode_error.h"
#include "runtime/imaging/decoded_picture.h"

#include <cstdint>
#include <span>

namespace runtime::imaging {

// Shown smaller than it is (see ShownSize), it is kept only as shown.
DecodeResult<DecodedPicture> decode_bmp(std::span<const std::uint8_t> bytes, ShownSize shown = {});

}  // namespace runtime::imaging
