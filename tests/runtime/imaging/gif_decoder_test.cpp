#include "imaging_test_support.h"

#include "runtime/imaging/gif_decoder.h"
#include "runtime/imaging/picture_decoder.h"

#include <gtest/gtest.h>

namespace {

using namespace imaging_test;
using runtime::imaging::decode_gif;
using runtime::imaging::DecodeError;
using runtime::imaging::GifStream;

// Packs LZW codes least significant bit first, all at the given widths.
Bytes pack_codes(const std::vector<std::pair<int, int>>& codes)
{
    Bytes out;
    std::uint32_t bits = 0;
    int count = 0;
    for (auto [code, width] : codes) {
        bits |= static_cast<std::uint32_t>(code) << count;
        count += width;
        while (count >= 8) {
            out.push_back(static_cast<std::uint8_t>(bits));
            bits >>= 8;
            count -= 8;
        }
    }
    if (count > 0)
        out.push_back(static_cast<std::uint8_t>(bits));
    return out;
}

// A GIF89a with a 4-entry global table (black, red, green, blue), a logical screen of
// `screen_w` x `screen_h`, and one image of `w` x `h` at (left, top) carrying the given codes
// (minimum code size 2: clear 4, end 5).
Bytes make_gif(int screen_w, int screen_h, int left, int top, int w, int h, const Bytes& data,
               const Bytes& extensions = {})
{
    Bytes out = {'G', 'I', 'F', '8', '9', 'a', 0, 0, 0, 0, 0x81, 0, 0};
    put_u16(out, 6, static_cast<std::uint16_t>(screen_w));
    put_u16(out, 8, static_cast<std::uint16_t>(screen_h));
    Bytes table = {0, 0, 0, 255, 0, 0, 0, 255, 0, 0, 0, 255};
    out.insert(out.end(), table.begin(), table.end());
    out.insert(out.end(), extensions.begin(), extensions.end());
    Bytes descriptor = {0x2C, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    put_u16(descriptor, 1, static_cast<std::uint16_t>(left));
    put_u16(descriptor, 3, static_cast<std::uint16_t>(top));
    put_u16(descriptor, 5, static_cast<std::uint16_t>(w));
    put_u16(descriptor, 7, static_cast<std::uint16_t>(h));
    out.insert(out.end(), descriptor.begin(), descriptor.end());
    out.push_back(2);  // minimum code size
    out.push_back(static_cast<std::uint8_t>(data.size()));
    out.insert(out.end(), data.begin(), data.end());
    out.push_back(0);
    out.push_back(0x3B);
    return out;
}

std::uint8_t still_index(const runtime::imaging::DecodedPicture& picture, int x, int y)
{
    std::size_t stride = (static_cast<std::size_t>(picture.width) + 3) & ~std::size_t{3};
    return picture.pixels.data()[runtime::imaging::kBitmapPrefixBytes + y * stride + x];
}

TEST(GifDecoder, FrameIsPlacedOnTheScreenAndClipped)
{
    // A 3 x 2 frame at (2, 1) on a 4 x 2 screen: its last column and last row fall outside.
    // Codes: clear, 1, 2, 3, 1, 2, 3, end (literals only); the width grows to 4 bits once code 7 is
    // in the table.
    Bytes data = pack_codes({{4, 3}, {1, 3}, {2, 3}, {3, 3}, {1, 4}, {2, 4}, {3, 4}, {5, 4}});
    auto picture = decode_gif(make_gif(4, 2, 2, 1, 3, 2, data));
    ASSERT_TRUE(picture);
    EXPECT_EQ(picture->width, 4);
    EXPECT_EQ(picture->height, 2);
    EXPECT_EQ(picture->pixel_block_size(), runtime::imaging::kBitmapPrefixBytes + std::size_t{4} * 2);
    EXPECT_EQ(still_index(*picture, 0, 0), 0);  // not covered by the frame
    EXPECT_EQ(still_index(*picture, 2, 1), 1);
    EXPECT_EQ(still_index(*picture, 3, 1), 2);
}

TEST(GifDecoder, PixelsTheDataLeavesUnsetAreZero)
{
    // Two codes for a 2 x 2 frame, then the end code.
    Bytes data = pack_codes({{4, 3}, {3, 3}, {3, 3}, {5, 3}});
    auto picture = decode_gif(make_gif(2, 2, 0, 0, 2, 2, data));
    ASSERT_TRUE(picture);
    EXPECT_EQ(still_index(*picture, 1, 0), 3);
    EXPECT_EQ(still_index(*picture, 0, 1), 0);
    EXPECT_EQ(still_index(*picture, 1, 1), 0);
}

TEST(GifDecoder, RefusesCorruptCodeStreams)
{
    struct Case {
        const char* name;
        Bytes data;
        DecodeError error;
    };
    const Case cases[] = {
        // Code 7 when the next free code is 6.
        {"code beyond the table", pack_codes({{4, 3}, {1, 3}, {7, 3}, {5, 3}}), DecodeError::CorruptData},
        // The first code after a clear cannot be the next free code.
        {"free code first", pack_codes({{4, 3}, {6, 3}, {5, 3}}), DecodeError::CorruptData},
        // Sub-blocks that run past the end of the stream.
        {"data cut off", Bytes{0x8C, 0x2D}, DecodeError::Truncated},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Bytes gif = make_gif(2, 2, 0, 0, 2, 2, c.data);
        if (std::string(c.name) == "data cut off")
            gif.resize(gif.size() - 3);
        auto picture = decode_gif(gif);
        ASSERT_FALSE(picture);
        EXPECT_EQ(picture.error(), c.error);
    }
}

TEST(GifDecoder, StreamWithoutImagesEndsInsteadOfLooping)
{
    Bytes gif = {'G', 'I', 'F', '8', '9', 'a', 1, 0, 1, 0, 0, 0, 0, 0x21, 0xFE, 1, 'x', 0, 0x3B};
    auto stream = GifStream::open(gif);
    ASSERT_TRUE(stream);
    auto frame = stream->next_frame();
    ASSERT_FALSE(frame);
    EXPECT_EQ(frame.error(), DecodeError::NoFrame);
    EXPECT_FALSE(runtime::imaging::decode_picture(gif));
}

TEST(GifDecoder, GraphicControlAppliesToTheNextImageOnly)
{
    // Disposal 2 (code 8), transparency on, delay 7, transparent index 2 (green).
    Bytes control = {0x21, 0xF9, 4, 0x09, 7, 0, 2, 0};
    Bytes data = pack_codes({{4, 3}, {2, 3}, {5, 3}});
    Bytes gif = make_gif(1, 1, 0, 0, 1, 1, data, control);
    // A second image, without a control extension, before the trailer.
    Bytes second = {0x2C, 0, 0, 0, 0, 1, 0, 1, 0, 0, 2};
    Bytes second_data = pack_codes({{4, 3}, {1, 3}, {5, 3}});
    second.push_back(static_cast<std::uint8_t>(second_data.size()));
    second.insert(second.end(), second_data.begin(), second_data.end());
    second.push_back(0);
    gif.insert(gif.end() - 1, second.begin(), second.end());

    auto stream = GifStream::open(gif);
    ASSERT_TRUE(stream);
    auto first = stream->next_frame();
    ASSERT_TRUE(first);
    EXPECT_EQ(first->disposal, runtime::imaging::GifDisposal::RestoreBackground);
    EXPECT_TRUE(first->has_transparency);
    EXPECT_EQ(first->transparent_index, 2);
    EXPECT_EQ(first->transparent_colour, 0x0000FF00u);
    EXPECT_EQ(first->delay, 7);
    EXPECT_FALSE(stream->at_end());
    auto next = stream->next_frame();
    ASSERT_TRUE(next);
    EXPECT_FALSE(next->has_transparency);
    EXPECT_EQ(next->delay, 0);
    EXPECT_EQ(next->index_at(0, 0), 1);
    EXPECT_TRUE(stream->at_end());
}

}  // namespace
