#include "imaging_test_support.h"

#include "runtime/imaging/drawing.h"
#include "runtime/imaging/picture_decoder.h"

#include "platform/graphics.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <vector>

namespace {

using namespace imaging_test;
using runtime::imaging::DecodedPicture;
using runtime::imaging::PictureKind;
using runtime::imaging::PixelBlock;

DecodedPicture png_picture(const Bytes& bgra, int width, int height)
{
    DecodedPicture picture;
    picture.kind = PictureKind::Png;
    picture.width = width;
    picture.height = height;
    picture.pixels = PixelBlock::allocate(bgra.size(), PixelBlock::Fill::Zero);
    std::copy(bgra.begin(), bgra.end(), picture.pixels.data());
    return picture;
}

TEST(Drawing, PngAlphaBlendsWithTheBackgroundOnACopy)
{
    // Pixels: alpha 0, alpha 255, alpha 128, all of colour blue 200, green 100, red 50.
    Bytes bgra = {200, 100, 50, 0, 200, 100, 50, 255, 200, 100, 50, 128};
    DecodedPicture picture = png_picture(bgra, 3, 1);
    const platform::Colour background = 0x00102030;  // red 0x30, green 0x20, blue 0x10
    auto bitmap = runtime::imaging::picture_bitmap(picture, background);
    ASSERT_TRUE(bitmap);
    EXPECT_EQ(bitmap->pixel(0, 0), background);
    EXPECT_EQ(bitmap->pixel(1, 0), 0x00C86432u);
    // 50 x 128/255 + 48 x 127/255 = 49.0..., 100 x .502 + 32 x .498 = 66.1, 200 x .502 + 16 x .498 = 108.3
    EXPECT_EQ(bitmap->pixel(2, 0), 0x006C4231u);
    EXPECT_EQ(Bytes(picture.pixels.data(), picture.pixels.data() + 12), bgra);
}

TEST(Drawing, BlitStretchesAndKeysOutTheTransparentColour)
{
    // A 2 x 1 BMP-layout picture: red, then green.
    DecodedPicture picture;
    picture.kind = PictureKind::Bmp;
    picture.width = 2;
    picture.height = 1;
    picture.pixels = PixelBlock::allocate(6, PixelBlock::Fill::Zero);
    Bytes pixels = {0, 0, 255, 0, 255, 0};
    std::copy(pixels.begin(), pixels.end(), picture.pixels.data());

    auto target = platform::filled_bitmap(4, 2, 0x00FFFFFF);
    auto context = platform::bitmap_device_context(*target);
    runtime::imaging::DrawingSurface surface;
    ASSERT_TRUE(runtime::imaging::prepare_surface(context.get(), &picture, 0, surface));
    // Green (0x0000FF00) is transparent: only the red half is drawn, stretched to 2 x 2.
    runtime::imaging::blit_surface(surface, 0, 0, 4, 2, -0x0000FF00);
    runtime::imaging::release_surface(surface);
    EXPECT_FALSE(surface.bitmap);
    context.reset();
    EXPECT_EQ(target->pixel(0, 0), 0x000000FFu);
    EXPECT_EQ(target->pixel(1, 1), 0x000000FFu);
    EXPECT_EQ(target->pixel(2, 0), 0x00FFFFFFu);
    EXPECT_EQ(target->pixel(3, 1), 0x00FFFFFFu);

    EXPECT_FALSE(runtime::imaging::prepare_surface(nullptr, &picture, 0, surface));
    DecodedPicture empty;
    auto other = platform::filled_bitmap(1, 1, 0);
    auto other_context = platform::bitmap_device_context(*other);
    EXPECT_FALSE(runtime::imaging::prepare_surface(other_context.get(), &empty, 0, surface));
}

TEST(Drawing, EveryKindDrawsAsItsPixelsSay)
{
    // The same picture through each format ImageMagick writes, drawn at natural size on white,
    // compared with ImageMagick's decoding composed on white.
    TempDir dir;
    const std::string source = "rose: -crop 21x13+30+20 +repage";
    const std::vector<std::string> files = {"a.jpg", "a.bmp", "a.gif", "a.png", "a.pcx", "a.ico"};
    for (const std::string& name : files) {
        SCOPED_TRACE(name);
        std::string path = dir.file(name);
        std::string format = name == "a.pcx" ? "-type palette " : "";
        ASSERT_TRUE(convert(source + " " + format + "'" + path + "'"));
        auto bitmap = runtime::imaging::bitmap_from_bytes(read_file(path));
        ASSERT_TRUE(bitmap);
        std::string flat = dir.file("flat.pam");
        ASSERT_TRUE(convert("'" + path + "' -background white -flatten -depth 8 pam:'" + flat + "'"));
        auto reference = parse_pam(read_file(flat));
        ASSERT_TRUE(reference);
        ASSERT_EQ(bitmap->width(), reference->width);
        ASSERT_EQ(bitmap->height(), reference->height);
        Bytes bgr = bitmap->bgr_rows();
        RgbaImage ours{bitmap->width(), bitmap->height(), {}};
        for (std::size_t i = 0; i < bgr.size(); i += 3)
            ours.rgba.insert(ours.rgba.end(), {bgr[i + 2], bgr[i + 1], bgr[i], 255});
        EXPECT_EQ(compare_images(ours, *reference, name == "a.jpg" ? 2 : 0), "");
    }
}

}  // namespace

namespace {

// A grey JPEG-layout picture (bottom row first) whose pixel (x, y) is `grey(x, y)`.
template <typename Grey> DecodedPicture grey_picture(int width, int height, Grey grey)
{
    DecodedPicture picture;
    picture.kind = PictureKind::Jpeg;
    picture.width = width;
    picture.height = height;
    picture.pixels = PixelBlock::allocate(static_cast<std::size_t>(width) * height * 3, PixelBlock::Fill::Zero);
    for (int y = 0; y < height; ++y) {
        std::uint8_t* row = picture.pixels.data() + static_cast<std::size_t>(height - 1 - y) * width * 3;
        for (int x = 0; x < width; ++x)
            row[std::size_t{3} * x] = row[std::size_t{3} * x + 1] = row[std::size_t{3} * x + 2] = grey(x, y);
    }
    return picture;
}

// Both ways a picture is shrunk with halftone stretching: converted straight to the shown size (the
// picture box) and a bitmap drawn smaller on a halftone context (labels, windows, the snapshot).
std::vector<std::unique_ptr<platform::Bitmap>> halftone_shrinks(const DecodedPicture& picture, int width, int height)
{
    std::vector<std::unique_ptr<platform::Bitmap>> results;
    results.push_back(runtime::imaging::picture_bitmap(picture, 0, platform::TargetSize{width, height}));
    auto full = runtime::imaging::picture_bitmap(picture, 0);
    auto drawn = platform::filled_bitmap(width, height, 0x0000FF);
    if (full && drawn) {
        auto context = platform::bitmap_device_context(*drawn);
        context->set_stretch_mode(platform::StretchMode::Halftone);
        platform::draw_bitmap(*context, *full, platform::Rect{0, 0, width, height});
    }
    results.push_back(std::move(drawn));
    return results;
}

TEST(Drawing, HalftoneShrinkingAveragesTheAreaEachPixelCovers)
{
    // One white column in ten: sampling picks black or white, averaging reads a tenth of white.
    DecodedPicture stripes = grey_picture(1000, 20, [](int x, int) { return x % 10 == 3 ? 255 : 0; });
    for (const auto& shrunk : halftone_shrinks(stripes, 100, 10)) {
        ASSERT_TRUE(shrunk);
        for (int y = 0; y < 10; ++y) {
            for (int x = 0; x < 100; ++x)
                ASSERT_NEAR(static_cast<int>(shrunk->pixel(x, y) & 0xFF), 25, 2) << x << "," << y;
        }
    }

    // Noise shrunk twentyfold keeps the spread of a box filter (computed here block by block), not
    // the spread of the noise itself.
    std::uint32_t seed = 12345;
    std::vector<std::uint8_t> noise(std::size_t{1520} * 1860);
    for (auto& value : noise) {
        seed = seed * 1664525u + 1013904223u;
        value = (seed >> 24) & 1 ? 255 : 0;
    }
    DecodedPicture picture = grey_picture(1520, 1860, [&](int x, int y) { return noise[y * 1520u + x]; });
    auto spread = [](const std::vector<double>& values) {
        double mean = 0, square = 0;
        for (double v : values)
            mean += v;
        mean /= values.size();
        for (double v : values)
            square += (v - mean) * (v - mean);
        return std::sqrt(square / values.size()) / 255.0;
    };
    std::vector<double> box;
    for (int by = 0; by < 93; ++by) {
        for (int bx = 0; bx < 76; ++bx) {
            double sum = 0;
            for (int y = by * 20; y < by * 20 + 20; ++y)
                for (int x = bx * 20; x < bx * 20 + 20; ++x)
                    sum += noise[y * 1520u + x];
            box.push_back(sum / 400);
        }
    }
    double expected = spread(box);
    for (const auto& shrunk : halftone_shrinks(picture, 76, 93)) {
        ASSERT_TRUE(shrunk);
        std::vector<double> values;
        for (int y = 0; y < 93; ++y)
            for (int x = 0; x < 76; ++x)
                values.push_back(shrunk->pixel(x, y) & 0xFF);
        EXPECT_LT(spread(values), 2 * expected);
        EXPECT_GT(spread(values), expected / 2);
    }
}

TEST(Drawing, APictureConvertsOnceHoweverOftenItIsDrawn)
{
    DecodedPicture picture = grey_picture(40, 30, [](int x, int y) { return (x * 7 + y) & 0xFF; });
    auto target = platform::filled_bitmap(40, 30, 0);
    auto context = platform::bitmap_device_context(*target);
    long before = platform::graphics_counters().conversions;
    for (int i = 0; i < 5; ++i)
        runtime::imaging::draw_picture(&picture, context.get(), 0, 0, -1, -1, 0);
    EXPECT_EQ(platform::graphics_counters().conversions - before, 1);
    // The picture's own pixels are what is drawn.
    context.reset();
    EXPECT_EQ(target->pixel(3, 2), 0x00171717u);
}

}  // namespace
