#include "imaging_test_support.h"

#include "runtime/imaging/drawing.h"
#include "runtime/imaging/picture_decoder.h"

#include "platform/graphics.h"

#include <gtest/gtest.h>

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
