#include "runtime/imaging/bmp_decoder.h"

#include "runtime/imaging/byte_reader.h"
#include "runtime/imaging/checked_size.h"
#include "runtime/imaging/shown_rows.h"

#include <climits>
#include <cstring>
#include <vector>

namespace runtime::imaging {
namespace {

constexpr std::size_t kFileHeaderBytes = 14;
constexpr std::size_t kInfoHeaderBytes = 40;

struct BmpHeader {
    std::uint32_t pixel_offset = 0;
    std::uint32_t info_size = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::uint16_t bit_count = 0;
    std::uint32_t compression = 0;
    std::uint32_t colours_used = 0;
};

DecodeResult<BmpHeader> read_header(ByteReader& reader)
{
    auto headers = reader.read_bytes(kFileHeaderBytes + kInfoHeaderBytes);
    if (!headers)
        return DecodeError::Truncated;
    const std::uint8_t* b = headers->data();
    if (b[0] != 'B' || b[1] != 'M')
        return DecodeError::BadSignature;
    BmpHeader header;
    header.pixel_offset = load_u32_le(b + 10);
    header.info_size = load_u32_le(b + 14);
    header.width = static_cast<std::int32_t>(load_u32_le(b + 18));
    header.height = static_cast<std::int32_t>(load_u32_le(b + 22));
    header.bit_count = load_u16_le(b + 28);
    header.compression = load_u32_le(b + 30);
    header.colours_used = load_u32_le(b + 46);
    return header;
}

}  // namespace

DecodeResult<DecodedPicture> decode_bmp(std::span<const std::uint8_t> bytes, ShownSize shown)
{
    if (bytes.empty())
        return DecodeError::NoBytes;
    ByteReader reader(bytes);
    auto header_result = read_header(reader);
    if (!header_result)
        return header_result.error();
    const BmpHeader header = *header_result;

    // The older 12-byte core header lays its fields out differently; the fields read above would be
    // nonsense for it.
    if (header.info_size < kInfoHeaderBytes)
        return DecodeError::BadHeader;
    if (header.compression != 0)
        return DecodeError::UnsupportedCompression;
    unsigned bits = header.bit_count;
    if (bits != 1 && bits != 4 && bits != 8 && bits != 24 && bits != 32)
        return DecodeError::UnsupportedBitDepth;
    // -2147483648 has no positive counterpart.
    if (header.width == INT_MIN || header.height == INT_MIN || header.width == 0 || header.height == 0)
        return DecodeError::BadHeader;
    bool top_down = header.height < 0;
    std::size_t width = static_cast<std::size_t>(header.width < 0 ? -header.width : header.width);
    std::size_t height = static_cast<std::size_t>(header.height < 0 ? -header.height : header.height);

    // The colour table follows the information header, whatever that header's size.
    std::uint8_t colours[256 * 4] = {};
    std::size_t colour_count = 0;
    if (!reader.seek(kFileHeaderBytes) || !reader.skip(header.info_size))
        return DecodeError::Truncated;
    if (bits <= 8) {
        std::size_t entries = header.colours_used == 0 ? (std::size_t{1} << bits) : header.colours_used;
        auto table_bytes = checked_multiply(entries, 4);
        if (!table_bytes)
            return DecodeError::BadHeader;
        auto table = reader.read_bytes(*table_bytes);
        if (!table)
            return DecodeError::Truncated;
        colour_count = entries < 256 ? entries : 256;
        std::memcpy(colours, table->data(), colour_count * 4);
    }
    if (reader.position() > header.pixel_offset)
        return DecodeError::BadHeader;
    if (!reader.seek(header.pixel_offset))
        return DecodeError::Truncated;

    auto stored_row = checked_row_bytes(width, bits, 4);
    auto output_row = checked_multiply(width, 3);
    if (!stored_row || !output_row)
        return DecodeError::TooLarge;
    auto total = checked_block_size(*output_row, height);
    if (!total)
        return DecodeError::TooLarge;
    // Every row must be there; the last one may lack its padding.
    auto unpadded_last = checked_row_bytes(width, bits, 1);
    auto needed = checked_multiply(*stored_row, height - 1);
    if (!unpadded_last || !needed || !(needed = checked_add(*needed, *unpadded_last)))
        return DecodeError::TooLarge;
    if (reader.remaining() < *needed)
        return DecodeError::Truncated;

    // One stored row into blue, green, red.
    auto convert_row = [&](const std::uint8_t* in, std::uint8_t* out) {
        switch (bits) {
        case 24:
            std::memcpy(out, in, *output_row);
            break;
        case 32:
            for (std::size_t x = 0; x < width; ++x, in += 4, out += 3) {
                out[0] = in[0];
                out[1] = in[1];
                out[2] = in[2];
            }
            break;
        default: {
            unsigned per_byte = 8 / bits;
            unsigned mask = (1u << bits) - 1;
            for (std::size_t x = 0; x < width; ++x, out += 3) {
                unsigned shift = 8 - bits * (1 + static_cast<unsigned>(x % per_byte));
                unsigned index = (in[x / per_byte] >> shift) & mask;
                // An index beyond the colour table is black rather than whatever lies after it.
                if (index < colour_count) {
                    std::memcpy(out, colours + static_cast<std::size_t>(index) * 4, 3);
                } else {
                    out[0] = out[1] = out[2] = 0;
                }
            }
            break;
        }
        }
    };
    const std::uint8_t* data = bytes.data() + reader.position();

    // Shown smaller than it is: each row is reduced as it is read and the whole is never held.
    if (auto kept = kept_size(shown, static_cast<int>(width), static_cast<int>(height))) {
        auto rows = ShownRows::create(static_cast<int>(width), static_cast<int>(height), *kept,
                                      top_down ? platform::RowOrder::TopDown : platform::RowOrder::BottomUp);
        if (!rows)
            return DecodeError::OutOfMemory;
        std::vector<std::uint8_t> row(*output_row);
        for (std::size_t y = 0; y < height; ++y) {
            convert_row(data + y * *stored_row, row.data());
            rows->add_rows(row.data());
        }
        return rows->take_picture(PictureKind::Bmp);
    }

    PixelBlock pixels = PixelBlock::allocate(*total, PixelBlock::Fill::Uninitialised);
    if (pixels.empty())
        return DecodeError::OutOfMemory;

    // The block is bottom row first, as a bottom-up file stores it; a top-down file (negative height)
    // has its rows turned round so that it is not shown upside down.
    for (std::size_t row = 0; row < height; ++row) {
        std::size_t out_row = top_down ? height - 1 - row : row;
        convert_row(data + row * *stored_row, pixels.data() + out_row * *output_row);
    }

    DecodedPicture picture;
    picture.kind = PictureKind::Bmp;
    picture.width = static_cast<std::int32_t>(width);
    picture.height = static_cast<std::int32_t>(height);
    picture.pixels = std::move(pixels);
    return picture;
}

}  // namespace runtime::imaging
