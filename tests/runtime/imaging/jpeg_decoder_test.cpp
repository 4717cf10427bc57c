#include "imaging_test_support.h"

#include "runtime/imaging/drawing.h"
#include "runtime/imaging/jpeg_decoder.h"

#include <gtest/gtest.h>

namespace {

using namespace imaging_test;
using runtime::imaging::decode_jpeg;
using runtime::imaging::DecodeError;

TEST(JpegDecoder, TruncatedFileStillGivesTheFullSize)
{
    TempDir dir;
    std::string path = dir.file("cut.jpg");
    ASSERT_TRUE(convert("rose: -resize 140x92! -quality 90 '" + path + "'"));
    Bytes bytes = read_file(path);
    bytes.resize(bytes.size() / 2);
    auto picture = decode_jpeg(bytes);
    ASSERT_TRUE(picture);
    EXPECT_EQ(picture->width, 140);
    EXPECT_EQ(picture->height, 92);
    EXPECT_EQ(picture->pixel_block_size(), 140u * 92 * 3);
}

TEST(JpegDecoder, RefusesCmykAndHugeAndEmpty)
{
    TempDir dir;
    std::string cmyk = dir.file("cmyk.jpg");
    ASSERT_TRUE(convert("rose: -colorspace CMYK '" + cmyk + "'"));
    auto picture = decode_jpeg(read_file(cmyk));
    ASSERT_FALSE(picture);
    EXPECT_EQ(picture.error(), DecodeError::UnsupportedComponents);

    // A baseline frame header declaring 60000 x 60000 is refused before any pixel is allocated.
    std::string small = dir.file("small.jpg");
    ASSERT_TRUE(convert("-size 8x8 xc:red '" + small + "'"));
    Bytes bytes = read_file(small);
    for (std::size_t i = 2; i + 8 < bytes.size(); ++i) {
        if (bytes[i] == 0xFF && bytes[i + 1] == 0xC0) {
            bytes[i + 5] = 60000 >> 8, bytes[i + 6] = 60000 & 0xFF;  // height
            bytes[i + 7] = 60000 >> 8, bytes[i + 8] = 60000 & 0xFF;  // width
            break;
        }
    }
    picture = decode_jpeg(bytes);
    ASSERT_FALSE(picture);
    EXPECT_EQ(picture.error(), DecodeError::TooLarge);

    picture = decode_jpeg(Bytes{0xFF, 0xD8});
    ASSERT_FALSE(picture);
}

TEST(JpegDecoder, RefusesAFileOfEndlessScans)
{
    TempDir dir;
    std::string path = dir.file("prog.jpg");
    ASSERT_TRUE(convert("rose: -interlace Plane '" + path + "'"));
    Bytes bytes = read_file(path);
    // Repeat the last scan (from its start-of-scan marker to the end-of-image marker) many times.
    std::size_t last_scan = 0;
    for (std::size_t i = 0; i + 1 < bytes.size(); ++i) {
        if (bytes[i] == 0xFF && bytes[i + 1] == 0xDA)
            last_scan = i;
    }
    ASSERT_GT(last_scan, 0u);
    Bytes scan(bytes.begin() + static_cast<long>(last_scan), bytes.end() - 2);
    Bytes hostile(bytes.begin(), bytes.end() - 2);
    for (int i = 0; i < 150; ++i)
        hostile.insert(hostile.end(), scan.begin(), scan.end());
    hostile.push_back(0xFF);
    hostile.push_back(0xD9);
    auto picture = decode_jpeg(hostile);
    ASSERT_FALSE(picture);
    EXPECT_EQ(picture.error(), DecodeError::TooManyScans);
    EXPECT_TRUE(decode_jpeg(bytes));
}

// A progressive picture keeps all its blocks whatever size it is shown at. A flat 3200 x 2400 one
// codes its 360,000 blocks (46 MB kept) in about 90 KB; cut to 20 KB, it could no longer hold one bit
// per block, and it is refused before the blocks are allocated.
TEST(JpegDecoder, RefusesAProgressiveFileFarTooShortForTheBlocksItKeeps)
{
    TempDir dir;
    std::string path = dir.file("flat.jpg");
    ASSERT_TRUE(convert("-size 3200x2400 xc:'#336699' -interlace Plane -sampling-factor 1x1 '" + path + "'"));
    Bytes bytes = read_file(path);
    ASSERT_GT(bytes.size(), 360000u / 8);
    const runtime::imaging::ShownSize box{80, 60, runtime::imaging::ShownAs::Stretched};
    EXPECT_TRUE(decode_jpeg(bytes, box));

    bytes.resize(20000);
    auto picture = decode_jpeg(bytes, box);
    ASSERT_FALSE(picture);
    EXPECT_EQ(picture.error(), DecodeError::Truncated);
}

}  // namespace

namespace {

TEST(JpegDecoder, APictureMuchLargerThanItsShownSizeDecodesReducedToTheSamePicture)
{
    TempDir dir;
    std::string path = dir.file("large.jpg");
    ASSERT_TRUE(convert("-size 1000x800 gradient:navy-orange -quality 92 '" + path + "'"));
    Bytes bytes = read_file(path);
    auto full = decode_jpeg(bytes);
    ASSERT_TRUE(full);

    // Eight times larger on both axes than a 76 x 93 box: the largest reduction, still covering it.
    auto reduced = decode_jpeg(bytes, runtime::imaging::ShownSize{76, 93});
    ASSERT_TRUE(reduced);
    EXPECT_EQ(reduced->width, 125);
    EXPECT_EQ(reduced->height, 100);
    EXPECT_EQ(reduced->full_width(), 1000);
    EXPECT_EQ(reduced->full_height(), 800);
    EXPECT_EQ(reduced->pixel_block_size(), 125u * 100 * 3);
    // Each reduced pixel is the mean of its 8 x 8 block.
    RgbaImage big = rgba_of(*full);
    RgbaImage small = rgba_of(*reduced);
    for (int y = 0; y < 100; y += 33) {
        for (int x = 0; x < 125; x += 31) {
            for (int c = 0; c < 3; ++c) {
                int sum = 0;
                for (int by = 0; by < 8; ++by)
                    for (int bx = 0; bx < 8; ++bx)
                        sum += big.at(x * 8 + bx, y * 8 + by)[c];
                EXPECT_NEAR(small.at(x, y)[c], sum / 64.0, 3) << x << "," << y;
            }
        }
    }

    // Not twice as large as what is shown: decoded whole.
    auto whole = decode_jpeg(bytes, runtime::imaging::ShownSize{600, 500});
    ASSERT_TRUE(whole);
    EXPECT_EQ(whole->width, 1000);
    EXPECT_EQ(whole->full_width(), 1000);
}

TEST(JpegDecoder, DecodedToDrawItIsItsBitmapPixelForPixelWithNoConversion)
{
    TempDir dir;
    struct Case {
        const char* name;
        std::string command;
    };
    const Case cases[] = {
        {"colour", "rose: -resize 141x93! -quality 90"},  // odd width: no row padding assumed
        {"grey", "rose: -resize 60x40! -colorspace Gray -quality 90"},
    };
    for (const Case& c : cases) {
        std::string path = dir.file(std::string(c.name) + ".jpg");
        ASSERT_TRUE(convert(c.command + " '" + path + "'"));
        Bytes bytes = read_file(path);
        auto block = decode_jpeg(bytes);
        ASSERT_TRUE(block) << c.name;
        auto expected = runtime::imaging::picture_bitmap(*block, 0);
        ASSERT_TRUE(expected);

        long conversions = platform::graphics_counters().conversions;
        auto drawn = runtime::imaging::decode_jpeg_to_draw(bytes);
        ASSERT_TRUE(drawn) << c.name;
        EXPECT_EQ(platform::graphics_counters().conversions, conversions) << c.name;
        EXPECT_EQ(drawn->width, block->width);
        EXPECT_EQ(drawn->height, block->height);
        EXPECT_TRUE(drawn->pixels.empty()) << c.name;
        auto bitmap = runtime::imaging::converted_bitmap(*drawn, 0);
        ASSERT_TRUE(bitmap) << c.name;
        EXPECT_EQ(platform::graphics_counters().conversions, conversions) << c.name;
        ASSERT_EQ(bitmap->width(), expected->width());
        ASSERT_EQ(bitmap->height(), expected->height());
        int differing = 0;
        for (int y = 0; y < bitmap->height(); ++y)
            for (int x = 0; x < bitmap->width(); ++x)
                differing += bitmap->pixel(x, y) != expected->pixel(x, y);
        EXPECT_EQ(differing, 0) << c.name;
    }
    // What the pixel-block decode refuses, this refuses too.
    EXPECT_FALSE(runtime::imaging::decode_jpeg_to_draw(Bytes{0xFF, 0xD8, 0xFF}));
    EXPECT_FALSE(runtime::imaging::decode_jpeg_to_draw(Bytes{}));
}

TEST(JpegDecoder, ALabelsNextPictureOfTheSameSizeIsWrittenOverTheLastOnesBitmap)
{
    TempDir dir;
    std::string first = dir.file("first.jpg");
    std::string second = dir.file("second.jpg");
    std::string other_size = dir.file("other.jpg");
    ASSERT_TRUE(convert("rose: -resize 70x46! -quality 90 '" + first + "'"));
    ASSERT_TRUE(convert("-size 70x46 gradient:navy-orange -quality 90 '" + second + "'"));
    ASSERT_TRUE(convert("rose: -resize 71x46! -quality 90 '" + other_size + "'"));
    auto shown = runtime::imaging::decode_jpeg_to_draw(read_file(first));
    ASSERT_TRUE(shown && shown->converted);
    const platform::Bitmap* memory = shown->converted.get();

    auto fresh = runtime::imaging::decode_jpeg_to_draw(read_file(second));
    auto next = runtime::imaging::decode_jpeg_to_draw(read_file(second), std::move(shown->converted));
    ASSERT_TRUE(fresh && next);
    EXPECT_EQ(next->converted.get(), memory);
    for (int y = 0; y < 46; y += 5)
        for (int x = 0; x < 70; x += 3)
            ASSERT_EQ(next->converted->pixel(x, y), fresh->converted->pixel(x, y)) << x << "," << y;

    // Another size, or a bitmap still held elsewhere (a paint in progress), gets a bitmap of its own.
    auto resized = runtime::imaging::decode_jpeg_to_draw(read_file(other_size), std::move(next->converted));
    ASSERT_TRUE(resized);
    EXPECT_EQ(resized->converted->width(), 71);
    std::shared_ptr<const platform::Bitmap> held = fresh->converted;
    auto beside = runtime::imaging::decode_jpeg_to_draw(read_file(first), fresh->converted);
    ASSERT_TRUE(beside);
    EXPECT_NE(beside->converted.get(), held.get());
    EXPECT_EQ(held->pixel(10, 40), fresh->converted->pixel(10, 40));
}

}  // namespace
