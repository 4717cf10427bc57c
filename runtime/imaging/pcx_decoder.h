#pragma once
// PCX: 8 bits per pixel with its 256-colour table (kind 6, a bitmap block like the GIF's) and 1 bit
// per pixel (kind 7, monochrome rows padded to an even length).

#include "runtime/imaging/decode_error.h"
#include "runtime/imaging/decoded_picture.h"

#include <cstdint>
#include <span>

namespace runtime::imaging {

// An 8-bit file; a 1-bit single-plane file is handed on to decode_pcx1.
DecodeResult<DecodedPicture> decode_pcx8(std::span<const std::uint8_t> bytes, ShownSize shown = {});
// Shown smaller than it is (see ShownSize), either is kept only as shown.
DecodeResult<DecodedPicture> decode_pcx1(std::span<const std::uint8_t> bytes, ShownSize shown = {});

}  // namespace runtime::imaging
