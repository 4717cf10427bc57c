#pragma once
// Decoding through the system's picture codecs (the build for Windows): the pixel block is sized,
// checked against the decode cap and allocated here, once the codec tells the size it will give.

#include "platform/picture_codecs.h"
#include "runtime/imaging/decode_error.h"
#include "runtime/imaging/decoded_picture.h"

#include <cstdint>
#include <span>

namespace runtime::imaging {

struct SystemCodecPicture {
    PixelBlock pixels;
    platform::PictureCodecSize size;
};

// bytes_per_pixel is the codec's output layout (3 for JPEG, 4 for PNG); `unsupported` is the error
// a layout the runtime does not show becomes. shown_width/height as decode_with_system_codec.
DecodeResult<SystemCodecPicture> decode_through_system_codec(platform::PictureCodec codec,
                                                             std::span<const std::uint8_t> bytes, int shown_width,
                                                             int shown_height, std::uint32_t bytes_per_pixel,
                                                             DecodeError unsupported);

}  // namespace runtime::imaging
