#pragma once
// Builds small GIF files byte by byte for the picture box and animator tests, so that each test
// controls frame places, disposal codes, delays and transparent entries exactly.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace gif_test {

using Bytes = std::vector<std::uint8_t>;

struct Frame {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> indices;  // width x height, row by row
    int delay = 0;                      // hundredths of a second
    int disposal = 0;                   // the GIF's own code: 0, 1 keep, 2 restore background, 3 previous
    int transparent_index = -1;         // -1: no transparency
    bool graphic_control = true;        // write a graphic control extension before the image
};

// A frame of one colour index covering (left, top, width, height).
inline Frame solid_frame(int left, int top, int width, int height, std::uint8_t index)
{
    Frame frame;
    frame.left = left;
    frame.top = top;
    frame.width = width;
    frame.height = height;
    frame.indices.assign(static_cast<std::size_t>(width) * height, index);
    return frame;
}

inline void put_u16(Bytes& out, int value)
{
    out.push_back(static_cast<std::uint8_t>(value & 0xFF));
    out.push_back(static_cast<std::uint8_t>((value >> 8) & 0xFF));
}

// LZW data with a minimum code size of 8 that never grows its code width: every index goes out as
// its literal code, and a clear code comes before the table would need a tenth bit.
inline void put_image_data(Bytes& out, const std::vector<std::uint8_t>& indices)
{
    constexpr int kClear = 256;
    constexpr int kEnd = 257;
    constexpr int kWidth = 9;
    Bytes packed;
    std::uint32_t bits = 0;
    int bit_count = 0;
    auto emit = [&](int code) {
        bits |= static_cast<std::uint32_t>(code) << bit_count;
        bit_count += kWidth;
        while (bit_count >= 8) {
            packed.push_back(static_cast<std::uint8_t>(bits & 0xFF));
            bits >>= 8;
            bit_count -= 8;
        }
    };
    emit(kClear);
    int since_clear = 0;
    for (std::uint8_t index : indices) {
        emit(index);
        if (++since_clear == 254) {
            emit(kClear);
            since_clear = 0;
        }
    }
    emit(kEnd);
    if (bit_count > 0)
        packed.push_back(static_cast<std::uint8_t>(bits & 0xFF));

    out.push_back(8);  // minimum code size
    for (std::size_t at = 0; at < packed.size(); at += 255) {
        std::size_t length = std::min<std::size_t>(255, packed.size() - at);
        out.push_back(static_cast<std::uint8_t>(length));
        out.insert(out.end(), packed.begin() + static_cast<std::ptrdiff_t>(at),
                   packed.begin() + static_cast<std::ptrdiff_t>(at + length));
    }
    out.push_back(0);
}

// `palette` holds red, green, blue triples; its entry count must be a power of two from 2 to 256.
inline Bytes build_gif(int screen_width, int screen_height, const std::vector<std::uint8_t>& palette,
                       const std::vector<Frame>& frames)
{
    Bytes out = {'G', 'I', 'F', '8', '9', 'a'};
    put_u16(out, screen_width);
    put_u16(out, screen_height);
    int entries = static_cast<int>(palette.size() / 3);
    int size_bits = 0;
    while ((2 << size_bits) < entries)
        ++size_bits;
    out.push_back(static_cast<std::uint8_t>(0x80 | size_bits));  // global colour table
    out.push_back(0);                                            // background index
    out.push_back(0);                                            // aspect ratio
    out.insert(out.end(), palette.begin(), palette.end());
    for (int i = entries; i < (2 << size_bits); ++i)
        out.insert(out.end(), {0, 0, 0});

    for (const Frame& frame : frames) {
        if (frame.graphic_control) {
            out.insert(out.end(), {0x21, 0xF9, 0x04});
            bool transparent = frame.transparent_index >= 0;
            out.push_back(static_cast<std::uint8_t>((frame.disposal << 2) | (transparent ? 1 : 0)));
            put_u16(out, frame.delay);
            out.push_back(static_cast<std::uint8_t>(transparent ? frame.transparent_index : 0));
            out.push_back(0);
        }
        out.push_back(0x2C);
        put_u16(out, frame.left);
        put_u16(out, frame.top);
        put_u16(out, frame.width);
        put_u16(out, frame.height);
        out.push_back(0);  // no local table, not interlaced
        put_image_data(out, frame.indices);
    }
    out.push_back(0x3B);
    return out;
}

// Colours as the canvas and the platform report them: 0x00BBGGRR.
inline constexpr std::uint32_t kRed = 0x0000FF;
inline constexpr std::uint32_t kGreen = 0x00FF00;
inline constexpr std::uint32_t kBlue = 0xFF0000;
inline constexpr std::uint32_t kWhite = 0xFFFFFF;

// Entry 0 red, 1 green, 2 green again (same colour, other index), 3 blue.
inline const std::vector<std::uint8_t> kTestPalette = {255, 0, 0, 0, 255, 0, 0, 255, 0, 0, 0, 255};

}  // namespace gif_test
