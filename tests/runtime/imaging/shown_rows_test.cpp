// A picture kept only as shown (averaged or cropped row by row while it is read) must be drawn
// exactly as the whole picture, converted and shrunk at paint time, would be: the box's pixels may
// not change with the memory they cost.

#include "imaging_test_support.h"

#include "runtime/imaging/drawing.h"
#include "runtime/imaging/picture_decoder.h"
#include "runtime/imaging/shown_rows.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

using namespace imaging_test;
using runtime::imaging::DecodedPicture;
using runtime::imaging::ShownAs;
using runtime::imaging::ShownSize;

constexpr platform::Colour kBackground = 0x00336699;

// ImageMagick's convert with `arguments` (ending in a space or a format prefix), writing `path`.
bool make_picture(const std::string& arguments, const std::string& path)
{
    std::string command = arguments;
    command.append("'").append(path).append("'");
    return convert(command);
}

// Every pixel of `kept` against the top-left part of `whole`.
void expect_same_pixels(const platform::Bitmap& kept, const platform::Bitmap& whole)
{
    ASSERT_LE(kept.width(), whole.width());
    ASSERT_LE(kept.height(), whole.height());
    int differing = 0;
    for (int y = 0; y < kept.height(); ++y) {
        for (int x = 0; x < kept.width(); ++x) {
            if (kept.pixel(x, y) != whole.pixel(x, y) && ++differing <= 3)
                ADD_FAILURE() << "pixel " << x << "," << y << ": " << std::hex << kept.pixel(x, y) << " against "
                              << whole.pixel(x, y);
        }
    }
    EXPECT_EQ(differing, 0);
}

TEST(ShownRows, KeptPicturesDrawExactlyAsTheWholePictureShrunkAtPaintTime)
{
    TempDir dir;
    // Odd sizes, so that result pixels straddle source pixels on both axes.
    const std::string photo = "rose: -resize 97x61! ";
    const std::vector<std::string> makes = {
        photo + "-type truecolor BMP3:%.bmp",
        photo + "-type truecolor -flip BMP3:%.bmp",  // made top-down below
        photo + "-type palette -compress none BMP3:%.bmp",
        photo + "-colors 2 -type palette -compress none BMP3:%.bmp",
        photo + "PNG24:%.png",
        photo + "-alpha set -channel A -fx 'i/w' +channel PNG32:%.png",  // graded transparency
        photo + "-depth 16 PNG48:%.png",
        photo + "-alpha set -channel A -fx 'j/h' +channel -interlace PNG PNG32:%.png",
        photo + "-colorspace gray -depth 8 PNG8:%.png",
        photo + "-fuzz 30% -transparent black PNG8:%.png",
        photo + "%.gif",
        "rose: -resize 40x30! -page 97x61+30+20 %.gif",  // a frame inside a larger screen
        photo + "-type palette %.pcx",
        photo + "-colors 2 -type palette -depth 1 %.pcx",
    };
    struct Shown {
        int width;
        int height;
        ShownAs as;
    };
    const Shown showns[] = {
        {23, 17, ShownAs::Stretched}, {60, 70, ShownAs::Stretched},  // both axes; one axis shrinks
        {40, 40, ShownAs::Fitted},    {96, 200, ShownAs::Fitted},   {30, 20, ShownAs::Cropped},
    };
    int index = 0;
    for (const std::string& make : makes) {
        SCOPED_TRACE(make);
        std::string command = make;
        std::size_t at = command.rfind('%');
        std::string name = std::to_string(index++);
        name += command.substr(at + 1);
        std::string path = dir.file(name);
        command.resize(at);
        ASSERT_TRUE(make_picture(command, path));
        Bytes bytes = read_file(path);
        // A 1-bit PCX is recognised by the version byte of the writers that made them (3).
        if (path.ends_with(".pcx") && bytes[3] == 1)
            bytes[1] = 3;
        if (make.find("-flip") != std::string::npos) {
            // A top-down BMP: the height negated (the rows were flipped above, so it looks the same).
            std::int32_t height = -static_cast<std::int32_t>(bytes[22] | (bytes[23] << 8));
            for (int i = 0; i < 4; ++i)
                bytes[22 + i] = static_cast<std::uint8_t>(static_cast<std::uint32_t>(height) >> (8 * i));
        }
        auto whole = runtime::imaging::decode_picture(bytes);
        ASSERT_TRUE(whole);
        for (const Shown& shown : showns) {
            SCOPED_TRACE(std::to_string(shown.width) + "x" + std::to_string(shown.height) + " as " +
                         std::to_string(static_cast<int>(shown.as)));
            auto kept =
                runtime::imaging::decode_picture(bytes, ShownSize{shown.width, shown.height, shown.as, kBackground});
            ASSERT_TRUE(kept);
            ASSERT_EQ(kept->kept, shown.as);
            EXPECT_EQ(kept->full_width(), whole->width);
            EXPECT_EQ(kept->full_height(), whole->height);
            EXPECT_EQ(kept->pixel_block_size(), static_cast<std::size_t>(kept->width) * kept->height * 3);
            // At paint time the whole picture is converted straight to the size it is drawn at.
            platform::TargetSize target{kept->width, kept->height};
            if (shown.as == ShownAs::Stretched)
                target = {shown.width, shown.height};
            if (shown.as == ShownAs::Cropped)
                target = {};
            auto expected = runtime::imaging::picture_bitmap(*whole, kBackground, target);
            auto actual = runtime::imaging::picture_bitmap(*kept, kBackground, target);
            ASSERT_TRUE(expected && actual);
            expect_same_pixels(*actual, *expected);
        }
    }
}

TEST(ShownRows, ANaturalSizeBoxKeepsOnlyTheTopLeftOfAJpeg)
{
    TempDir dir;
    std::string path = dir.file("photo.jpg");
    ASSERT_TRUE(make_picture("rose: -resize 97x61! -quality 90 ", path));
    Bytes bytes = read_file(path);
    auto whole = runtime::imaging::decode_picture(bytes);
    auto kept = runtime::imaging::decode_picture(bytes, ShownSize{30, 20, ShownAs::Cropped});
    ASSERT_TRUE(whole && kept);
    EXPECT_EQ(kept->kept, ShownAs::Cropped);
    EXPECT_EQ(kept->width, 30);
    EXPECT_EQ(kept->height, 20);
    EXPECT_EQ(kept->full_width(), 97);
    auto expected = runtime::imaging::picture_bitmap(*whole, kBackground);
    auto actual = runtime::imaging::picture_bitmap(*kept, kBackground);
    ASSERT_TRUE(expected && actual);
    expect_same_pixels(*actual, *expected);
}

TEST(ShownRows, AnInterlacedPngReadInBandsIsTheWholePicture)
{
    // Rows of 64,000 bytes: the 1200 rows take two bands, each from a reading of its own; only the
    // width is reduced, so every row must land in its place.
    TempDir dir;
    std::string path = dir.file("wide.png");
    ASSERT_TRUE(make_picture("-size 16000x1200 gradient:navy-orange \\( -size 16000x1200 pattern:gray50 \\) "
                             "-compose multiply -composite -interlace PNG ",
                             std::string("PNG24:").append(path)));
    Bytes bytes = read_file(path);
    auto whole = runtime::imaging::decode_picture(bytes);
    auto kept = runtime::imaging::decode_picture(bytes, ShownSize{1600, 1200, ShownAs::Stretched});
    ASSERT_TRUE(whole && kept);
    ASSERT_EQ(kept->kept, ShownAs::Stretched);
    auto expected = runtime::imaging::picture_bitmap(*whole, kBackground, {1600, 1200});
    auto actual = runtime::imaging::picture_bitmap(*kept, kBackground);
    ASSERT_TRUE(expected && actual);
    expect_same_pixels(*actual, *expected);
}

TEST(ShownRows, PicturesNoLargerThanShownAreKeptWhole)
{
    using runtime::imaging::kept_size;
    EXPECT_FALSE(kept_size(ShownSize{100, 100, ShownAs::Stretched}, 100, 50));
    EXPECT_FALSE(kept_size(ShownSize{100, 100, ShownAs::Fitted}, 80, 100));
    EXPECT_FALSE(kept_size(ShownSize{100, 100, ShownAs::Cropped}, 100, 100));
    EXPECT_FALSE(kept_size(ShownSize{10, 10, ShownAs::Whole}, 100, 100));
    // Fitted keeps the proportions; a sliver still keeps one pixel.
    auto fitted = kept_size(ShownSize{100, 100, ShownAs::Fitted}, 1000, 500);
    ASSERT_TRUE(fitted);
    EXPECT_EQ(fitted->width, 100);
    EXPECT_EQ(fitted->height, 50);
    auto sliver = kept_size(ShownSize{10, 10, ShownAs::Fitted}, 30000, 2);
    ASSERT_TRUE(sliver);
    EXPECT_EQ(sliver->width, 10);
    EXPECT_EQ(sliver->height, 1);
}

TEST(ShownRows, CutOffDataLeavesTheSameRowsAsAWholeDecode)
{
    // Runs that end early: the rows after them are what a whole decode leaves there (index 0, or
    // black for 1 bit), reduced the same way.
    TempDir dir;
    for (const std::string& make :
         {std::string("rose: -resize 97x61! -type palette"), std::string("rose: -colors 2 -type palette -depth 1")}) {
        SCOPED_TRACE(make);
        std::string path = dir.file("cut.pcx");
        ASSERT_TRUE(make_picture(make + " ", path));
        Bytes bytes = read_file(path);
        bytes.resize(128 + (bytes.size() - 128) / 3);
        if (bytes[3] == 1)
            bytes[1] = 3;
        auto whole = runtime::imaging::decode_picture(bytes);
        ASSERT_TRUE(whole);
        auto kept = runtime::imaging::decode_picture(bytes, ShownSize{31, 19, ShownAs::Stretched});
        ASSERT_TRUE(kept);
        auto expected = runtime::imaging::picture_bitmap(*whole, kBackground, {31, 19});
        auto actual = runtime::imaging::picture_bitmap(*kept, kBackground);
        ASSERT_TRUE(expected && actual);
        expect_same_pixels(*actual, *expected);
    }
}

}  // namespace
