#include "runtime/imaging/png_decoder.h"

#include "runtime/imaging/checked_size.h"

#include <png.h>

#include <cstring>

namespace runtime::imaging {

DecodeResult<DecodedPicture> decode_png(std::span<const std::uint8_t> bytes)
{
    if (bytes.size() < 8)
        return DecodeError::Truncated;
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    // The library frees the image description itself when beginning fails.
    if (!png_image_begin_read_from_memory(&image, bytes.data(), bytes.size()))
        return DecodeError::CorruptData;
    image.format = PNG_FORMAT_BGRA;

    // The declared size decides the allocation, so a small file declaring a huge image (a
    // decompression bomb) is refused here, before anything is inflated.
    auto row_bytes = checked_multiply(image.width, 4);
    auto total = row_bytes ? checked_block_size(*row_bytes, image.height) : std::nullopt;
    if (!total || *total == 0) {
        png_image_free(&image);
        return DecodeError::TooLarge;
    }
    PixelBlock pixels = PixelBlock::allocate(*total, PixelBlock::Fill::Uninitialised);
    if (pixels.empty()) {
        png_image_free(&image);
        return DecodeError::OutOfMemory;
    }
    if (!png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr)) {
        png_image_free(&image);
        return DecodeError::CorruptData;
    }
    DecodedPicture picture;
    picture.kind = PictureKind::Png;
    picture.width = static_cast<std::int32_t>(image.width);
    picture.height = static_cast<std::int32_t>(image.height);
    picture.pixels = std::move(pixels);
    png_image_free(&image);
    return picture;
}

}  // namespace runtime::imaging
