#pragma once
// JPEG through libjpeg, into the kind-1 layout (blue, green, red; bottom row first; no padding).

#include "runtime/imaging/decode_error.h"
#include "runtime/imaging/decoded_picture.h"

#include <cstdint>
#include <span>

namespace runtime::imaging {

// A progressive JPEG with more scans than this is refused: each scan walks the whole coefficient
// buffer, so a file of thousands of tiny scans costs minutes of work for a few kilobytes of input.
inline constexpr int kMaxJpegScans = 100;

DecodeResult<DecodedPicture> decode_jpeg(std::span<const std::uint8_t> bytes);

}  // namespace runtime::imaging
