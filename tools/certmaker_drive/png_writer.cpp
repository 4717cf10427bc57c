#include "png_writer.h"

#include <zlib.h>

#include <climits>
#include <string_view>

namespace drive {
namespace {

void put_word(std::vector<std::uint8_t>& out, std::uint32_t value)
{
    out.push_back(static_cast<std::uint8_t>(value >> 24));
    out.push_back(static_cast<std::uint8_t>(value >> 16));
    out.push_back(static_cast<std::uint8_t>(value >> 8));
    out.push_back(static_cast<std::uint8_t>(value));
}

// Length, type, data, and the CRC of type and data.
void put_chunk(std::vector<std::uint8_t>& out, std::string_view type, std::span<const std::uint8_t> data)
{
    put_word(out, static_cast<std::uint32_t>(data.size()));
    std::size_t type_at = out.size();
    out.insert(out.end(), type.begin(), type.end());
    out.insert(out.end(), data.begin(), data.end());
    uLong crc = crc32(0, out.data() + type_at, static_cast<uInt>(out.size() - type_at));
    put_word(out, static_cast<std::uint32_t>(crc));
}

}  // namespace

std::vector<std::uint8_t> png_from_bgr_rows(std::span<const std::uint8_t> rows, int width, int height)
{
    auto row_bytes = static_cast<std::size_t>(width) * 3;
    // A screen shot is far below these; the bounds keep every count within zlib's 32-bit ones.
    if (width <= 0 || height <= 0 || width > 65535 || height > 65535 ||
        rows.size() != row_bytes * static_cast<std::size_t>(height) || rows.size() > UINT_MAX / 2)
        return {};

    // Each row: filter type 0 (none), then red, green, blue.
    std::vector<std::uint8_t> raw;
    raw.reserve((row_bytes + 1) * static_cast<std::size_t>(height));
    for (int y = 0; y < height; ++y) {
        raw.push_back(0);
        const std::uint8_t* row = rows.data() + static_cast<std::size_t>(y) * row_bytes;
        for (std::size_t x = 0; x < row_bytes; x += 3) {
            raw.push_back(row[x + 2]);
            raw.push_back(row[x + 1]);
            raw.push_back(row[x]);
        }
    }
    uLongf packed_size = compressBound(static_cast<uLong>(raw.size()));
    std::vector<std::uint8_t> packed(packed_size);
    if (compress2(packed.data(), &packed_size, raw.data(), static_cast<uLong>(raw.size()), Z_BEST_COMPRESSION) != Z_OK)
        return {};
    packed.resize(packed_size);

    std::vector<std::uint8_t> png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::vector<std::uint8_t> header;
    put_word(header, static_cast<std::uint32_t>(width));
    put_word(header, static_cast<std::uint32_t>(height));
    // 8 bits per sample, colour type 2 (RGB), deflate, adaptive filtering, no interlace.
    header.insert(header.end(), {8, 2, 0, 0, 0});
    put_chunk(png, "IHDR", header);
    put_chunk(png, "IDAT", packed);
    put_chunk(png, "IEND", {});
    return png;
}

}  // namespace drive
