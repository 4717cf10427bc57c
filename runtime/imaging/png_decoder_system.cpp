// PNG through the system's codec (the build for Windows), with the caps of the libpng decoder: the
// declared size decides the allocation before anything is inflated.

#include "runtime/imaging/png_decoder.h"

#include "platform/picture_codecs.h"
#include "runtime/imaging/checked_size.h"

namespace runtime::imaging {
namespace {

// Signature, then the header chunk's length and type, then width and height.
constexpr std::size_t kWidthOffset = 16;
constexpr std::size_t kHeaderEnd = 24;

std::uint32_t big_endian_word(std::span<const std::uint8_t> bytes, std::size_t at)
{
    return (std::uint32_t{bytes[at]} << 24) | (std::uint32_t{bytes[at + 1]} << 16) |
           (std::uint32_t{bytes[at + 2]} << 8) | std::uint32_t{bytes[at + 3]};
}

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
    auto declared_row = checked_multiply(big_endian_word(bytes, kWidthOffset), 4);
    if (!declared_row || !checked_block_size(*declared_row, big_endian_word(bytes, kWidthOffset + 4)))
        return DecodeError::TooLarge;
    PixelBlock pixels;
    platform::PictureCodecSize decoded_size;
    DecodeError refusal = DecodeError::TooLarge;
    auto into_pixel_block = [&](const platform::PictureCodecSize& size) -> std::uint8_t* {
        auto row_bytes = checked_multiply(size.width, 4);
        auto total = row_bytes ? checked_block_size(*row_bytes, size.height) : std::nullopt;
        if (!total || *total == 0 || size.width > INT32_MAX || size.height > INT32_MAX)
            return nullptr;
        pixels = PixelBlock::allocate(*total, PixelBlock::Fill::Uninitialised);
        if (pixels.empty()) {
            refusal = DecodeError::OutOfMemory;
            return nullptr;
        }
        decoded_size = size;
        return pixels.data();
    };
    switch (platform::decode_with_system_codec(platform::PictureCodec::Png, bytes, 0, 0, into_pixel_block)) {
    case platform::PictureCodecStatus::Decoded:
        break;
    case platform::PictureCodecStatus::Refused:
        return refusal;
    case platform::PictureCodecStatus::Unsupported:
    case platform::PictureCodecStatus::Corrupt:
    case platform::PictureCodecStatus::NoCodec:
        return DecodeError::CorruptData;
    }
    DecodedPicture picture;
    picture.kind = PictureKind::Png;
    picture.width = static_cast<std::int32_t>(decoded_size.width);
    picture.height = static_cast<std::int32_t>(decoded_size.height);
    picture.pixels = std::move(pixels);
    return picture;
}

}  // namespace runtime::imaging
