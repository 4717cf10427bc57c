// PNG through the system's codec (the build for Windows), with the caps of the libpng decoder: the
// declared size decides the allocation before anything is inflated.

#include "runtime/imaging/png_decoder.h"

#include "runtime/imaging/checked_size.h"
#include "runtime/imaging/png_chunks.h"
#include "runtime/imaging/system_codec_decode.h"

namespace runtime::imaging {
namespace {

// Signature, then the header chunk's length and type, then width and height.
constexpr std::size_t kWidthOffset = 16;
constexpr std::size_t kHeaderEnd = 24;

}  // namespace

// The system's codec gives the whole picture only, so the picture is kept whole whatever size it is
// shown at (drawing shrinks it then, to the same pixels).
DecodeResult<DecodedPicture> decode_png(std::span<const std::uint8_t> bytes, ShownSize /*shown*/)
{
    if (bytes.size() < 8)
        return DecodeError::Truncated;
    // Some codecs inflate the whole image when they open it, so a small file declaring a huge image
    // is refused here, before the codec sees it.
    if (bytes.size() < kHeaderEnd)
        return DecodeError::Truncated;
    auto declared_row = checked_multiply(load_u32_be(bytes.data() + kWidthOffset), 4);
    if (!declared_row || !checked_block_size(*declared_row, load_u32_be(bytes.data() + kWidthOffset + 4)))
        return DecodeError::TooLarge;
    if (!png_chunks_before_pixels_fit(bytes))
        return DecodeError::CorruptData;
    auto decoded = decode_through_system_codec(platform::PictureCodec::Png, bytes, 0, 0, 4, DecodeError::CorruptData);
    if (!decoded)
        return decoded.error();
    DecodedPicture picture;
    picture.kind = PictureKind::Png;
    picture.width = static_cast<std::int32_t>(decoded->size.width);
    picture.height = static_cast<std::int32_t>(decoded->size.height);
    picture.pixels = std::move(decoded->pixels);
    return picture;
}

}  // namespace runtime::imaging
