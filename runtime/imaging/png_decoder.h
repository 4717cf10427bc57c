#pragma once
// PNG (libpng's simplified reader on Linux, the system codec on Windows) into the kind-8 layout (blue, green, red,
// alpha, not premultiplied; top row first; no padding).

#include "runtime/imaging/decode_error.h"
#include "runtime/imaging/decoded_picture.h"

#include <cstdint>
#include <span>

namespace runtime::imaging {

DecodeResult<DecodedPicture> decode_png(std::span<const std::uint8_t> bytes);

}  // namespace runtime::imaging
