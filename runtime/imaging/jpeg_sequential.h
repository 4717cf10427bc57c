#pragma once
// Sequential JPEG (baseline and extended: Huffman-coded, 8 bits per sample, greyscale or three
// components) decoded by the runtime itself. It computes what libjpeg computes with its default
// settings: the same integer inverse transform, the same smooth expansion of colour kept at half
// resolution, the same colour conversion, and a cut-off file shows the rows it has over grey. The
// build for Windows decodes these files with it, so that a picture shows the same pixels there as on
// Linux; the system's codec keeps the rest (progressive and arithmetic-coded files, other sampling).

#include "runtime/imaging/decode_error.h"
#include "runtime/imaging/decoded_picture.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <span>

namespace runtime::imaging {

// The whole picture as blue, green, red rows, bottom row first (kind Jpeg); with `shown` Cropped,
// only the top-left part the box shows is kept. With `bitmap`, the pixels go straight into a platform
// bitmap instead (top row first), written over the one `*bitmap` holds when it has the picture's
// size and nothing else holds it, and the result's `converted` is that bitmap.
//
// No value when the file is not one this decoder reads: the caller passes it to another decoder.
std::optional<DecodeResult<DecodedPicture>> decode_sequential_jpeg(std::span<const std::uint8_t> bytes,
                                                                   ShownSize shown = {},
                                                                   std::shared_ptr<platform::Bitmap>* bitmap = nullptr);

}  // namespace runtime::imaging
