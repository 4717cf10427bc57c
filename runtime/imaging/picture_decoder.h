#pragma once
// The one entry through which every component decodes a picture: probe the first bytes, hand them to
// the decoder of that kind.

#include "runtime/imaging/decode_error.h"
#include "runtime/imaging/decoded_picture.h"

#include <cstdint>
#include <memory>
#include <span>
#include <string_view>

namespace runtime::imaging {

// No bytes, a length of 0, or an unrecognised format give no picture.
DecodeResult<DecodedPicture> decode_picture(std::span<const std::uint8_t> bytes);
// As above, for a picture that will be shown as `shown` says: the decoder may keep it reduced
// (JPEG at a reduced scale; the other formats averaged or cropped row by row as they are read, see
// ShownSize); width and height are then the kept size, full_width() and full_height() the declared
// one.
DecodeResult<DecodedPicture> decode_picture(std::span<const std::uint8_t> bytes, ShownSize shown);
// As decode_picture(bytes), for a picture only the drawing routines use (a label's background): a
// JPEG may then come with its platform bitmap alone and no pixel block (see decode_jpeg_to_draw).
DecodeResult<DecodedPicture> decode_picture_to_draw(std::span<const std::uint8_t> bytes,
                                                    std::shared_ptr<platform::Bitmap> reuse = nullptr);
// How many pictures have been decoded in this process (for tests that guard caching).
long pictures_decoded();
// The decoder of `kind` whatever the bytes probe as (fuzzing, tests).
DecodeResult<DecodedPicture> decode_picture_as(PictureKind kind, std::span<const std::uint8_t> bytes);
// Reads the file named by a GBK path (its bytes are the path on this system) and decodes it as
// decode_picture does. An empty path gives no picture.
DecodeResult<DecodedPicture> decode_picture_file(std::string_view gbk_path);

}  // namespace runtime::imaging
