#pragma once
// JPEG into the kind-1 layout (blue, green, red; bottom row first; no padding): through libjpeg on
// Linux; on Windows through the runtime's own sequential decoder (jpeg_sequential.h), which gives the
// same pixels, and the system's codec for the rest.

#include "runtime/imaging/decode_error.h"
#include "runtime/imaging/decoded_picture.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>

namespace runtime::imaging {

// A progressive JPEG with more scans than this is refused: each scan walks the whole coefficient
// buffer, so a file of thousands of tiny scans costs minutes of work for a few kilobytes of input.
inline constexpr int kMaxJpegScans = 100;

// A progressive JPEG keeps every coefficient of the whole picture until its last scan, whatever size
// it is shown at: a block of 64 two-byte values for each 8 x 8 square of each component. Its first
// scan codes at least one bit for each block (arithmetic coding may use less, but only for a picture
// with next to nothing in it), so a file that would need more than 128 bytes of blocks per bit it
// holds is mostly missing, or made up. Above what any picture may use, such a file is refused before
// the blocks are allocated: a few hundred bytes would otherwise cost gigabytes.
inline constexpr std::uint64_t kJpegBlockBytes = std::uint64_t{64} * 2;
inline constexpr std::uint64_t kJpegBlockBytesAlwaysAllowed = std::uint64_t{32} * 1024 * 1024;

// Whether `blocks` (of all components together) are in proportion to an input of `input_size` bytes.
inline bool progressive_blocks_in_proportion(std::uint64_t blocks, std::size_t input_size)
{
    std::uint64_t block_bytes = blocks * kJpegBlockBytes;
    return block_bytes <= kJpegBlockBytesAlwaysAllowed || blocks / 8 <= input_size;
}

// With a shown size, a picture at least twice as large on both axes is decoded at a reduced scale
// (1/2, 1/4 or 1/8, the smallest that still covers the shown size): the library then averages each
// block instead of producing every pixel, which is the same picture to the eye once shrunk. Shown
// cropped (a natural-size box), only the rows and columns the box shows are kept.
DecodeResult<DecodedPicture> decode_jpeg(std::span<const std::uint8_t> bytes, ShownSize shown = {});
// The whole picture for the drawing routines only: where the decoder can, it writes the pixels
// straight into the picture's platform bitmap (`converted`) and keeps no pixel block. A `reuse`
// bitmap of the picture's size that nothing else holds is written over instead of making a new
// one (a label showing one template after another keeps its memory); otherwise it is released.
DecodeResult<DecodedPicture> decode_jpeg_to_draw(std::span<const std::uint8_t> bytes,
                                                 std::shared_ptr<platform::Bitmap> reuse = nullptr);

}  // namespace runtime::imaging
