#include "runtime/imaging/probe.h"

#include "runtime/imaging/byte_reader.h"

namespace runtime::imaging {

PictureKind probe_picture(std::span<const std::uint8_t> bytes)
{
    if (bytes.size() < 8)
        return PictureKind::None;
    const std::uint8_t* b = bytes.data();
    if (b[0] == 'B' && b[1] == 'M')
        return PictureKind::Bmp;
    if (b[0] == 0xFF && b[1] == 0xD8)
        return PictureKind::Jpeg;
    if (b[0] == 0x89 && b[1] == 'P' && b[2] == 'N' && b[3] == 'G')
        return PictureKind::Png;
    std::uint16_t reserved = load_u16_le(b);
    std::uint16_t type = load_u16_le(b + 2);
    std::uint16_t count = load_u16_le(b + 4);
    if (reserved == 0 && type == 1 && count > 0)
        return PictureKind::Icon;
    if (reserved == 0 && type == 2 && count > 0)
        return PictureKind::Cursor;
    if (b[0] == 'G' && b[1] == 'I' && b[2] == 'F' && b[3] == '8' && (b[4] == '7' || b[4] == '9') && b[5] == 'a')
        return PictureKind::Gif;
    if (b[0] == 10 && b[1] <= 5 && b[2] == 1 && b[3] == 8)
        return PictureKind::Pcx8;
    if (b[0] == 10 && b[1] == 3 && b[2] == 1 && b[3] == 1)
        return PictureKind::Pcx1;
    return PictureKind::None;
}

}  // namespace runtime::imaging
