// What certmaker-drive writes: byte sets as SHA-256, screen shots as PNG.

#include "png_writer.h"
#include "sha256.h"

#include "runtime/imaging/png_decoder.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string sha256_of(const std::string& text)
{
    return drive::sha256_hex({reinterpret_cast<const std::uint8_t*>(text.data()), text.size()});
}

// Lengths around the block size: the padding takes one last block or two.
TEST(DriveOutput, Sha256MatchesTheStandardVectors)
{
    EXPECT_EQ(sha256_of(""), "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855");
    EXPECT_EQ(sha256_of("abc"), "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
    EXPECT_EQ(sha256_of("abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq"),
              "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1");
    EXPECT_EQ(sha256_of(std::string(64, 'a')), "ffe054fe7ae0cb6dc65c3af9b61d5209f439851db43d0ba5997337df154668eb");
    EXPECT_EQ(sha256_of(std::string(1000, 'a')), "41edece42d63e8d9bf515a9ba6932e1c20cbc9f5a5d134645adb5db1b9737ea3");
}

TEST(DriveOutput, AScreenShotPngDecodesToTheSamePixels)
{
    // 3 x 2, blue, green, red per pixel, top row first.
    const std::uint8_t rows[] = {
        0,  0,  255, 0,  255, 0,  255, 0,  0,   // red, green, blue
        10, 20, 30,  40, 50,  60, 70,  80, 90,  // three greys of a kind
    };
    std::vector<std::uint8_t> png = drive::png_from_bgr_rows(rows, 3, 2);
    auto picture = runtime::imaging::decode_png(png);
    ASSERT_TRUE(picture);
    ASSERT_EQ(picture->width, 3);
    ASSERT_EQ(picture->height, 2);
    const std::uint8_t* pixels = picture->pixels.data();
    for (std::size_t i = 0; i < 6; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(pixels[4 * i], rows[3 * i]);
        EXPECT_EQ(pixels[4 * i + 1], rows[3 * i + 1]);
        EXPECT_EQ(pixels[4 * i + 2], rows[3 * i + 2]);
        EXPECT_EQ(pixels[4 * i + 3], 255);
    }
    // Rows that do not make the size are no picture.
    EXPECT_TRUE(drive::png_from_bgr_rows(rows, 4, 2).empty());
}

}  // namespace
