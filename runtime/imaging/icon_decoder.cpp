#include "runtime/imaging/icon_decoder.h"

#include "runtime/imaging/byte_reader.h"
#include "runtime/imaging/checked_size.h"
#include "runtime/imaging/png_decoder.h"

#include <algorithm>
#include <climits>
#include <cstring>

namespace runtime::imaging {
namespace {

constexpr std::size_t kDirectoryHeaderBytes = 6;
constexpr std::size_t kEntryBytes = 16;
constexpr std::size_t kInfoHeaderBytes = 40;
constexpr std::uint8_t kPngSignature[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};

struct Directory {
    std::uint16_t type = 0;
    std::uint16_t count = 0;
};

DecodeResult<Directory> read_directory(std::span<const std::uint8_t> bytes)
{
    if (bytes.empty())
        return DecodeError::NoBytes;
    ByteReader reader(bytes);
    auto reserved = reader.read_u16_le();
    auto type = reader.read_u16_le();
    auto count = reader.read_u16_le();
    if (!reserved || !type || !count)
        return DecodeError::Truncated;
    if (*reserved != 0 || (*type != 1 && *type != 2) || *count == 0)
        return DecodeError::BadSignature;
    return Directory{*type, *count};
}

DecodeResult<IconImage> decode_png_entry(std::span<const std::uint8_t> data)
{
    auto png = decode_png(data);
    if (!png)
        return png.error();
    IconImage image;
    image.width = png->width;
    image.height = png->height;
    image.pixels.assign(png->pixels.data(), png->pixels.data() + png->pixels.size());
    return image;
}

// A bitmap entry: information header, colour table (up to 8 bits), colour rows, then the 1-bit mask
// rows (set bits are transparent), both bottom row first and padded to 4 bytes.
DecodeResult<IconImage> decode_bitmap_entry(std::span<const std::uint8_t> data)
{
    ByteReader reader(data);
    auto header = reader.read_bytes(kInfoHeaderBytes);
    if (!header)
        return DecodeError::Truncated;
    const std::uint8_t* h = header->data();
    std::uint32_t header_size = load_u32_le(h);
    auto width = static_cast<std::int32_t>(load_u32_le(h + 4));
    auto double_height = static_cast<std::int32_t>(load_u32_le(h + 8));
    unsigned bits = load_u16_le(h + 14);
    std::uint32_t compression = load_u32_le(h + 16);
    std::uint32_t colours_used = load_u32_le(h + 32);
    if (header_size < kInfoHeaderBytes || width <= 0 || double_height <= 1)
        return DecodeError::BadHeader;
    if (compression != 0)
        return DecodeError::UnsupportedCompression;
    if (bits != 1 && bits != 4 && bits != 8 && bits != 24 && bits != 32)
        return DecodeError::UnsupportedBitDepth;
    auto w = static_cast<std::size_t>(width);
    auto height = static_cast<std::size_t>(double_height / 2);

    auto out_row = checked_multiply(w, 4);
    auto total = out_row ? checked_block_size(*out_row, height) : std::nullopt;
    auto colour_row = checked_row_bytes(w, bits, 4);
    auto mask_row = checked_row_bytes(w, 1, 4);
    if (!total || !colour_row || !mask_row)
        return DecodeError::TooLarge;

    if (!reader.seek(header_size))
        return DecodeError::Truncated;
    std::uint8_t colours[256 * 4] = {};
    std::size_t colour_count = 0;
    if (bits <= 8) {
        std::size_t entries =
            colours_used == 0 || colours_used > (1u << bits) ? (std::size_t{1} << bits) : colours_used;
        auto table = reader.read_bytes(entries * 4);
        if (!table)
            return DecodeError::Truncated;
        colour_count = entries;
        std::memcpy(colours, table->data(), entries * 4);
    }
    auto colour_bytes = checked_multiply(*colour_row, height);
    if (!colour_bytes)
        return DecodeError::TooLarge;
    auto colour_data = reader.read_bytes(*colour_bytes);
    if (!colour_data)
        return DecodeError::Truncated;
    // Some writers leave the mask out of 32-bit images; the image is then opaque where its alpha says.
    auto mask_bytes = checked_multiply(*mask_row, height);
    std::optional<std::span<const std::uint8_t>> mask_data;
    if (mask_bytes)
        mask_data = reader.read_bytes(*mask_bytes);

    IconImage image;
    image.width = width;
    image.height = static_cast<int>(height);
    image.pixels.assign(*total, 0);
    bool any_alpha = false;
    for (std::size_t y = 0; y < height; ++y) {
        const std::uint8_t* in = colour_data->data() + (height - 1 - y) * *colour_row;
        std::uint8_t* out = image.pixels.data() + y * *out_row;
        for (std::size_t x = 0; x < w; ++x, out += 4) {
            if (bits == 32) {
                std::memcpy(out, in + x * 4, 4);
                any_alpha = any_alpha || out[3] != 0;
            } else if (bits == 24) {
                std::memcpy(out, in + x * 3, 3);
                out[3] = 255;
            } else {
                unsigned per_byte = 8 / bits;
                unsigned shift = 8 - bits * (1 + static_cast<unsigned>(x % per_byte));
                unsigned index = (in[x / per_byte] >> shift) & ((1u << bits) - 1);
                if (index < colour_count)
                    std::memcpy(out, colours + std::size_t{index} * 4, 3);
                out[3] = 255;
            }
        }
    }
    // The mask decides transparency unless a 32-bit image carries its own alpha.
    if (mask_data && !(bits == 32 && any_alpha)) {
        for (std::size_t y = 0; y < height; ++y) {
            const std::uint8_t* mask = mask_data->data() + (height - 1 - y) * *mask_row;
            std::uint8_t* out = image.pixels.data() + y * *out_row;
            for (std::size_t x = 0; x < w; ++x)
                out[x * 4 + 3] = ((mask[x / 8] >> (7 - x % 8)) & 1) ? 0 : 255;
        }
    } else if (bits == 32 && !any_alpha) {
        for (std::size_t i = 3; i < image.pixels.size(); i += 4)
            image.pixels[i] = 255;
    }
    return image;
}

}  // namespace

DecodeResult<int> choose_icon_entry(std::span<const std::uint8_t> bytes, int wanted_size)
{
    auto directory = read_directory(bytes);
    if (!directory)
        return directory.error();
    ByteReader reader(bytes);
    (void)reader.seek(kDirectoryHeaderBytes);
    for (int i = 0; i < directory->count; ++i) {
        auto entry = reader.read_bytes(kEntryBytes);
        if (!entry)
            return DecodeError::Truncated;
        std::uint8_t width = (*entry)[0];
        std::uint8_t colour_count = (*entry)[2];
        if (colour_count > 15 && width == wanted_size)
            return i;
    }
    return directory->count - 1;
}

DecodeResult<IconImage> decode_icon_image(std::span<const std::uint8_t> bytes, int wanted_size)
{
    auto chosen = choose_icon_entry(bytes, wanted_size);
    if (!chosen)
        return chosen.error();
    const std::uint8_t* entry = bytes.data() + kDirectoryHeaderBytes + static_cast<std::size_t>(*chosen) * kEntryBytes;
    std::uint32_t size = load_u32_le(entry + 8);
    std::uint32_t offset = load_u32_le(entry + 12);
    if (offset > bytes.size() || size > bytes.size() - offset || size == 0)
        return DecodeError::BadIconEntry;
    auto data = bytes.subspan(offset, size);

    auto image =
        data.size() >= sizeof kPngSignature && std::memcmp(data.data(), kPngSignature, sizeof kPngSignature) == 0
            ? decode_png_entry(data)
            : decode_bitmap_entry(data);
    if (!image)
        return image.error();
    image->entry = *chosen;
    return image;
}

DecodeResult<DecodedPicture> decode_icon(std::span<const std::uint8_t> bytes, int wanted_size)
{
    auto directory = read_directory(bytes);
    if (!directory)
        return directory.error();
    auto image = decode_icon_image(bytes, wanted_size);
    if (!image)
        return image.error();
    auto icon = platform::icon_from_bgra32(image->pixels.data(), image->width, image->height);
    if (!icon)
        return DecodeError::IconCreationFailed;
    DecodedPicture picture;
    picture.kind = directory->type == 1 ? PictureKind::Icon : PictureKind::Cursor;
    picture.width = image->width;
    picture.height = image->height;
    picture.icon = std::move(icon);
    return picture;
}

}  // namespace runtime::imaging
