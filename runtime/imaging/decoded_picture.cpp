#include "runtime/imaging/decoded_picture.h"

#include "runtime/imaging/byte_reader.h"

#include <algorithm>
#include <cstring>

namespace runtime::imaging {

const char* picture_kind_name(PictureKind kind)
{
    switch (kind) {
    case PictureKind::None:
        return "none";
    case PictureKind::Jpeg:
        return "JPEG";
    case PictureKind::Bmp:
        return "BMP";
    case PictureKind::Icon:
        return "icon";
    case PictureKind::Cursor:
        return "cursor";
    case PictureKind::Gif:
        return "GIF";
    case PictureKind::Pcx8:
        return "PCX 8-bit";
    case PictureKind::Pcx1:
        return "PCX 1-bit";
    case PictureKind::Png:
        return "PNG";
    }
    return "none";
}

PixelBlock PixelBlock::allocate(std::size_t size, Fill fill)
{
    PixelBlock block;
    if (size == 0)
        return block;
    void* memory = fill == Fill::Zero ? std::calloc(size, 1) : std::malloc(size);
    if (!memory)
        return block;
    block.m_data.reset(static_cast<std::uint8_t*>(memory));
    block.m_size = size;
    return block;
}

PixelBlock PixelBlock::adopt(std::uint8_t* block, std::size_t size)
{
    PixelBlock adopted;
    if (!block)
        return adopted;
    adopted.m_data.reset(block);
    adopted.m_size = size;
    return adopted;
}

PictureSize fitted_size(int box_width, int box_height, int width, int height)
{
    if (width <= 0 || height <= 0)
        return {};
    if (box_width >= width && box_height >= height)
        return {width, height};
    // An axis that fits keeps its size as the bound; the other is the box's.
    int bound_width = box_width >= width ? width : box_width;
    int bound_height = box_height >= height ? height : box_height;
    double scale = std::min(static_cast<double>(bound_width) / width, static_cast<double>(bound_height) / height);
    return {static_cast<int>(width * scale), static_cast<int>(height * scale)};
}

std::uint8_t* bitmap_rows_to_write(std::shared_ptr<platform::Bitmap>& bitmap, int width, int height,
                                   std::size_t& stride)
{
    bool reusable = bitmap && bitmap.use_count() == 1 && bitmap->width() == width && bitmap->height() == height;
    if (!reusable) {
        // The old one goes first, so that the two are never held at once.
        bitmap.reset();
        bitmap = platform::blank_bitmap(width, height);
    }
    if (!bitmap)
        return nullptr;
    stride = bitmap->row_stride();
    return bitmap->writable_rows();
}

void write_bitmap_header(std::uint8_t* header, std::int32_t width, std::int32_t height, std::uint16_t planes)
{
    std::memset(header, 0, kBitmapHeaderBytes);
    store_u32_le(header + 0, kBitmapHeaderBytes);
    store_u32_le(header + 4, static_cast<std::uint32_t>(width));
    store_u32_le(header + 8, static_cast<std::uint32_t>(height));
    store_u16_le(header + 12, planes);
    store_u16_le(header + 14, 8);
    store_u32_le(header + 32, 256);  // colours used
    store_u32_le(header + 36, 256);  // colours important
}

}  // namespace runtime::imaging
