#include "imaging_test_support.h"

#include "runtime/imaging/bmp_decoder.h"
#include "runtime/imaging/picture_decoder.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

using namespace imaging_test;
using runtime::imaging::decode_bmp;
using runtime::imaging::decode_picture;
using runtime::imaging::DecodeError;

// A BMP with a 40-byte information header; `rows` are stored as given (bottom row first for a
// positive height).
Bytes make_bmp(std::int32_t width, std::int32_t height, std::uint16_t bits, const Bytes& palette, const Bytes& rows,
               std::uint32_t compression = 0)
{
    Bytes out(54, 0);
    out[0] = 'B', out[1] = 'M';
    put_u32(out, 10, static_cast<std::uint32_t>(54 + palette.size()));  // pixel data offset
    put_u32(out, 14, 40);                                               // information header size
    put_u32(out, 18, static_cast<std::uint32_t>(width));
    put_u32(out, 22, static_cast<std::uint32_t>(height));
    put_u16(out, 26, 1);  // planes
    put_u16(out, 28, bits);
    put_u32(out, 30, compression);
    put_u32(out, 46, static_cast<std::uint32_t>(palette.size() / 4));  // colours used
    for (std::uint8_t byte : palette)
        out.push_back(byte);
    for (std::uint8_t byte : rows)
        out.push_back(byte);
    put_u32(out, 2, static_cast<std::uint32_t>(out.size()));
    return out;
}

TEST(BmpDecoder, TwentyFourBitRowsLoseTheirPaddingOnly)
{
    // 3 x 2: each stored row is 9 pixel bytes and 3 padding bytes.
    Bytes rows = {1, 2, 3, 4, 5, 6, 7, 8, 9, 0xEE, 0xEE, 0xEE, 10, 11, 12, 13, 14, 15, 16, 17, 18, 0xEE, 0xEE, 0xEE};
    auto picture = decode_bmp(make_bmp(3, 2, 24, {}, rows));
    ASSERT_TRUE(picture);
    EXPECT_EQ(picture->width, 3);
    EXPECT_EQ(picture->height, 2);
    ASSERT_EQ(picture->pixel_block_size(), 18u);
    Bytes expected = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18};
    EXPECT_EQ(Bytes(picture->pixels.data(), picture->pixels.data() + 18), expected);
}

TEST(BmpDecoder, TopDownRowsAreTurnedRound)
{
    // Height -2: the first stored row is the top row, so it ends up last in the bottom-up block.
    Bytes rows = {1, 2, 3, 0, 4, 5, 6, 0};
    auto picture = decode_bmp(make_bmp(1, -2, 24, {}, rows));
    ASSERT_TRUE(picture);
    EXPECT_EQ(picture->height, 2);
    EXPECT_EQ(Bytes(picture->pixels.data(), picture->pixels.data() + 6), (Bytes{4, 5, 6, 1, 2, 3}));
}

TEST(BmpDecoder, ColourIndexBeyondTheTableIsBlack)
{
    // Two colour entries; the 8-bit pixels use indices 1 and 200.
    Bytes palette = {0, 0, 0, 0, 30, 20, 10, 0};
    Bytes rows = {1, 200, 0, 0};
    auto picture = decode_bmp(make_bmp(2, 1, 8, palette, rows));
    ASSERT_TRUE(picture);
    EXPECT_EQ(Bytes(picture->pixels.data(), picture->pixels.data() + 6), (Bytes{30, 20, 10, 0, 0, 0}));
}

TEST(BmpDecoder, RefusesWhatItDoesNotRead)
{
    struct Case {
        const char* name;
        Bytes bytes;
        DecodeError error;
    };
    const Case cases[] = {
        {"run-length", make_bmp(2, 2, 8, Bytes(8, 0), {0, 4, 1, 0, 0, 1}, 1), DecodeError::UnsupportedCompression},
        {"16 bits", make_bmp(2, 1, 16, {}, Bytes(4, 0)), DecodeError::UnsupportedBitDepth},
        {"height -2147483648", make_bmp(1, INT_MIN, 24, {}, Bytes(4, 0)), DecodeError::BadHeader},
        {"60000 x 60000", make_bmp(60000, 60000, 24, {}, Bytes(64, 0)), DecodeError::TooLarge},
        {"rows missing", make_bmp(4, 4, 24, {}, Bytes(40, 0)), DecodeError::Truncated},
        {"BM and six bytes", {'B', 'M', 0, 0, 0, 0, 0, 0}, DecodeError::Truncated},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto picture = decode_picture(c.bytes);
        ASSERT_FALSE(picture);
        EXPECT_EQ(picture.error(), c.error);
    }
}

}  // namespace
