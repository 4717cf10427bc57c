#pragma once
// The system's own picture codecs, for the formats the runtime does not decode itself where the
// system has a decoder for them (JPEG and PNG on Windows).
//
// The caller decides every size: it is told the declared size before anything is decoded and
// provides the pixel block, or refuses it. Nothing is decoded for a refused picture.

#include <cstdint>
#include <functional>
#include <span>

namespace platform {

enum class PictureCodec {
    Jpeg,  // out: blue, green, red; bottom row first; no padding
    Png,   // out: blue, green, red, alpha (not premultiplied); top row first; no padding
};

enum class PictureCodecStatus {
    Decoded,
    Refused,      // the caller gave no pixel block
    Unsupported,  // a layout the runtime does not show (a CMYK JPEG)
    Corrupt,      // the codec could not read the data (truncated or broken files included)
    NoCodec,      // the system has no such codec
};

struct PictureCodecSize {
    std::uint32_t natural_width = 0;  // as declared
    std::uint32_t natural_height = 0;
    std::uint32_t width = 0;  // as decoded: smaller than declared for a reduced decode
    std::uint32_t height = 0;
};

// Asked once; answers a block of height rows of width x 3 (JPEG) or x 4 (PNG) bytes, or null.
using PictureCodecBuffer = std::function<std::uint8_t*(const PictureCodecSize& size)>;

// With a shown size (both above 0), a JPEG at least twice as large on both axes is decoded at a
// reduced scale, 1/2, 1/4 or 1/8, the smallest that still covers the shown size; the pixels of
// each output pixel are averaged.
PictureCodecStatus decode_with_system_codec(PictureCodec codec, std::span<const std::uint8_t> bytes, int shown_width,
                                            int shown_height, const PictureCodecBuffer& buffer);

}  // namespace platform
