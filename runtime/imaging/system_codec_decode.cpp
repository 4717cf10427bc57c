#include "runtime/imaging/system_codec_decode.h"

#include "runtime/imaging/checked_size.h"

#include <cstdint>

namespace runtime::imaging {

DecodeResult<SystemCodecPicture> decode_through_system_codec(platform::PictureCodec codec,
                                                             std::span<const std::uint8_t> bytes, int shown_width,
                                                             int shown_height, std::uint32_t bytes_per_pixel,
                                                             DecodeError unsupported)
{
    SystemCodecPicture result;
    DecodeError refusal = DecodeError::TooLarge;
    auto into_pixel_block = [&](const platform::PictureCodecSize& size) -> std::uint8_t* {
        auto row_bytes = checked_multiply(size.width, bytes_per_pixel);
        auto total = row_bytes ? checked_block_size(*row_bytes, size.height) : std::nullopt;
        if (!total || *total == 0 || size.width > INT32_MAX || size.height > INT32_MAX)
            return nullptr;
        result.pixels = PixelBlock::allocate(*total, PixelBlock::Fill::Uninitialised);
        if (result.pixels.empty()) {
            refusal = DecodeError::OutOfMemory;
            return nullptr;
        }
        result.size = size;
        return result.pixels.data();
    };
    switch (platform::decode_with_system_codec(codec, bytes, shown_width, shown_height, into_pixel_block)) {
    case platform::PictureCodecStatus::Decoded:
        return result;
    case platform::PictureCodecStatus::Refused:
        return refusal;
    case platform::PictureCodecStatus::Unsupported:
        return unsupported;
    case platform::PictureCodecStatus::Corrupt:
    case platform::PictureCodecStatus::NoCodec:
        break;
    }
    return DecodeError::CorruptData;
}

}  // namespace runtime::imaging
