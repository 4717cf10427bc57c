// GIF decoding.
//   - GifStream::open      header, logical screen, global colour table
//   - GifStream::next_frame  the block walk (extensions, image descriptors, trailer)
//   - decode_frame / LzwDecoder  one image: colour table, LZW data, interlaced rows
//   - decode_gif            the still picture: the first frame on the logical screen

#include "runtime/imaging/gif_decoder.h"

#include "runtime/imaging/byte_reader.h"
#include "runtime/imaging/checked_size.h"
#include "runtime/imaging/shown_rows.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <optional>
#include <vector>

namespace runtime::imaging {
namespace {

constexpr std::size_t kHeaderBytes = 13;
constexpr int kMaxCodes = 4096;
constexpr int kMaxCodeBits = 12;

// --- Data sub-blocks --------------------------------------------------------------------------------

// Skips data sub-blocks up to and including the zero-length terminator.
bool skip_sub_blocks(ByteReader& reader)
{
    for (;;) {
        auto length = reader.read_u8();
        if (!length)
            return false;
        if (*length == 0)
            return true;
        if (!reader.skip(*length))
            return false;
    }
}

// Bits of the LZW data, least significant first, across sub-block boundaries.
class SubBlockBits {
public:
    explicit SubBlockBits(ByteReader& reader)
        : m_reader(reader)
    {
    }

    enum class Status {
        Code,
        EndOfData,  // the terminator came before the code was complete
        Truncated,  // the data ran past the end of the stream
    };

    Status read_code(int width, int& code)
    {
        while (m_bit_count < width) {
            if (m_block_left == 0) {
                if (m_ended)
                    return Status::EndOfData;
                auto length = m_reader.read_u8();
                if (!length)
                    return Status::Truncated;
                if (*length == 0) {
                    m_ended = true;
                    return Status::EndOfData;
                }
                m_block_left = *length;
            }
            auto byte = m_reader.read_u8();
            if (!byte)
                return Status::Truncated;
            --m_block_left;
            m_bits |= static_cast<std::uint32_t>(*byte) << m_bit_count;
            m_bit_count += 8;
        }
        code = static_cast<int>(m_bits & ((1u << width) - 1));
        m_bits >>= width;
        m_bit_count -= width;
        return Status::Code;
    }

    // Skips what is left of the image data, up to and including its terminator.
    bool finish()
    {
        if (m_ended)
            return true;
        if (!m_reader.skip(m_block_left))
            return false;
        m_block_left = 0;
        m_ended = true;
        return skip_sub_blocks(m_reader);
    }

private:
    ByteReader& m_reader;
    std::uint32_t m_bits = 0;
    int m_bit_count = 0;
    std::size_t m_block_left = 0;
    bool m_ended = false;
};

// --- Pixel placement --------------------------------------------------------------------------------

// Places pixels left to right, row by row (or in the four interlace passes); pixels beyond the last
// row are dropped.
class RowWriter {
public:
    RowWriter(std::uint8_t* rows, std::size_t row_bytes, int width, int height, bool interlaced)
        : m_rows(rows)
        , m_row_bytes(row_bytes)
        , m_width(width)
        , m_height(height)
        , m_interlaced(interlaced)
    {
        if (m_width <= 0)
            m_y = m_height;
    }

    void put(std::uint8_t index)
    {
        if (m_y >= m_height)
            return;
        m_rows[static_cast<std::size_t>(m_y) * m_row_bytes + m_x] = index;
        if (++m_x < m_width)
            return;
        m_x = 0;
        if (!m_interlaced) {
            ++m_y;
            return;
        }
        static constexpr int kPassStart[4] = {0, 4, 2, 1};
        static constexpr int kPassStep[4] = {8, 8, 4, 2};
        m_y += kPassStep[m_pass];
        while (m_y >= m_height && m_pass < 3) {
            ++m_pass;
            m_y = kPassStart[m_pass];
        }
    }

    bool full() const { return m_y >= m_height; }

private:
    std::uint8_t* m_rows;
    std::size_t m_row_bytes;
    int m_width;
    int m_height;
    bool m_interlaced;
    int m_x = 0;
    int m_y = 0;
    int m_pass = 0;
};

// --- LZW --------------------------------------------------------------------------------------------

// Decodes the image data after the minimum code size byte; none on success. Fails on a code beyond the table and on a
// prefix chain that does not descend (which would loop or read outside the table).
std::optional<DecodeError> decode_lzw(ByteReader& reader, int minimum_code_size, RowWriter& writer)
{
    if (minimum_code_size < 1 || minimum_code_size > 8)
        return DecodeError::CorruptData;
    const int clear_code = 1 << minimum_code_size;
    const int end_code = clear_code + 1;
    const int first_free = clear_code + 2;

    std::array<std::uint16_t, kMaxCodes> prefix{};
    std::array<std::uint8_t, kMaxCodes> suffix{};
    std::array<std::uint8_t, kMaxCodes + 1> stack{};
    for (int code = 0; code < clear_code; ++code)
        suffix[code] = static_cast<std::uint8_t>(code);

    SubBlockBits bits(reader);
    int width = minimum_code_size + 1;
    int next_free = first_free;
    int previous = -1;
    std::uint8_t previous_first = 0;

    for (;;) {
        int code = 0;
        auto status = bits.read_code(width, code);
        if (status == SubBlockBits::Status::Truncated)
            return DecodeError::Truncated;
        if (status == SubBlockBits::Status::EndOfData)
            break;
        if (code == clear_code) {
            width = minimum_code_size + 1;
            next_free = first_free;
            previous = -1;
            continue;
        }
        if (code == end_code)
            break;
        if (code > next_free || (code == next_free && previous < 0))
            return DecodeError::CorruptData;

        // Unwind the chain of `code` (or, for the code not yet in the table, of the previous code
        // followed by its own first byte) onto the stack.
        std::size_t depth = 0;
        int walk = code;
        if (code == next_free) {
            stack[depth++] = previous_first;
            walk = previous;
        }
        while (walk >= first_free) {
            int parent = prefix[walk];
            if (parent >= walk)
                return DecodeError::CorruptData;
            stack[depth++] = suffix[walk];
            walk = parent;
        }
        if (walk >= clear_code)  // the clear or end code inside a chain
            return DecodeError::CorruptData;
        stack[depth++] = static_cast<std::uint8_t>(walk);
        std::uint8_t first = static_cast<std::uint8_t>(walk);
        while (depth > 0)
            writer.put(stack[--depth]);

        if (previous >= 0 && next_free < kMaxCodes) {
            prefix[next_free] = static_cast<std::uint16_t>(previous);
            suffix[next_free] = first;
            ++next_free;
            if (next_free == (1 << width) && width < kMaxCodeBits)
                ++width;
        }
        previous = code;
        previous_first = first;
    }
    if (!bits.finish())
        return DecodeError::Truncated;
    return std::nullopt;
}

void fill_palette(std::uint8_t* palette, const std::uint8_t* rgb, std::size_t entries)
{
    std::memset(palette, 0, kBitmapPaletteBytes);
    for (std::size_t i = 0; i < entries && i < 256; ++i) {
        palette[i * 4 + 0] = rgb[i * 3 + 2];
        palette[i * 4 + 1] = rgb[i * 3 + 1];
        palette[i * 4 + 2] = rgb[i * 3 + 0];
    }
}

}  // namespace

// --- Stream -----------------------------------------------------------------------------------------

DecodeResult<GifStream> GifStream::open(std::span<const std::uint8_t> bytes)
{
    if (bytes.size() < 14)
        return DecodeError::Truncated;
    if (std::memcmp(bytes.data(), "GIF87a", 6) != 0 && std::memcmp(bytes.data(), "GIF89a", 6) != 0)
        return DecodeError::BadSignature;
    GifStream stream;
    stream.m_screen_width = load_u16_le(bytes.data() + 6);
    stream.m_screen_height = load_u16_le(bytes.data() + 8);
    std::uint8_t packed = bytes[10];
    stream.m_background_index = bytes[11];
    std::size_t start = kHeaderBytes;
    if (packed & 0x80) {
        std::size_t entries = std::size_t{2} << (packed & 7);
        start += entries * 3;
        if (start >= bytes.size())
            return DecodeError::Truncated;
        stream.m_global_colours.assign(bytes.begin() + kHeaderBytes,
                                       bytes.begin() + static_cast<std::ptrdiff_t>(start));
    }
    stream.m_blocks.assign(bytes.begin() + static_cast<std::ptrdiff_t>(start), bytes.end());
    return stream;
}

void GifStream::rewind()
{
    m_position = 0;
    m_frame_since_rewind = false;
}

bool GifStream::at_end() const
{
    return m_position >= m_blocks.size() || m_blocks[m_position] == 0x3B;
}

DecodeResult<GifFrame> GifStream::next_frame()
{
    ByteReader reader(m_blocks);
    if (!reader.seek(m_position))
        return DecodeError::Truncated;
    for (;;) {
        m_position = reader.position();
        auto introducer = reader.read_u8();
        if (!introducer || *introducer == 0x00 || *introducer == 0x3B) {
            // The end of the stream: start again, unless the whole stream holds no frame.
            if (!m_frame_since_rewind) {
                rewind();
                return DecodeError::NoFrame;
            }
            rewind();
            (void)reader.seek(0);
            continue;
        }
        if (*introducer == 0x21) {
            auto label = reader.read_u8();
            if (!label) {
                rewind();
                return DecodeError::Truncated;
            }
            bool skipped = true;
            switch (*label) {
            case 0xF9: {
                auto size = reader.read_u8();
                if (!size || *size < 4) {
                    rewind();
                    return size ? DecodeError::CorruptData : DecodeError::Truncated;
                }
                auto control = reader.read_bytes(*size);
                if (!control) {
                    rewind();
                    return DecodeError::Truncated;
                }
                const std::uint8_t* c = control->data();
                m_disposal = c[0] & 0x1C;
                m_has_transparency = (c[0] & 1) != 0;
                m_delay = load_u16_le(c + 1);
                m_transparent_index = c[3];
                skipped = skip_sub_blocks(reader);
                break;
            }
            case 0x01:  // plain text: a 13-byte header sub-block, then text sub-blocks
            case 0xFE:  // comment
            case 0xFF:  // application: a 12-byte header sub-block, then data sub-blocks
                skipped = skip_sub_blocks(reader);
                break;
            default:
                m_position = reader.position();
                return DecodeError::CorruptData;
            }
            if (!skipped) {
                rewind();
                return DecodeError::Truncated;
            }
            continue;
        }
        if (*introducer == 0x2C) {
            m_position = reader.position();
            auto frame = decode_frame();
            if (frame)
                m_frame_since_rewind = true;
            return frame;
        }
        return DecodeError::CorruptData;
    }
}

DecodeResult<GifFrame> GifStream::decode_frame()
{
    ByteReader reader(m_blocks);
    (void)reader.seek(m_position);
    auto descriptor = reader.read_bytes(9);
    if (!descriptor) {
        rewind();
        return DecodeError::Truncated;
    }
    const std::uint8_t* d = descriptor->data();
    GifFrame frame;
    frame.left = load_u16_le(d);
    frame.top = load_u16_le(d + 2);
    frame.width = load_u16_le(d + 4);
    frame.height = load_u16_le(d + 6);
    std::uint8_t packed = d[8];
    frame.interlaced = (packed & 0x40) != 0;

    const std::uint8_t* colours = m_global_colours.data();
    std::size_t colour_count = m_global_colours.size() / 3;
    if (packed & 0x80) {
        colour_count = std::size_t{2} << (packed & 7);
        auto local = reader.read_bytes(colour_count * 3);
        if (!local) {
            rewind();
            return DecodeError::Truncated;
        }
        colours = local->data();
    }

    // The graphic control values apply to this image only.
    frame.disposal = m_disposal;
    frame.has_transparency = m_has_transparency;
    frame.transparent_index = m_transparent_index;
    frame.delay = m_delay;
    m_disposal = GifDisposal::None;
    m_has_transparency = false;
    m_transparent_index = 0;
    m_delay = 0;
    if (frame.has_transparency && frame.transparent_index < colour_count) {
        const std::uint8_t* entry = colours + std::size_t{frame.transparent_index} * 3;
        frame.transparent_colour = entry[0] | (entry[1] << 8) | (static_cast<std::uint32_t>(entry[2]) << 16);
    }

    auto total = checked_block_size(frame.row_bytes(), static_cast<std::size_t>(frame.height), kBitmapPrefixBytes);
    if (!total)
        return DecodeError::TooLarge;
    frame.bitmap = PixelBlock::allocate(*total, PixelBlock::Fill::Zero);
    if (frame.bitmap.empty())
        return DecodeError::OutOfMemory;
    write_bitmap_header(frame.bitmap.data(), frame.width, -frame.height, 1);
    fill_palette(frame.bitmap.data() + kBitmapHeaderBytes, colours, colour_count);

    auto minimum_code_size = reader.read_u8();
    if (!minimum_code_size) {
        rewind();
        return DecodeError::Truncated;
    }
    RowWriter writer(frame.bitmap.data() + kBitmapPrefixBytes, frame.row_bytes(), frame.width, frame.height,
                     frame.interlaced);
    if (auto error = decode_lzw(reader, *minimum_code_size, writer)) {
        if (*error == DecodeError::Truncated)
            rewind();
        else
            m_position = reader.position();
        return *error;
    }
    m_position = reader.position();
    return frame;
}

// --- Still picture ----------------------------------------------------------------------------------

namespace {

// The shown part of the logical screen, row by row, without a block of the screen's size: rows the
// frame does not reach are index 0 throughout.
// FIXME: the frame itself is still decoded into a block of its declared size (zero-filled, so pages
// the data never reaches cost nothing); a non-interlaced frame could hand its rows on as the LZW
// data completes them.
DecodeResult<DecodedPicture> shown_screen(const GifFrame& frame, int screen_width, int screen_height, int copy_width,
                                          int copy_height, KeptSize kept)
{
    auto rows = ShownRows::create(screen_width, screen_height, kept, platform::RowOrder::TopDown);
    if (!rows)
        return DecodeError::OutOfMemory;
    const std::uint8_t* palette = frame.palette();
    std::vector<std::uint8_t> background(static_cast<std::size_t>(screen_width) * 3);
    for (std::size_t x = 0; x < background.size(); x += 3)
        std::memcpy(&background[x], palette, 3);
    rows->add_rows(background.data(), std::min(frame.top, screen_height));
    std::vector<std::uint8_t> row = background;
    for (int y = 0; y < copy_height && copy_width > 0; ++y) {
        const std::uint8_t* indices = frame.rows() + static_cast<std::size_t>(y) * frame.row_bytes();
        std::uint8_t* out = row.data() + static_cast<std::size_t>(frame.left) * 3;
        for (int x = 0; x < copy_width; ++x, out += 3)
            std::memcpy(out, palette + std::size_t{indices[x]} * 4, 3);
        rows->add_rows(row.data());
    }
    rows->add_rows(background.data(), screen_height);  // whatever is left below the frame
    return rows->take_picture(PictureKind::Gif);
}

}  // namespace

DecodeResult<DecodedPicture> decode_gif(std::span<const std::uint8_t> bytes, ShownSize shown)
{
    if (bytes.empty())
        return DecodeError::NoBytes;
    auto stream = GifStream::open(bytes);
    if (!stream)
        return stream.error();
    auto frame = stream->next_frame();
    if (!frame)
        return frame.error();

    // A logical screen of 0 (some writers leave it out) takes the frame's extent instead.
    int screen_width = stream->screen_width() > 0 ? stream->screen_width() : frame->left + frame->width;
    int screen_height = stream->screen_height() > 0 ? stream->screen_height() : frame->top + frame->height;
    if (screen_width <= 0 || screen_height <= 0)
        return DecodeError::BadHeader;
    std::size_t row_bytes = (static_cast<std::size_t>(screen_width) + 3) & ~std::size_t{3};
    auto total = checked_block_size(row_bytes, static_cast<std::size_t>(screen_height), kBitmapPrefixBytes);
    if (!total)
        return DecodeError::TooLarge;
    // The frame at its place on the screen, clipped to it.
    int copy_width = std::min(frame->width, screen_width - std::min(frame->left, screen_width));
    int copy_height = std::min(frame->height, screen_height - std::min(frame->top, screen_height));
    if (auto kept = kept_size(shown, screen_width, screen_height))
        return shown_screen(*frame, screen_width, screen_height, copy_width, copy_height, *kept);

    PixelBlock block = PixelBlock::allocate(*total, PixelBlock::Fill::Zero);
    if (block.empty())
        return DecodeError::OutOfMemory;
    write_bitmap_header(block.data(), screen_width, -screen_height, 1);
    std::memcpy(block.data() + kBitmapHeaderBytes, frame->palette(), kBitmapPaletteBytes);

    for (int y = 0; y < copy_height; ++y) {
        std::uint8_t* out =
            block.data() + kBitmapPrefixBytes + static_cast<std::size_t>(frame->top + y) * row_bytes + frame->left;
        std::memcpy(out, frame->rows() + static_cast<std::size_t>(y) * frame->row_bytes(),
                    static_cast<std::size_t>(copy_width));
    }

    DecodedPicture picture;
    picture.kind = PictureKind::Gif;
    picture.width = screen_width;
    picture.height = screen_height;
    picture.pixels = std::move(block);
    return picture;
}

}  // namespace runtime::imaging
