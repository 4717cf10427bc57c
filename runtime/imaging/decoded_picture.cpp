#include "runtime/imaging/decoded_picture.h"

#include "runtime/imaging/byte_reader.h"

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
