// Bitmaps on the system's DIB sections: conversions from pixel blocks, the scaling shared with the
// other backend, and blits onto a bitmap's device context, read back pixel by pixel.

#include "platform/graphics.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace platform {
namespace {

std::vector<Colour> pixels_of(const Bitmap& bitmap)
{
    std::vector<Colour> pixels;
    for (int y = 0; y < bitmap.height(); ++y)
        for (int x = 0; x < bitmap.width(); ++x)
            pixels.push_back(bitmap.pixel(x, y));
    return pixels;
}

std::uint8_t red_of(Colour colour)
{
    return static_cast<std::uint8_t>(colour & 0xFF);
}

TEST(Bitmaps, BlocksOfEveryDepthConvertWithTheirRowOrderAndStride)
{
    // 2 x 2, bottom row first, rows padded to 8 bytes: red, green / blue, white on screen.
    const std::uint8_t bgr24[] = {
        0xFF, 0x00, 0x00, 0xFF, 0xFF, 0xFF, 0xEE, 0xEE,  // bottom row: blue, white, padding
        0x00, 0x00, 0xFF, 0x00, 0xFF, 0x00, 0xEE, 0xEE,  // top row: red, green, padding
    };
    auto bitmap = bitmap_from_bgr24(bgr24, 2, 2, 8, RowOrder::BottomUp);
    ASSERT_TRUE(bitmap);
    EXPECT_EQ(pixels_of(*bitmap), (std::vector<Colour>{0x0000FF, 0x00FF00, 0xFF0000, 0xFFFFFF}));

    // 8-bit: an index beyond the palette is black.
    const std::uint8_t palette[] = {0x10, 0x20, 0x30, 0x00, 0x40, 0x50, 0x60, 0x00};
    const std::uint8_t indices[] = {0, 1, 2, 255};
    bitmap = bitmap_from_indexed8(indices, 4, 1, 4, RowOrder::TopDown, palette, 2);
    ASSERT_TRUE(bitmap);
    EXPECT_EQ(pixels_of(*bitmap), (std::vector<Colour>{0x102030, 0x405060, 0, 0}));

    // 1-bit: most significant bit first, the tenth pixel in the second byte.
    const std::uint8_t bits[] = {0b10100000, 0b01000000};
    bitmap = bitmap_from_monochrome(bits, 10, 1, 2, RowOrder::TopDown);
    ASSERT_TRUE(bitmap);
    EXPECT_EQ(bitmap->pixel(0, 0), 0xFFFFFFu);
    EXPECT_EQ(bitmap->pixel(1, 0), 0u);
    EXPECT_EQ(bitmap->pixel(2, 0), 0xFFFFFFu);
    EXPECT_EQ(bitmap->pixel(9, 0), 0xFFFFFFu);
    EXPECT_EQ(bitmap->pixel(8, 0), 0u);

    // 32-bit with alpha over a background: half-transparent red over blue.
    const std::uint8_t bgra[] = {0x00, 0x00, 0xFF, 0x80, 0x00, 0x00, 0xFF, 0xFF};
    bitmap = bitmap_from_bgra32_over(bgra, 2, 1, 8, RowOrder::TopDown, 0xFF0000, TargetSize{});
    ASSERT_TRUE(bitmap);
    EXPECT_NEAR(red_of(bitmap->pixel(0, 0)), 128, 1);
    EXPECT_NEAR(static_cast<int>(bitmap->pixel(0, 0) >> 16), 127, 1);
    EXPECT_EQ(bitmap->pixel(1, 0), 0x0000FFu);
}

TEST(Bitmaps, BmpRowsAreBottomUpAndZeroPadded)
{
    auto bitmap = filled_bitmap(1, 2, 0x030201);
    ASSERT_TRUE(bitmap);
    auto context = bitmap_device_context(*bitmap);
    context->fill_rect(Rect{0, 0, 1, 1}, 0x0A0B0C);
    context.reset();
    std::vector<std::uint8_t> rows(8, 0xEE);
    bitmap->write_bmp_rows(rows.data(), 4);
    EXPECT_EQ(rows, (std::vector<std::uint8_t>{0x03, 0x02, 0x01, 0, 0x0A, 0x0B, 0x0C, 0}));
}

TEST(Bitmaps, EmptyAndOversizedBlocksGiveNone)
{
    const std::uint8_t pixel[4] = {};
    EXPECT_FALSE(bitmap_from_bgr24(pixel, 0, 1, 3, RowOrder::TopDown));
    EXPECT_FALSE(bitmap_from_bgrx32(pixel, 1, -1, 4, RowOrder::TopDown));
    // More than any DIB section may hold: refused before a row is read.
    EXPECT_FALSE(bitmap_from_bgr24(pixel, 1, 1, 3, RowOrder::TopDown, TargetSize{70000, 70000}));
    EXPECT_FALSE(filled_bitmap(70000, 70000, 0));
    EXPECT_FALSE(icon_from_bgra32(pixel, 0, 0));
}

TEST(Scaling, ShrinkingAveragesTheAreaEachPixelCovers)
{
    // One row of reds 0, 30, 60, 90, 120, 150 shrunk to 4 and 3 pixels, and 3 rows to 2.
    std::vector<std::uint8_t> row;
    for (int red : {0, 30, 60, 90, 120, 150})
        row.insert(row.end(), {0, 0, static_cast<std::uint8_t>(red)});
    auto four = bitmap_from_bgr24(row.data(), 6, 1, row.size(), RowOrder::TopDown, TargetSize{4, 1});
    ASSERT_TRUE(four);
    // Each result pixel covers 1.5 source pixels: (0 + 30/2) / 1.5 = 10, (15 + 60) / 1.5 = 50, ...
    std::vector<int> reds;
    for (Colour c : pixels_of(*four))
        reds.push_back(red_of(c));
    EXPECT_EQ(reds, (std::vector<int>{10, 50, 100, 140}));

    auto three = bitmap_from_bgr24(row.data(), 6, 1, row.size(), RowOrder::TopDown, TargetSize{3, 0});
    ASSERT_TRUE(three);
    EXPECT_EQ(three->pixel(0, 0), 15u);
    EXPECT_EQ(three->pixel(2, 0), 135u);

    const std::uint8_t column[] = {0, 0, 0, 0, 0, 90, 0, 0, 180};  // reds 0, 90, 180, one per row
    auto two = bitmap_from_bgr24(column, 1, 3, 3, RowOrder::TopDown, TargetSize{1, 2});
    ASSERT_TRUE(two);
    EXPECT_EQ(two->pixel(0, 0), 30u);   // (0 + 90/2) / 1.5
    EXPECT_EQ(two->pixel(0, 1), 150u);  // (90/2 + 180) / 1.5
}

TEST(Scaling, EnlargingSamplesBilinearlyBetweenPixelCentres)
{
    const std::uint8_t black_white[] = {0, 0, 0, 0xFF, 0xFF, 0xFF};
    auto wide = bitmap_from_bgr24(black_white, 2, 1, 6, RowOrder::TopDown, TargetSize{4, 3});
    ASSERT_TRUE(wide);
    ASSERT_EQ(wide->width(), 4);
    ASSERT_EQ(wide->height(), 3);
    for (int y = 0; y < 3; ++y) {
        std::vector<int> reds;
        for (int x = 0; x < 4; ++x)
            reds.push_back(red_of(wide->pixel(x, y)));
        EXPECT_EQ(reds, (std::vector<int>{0, 64, 191, 255})) << "row " << y;
    }
    // A bitmap scaled to its own size is unchanged; one axis shrinks while the other grows.
    auto same = scaled_bitmap(*wide, 4, 3);
    ASSERT_TRUE(same);
    EXPECT_EQ(pixels_of(*same), pixels_of(*wide));
    auto mixed = scaled_bitmap(*wide, 2, 6);
    ASSERT_TRUE(mixed);
    EXPECT_EQ(red_of(mixed->pixel(0, 5)), 32);  // (0 + 64) / 2, rounded
    EXPECT_EQ(red_of(mixed->pixel(1, 0)), 223);
}

TEST(Scaling, ConversionsAndScalingsAreCounted)
{
    const std::uint8_t pixel[3] = {1, 2, 3};
    GraphicsCounters before = graphics_counters();
    auto same = bitmap_from_bgr24(pixel, 1, 1, 3, RowOrder::TopDown);
    auto larger = bitmap_from_bgr24(pixel, 1, 1, 3, RowOrder::TopDown, TargetSize{2, 2});
    ASSERT_TRUE(same && larger);
    EXPECT_EQ(graphics_counters().conversions, before.conversions + 2);
    EXPECT_EQ(graphics_counters().scalings, before.scalings + 1);
}

struct BlitCase {
    StretchMode mode;
    Rect target;
    std::vector<Colour> expected;  // the 4 x 1 surface after the blit
};

TEST(Blits, StretchModesAverageOrTakeTheNearestPixelInsideTheClip)
{
    // Source: one row black, white, black, white.
    const std::uint8_t row[] = {0, 0, 0, 255, 255, 255, 0, 0, 0, 255, 255, 255};
    auto source = bitmap_from_bgr24(row, 4, 1, 12, RowOrder::TopDown);
    ASSERT_TRUE(source);
    const BlitCase cases[] = {
        {StretchMode::Halftone, {0, 0, 2, 1}, {0x808080, 0x808080, 0x0000FF, 0x0000FF}},
        // Nearest to each result pixel's centre: source pixels 1 and 3.
        {StretchMode::ColourOnColour, {0, 0, 2, 1}, {0xFFFFFF, 0xFFFFFF, 0x0000FF, 0x0000FF}},
        {StretchMode::ColourOnColour, {1, 0, 5, 1}, {0x0000FF, 0x000000, 0xFFFFFF, 0x000000}},
    };
    for (const BlitCase& blit : cases) {
        auto surface = filled_bitmap(4, 1, 0x0000FF);
        auto context = bitmap_device_context(*surface);
        context->set_stretch_mode(blit.mode);
        draw_bitmap(*context, *source, blit.target);
        context.reset();
        EXPECT_EQ(pixels_of(*surface), blit.expected) << blit.target.left << "," << blit.target.right;
    }
    // The clip keeps the blit out of the first pixel.
    auto surface = filled_bitmap(4, 1, 0x0000FF);
    auto context = bitmap_device_context(*surface);
    context->intersect_clip_rect(Rect{1, 0, 4, 1});
    draw_bitmap(*context, *source, Rect{0, 0, 4, 1});
    context.reset();
    EXPECT_EQ(pixels_of(*surface), (std::vector<Colour>{0x0000FF, 0xFFFFFF, 0x000000, 0xFFFFFF}));
}

TEST(Blits, RasterOperationsCombineWithTheTarget)
{
    const std::uint8_t row[] = {0x0F, 0x0F, 0x0F};
    auto source = bitmap_from_bgr24(row, 1, 1, 3, RowOrder::TopDown);
    ASSERT_TRUE(source);
    const std::pair<std::int32_t, Colour> cases[] = {
        {RasterOperation::SourceCopy, 0x0F0F0F},
        {RasterOperation::SourcePaint, 0x3F3F3F},
        {RasterOperation::SourceAnd, 0x0F0F0F & 0x303030},
        {RasterOperation::SourceInvert, 0x3F3F3F},
        {0x00AA0029, 0x0F0F0F},  // any other operation copies
    };
    for (const auto& [operation, expected] : cases) {
        auto surface = filled_bitmap(1, 1, 0x303030);
        auto context = bitmap_device_context(*surface);
        draw_bitmap(*context, *source, Rect{0, 0, 1, 1}, operation);
        context.reset();
        EXPECT_EQ(surface->pixel(0, 0), expected) << std::hex << operation;
    }
}

TEST(Blits, TheTransparentColourAndIconAlphaLeaveTheTargetShowing)
{
    // Magenta is the key; stretched to twice the size by nearest pixel, so no key colour bleeds.
    const std::uint8_t row[] = {0xFF, 0x00, 0xFF, 0x00, 0x80, 0x00};
    auto keyed = bitmap_from_bgr24(row, 2, 1, 6, RowOrder::TopDown);
    ASSERT_TRUE(keyed);
    auto surface = filled_bitmap(4, 1, 0xFFFFFF);
    auto context = bitmap_device_context(*surface);
    context->set_stretch_mode(StretchMode::Halftone);
    draw_bitmap_transparent(*context, *keyed, Rect{0, 0, 4, 1}, 0xFF00FF);
    EXPECT_EQ(pixels_of(*surface), (std::vector<Colour>{0xFFFFFF, 0xFFFFFF, 0x008000, 0x008000}));

    // An icon: opaque black, half-transparent black, fully transparent, over white.
    const std::uint8_t icon_pixels[] = {0, 0, 0, 255, 0, 0, 0, 128, 0, 0, 0, 0};
    auto icon = icon_from_bgra32(icon_pixels, 3, 1);
    ASSERT_TRUE(icon);
    auto white = filled_bitmap(3, 1, 0xFFFFFF);
    auto on_white = bitmap_device_context(*white);
    draw_icon(*on_white, *icon, 0, 0, -1, -1);
    on_white.reset();
    EXPECT_EQ(white->pixel(0, 0), 0u);
    EXPECT_NEAR(red_of(white->pixel(1, 0)), 127, 1);
    EXPECT_EQ(white->pixel(2, 0), 0xFFFFFFu);
}

}  // namespace
}  // namespace platform
