// Sequential JPEG, decoded here.
//
//   1. Tables and frame: quantisation and Huffman tables, the frame's components and their planes
//   2. Entropy decoding: the bit reader, restart markers, one block's coefficients
//   3. The inverse transform (libjpeg's accurate integer one, to the bit)
//   4. Colour: expanding half-resolution colour smoothly, then YCbCr to blue, green, red
//   5. The marker walk that ties them together
//
// Each component is decoded whole into its own plane of samples; the picture is made from the
// planes once every scan has been read. A block the data never reached keeps the value of a block of
// zero coefficients (mid grey), which is what libjpeg shows for a cut-off file.

#include "runtime/imaging/jpeg_sequential.h"

#include "runtime/imaging/byte_reader.h"
#include "runtime/imaging/checked_size.h"
#include "runtime/imaging/jpeg_decoder.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <vector>

namespace runtime::imaging {
namespace {

// ---------------------------------------------------------------------------------------------
// 1. Tables and frame
// ---------------------------------------------------------------------------------------------

constexpr std::uint8_t kMarkerStartOfImage = 0xD8;
constexpr std::uint8_t kMarkerEndOfImage = 0xD9;
constexpr std::uint8_t kMarkerBaseline = 0xC0;
constexpr std::uint8_t kMarkerExtendedSequential = 0xC1;
constexpr std::uint8_t kMarkerHuffmanTables = 0xC4;
constexpr std::uint8_t kMarkerArithmeticConditioning = 0xCC;
constexpr std::uint8_t kMarkerFirstRestart = 0xD0;
constexpr std::uint8_t kMarkerLastRestart = 0xD7;
constexpr std::uint8_t kMarkerStartOfScan = 0xDA;
constexpr std::uint8_t kMarkerQuantisationTables = 0xDB;
constexpr std::uint8_t kMarkerRestartInterval = 0xDD;
constexpr std::uint8_t kMarkerApplication0 = 0xE0;
constexpr std::uint8_t kMarkerApplication14 = 0xEE;

constexpr int kBlockSamples = 64;
constexpr int kMaxComponents = 3;
constexpr int kMaxBlocksPerMcu = 10;  // the limit every sequential encoder keeps to
constexpr std::uint8_t kMidGrey = 128;

// The row-major place of each coefficient, in the zig-zag order the data stores them.
constexpr std::array<std::uint8_t, kBlockSamples> kNaturalOrder = {
    0,  1,  8,  16, 9,  2,  3,  10, 17, 24, 32, 25, 18, 11, 4,  5,  12, 19, 26, 33, 40, 48,
    41, 34, 27, 20, 13, 6,  7,  14, 21, 28, 35, 42, 49, 56, 57, 50, 43, 36, 29, 22, 15, 23,
    30, 37, 44, 51, 58, 59, 52, 45, 38, 31, 39, 46, 53, 60, 61, 54, 47, 55, 62, 63,
};

struct QuantisationTable {
    bool defined = false;
    std::array<std::uint16_t, kBlockSamples> values{};  // row-major
};

struct HuffmanTable {
    bool defined = false;
    std::array<std::int32_t, 17> max_code{};  // the largest code of each length; -1 when none
    std::array<std::int32_t, 17> value_offset{};
    std::array<std::uint8_t, 256> values{};
    // By the next eight bits: length << 8 | value for a code of eight bits or fewer, else 0.
    std::array<std::uint16_t, 256> short_codes{};
};

// Canonical codes from the counts per length; false for counts that overflow a length's codes (the
// code of all ones is never given, as libjpeg requires).
bool build_huffman_table(HuffmanTable& table, const std::array<std::uint8_t, 17>& counts,
                         std::span<const std::uint8_t> values)
{
    table = HuffmanTable{};
    std::copy(values.begin(), values.end(), table.values.begin());
    std::int32_t code = 0;
    std::int32_t index = 0;
    for (int length = 1; length <= 16; ++length) {
        table.value_offset[length] = index - code;
        for (int i = 0; i < counts[length]; ++i, ++code, ++index) {
            if (code >= (1 << length) - 1)
                return false;
            if (length <= 8) {
                int first = code << (8 - length);
                for (int fill = 0; fill < (1 << (8 - length)); ++fill)
                    table.short_codes[first + fill] = static_cast<std::uint16_t>(length << 8 | values[index]);
            }
        }
        table.max_code[length] = counts[length] ? code - 1 : -1;
        code <<= 1;
    }
    table.defined = true;
    return true;
}

struct Component {
    std::uint8_t id = 0;
    int horizontal = 1;  // sampling factors
    int vertical = 1;
    int quantisation_index = 0;
    // Latched when the component's first scan starts, as a later table of the same number may
    // replace the one its data was coded with.
    std::array<std::uint16_t, kBlockSamples> quantisation{};
    bool latched = false;
    int width = 0;  // samples the component holds for the picture, before its blocks' padding
    int height = 0;
    std::size_t plane_width = 0;  // whole minimum coded units
    std::size_t plane_height = 0;
    PixelBlock plane;
    // For the scan being read.
    const HuffmanTable* dc_table = nullptr;
    const HuffmanTable* ac_table = nullptr;
    std::int32_t last_dc = 0;

    // Where a block's samples go; none for a block below the plane (a cropped picture keeps only
    // the rows it shows).
    std::uint8_t* block_at(std::size_t across, std::size_t down)
    {
        if ((down + 1) * 8 > plane_height)
            return nullptr;
        return plane.data() + (down * 8) * plane_width + across * 8;
    }
    const std::uint8_t* row(int y) const { return plane.data() + static_cast<std::size_t>(y) * plane_width; }
};

struct Frame {
    int width = 0;
    int height = 0;
    int max_horizontal = 1;
    int max_vertical = 1;
    int mcus_across = 0;
    int mcus_down = 0;
    int component_count = 0;
    std::array<Component, kMaxComponents> components;
};

int divide_rounding_up(long long value, long long divisor)
{
    return static_cast<int>((value + divisor - 1) / divisor);
}

// ---------------------------------------------------------------------------------------------
// 2. Entropy decoding
// ---------------------------------------------------------------------------------------------

// The bits of one scan's entropy-coded data. A marker (or the end of the bytes) ends the data: the
// decoder then reads zero bits, and notes that it ran short, as libjpeg does.
class EntropyReader {
public:
    EntropyReader(std::span<const std::uint8_t> bytes, std::size_t position)
        : m_bytes(bytes)
        , m_position(position)
    {
    }

    std::uint32_t peek(int count)
    {
        while (m_count < count) {
            m_buffer = (m_buffer << 8) | next_byte();
            m_count += 8;
        }
        return static_cast<std::uint32_t>(m_buffer >> (m_count - count)) & ((1u << count) - 1);
    }

    void consume(int count)
    {
        m_count -= count;
        if (count > m_real_bits) {
            m_ran_short = true;
            m_real_bits = 0;
        } else {
            m_real_bits -= count;
        }
    }

    std::uint32_t bits(int count)
    {
        if (count == 0)
            return 0;
        std::uint32_t value = peek(count);
        consume(count);
        return value;
    }

    int decode(const HuffmanTable& table)
    {
        std::uint32_t next = peek(16);
        if (std::uint16_t short_code = table.short_codes[next >> 8]) {
            consume(short_code >> 8);
            return short_code & 0xFF;
        }
        for (int length = 9; length <= 16; ++length) {
            auto code = static_cast<std::int32_t>(next >> (16 - length));
            if (code <= table.max_code[length]) {
                consume(length);
                std::int32_t index = code + table.value_offset[length];
                return index >= 0 && index < 256 ? table.values[index] : 0;
            }
        }
        // No such code: the value reads as 0 and decoding goes on.
        consume(16);
        return 0;
    }

    bool ran_short() const { return m_ran_short; }

    // At the end of a restart interval: the bits left over are dropped and the restart marker
    // numbered `expected` is looked for. A marker out of sequence is skipped when it belongs to an
    // earlier interval and left in place when it belongs to a later one (the intervals between then
    // read as zeros), so that a lost or damaged marker costs only its own interval.
    void restart(int expected)
    {
        m_buffer = 0;
        m_count = 0;
        m_real_bits = 0;
        if (!m_at_marker)
            find_marker();
        for (;;) {
            int marker = marker_code();
            bool restart_marker = marker >= kMarkerFirstRestart && marker <= kMarkerLastRestart;
            int number = marker - kMarkerFirstRestart;
            auto is_number = [number](int wanted) { return number == (wanted & 7); };
            bool not_allowed_here = marker >= 0 && marker < kMarkerBaseline;
            bool later = !restart_marker || is_number(expected + 1) || is_number(expected + 2);
            bool earlier = restart_marker && (is_number(expected - 1) || is_number(expected - 2));
            if (not_allowed_here || (!later && earlier)) {
                skip_marker();
                continue;
            }
            if (later)
                return;
            m_position = m_marker_position + 2;
            m_at_marker = false;
            m_ran_short = false;
            return;
        }
    }

    // Where the marker walk goes on after the scan.
    std::size_t end() const { return m_at_marker ? m_marker_position : m_position; }

private:
    std::uint8_t next_byte()
    {
        if (m_at_marker || m_position >= m_bytes.size())
            return 0;
        std::uint8_t byte = m_bytes[m_position];
        if (byte != 0xFF) {
            ++m_position;
            m_real_bits += 8;
            return byte;
        }
        std::size_t after = m_position + 1;
        while (after < m_bytes.size() && m_bytes[after] == 0xFF)
            ++after;
        if (after < m_bytes.size() && m_bytes[after] == 0) {
            m_position = after + 1;
            m_real_bits += 8;
            return 0xFF;
        }
        m_at_marker = true;
        m_marker_position = after - 1;
        return 0;
    }

    // The next marker from the current position, skipping whatever comes before it.
    void find_marker()
    {
        std::size_t at = m_position;
        while (at < m_bytes.size()) {
            if (m_bytes[at] != 0xFF) {
                ++at;
                continue;
            }
            std::size_t after = at + 1;
            while (after < m_bytes.size() && m_bytes[after] == 0xFF)
                ++after;
            if (after < m_bytes.size() && m_bytes[after] != 0) {
                m_at_marker = true;
                m_marker_position = after - 1;
                return;
            }
            at = after + 1;
        }
        m_at_marker = true;
        m_marker_position = m_bytes.size();
    }

    void skip_marker()
    {
        m_position = m_marker_position + 2;
        m_at_marker = false;
        find_marker();
    }

    // The marker's code; -1 past the end of the bytes, which stands for the end of the image.
    int marker_code() const { return m_marker_position + 1 < m_bytes.size() ? m_bytes[m_marker_position + 1] : -1; }

    std::span<const std::uint8_t> m_bytes;
    std::size_t m_position;
    std::uint64_t m_buffer = 0;
    int m_count = 0;
    int m_real_bits = 0;  // of the m_count bits, those that came from the data
    bool m_ran_short = false;
    bool m_at_marker = false;
    std::size_t m_marker_position = 0;
};

std::int32_t extend(std::uint32_t value, int size)
{
    if (size == 0)
        return 0;
    auto signed_value = static_cast<std::int32_t>(value);
    return signed_value < (1 << (size - 1)) ? signed_value - (1 << size) + 1 : signed_value;
}

void inverse_transform(const std::array<std::int16_t, kBlockSamples>& coefficients,
                       const std::array<std::uint16_t, kBlockSamples>& quantisation, std::uint8_t* out,
                       std::size_t stride);

// One block's coefficients, dequantised and transformed into its place in the plane.
void decode_block(EntropyReader& reader, Component& component, std::uint8_t* out)
{
    // A block nobody will see is still decoded, so that the blocks after it are read right.
    std::array<std::uint8_t, kBlockSamples> unseen;
    std::size_t stride = component.plane_width;
    if (!out) {
        out = unseen.data();
        stride = 8;
    }
    std::array<std::int16_t, kBlockSamples> coefficients{};
    int size = reader.decode(*component.dc_table) & 15;
    std::int32_t difference = extend(reader.bits(size), size);
    // The predictor wraps rather than overflows on hostile data; a coefficient keeps 16 bits.
    component.last_dc = static_cast<std::int32_t>(static_cast<std::uint32_t>(component.last_dc) +
                                                  static_cast<std::uint32_t>(difference));
    coefficients[0] = static_cast<std::int16_t>(component.last_dc);
    for (int k = 1; k < kBlockSamples; ++k) {
        int symbol = reader.decode(*component.ac_table);
        int run = symbol >> 4;
        size = symbol & 15;
        if (size == 0) {
            if (run != 15)
                break;
            k += 15;
            continue;
        }
        k += run;
        // A run past the last coefficient lands on it, and the block ends.
        int place = k < kBlockSamples ? kNaturalOrder[k] : kBlockSamples - 1;
        coefficients[place] = static_cast<std::int16_t>(extend(reader.bits(size), size));
    }
    inverse_transform(coefficients, component.quantisation, out, stride);
}

// ---------------------------------------------------------------------------------------------
// 3. The inverse transform
// ---------------------------------------------------------------------------------------------

// The accurate integer transform: a scaled version of the Loeffler, Ligtenberg and Moschytz
// factorisation with 13 fraction bits for the constants and 2 extra bits kept between the column
// and row passes. 64-bit sums, so that hostile coefficients cannot overflow.
constexpr int kConstBits = 13;
constexpr int kPassBits = 2;
constexpr std::int64_t kFix0_298631336 = 2446;
constexpr std::int64_t kFix0_390180644 = 3196;
constexpr std::int64_t kFix0_541196100 = 4433;
constexpr std::int64_t kFix0_765366865 = 6270;
constexpr std::int64_t kFix0_899976223 = 7373;
constexpr std::int64_t kFix1_175875602 = 9633;
constexpr std::int64_t kFix1_501321110 = 12299;
constexpr std::int64_t kFix1_847759065 = 15137;
constexpr std::int64_t kFix1_961570560 = 16069;
constexpr std::int64_t kFix2_053119869 = 16819;
constexpr std::int64_t kFix2_562915447 = 20995;
constexpr std::int64_t kFix3_072711026 = 25172;

std::int64_t descale(std::int64_t value, int bits)
{
    return (value + (std::int64_t{1} << (bits - 1))) >> bits;
}

std::uint8_t to_sample(std::int64_t value)
{
    value += kMidGrey;
    return static_cast<std::uint8_t>(value < 0 ? 0 : value > 255 ? 255 : value);
}

// Eight inputs (at `step` apart) to eight outputs: the even part from inputs 0, 2, 4, 6, the odd
// part from 1, 3, 5, 7. The outputs are left scaled by 2^kConstBits.
struct Butterfly {
    std::array<std::int64_t, 8> out;

    explicit Butterfly(const std::array<std::int64_t, 8>& in)
    {
        std::int64_t z1 = (in[2] + in[6]) * kFix0_541196100;
        std::int64_t tmp2 = z1 - in[6] * kFix1_847759065;
        std::int64_t tmp3 = z1 + in[2] * kFix0_765366865;
        std::int64_t tmp0 = (in[0] + in[4]) * (std::int64_t{1} << kConstBits);
        std::int64_t tmp1 = (in[0] - in[4]) * (std::int64_t{1} << kConstBits);
        std::int64_t tmp10 = tmp0 + tmp3;
        std::int64_t tmp13 = tmp0 - tmp3;
        std::int64_t tmp11 = tmp1 + tmp2;
        std::int64_t tmp12 = tmp1 - tmp2;

        tmp0 = in[7];
        tmp1 = in[5];
        tmp2 = in[3];
        tmp3 = in[1];
        z1 = tmp0 + tmp3;
        std::int64_t z2 = tmp1 + tmp2;
        std::int64_t z3 = tmp0 + tmp2;
        std::int64_t z4 = tmp1 + tmp3;
        std::int64_t z5 = (z3 + z4) * kFix1_175875602;
        tmp0 *= kFix0_298631336;
        tmp1 *= kFix2_053119869;
        tmp2 *= kFix3_072711026;
        tmp3 *= kFix1_501321110;
        z1 *= -kFix0_899976223;
        z2 *= -kFix2_562915447;
        z3 = z3 * -kFix1_961570560 + z5;
        z4 = z4 * -kFix0_390180644 + z5;
        tmp0 += z1 + z3;
        tmp1 += z2 + z4;
        tmp2 += z2 + z3;
        tmp3 += z1 + z4;

        out = {tmp10 + tmp3, tmp11 + tmp2, tmp12 + tmp1, tmp13 + tmp0,
               tmp13 - tmp0, tmp12 - tmp1, tmp11 - tmp2, tmp10 - tmp3};
    }
};

void inverse_transform(const std::array<std::int16_t, kBlockSamples>& coefficients,
                       const std::array<std::uint16_t, kBlockSamples>& quantisation, std::uint8_t* out,
                       std::size_t stride)
{
    std::array<std::int64_t, kBlockSamples> work;  // columns first, kPassBits extra bits
    for (int column = 0; column < 8; ++column) {
        std::array<std::int64_t, 8> in;
        bool only_dc = true;
        for (int row = 0; row < 8; ++row) {
            int at = row * 8 + column;
            in[row] = std::int64_t{coefficients[at]} * quantisation[at];
            only_dc = only_dc && (row == 0 || in[row] == 0);
        }
        if (only_dc) {
            for (int row = 0; row < 8; ++row)
                work[row * 8 + column] = in[0] * (1 << kPassBits);
            continue;
        }
        Butterfly pass(in);
        for (int row = 0; row < 8; ++row)
            work[row * 8 + column] = descale(pass.out[row], kConstBits - kPassBits);
    }
    for (int row = 0; row < 8; ++row) {
        std::array<std::int64_t, 8> in;
        std::copy_n(work.begin() + static_cast<std::ptrdiff_t>(row) * 8, 8, in.begin());
        std::uint8_t* line = out + static_cast<std::size_t>(row) * stride;
        if (std::all_of(in.begin() + 1, in.end(), [](std::int64_t value) { return value == 0; })) {
            std::memset(line, to_sample(descale(in[0], kPassBits + 3)), 8);
            continue;
        }
        Butterfly pass(in);
        for (int column = 0; column < 8; ++column)
            line[column] = to_sample(descale(pass.out[column], kConstBits + kPassBits + 3));
    }
}

// ---------------------------------------------------------------------------------------------
// 4. Colour
// ---------------------------------------------------------------------------------------------

// One row of a component at the picture's resolution. Colour kept at half resolution is expanded
// with a triangle filter: each new sample weighs its nearer stored neighbour 3 and the farther one
// 1, across and (for half height) down, rounding alternately up and down as libjpeg does so that
// no direction drifts. The edges repeat the last stored sample. Components two samples wide or less
// are doubled plainly.
class RowExpander {
public:
    RowExpander(const Component& component, const Frame& frame)
        : m_component(component)
        , m_across(frame.max_horizontal / component.horizontal)
        , m_down(frame.max_vertical / component.vertical)
        , m_smooth(component.width > 2)
    {
        if (m_across > 1)
            m_row.resize(static_cast<std::size_t>(component.width) * 2);
        if (m_down > 1)
            m_sums.resize(static_cast<std::size_t>(component.width));
    }

    const std::uint8_t* row(int y)
    {
        if (m_across == 1)
            return m_component.row(y);
        const std::ptrdiff_t width = m_component.width;
        std::uint8_t* out = m_row.data();
        if (m_down == 1) {
            const std::uint8_t* in = m_component.row(y);
            if (!m_smooth) {
                for (std::ptrdiff_t x = 0; x < width; ++x)
                    out[2 * x] = out[2 * x + 1] = in[x];
                return out;
            }
            out[0] = in[0];
            out[1] = static_cast<std::uint8_t>((in[0] * 3 + in[1] + 2) >> 2);
            for (std::ptrdiff_t x = 1; x < width - 1; ++x) {
                int near = in[x] * 3;
                out[2 * x] = static_cast<std::uint8_t>((near + in[x - 1] + 1) >> 2);
                out[2 * x + 1] = static_cast<std::uint8_t>((near + in[x + 1] + 2) >> 2);
            }
            out[2 * width - 2] = static_cast<std::uint8_t>((in[width - 1] * 3 + in[width - 2] + 1) >> 2);
            out[2 * width - 1] = in[width - 1];
            return out;
        }
        const int stored = y / 2;
        const std::uint8_t* in = m_component.row(stored);
        if (!m_smooth) {
            for (std::ptrdiff_t x = 0; x < width; ++x)
                out[2 * x] = out[2 * x + 1] = in[x];
            return out;
        }
        // The upper of the two rows a stored row makes leans on the row above, the lower on the
        // row below.
        int neighbour = y % 2 == 0 ? std::max(stored - 1, 0) : std::min(stored + 1, m_component.height - 1);
        const std::uint8_t* other = m_component.row(neighbour);
        int* sums = m_sums.data();
        for (std::ptrdiff_t x = 0; x < width; ++x)
            sums[x] = in[x] * 3 + other[x];
        out[0] = static_cast<std::uint8_t>((sums[0] * 4 + 8) >> 4);
        out[1] = static_cast<std::uint8_t>((sums[0] * 3 + sums[1] + 7) >> 4);
        for (std::ptrdiff_t x = 1; x < width - 1; ++x) {
            out[2 * x] = static_cast<std::uint8_t>((sums[x] * 3 + sums[x - 1] + 8) >> 4);
            out[2 * x + 1] = static_cast<std::uint8_t>((sums[x] * 3 + sums[x + 1] + 7) >> 4);
        }
        out[2 * width - 2] = static_cast<std::uint8_t>((sums[width - 1] * 3 + sums[width - 2] + 8) >> 4);
        out[2 * width - 1] = static_cast<std::uint8_t>((sums[width - 1] * 4 + 7) >> 4);
        return out;
    }

private:
    const Component& m_component;
    int m_across;
    int m_down;
    bool m_smooth;
    std::vector<std::uint8_t> m_row;
    std::vector<int> m_sums;
};

// YCbCr to red, green, blue in 16-bit fixed point, rounded the way libjpeg's tables round.
struct ColourTables {
    std::array<std::int32_t, 256> red_from_cr;
    std::array<std::int32_t, 256> blue_from_cb;
    std::array<std::int32_t, 256> green_from_cr;  // scaled; summed with green_from_cb, then shifted
    std::array<std::int32_t, 256> green_from_cb;

    ColourTables()
    {
        constexpr int kScaleBits = 16;
        constexpr std::int32_t kHalf = 1 << (kScaleBits - 1);
        // 1.402, 1.772, 0.71414 and 0.34414, times 2^16, rounded.
        constexpr std::int32_t kRedFromCr = 91881;
        constexpr std::int32_t kBlueFromCb = 116130;
        constexpr std::int32_t kGreenFromCr = 46802;
        constexpr std::int32_t kGreenFromCb = 22554;
        for (int i = 0; i < 256; ++i) {
            std::int32_t x = i - 128;
            red_from_cr[i] = (kRedFromCr * x + kHalf) >> kScaleBits;
            blue_from_cb[i] = (kBlueFromCb * x + kHalf) >> kScaleBits;
            green_from_cr[i] = -kGreenFromCr * x;
            green_from_cb[i] = -kGreenFromCb * x + kHalf;
        }
    }
};

std::uint8_t clamp_sample(std::int32_t value)
{
    return static_cast<std::uint8_t>(value < 0 ? 0 : value > 255 ? 255 : value);
}

enum class ColourSpace {
    Grey,
    YCbCr,
    Rgb,
};

// ---------------------------------------------------------------------------------------------
// 5. The marker walk
// ---------------------------------------------------------------------------------------------

class SequentialDecoder {
public:
    explicit SequentialDecoder(std::span<const std::uint8_t> bytes)
        : m_bytes(bytes)
    {
    }

    std::optional<DecodeResult<DecodedPicture>> run(ShownSize shown, std::shared_ptr<platform::Bitmap>* bitmap);

private:
    // The failure of a header, or no value to go on.
    using Step = std::optional<DecodeError>;

    std::optional<std::uint8_t> next_marker();
    Step read_frame(std::span<const std::uint8_t> segment);
    Step read_quantisation_tables(std::span<const std::uint8_t> segment);
    Step read_huffman_tables(std::span<const std::uint8_t> segment);
    void read_application_segment(std::uint8_t marker, std::span<const std::uint8_t> segment);
    // Reads the scan whose header is `segment` from m_position; false when it needs the default
    // tables, which this decoder leaves to the system's.
    DecodeResult<bool> read_scan(std::span<const std::uint8_t> segment);
    bool sampling_supported() const;
    Step make_planes(ShownSize shown, std::size_t pixel_size);
    ColourSpace colour_space() const;
    int unit_rows_kept(ShownSize shown) const;
    DecodeResult<DecodedPicture> make_picture(ShownSize shown, std::shared_ptr<platform::Bitmap>* bitmap);

    std::span<const std::uint8_t> m_bytes;
    std::size_t m_position = 2;
    std::array<QuantisationTable, 4> m_quantisation;
    std::array<HuffmanTable, 4> m_dc_tables;
    std::array<HuffmanTable, 4> m_ac_tables;
    int m_restart_interval = 0;
    bool m_saw_jfif = false;
    bool m_saw_adobe = false;
    int m_adobe_transform = 0;
    bool m_has_frame = false;
    int m_scans = 0;
    Frame m_frame;
};

std::optional<std::uint8_t> SequentialDecoder::next_marker()
{
    // Anything between segments that is not a marker is skipped, as are fill bytes.
    while (m_position + 1 < m_bytes.size()) {
        if (m_bytes[m_position] != 0xFF || m_bytes[m_position + 1] == 0xFF || m_bytes[m_position + 1] == 0) {
            ++m_position;
            continue;
        }
        std::uint8_t marker = m_bytes[m_position + 1];
        m_position += 2;
        return marker;
    }
    return std::nullopt;
}

SequentialDecoder::Step SequentialDecoder::read_frame(std::span<const std::uint8_t> segment)
{
    if (m_has_frame || segment.size() < 6)
        return DecodeError::CorruptData;
    if (segment[0] != 8)  // 12-bit samples are not shown
        return DecodeError::CorruptData;
    m_frame.height = (segment[1] << 8) | segment[2];
    m_frame.width = (segment[3] << 8) | segment[4];
    m_frame.component_count = segment[5];
    // A height given later, by a marker after the first scan, is not read: such a file is refused.
    if (m_frame.height == 0 || m_frame.width == 0 || m_frame.component_count == 0)
        return DecodeError::CorruptData;
    if (segment.size() < 6 + std::size_t{3} * m_frame.component_count)
        return DecodeError::CorruptData;
    if (m_frame.component_count != 1 && m_frame.component_count != kMaxComponents)
        return DecodeError::UnsupportedComponents;
    for (int i = 0; i < m_frame.component_count; ++i) {
        Component& component = m_frame.components[i];
        const std::uint8_t* field = segment.data() + 6 + static_cast<std::ptrdiff_t>(3) * i;
        component.id = field[0];
        component.horizontal = field[1] >> 4;
        component.vertical = field[1] & 15;
        component.quantisation_index = field[2];
        if (component.horizontal < 1 || component.horizontal > 4 || component.vertical < 1 || component.vertical > 4 ||
            component.quantisation_index > 3)
            return DecodeError::CorruptData;
    }
    if (m_frame.component_count == 1) {
        // A lone component is never interleaved: its sampling factors mean nothing.
        m_frame.components[0].horizontal = m_frame.components[0].vertical = 1;
    }
    for (int i = 0; i < m_frame.component_count; ++i) {
        m_frame.max_horizontal = std::max(m_frame.max_horizontal, m_frame.components[i].horizontal);
        m_frame.max_vertical = std::max(m_frame.max_vertical, m_frame.components[i].vertical);
    }
    m_frame.mcus_across = divide_rounding_up(m_frame.width, 8LL * m_frame.max_horizontal);
    m_frame.mcus_down = divide_rounding_up(m_frame.height, 8LL * m_frame.max_vertical);
    m_has_frame = true;
    return std::nullopt;
}

SequentialDecoder::Step SequentialDecoder::read_quantisation_tables(std::span<const std::uint8_t> segment)
{
    ByteReader reader(segment);
    while (!reader.at_end()) {
        std::uint8_t precision_and_number = *reader.read_u8();
        int precision = precision_and_number >> 4;
        int number = precision_and_number & 15;
        if (precision > 1 || number > 3)
            return DecodeError::CorruptData;
        auto values = reader.read_bytes(precision == 0 ? kBlockSamples : 2 * kBlockSamples);
        if (!values)
            return DecodeError::CorruptData;
        QuantisationTable& table = m_quantisation[number];
        for (int k = 0; k < kBlockSamples; ++k) {
            table.values[kNaturalOrder[k]] = precision == 0
                                                 ? (*values)[k]
                                                 : static_cast<std::uint16_t>(((*values)[2 * std::size_t(k)] << 8) |
                                                                              (*values)[2 * std::size_t(k) + 1]);
        }
        table.defined = true;
    }
    return std::nullopt;
}

SequentialDecoder::Step SequentialDecoder::read_huffman_tables(std::span<const std::uint8_t> segment)
{
    ByteReader reader(segment);
    while (!reader.at_end()) {
        std::uint8_t class_and_number = *reader.read_u8();
        int table_class = class_and_number >> 4;
        int number = class_and_number & 15;
        auto count_bytes = reader.read_bytes(16);
        if (table_class > 1 || number > 3 || !count_bytes)
            return DecodeError::CorruptData;
        std::array<std::uint8_t, 17> counts{};
        int total = 0;
        for (int length = 1; length <= 16; ++length)
            total += counts[length] = (*count_bytes)[length - 1];
        auto values = total <= 256 ? reader.read_bytes(static_cast<std::size_t>(total)) : std::nullopt;
        if (!values)
            return DecodeError::CorruptData;
        // A DC difference has at most 15 bits beyond its sign.
        if (table_class == 0 && std::any_of(values->begin(), values->end(), [](std::uint8_t v) { return v > 15; }))
            return DecodeError::CorruptData;
        HuffmanTable& table = table_class == 0 ? m_dc_tables[number] : m_ac_tables[number];
        if (!build_huffman_table(table, counts, *values))
            return DecodeError::CorruptData;
    }
    return std::nullopt;
}

void SequentialDecoder::read_application_segment(std::uint8_t marker, std::span<const std::uint8_t> segment)
{
    static constexpr std::uint8_t kJfif[] = {'J', 'F', 'I', 'F', 0};
    static constexpr std::uint8_t kAdobe[] = {'A', 'd', 'o', 'b', 'e'};
    if (marker == kMarkerApplication0 && segment.size() >= 14 && std::equal(kJfif, kJfif + 5, segment.begin()))
        m_saw_jfif = true;
    if (marker == kMarkerApplication14 && segment.size() >= 12 && std::equal(kAdobe, kAdobe + 5, segment.begin())) {
        m_saw_adobe = true;
        m_adobe_transform = segment[11];
    }
}

// Colour at full resolution, at half across, or at half both ways; the rest goes to the system's
// codec.
bool SequentialDecoder::sampling_supported() const
{
    if (m_frame.component_count == 1)
        return true;
    for (int i = 0; i < m_frame.component_count; ++i) {
        const Component& component = m_frame.components[i];
        int across = m_frame.max_horizontal / component.horizontal;
        int down = m_frame.max_vertical / component.vertical;
        bool whole =
            m_frame.max_horizontal % component.horizontal == 0 && m_frame.max_vertical % component.vertical == 0;
        if (!whole || !((across == 1 && down == 1) || (across == 2 && down <= 2)))
            return false;
    }
    return true;
}

// Every picture this decoder makes is checked against the cap at its full size, as the library
// checks it, before any plane is allocated. A plane starts as the samples of blocks with no data.
SequentialDecoder::Step SequentialDecoder::make_planes(ShownSize shown, std::size_t pixel_size)
{
    auto row_bytes = checked_multiply(static_cast<std::size_t>(m_frame.width), pixel_size);
    if (!row_bytes || !checked_block_size(*row_bytes, static_cast<std::size_t>(m_frame.height)))
        return DecodeError::TooLarge;
    for (int i = 0; i < m_frame.component_count; ++i) {
        Component& component = m_frame.components[i];
        component.width =
            divide_rounding_up(static_cast<long long>(m_frame.width) * component.horizontal, m_frame.max_horizontal);
        component.height =
            divide_rounding_up(static_cast<long long>(m_frame.height) * component.vertical, m_frame.max_vertical);
        component.plane_width = static_cast<std::size_t>(m_frame.mcus_across) * component.horizontal * 8;
        component.plane_height = static_cast<std::size_t>(unit_rows_kept(shown)) * component.vertical * 8;
        auto plane_size = checked_block_size(component.plane_width, component.plane_height);
        if (!plane_size)
            return DecodeError::TooLarge;
        component.plane = PixelBlock::allocate(*plane_size, PixelBlock::Fill::Uninitialised);
        if (component.plane.empty())
            return DecodeError::OutOfMemory;
        std::memset(component.plane.data(), kMidGrey, *plane_size);
    }
    return std::nullopt;
}

// A cropped picture keeps the rows it shows, and one row of units more for the smooth colour
// expansion's row below; the rest is decoded and dropped.
int SequentialDecoder::unit_rows_kept(ShownSize shown) const
{
    if (shown.as != ShownAs::Cropped || shown.width <= 0 || shown.height <= 0 || shown.height >= m_frame.height)
        return m_frame.mcus_down;
    return std::min(m_frame.mcus_down, divide_rounding_up(shown.height, 8LL * m_frame.max_vertical) + 1);
}

ColourSpace SequentialDecoder::colour_space() const
{
    if (m_frame.component_count == 1)
        return ColourSpace::Grey;
    if (m_saw_jfif)
        return ColourSpace::YCbCr;
    if (m_saw_adobe)
        return m_adobe_transform == 0 ? ColourSpace::Rgb : ColourSpace::YCbCr;
    const auto& c = m_frame.components;
    if (c[0].id == 'R' && c[1].id == 'G' && c[2].id == 'B')
        return ColourSpace::Rgb;
    return ColourSpace::YCbCr;
}

DecodeResult<bool> SequentialDecoder::read_scan(std::span<const std::uint8_t> segment)
{
    if (!m_has_frame || segment.empty())
        return DecodeError::CorruptData;
    if (++m_scans > kMaxJpegScans)
        return DecodeError::TooManyScans;
    const int count = segment[0];
    if (count < 1 || count > m_frame.component_count || segment.size() < 1 + 2 * std::size_t(count) + 3)
        return DecodeError::CorruptData;
    std::array<Component*, kMaxComponents> scan{};
    int blocks_per_mcu = 0;
    for (int i = 0; i < count; ++i) {
        std::uint8_t id = segment[1 + 2 * i];
        std::uint8_t tables = segment[2 + 2 * i];
        Component* component = nullptr;
        for (int c = 0; c < m_frame.component_count; ++c) {
            if (m_frame.components[c].id == id)
                component = &m_frame.components[c];
        }
        if (!component || (tables >> 4) > 3 || (tables & 15) > 3 ||
            std::find(scan.begin(), scan.begin() + i, component) != scan.begin() + i)
            return DecodeError::CorruptData;
        const HuffmanTable& dc = m_dc_tables[tables >> 4];
        const HuffmanTable& ac = m_ac_tables[tables & 15];
        // Motion pictures leave the tables out and expect the standard ones; this decoder does not
        // carry them.
        if (!dc.defined || !ac.defined)
            return false;
        if (!component->latched) {
            const QuantisationTable& table = m_quantisation[component->quantisation_index];
            if (!table.defined)
                return DecodeError::CorruptData;
            component->quantisation = table.values;
            component->latched = true;
        }
        component->dc_table = &dc;
        component->ac_table = &ac;
        component->last_dc = 0;
        scan[i] = component;
        blocks_per_mcu += component->horizontal * component->vertical;
    }
    if (count > 1 && blocks_per_mcu > kMaxBlocksPerMcu)
        return DecodeError::CorruptData;

    EntropyReader reader(m_bytes, m_position);
    int restarts_left = m_restart_interval;
    int next_restart = 0;
    // Before each unit: the restart interval's bookkeeping; a unit after the data ran short stays
    // grey.
    auto start_unit = [&]() {
        if (m_restart_interval > 0) {
            if (restarts_left == 0) {
                reader.restart(next_restart);
                next_restart = (next_restart + 1) & 7;
                for (int i = 0; i < count; ++i)
                    scan[i]->last_dc = 0;
                restarts_left = m_restart_interval;
            }
            --restarts_left;
        }
        return !reader.ran_short();
    };
    if (count == 1) {
        Component& component = *scan[0];
        const std::size_t across = static_cast<std::size_t>(divide_rounding_up(component.width, 8));
        const std::size_t down = static_cast<std::size_t>(divide_rounding_up(component.height, 8));
        for (std::size_t y = 0; y < down && !(reader.ran_short() && m_restart_interval == 0); ++y) {
            for (std::size_t x = 0; x < across; ++x) {
                if (start_unit())
                    decode_block(reader, component, component.block_at(x, y));
            }
        }
    } else {
        // Without restart markers nothing is read after the data runs short.
        for (int mcu_y = 0; mcu_y < m_frame.mcus_down && !(reader.ran_short() && m_restart_interval == 0); ++mcu_y) {
            for (int mcu_x = 0; mcu_x < m_frame.mcus_across; ++mcu_x) {
                if (!start_unit())
                    continue;
                for (int i = 0; i < count; ++i) {
                    Component& component = *scan[i];
                    for (int by = 0; by < component.vertical; ++by) {
                        for (int bx = 0; bx < component.horizontal; ++bx) {
                            std::size_t x = static_cast<std::size_t>(mcu_x) * component.horizontal + bx;
                            std::size_t y = static_cast<std::size_t>(mcu_y) * component.vertical + by;
                            decode_block(reader, component, component.block_at(x, y));
                        }
                    }
                }
            }
        }
    }
    m_position = reader.end();
    return true;
}

DecodeResult<DecodedPicture> SequentialDecoder::make_picture(ShownSize shown, std::shared_ptr<platform::Bitmap>* bitmap)
{
    int width = m_frame.width;
    int height = m_frame.height;
    const bool cropped = shown.as == ShownAs::Cropped && shown.width > 0 && shown.height > 0 &&
                         (width > shown.width || height > shown.height);
    if (cropped) {
        width = std::min(width, shown.width);
        height = std::min(height, shown.height);
    }
    const std::size_t pixel_size = bitmap ? 4 : 3;
    std::size_t stride = static_cast<std::size_t>(width) * pixel_size;
    PixelBlock pixels;
    std::uint8_t* rows = nullptr;
    if (bitmap) {
        rows = bitmap_rows_to_write(*bitmap, width, height, stride);
    } else {
        pixels = PixelBlock::allocate(stride * static_cast<std::size_t>(height), PixelBlock::Fill::Uninitialised);
        rows = pixels.data();
    }
    if (!rows)
        return DecodeError::OutOfMemory;

    const ColourSpace space = colour_space();
    std::vector<RowExpander> expanders;
    expanders.reserve(static_cast<std::size_t>(m_frame.component_count));
    for (int i = 0; i < m_frame.component_count; ++i)
        expanders.emplace_back(m_frame.components[i], m_frame);
    static const ColourTables tables;
    for (int y = 0; y < height; ++y) {
        // Top row first in a bitmap, bottom row first in a pixel block.
        std::uint8_t* out = rows + static_cast<std::size_t>(bitmap ? y : height - 1 - y) * stride;
        const std::uint8_t* first = expanders[0].row(y);
        if (space == ColourSpace::Grey) {
            for (int x = 0; x < width; ++x, out += pixel_size)
                out[0] = out[1] = out[2] = first[x];
        } else {
            const std::uint8_t* second = expanders[1].row(y);
            const std::uint8_t* third = expanders[2].row(y);
            for (int x = 0; x < width; ++x, out += pixel_size) {
                if (space == ColourSpace::Rgb) {
                    out[0] = third[x];
                    out[1] = second[x];
                    out[2] = first[x];
                    continue;
                }
                std::int32_t luma = first[x];
                std::uint8_t cb = second[x];
                std::uint8_t cr = third[x];
                out[0] = clamp_sample(luma + tables.blue_from_cb[cb]);
                out[1] = clamp_sample(luma + ((tables.green_from_cb[cb] + tables.green_from_cr[cr]) >> 16));
                out[2] = clamp_sample(luma + tables.red_from_cr[cr]);
            }
        }
        if (pixel_size == 4) {
            std::uint8_t* row = rows + static_cast<std::size_t>(y) * stride;
            for (int x = 0; x < width; ++x)
                row[4 * x + 3] = 255;
        }
    }

    DecodedPicture picture;
    picture.kind = PictureKind::Jpeg;
    picture.width = width;
    picture.height = height;
    if (cropped) {
        picture.natural_width = m_frame.width;
        picture.natural_height = m_frame.height;
        picture.kept = ShownAs::Cropped;
    }
    if (bitmap)
        picture.converted = std::move(*bitmap);
    else
        picture.pixels = std::move(pixels);
    return picture;
}

std::optional<DecodeResult<DecodedPicture>> SequentialDecoder::run(ShownSize shown,
                                                                   std::shared_ptr<platform::Bitmap>* bitmap)
{
    if (m_bytes.size() < 2 || m_bytes[0] != 0xFF || m_bytes[1] != kMarkerStartOfImage)
        return DecodeResult<DecodedPicture>(DecodeError::CorruptData);
    for (;;) {
        std::optional<std::uint8_t> marker = next_marker();
        // The end of the bytes ends the image, as a cut-off file does.
        if (!marker || *marker == kMarkerEndOfImage)
            break;
        if (*marker >= kMarkerFirstRestart && *marker <= kMarkerLastRestart)
            continue;  // stray, between segments
        if (m_position + 2 > m_bytes.size())
            break;
        std::size_t length = (std::size_t{m_bytes[m_position]} << 8) | m_bytes[m_position + 1];
        if (length < 2 || m_position + length > m_bytes.size()) {
            if (m_scans > 0)
                break;
            return DecodeResult<DecodedPicture>(DecodeError::CorruptData);
        }
        std::span<const std::uint8_t> segment = m_bytes.subspan(m_position + 2, length - 2);
        m_position += length;

        Step failure;
        if (*marker == kMarkerBaseline || *marker == kMarkerExtendedSequential) {
            failure = read_frame(segment);
            if (!failure && !sampling_supported())
                return std::nullopt;
            if (!failure)
                failure = make_planes(shown, bitmap ? 4 : 3);
        } else if (*marker >= kMarkerBaseline && *marker <= 0xCF && *marker != kMarkerHuffmanTables &&
                   *marker != kMarkerArithmeticConditioning) {
            return std::nullopt;  // progressive, lossless, arithmetic-coded or hierarchical
        } else if (*marker == kMarkerHuffmanTables) {
            failure = read_huffman_tables(segment);
        } else if (*marker == kMarkerQuantisationTables) {
            failure = read_quantisation_tables(segment);
        } else if (*marker == kMarkerRestartInterval) {
            if (segment.size() < 2)
                failure = DecodeError::CorruptData;
            else
                m_restart_interval = (segment[0] << 8) | segment[1];
        } else if (*marker == kMarkerStartOfScan) {
            auto scan = read_scan(segment);
            if (!scan)
                return DecodeResult<DecodedPicture>(scan.error());
            if (!*scan)
                return std::nullopt;
        } else if (*marker >= kMarkerApplication0 && *marker <= 0xEF) {
            read_application_segment(*marker, segment);
        }
        if (failure)
            return DecodeResult<DecodedPicture>(*failure);
    }
    if (m_scans == 0)
        return DecodeResult<DecodedPicture>(DecodeError::CorruptData);
    return make_picture(shown, bitmap);
}

}  // namespace

std::optional<DecodeResult<DecodedPicture>> decode_sequential_jpeg(std::span<const std::uint8_t> bytes, ShownSize shown,
                                                                   std::shared_ptr<platform::Bitmap>* bitmap)
{
    if (bytes.empty())
        return DecodeResult<DecodedPicture>(DecodeError::NoBytes);
    SequentialDecoder decoder(bytes);
    return decoder.run(shown, bitmap);
}

}  // namespace runtime::imaging
