#include "runtime/imaging/picture_decoder.h"

#include "platform/file_system.h"
#include "runtime/imaging/bmp_decoder.h"
#include "runtime/imaging/checked_size.h"
#include "runtime/imaging/gif_decoder.h"
#include "runtime/imaging/icon_decoder.h"
#include "runtime/imaging/jpeg_decoder.h"
#include "runtime/imaging/pcx_decoder.h"
#include "runtime/imaging/png_decoder.h"
#include "runtime/imaging/probe.h"

#include <cstdio>
#include <string>
#include <vector>

namespace runtime::imaging {
namespace {

// A picture file larger than this is not read: no decoder would accept the picture it holds.
constexpr long kMaxPictureFileBytes = 1024L * 1024 * 1024;

long g_pictures_decoded = 0;

}  // namespace

long pictures_decoded()
{
    return g_pictures_decoded;
}

DecodeResult<DecodedPicture> decode_picture_as(PictureKind kind, std::span<const std::uint8_t> bytes)
{
    if (bytes.empty() || !bytes.data())
        return DecodeError::NoBytes;
    ++g_pictures_decoded;
    switch (kind) {
    case PictureKind::Jpeg:
        return decode_jpeg(bytes);
    case PictureKind::Bmp:
        return decode_bmp(bytes);
    case PictureKind::Icon:
    case PictureKind::Cursor:
        return decode_icon(bytes, kIconSize);
    case PictureKind::Gif:
        return decode_gif(bytes);
    case PictureKind::Pcx8:
        return decode_pcx8(bytes);
    case PictureKind::Pcx1:
        return decode_pcx1(bytes);
    case PictureKind::Png:
        return decode_png(bytes);
    case PictureKind::None:
        break;
    }
    return DecodeError::UnknownFormat;
}

DecodeResult<DecodedPicture> decode_picture(std::span<const std::uint8_t> bytes)
{
    if (bytes.empty() || !bytes.data())
        return DecodeError::NoBytes;
    return decode_picture_as(probe_picture(bytes), bytes);
}

DecodeResult<DecodedPicture> decode_picture_to_draw(std::span<const std::uint8_t> bytes,
                                                    std::shared_ptr<platform::Bitmap> reuse)
{
    if (bytes.empty() || !bytes.data())
        return DecodeError::NoBytes;
    PictureKind kind = probe_picture(bytes);
    if (kind != PictureKind::Jpeg) {
        reuse.reset();
        return decode_picture_as(kind, bytes);
    }
    ++g_pictures_decoded;
    return decode_jpeg_to_draw(bytes, std::move(reuse));
}

DecodeResult<DecodedPicture> decode_picture(std::span<const std::uint8_t> bytes, ShownSize shown)
{
    if (bytes.empty() || !bytes.data())
        return DecodeError::NoBytes;
    PictureKind kind = probe_picture(bytes);
    switch (kind) {
    case PictureKind::Jpeg:
        ++g_pictures_decoded;
        return decode_jpeg(bytes, shown);
    case PictureKind::Bmp:
        ++g_pictures_decoded;
        return decode_bmp(bytes, shown);
    case PictureKind::Gif:
        ++g_pictures_decoded;
        return decode_gif(bytes, shown);
    case PictureKind::Pcx8:
        ++g_pictures_decoded;
        return decode_pcx8(bytes, shown);
    case PictureKind::Pcx1:
        ++g_pictures_decoded;
        return decode_pcx1(bytes, shown);
    case PictureKind::Png:
        ++g_pictures_decoded;
        return decode_png(bytes, shown);
    case PictureKind::Icon:
    case PictureKind::Cursor:
    case PictureKind::None:
        break;
    }
    return decode_picture_as(kind, bytes);
}

DecodeResult<DecodedPicture> decode_picture_file(std::string_view gbk_path)
{
    if (gbk_path.empty())
        return DecodeError::NoBytes;
    std::FILE* file = platform::open_file(gbk_path, "rb");
    if (!file)
        return DecodeError::FileUnreadable;
    std::vector<std::uint8_t> bytes;
    long size = -1;
    if (std::fseek(file, 0, SEEK_END) == 0)
        size = std::ftell(file);
    if (size < 0 || size > kMaxPictureFileBytes || std::fseek(file, 0, SEEK_SET) != 0) {
        std::fclose(file);
        return size > kMaxPictureFileBytes ? DecodeError::TooLarge : DecodeError::FileUnreadable;
    }
    bytes.resize(static_cast<std::size_t>(size));
    std::size_t read = bytes.empty() ? 0 : std::fread(bytes.data(), 1, bytes.size(), file);
    std::fclose(file);
    if (read != bytes.size())
        return DecodeError::FileUnreadable;
    return decode_picture(bytes);
}

}  // namespace runtime::imaging
