#include "runtime/imaging/pcx_decoder.h"

#include "runtime/imaging/byte_reader.h"
#include "runtime/imaging/checked_size.h"
#include "runtime/imaging/shown_rows.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace runtime::imaging {
namespace {

constexpr std::size_t kHeaderBytes = 128;
constexpr std::uint8_t kPaletteMarker = 12;
constexpr std::size_t kPaletteBytes = 768;

struct PcxHeader {
    std::uint8_t bits_per_pixel = 0;
    std::uint8_t planes = 0;
    std::size_t width = 0;
    std::size_t height = 0;
    std::size_t bytes_per_line = 0;
};

DecodeResult<PcxHeader> read_header(std::span<const std::uint8_t> bytes)
{
    if (bytes.empty())
        return DecodeError::NoBytes;
    if (bytes.size() < kHeaderBytes)
        return DecodeError::Truncated;
    const std::uint8_t* b = bytes.data();
    if (b[0] != 10 || b[2] != 1 || b[1] > 5)
        return DecodeError::BadSignature;
    std::uint16_t x_min = load_u16_le(b + 4);
    std::uint16_t y_min = load_u16_le(b + 6);
    std::uint16_t x_max = load_u16_le(b + 8);
    std::uint16_t y_max = load_u16_le(b + 10);
    if (x_max < x_min || y_max < y_min)
        return DecodeError::BadHeader;
    PcxHeader header;
    header.bits_per_pixel = b[3];
    header.planes = b[65];
    header.width = std::size_t{x_max} - x_min + 1;
    header.height = std::size_t{y_max} - y_min + 1;
    header.bytes_per_line = load_u16_le(b + 66);
    return header;
}

// Run-length data: a byte above 192 repeats the next byte (byte - 192) times, anything else is one
// literal byte (193, a run of one, is how a literal above 192 is written). A run may carry on into the
// next line. The data ends where the input ends.
class RunLengthReader {
public:
    RunLengthReader(std::span<const std::uint8_t> bytes, std::size_t start)
        : m_bytes(bytes)
        , m_position(start)
    {
    }

    // Fills `count` bytes of `out` (of which only the first `keep` are stored); false when the input
    // ran out first.
    bool read_line(std::uint8_t* out, std::size_t count, std::size_t keep)
    {
        for (std::size_t i = 0; i < count; ++i) {
            if (m_run_left == 0 && !start_run())
                return false;
            --m_run_left;
            if (i < keep)
                out[i] = m_run_value;
        }
        return true;
    }

    // Passes over `count` bytes without producing them; false when the input ran out first.
    bool skip_line(std::size_t count)
    {
        while (count > 0) {
            if (m_run_left == 0 && !start_run())
                return false;
            std::size_t taken = std::min(count, m_run_left);
            m_run_left -= taken;
            count -= taken;
        }
        return true;
    }

    std::size_t position() const { return m_position; }

private:
    bool start_run()
    {
        if (m_position >= m_bytes.size())
            return false;
        std::uint8_t code = m_bytes[m_position++];
        if (code <= 192) {
            m_run_value = code;
            m_run_left = 1;
            return true;
        }
        if (m_position >= m_bytes.size())
            return false;
        m_run_value = m_bytes[m_position++];
        m_run_left = code - 192u;
        return true;
    }

    std::span<const std::uint8_t> m_bytes;
    std::size_t m_position;
    std::uint8_t m_run_value = 0;
    std::size_t m_run_left = 0;
};

// The 256-colour table: after the image data behind its marker byte, or else, for writers that pad
// the image data, in the last 769 bytes of the file. Without one the picture is shown in grey.
void read_palette(std::span<const std::uint8_t> bytes, std::size_t after_data, std::uint8_t* palette)
{
    const std::uint8_t* table = nullptr;
    if (after_data < bytes.size() && bytes[after_data] == kPaletteMarker &&
        bytes.size() - after_data - 1 >= kPaletteBytes) {
        table = bytes.data() + after_data + 1;
    } else if (bytes.size() >= kHeaderBytes + kPaletteBytes + 1 &&
               bytes[bytes.size() - kPaletteBytes - 1] == kPaletteMarker) {
        table = bytes.data() + bytes.size() - kPaletteBytes;
    }
    for (int i = 0; i < 256; ++i) {
        std::uint8_t* entry = palette + static_cast<std::size_t>(i) * 4;
        if (table) {
            entry[0] = table[i * 3 + 2];
            entry[1] = table[i * 3 + 1];
            entry[2] = table[i * 3 + 0];
        } else {
            entry[0] = entry[1] = entry[2] = static_cast<std::uint8_t>(i);
        }
        entry[3] = 0;
    }
}

// Reads the run-length lines after the header into `line` (its whole size each), converts each
// into `row` and hands it to `rows`, top row first, until the rows have all they keep. Data that
// ends early leaves the remaining lines all zero (index 0, or black).
template <typename Convert>
DecodedPicture read_shown_lines(std::span<const std::uint8_t> bytes, std::size_t height,
                                std::vector<std::uint8_t>& line, ShownRows& rows, PictureKind kind,
                                const Convert& convert, const std::vector<std::uint8_t>& row)
{
    RunLengthReader runs(bytes, kHeaderBytes);
    std::size_t y = 0;
    for (; y < height; ++y) {
        std::fill(line.begin(), line.end(), 0);
        bool complete = runs.read_line(line.data(), line.size(), line.size());
        convert();
        rows.add_rows(row.data());
        if (rows.has_all_rows())
            return rows.take_picture(kind);
        if (!complete) {
            ++y;
            break;
        }
    }
    if (y < height) {
        std::fill(line.begin(), line.end(), 0);
        convert();
        rows.add_rows(row.data(), static_cast<int>(height - y));
    }
    return rows.take_picture(kind);
}

// The shown part of an 8-bit image, row by row. The colour table comes after the image data, so
// one pass over the runs finds where that data ends before the rows are decoded.
DecodeResult<DecodedPicture> decode_pcx8_shown(std::span<const std::uint8_t> bytes, const PcxHeader& header,
                                               KeptSize kept)
{
    const int width = static_cast<int>(header.width);
    const int height = static_cast<int>(header.height);
    auto rows = ShownRows::create(width, height, kept, platform::RowOrder::TopDown);
    if (!rows)
        return DecodeError::OutOfMemory;
    RunLengthReader ends(bytes, kHeaderBytes);
    for (std::size_t y = 0; y < header.height; ++y) {
        if (!ends.skip_line(header.bytes_per_line))
            break;
    }
    std::uint8_t palette[kBitmapPaletteBytes];
    read_palette(bytes, ends.position(), palette);

    std::vector<std::uint8_t> line(header.bytes_per_line);
    std::vector<std::uint8_t> row(header.width * 3);
    auto convert = [&] {
        for (std::size_t x = 0; x < header.width; ++x)
            std::memcpy(&row[x * 3], palette + std::size_t{line[x]} * 4, 3);
    };
    return read_shown_lines(bytes, header.height, line, *rows, PictureKind::Pcx8, convert, row);
}

// The shown part of a 1-bit image, row by row (1 is white).
DecodeResult<DecodedPicture> decode_pcx1_shown(std::span<const std::uint8_t> bytes, const PcxHeader& header,
                                               KeptSize kept)
{
    const int width = static_cast<int>(header.width);
    const int height = static_cast<int>(header.height);
    auto rows = ShownRows::create(width, height, kept, platform::RowOrder::TopDown);
    if (!rows)
        return DecodeError::OutOfMemory;
    std::size_t packed = (header.width + 7) / 8;
    std::size_t line_bytes = std::max(header.bytes_per_line, packed);
    std::vector<std::uint8_t> line(line_bytes);
    std::vector<std::uint8_t> row(header.width * 3);
    auto convert = [&] {
        for (std::size_t x = 0; x < header.width; ++x) {
            bool set = (line[x >> 3] >> (7 - (x & 7))) & 1;
            std::memset(&row[x * 3], set ? 255 : 0, 3);
        }
    };
    return read_shown_lines(bytes, header.height, line, *rows, PictureKind::Pcx1, convert, row);
}

}  // namespace

DecodeResult<DecodedPicture> decode_pcx8(std::span<const std::uint8_t> bytes, ShownSize shown)
{
    if (!bytes.empty() && bytes.size() <= kHeaderBytes)
        return DecodeError::Truncated;
    auto header_result = read_header(bytes);
    if (!header_result)
        return header_result.error();
    const PcxHeader header = *header_result;
    if (header.bits_per_pixel == 1 && header.planes == 1)
        return decode_pcx1(bytes, shown);
    if (header.bits_per_pixel != 8)
        return DecodeError::UnsupportedBitDepth;
    // Several 8-bit planes (true colour) would not fit a 256-colour bitmap block.
    if (header.planes != 1)
        return DecodeError::UnsupportedPlanes;
    // A line shorter than the image would leave the bitmap's rows short of pixels.
    if (header.bytes_per_line < header.width)
        return DecodeError::BadHeader;

    auto row_length = checked_align_up(header.bytes_per_line * header.planes, 4);
    if (!row_length)
        return DecodeError::TooLarge;
    auto total = checked_block_size(*row_length, header.height, kBitmapPrefixBytes);
    if (!total)
        return DecodeError::TooLarge;
    if (auto kept = kept_size(shown, static_cast<int>(header.width), static_cast<int>(header.height)))
        return decode_pcx8_shown(bytes, header, *kept);
    PixelBlock block = PixelBlock::allocate(*total, PixelBlock::Fill::Zero);
    if (block.empty())
        return DecodeError::OutOfMemory;
    write_bitmap_header(block.data(), static_cast<std::int32_t>(header.width),
                        -static_cast<std::int32_t>(header.height), header.planes);

    RunLengthReader runs(bytes, kHeaderBytes);
    std::uint8_t* rows = block.data() + kBitmapPrefixBytes;
    for (std::size_t y = 0; y < header.height; ++y) {
        // Data that ends early leaves the remaining rows at 0.
        if (!runs.read_line(rows + y * *row_length, header.bytes_per_line, header.bytes_per_line))
            break;
    }
    read_palette(bytes, runs.position(), block.data() + kBitmapHeaderBytes);

    DecodedPicture picture;
    picture.kind = PictureKind::Pcx8;
    picture.width = static_cast<std::int32_t>(header.width);
    picture.height = static_cast<std::int32_t>(header.height);
    picture.pixels = std::move(block);
    return picture;
}

DecodeResult<DecodedPicture> decode_pcx1(std::span<const std::uint8_t> bytes, ShownSize shown)
{
    auto header_result = read_header(bytes);
    if (!header_result)
        return header_result.error();
    const PcxHeader header = *header_result;
    if (header.bits_per_pixel != 1 || header.planes != 1)
        return DecodeError::UnsupportedBitDepth;

    std::size_t packed = (header.width + 7) / 8;
    std::size_t row_length = (packed + 1) & ~std::size_t{1};
    auto total = checked_block_size(row_length, header.height);
    if (!total)
        return DecodeError::TooLarge;
    if (auto kept = kept_size(shown, static_cast<int>(header.width), static_cast<int>(header.height)))
        return decode_pcx1_shown(bytes, header, *kept);
    PixelBlock block = PixelBlock::allocate(*total, PixelBlock::Fill::Zero);
    if (block.empty())
        return DecodeError::OutOfMemory;

    // Each stored line holds bytes-per-line bytes, which may be more than the pixels need (writers
    // pad lines to an even length); the padding is read and dropped so that rows stay aligned.
    std::size_t line_bytes = std::max(header.bytes_per_line, packed);
    RunLengthReader runs(bytes, kHeaderBytes);
    for (std::size_t y = 0; y < header.height; ++y) {
        if (!runs.read_line(block.data() + y * row_length, line_bytes, std::min(line_bytes, row_length)))
            break;
    }

    DecodedPicture picture;
    picture.kind = PictureKind::Pcx1;
    picture.width = static_cast<std::int32_t>(header.width);
    picture.height = static_cast<std::int32_t>(header.height);
    picture.pixels = std::move(block);
    return picture;
}

}  // namespace runtime::imaging
