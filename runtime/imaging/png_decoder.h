#pragma once
// PNG (libpng's simplified reader on Linux, the system codec on Windows) into the kind-8 layout (blue, green, red,
// alpha, not premultiplied; top row first; no padding).

#include "runtime/imaging/decode_error.h"
#include "runtime/imaging/decoded_picture.h"

#include <cstdint>
#include <span>

namespace runtime::imaging {

// Shown smaller than it is (see ShownSize), it is kept only as shown, its transparency laid over
// the shown background.
DecodeResult<DecodedPicture> decode_png(std::span<const std::uint8_t> bytes, ShownSize shown = {});

}  // namespace runtime::imaging
