// JPEG in the build for Windows. Sequential files (nearly every photo and every template) are decoded
// by the runtime's own decoder, which gives libjpeg's pixels, so that the two builds show the same
// pictures. Progressive and other files, and pictures to be shown at a reduced scale, go through the
// system's codec, with the caps of the libjpeg decoder: the declared size is checked before anything
// is decoded, and memory follows the shown size.
//
// On the files it decodes, the system's codec differs from libjpeg in ways the runtime cannot
// change: a truncated file is no picture (libjpeg shows what it has), a progressive file's scans are
// not counted (the codec bounds its own work), and reduced decodes are scaled its own way.

#include "runtime/imaging/jpeg_decoder.h"

#include "runtime/imaging/checked_size.h"
#include "runtime/imaging/jpeg_sequential.h"
#include "runtime/imaging/system_codec_decode.h"

#include <algorithm>
#include <optional>

namespace runtime::imaging {
namespace {

struct FrameSize {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    bool progressive = false;
    std::uint64_t blocks = 0;  // of all components; 0 when the header is cut short or damaged
};

// The blocks of all components of a frame (the segment from its length field on), counted as libjpeg
// counts them: each component is subsampled by its factors against the largest ones.
std::uint64_t count_blocks(std::span<const std::uint8_t> segment, std::uint32_t width, std::uint32_t height)
{
    // Length, precision, height, width, component count, then three bytes per component.
    if (segment.size() < 8)
        return 0;
    std::size_t components = segment[7];
    if (segment.size() < 8 + components * 3)
        return 0;
    std::uint32_t most_across = 0;
    std::uint32_t most_down = 0;
    for (std::size_t i = 0; i < components; ++i) {
        std::uint8_t factors = segment[8 + i * 3 + 1];
        most_across = std::max<std::uint32_t>(most_across, factors >> 4);
        most_down = std::max<std::uint32_t>(most_down, factors & 15);
    }
    if (most_across == 0 || most_down == 0)
        return 0;
    std::uint64_t blocks = 0;
    for (std::size_t i = 0; i < components; ++i) {
        std::uint8_t factors = segment[8 + i * 3 + 1];
        std::uint64_t across = (std::uint64_t{width} * (factors >> 4) + most_across * 8 - 1) / (most_across * 8);
        std::uint64_t down = (std::uint64_t{height} * (factors & 15) + most_down * 8 - 1) / (most_down * 8);
        blocks += across * down;
    }
    return blocks;
}

// The size the first start-of-frame marker declares, found by walking the marker segments; none
// when the walk runs off the bytes first.
std::optional<FrameSize> declared_frame_size(std::span<const std::uint8_t> bytes)
{
    std::size_t at = 2;  // after the start-of-image marker
    while (at + 4 <= bytes.size()) {
        if (bytes[at] != 0xFF)
            return std::nullopt;
        std::uint8_t marker = bytes[at + 1];
        if (marker == 0xFF) {  // fill byte
            ++at;
            continue;
        }
        std::size_t length = (std::size_t{bytes[at + 2]} << 8) | bytes[at + 3];
        bool start_of_frame = marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
        if (start_of_frame) {
            // Length, precision, height, width.
            if (at + 9 > bytes.size())
                return std::nullopt;
            FrameSize frame;
            frame.width = (std::uint32_t{bytes[at + 7]} << 8) | bytes[at + 8];
            frame.height = (std::uint32_t{bytes[at + 5]} << 8) | bytes[at + 6];
            frame.progressive = marker == 0xC2 || marker == 0xC6 || marker == 0xCA || marker == 0xCE;
            frame.blocks =
                count_blocks(bytes.subspan(at + 2, std::min(length, bytes.size() - at - 2)), frame.width, frame.height);
            return frame;
        }
        if (length < 2)
            return std::nullopt;
        at += 2 + length;
    }
    return std::nullopt;
}

// With `bitmap`, for drawing only: the runtime's decoder writes straight into it (see
// decode_jpeg_to_draw); the system's codec writes only its own layout, which converts on its first
// draw.
DecodeResult<DecodedPicture> decode(std::span<const std::uint8_t> bytes, ShownSize shown,
                                    std::shared_ptr<platform::Bitmap>* bitmap)
{
    if (bytes.empty())
        return DecodeError::NoBytes;
    // Some codecs decode the whole image when they open it: a declared size whose pixels could not
    // be held even at the smallest scale is refused before the codec sees the file.
    std::optional<FrameSize> frame = declared_frame_size(bytes);
    if (frame) {
        auto row_bytes = checked_multiply((frame->width + 7) / 8, 3);
        if (!row_bytes || !checked_block_size(*row_bytes, (frame->height + 7) / 8))
            return DecodeError::TooLarge;
        if (frame->progressive && !progressive_blocks_in_proportion(frame->blocks, bytes.size()))
            return DecodeError::Truncated;
    }
    // libjpeg would reduce a picture at least twice the shown size on both axes; the system's codec
    // does that here.
    bool reduced = frame && shown.as != ShownAs::Cropped && shown.width > 0 && shown.height > 0 &&
                   frame->width / 2 >= static_cast<std::uint32_t>(shown.width) &&
                   frame->height / 2 >= static_cast<std::uint32_t>(shown.height);
    if (!reduced) {
        if (auto decoded = decode_sequential_jpeg(bytes, shown, bitmap))
            return std::move(*decoded);
    }
    if (bitmap)
        bitmap->reset();
    auto decoded = decode_through_system_codec(platform::PictureCodec::Jpeg, bytes, shown.width, shown.height, 3,
                                               DecodeError::UnsupportedComponents);
    if (!decoded)
        return decoded.error();
    const platform::PictureCodecSize& decoded_size = decoded->size;
    DecodedPicture picture;
    picture.kind = PictureKind::Jpeg;
    picture.width = static_cast<std::int32_t>(decoded_size.width);
    picture.height = static_cast<std::int32_t>(decoded_size.height);
    picture.pixels = std::move(decoded->pixels);
    if (decoded_size.width != decoded_size.natural_width || decoded_size.height != decoded_size.natural_height) {
        picture.natural_width = static_cast<std::int32_t>(decoded_size.natural_width);
        picture.natural_height = static_cast<std::int32_t>(decoded_size.natural_height);
    }
    return picture;
}

}  // namespace

DecodeResult<DecodedPicture> decode_jpeg(std::span<const std::uint8_t> bytes, ShownSize shown)
{
    return decode(bytes, shown, nullptr);
}

DecodeResult<DecodedPicture> decode_jpeg_to_draw(std::span<const std::uint8_t> bytes,
                                                 std::shared_ptr<platform::Bitmap> reuse)
{
    return decode(bytes, ShownSize{}, &reuse);
}

}  // namespace runtime::imaging
