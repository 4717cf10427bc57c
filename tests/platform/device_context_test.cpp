#include "platform/graphics.h"
#include "platform/qt/device_context_qt.h"
#include "platform/qt/fonts_qt.h"
#include "platform/region.h"
#include "platform/system_colours.h"

#include <gtest/gtest.h>

namespace {

using namespace platform;

constexpr Colour kWhite = 0xFFFFFF;
constexpr Colour kRed = 0x0000FF;

Colour pixel(DeviceContext& context, int x, int y)
{
    return colour_from_qt(QColor(memory_image(context)->pixel(x, y)));
}

// Bounding box of the pixels that differ from `background`.
Rect ink(DeviceContext& context, Colour background)
{
    const QImage* image = memory_image(context);
    Rect box{image->width(), image->height(), -1, -1};
    for (int y = 0; y < image->height(); ++y) {
        for (int x = 0; x < image->width(); ++x) {
            if (colour_from_qt(QColor(image->pixel(x, y))) == background)
                continue;
            box.left = std::min(box.left, x);
            box.top = std::min(box.top, y);
            box.right = std::max(box.right, x + 1);
            box.bottom = std::max(box.bottom, y + 1);
        }
    }
    return box;
}

struct PlacementCase {
    const char* name;
    std::uint32_t format;
    // Expected ink position inside a 200 x 60 rectangle.
    enum { Left, Centre, Right } horizontal;
    enum { Top, Middle, Bottom } vertical;
};

TEST(DeviceContext, TextFormatFlagsPlaceASingleLine)
{
    const PlacementCase cases[] = {
        {"top left", TextFormat::SingleLine, PlacementCase::Left, PlacementCase::Top},
        {"vertical centre", TextFormat::SingleLine | TextFormat::VerticalCentre, PlacementCase::Left,
         PlacementCase::Middle},
        {"bottom right", TextFormat::SingleLine | TextFormat::Bottom | TextFormat::Right, PlacementCase::Right,
         PlacementCase::Bottom},
        {"centre", TextFormat::SingleLine | TextFormat::Centre | TextFormat::VerticalCentre, PlacementCase::Centre,
         PlacementCase::Middle},
        // Without single line the vertical flags do nothing.
        {"multi-line ignores vertical centre", TextFormat::VerticalCentre, PlacementCase::Left, PlacementCase::Top},
    };
    for (const PlacementCase& placement : cases) {
        SCOPED_TRACE(placement.name);
        std::unique_ptr<DeviceContext> context = memory_device_context(200, 60, kWhite);
        context->set_text_colour(0);
        context->draw_text("HHHH", Rect{0, 0, 200, 60}, placement.format | TextFormat::NoPrefix);
        Rect box = ink(*context, kWhite);
        ASSERT_LT(box.left, box.right);
        int centre_x = (box.left + box.right) / 2;
        int centre_y = (box.top + box.bottom) / 2;
        switch (placement.horizontal) {
        case PlacementCase::Left:
            EXPECT_LT(box.left, 5);
            break;
        case PlacementCase::Centre:
            EXPECT_NEAR(centre_x, 100, 4);
            break;
        case PlacementCase::Right:
            EXPECT_GT(box.right, 195);
            break;
        }
        switch (placement.vertical) {
        case PlacementCase::Top:
            EXPECT_LT(box.top, 8);
            break;
        case PlacementCase::Middle:
            EXPECT_NEAR(centre_y, 30, 4);
            break;
        case PlacementCase::Bottom:
            EXPECT_GT(box.bottom, 52);
            break;
        }
    }
}

TEST(DeviceContext, WordBreakWrapsWithinTheWidthAndSingleLineDoesNot)
{
    const std::string text = "aaaa bbbb cccc dddd eeee ffff";
    std::unique_ptr<DeviceContext> wrapped = memory_device_context(70, 120, kWhite);
    int wrapped_height = wrapped->draw_text(text, Rect{0, 0, 70, 120}, TextFormat::WordBreak | TextFormat::NoPrefix);
    std::unique_ptr<DeviceContext> single = memory_device_context(70, 120, kWhite);
    int single_height = single->draw_text(text, Rect{0, 0, 70, 120}, TextFormat::SingleLine | TextFormat::NoPrefix);
    Size line = single->text_extent("a");
    EXPECT_EQ(single_height, line.height);
    EXPECT_GE(wrapped_height, 3 * line.height);
    EXPECT_LE(ink(*wrapped, kWhite).right, 70);
    // Drawing is clipped to the rectangle.
    EXPECT_LE(ink(*single, kWhite).right, 70);
    Rect measured = single->measure_text(text, Rect{5, 5, 75, 125}, TextFormat::WordBreak);
    EXPECT_EQ(measured.left, 5);
    EXPECT_EQ(measured.top, 5);
    EXPECT_GE(measured.height(), 3 * line.height);
}

TEST(DeviceContext, TransparentTextLeavesTheBackgroundOpaqueTextFillsItsCells)
{
    std::unique_ptr<DeviceContext> context = memory_device_context(100, 40, kRed);
    context->set_background_mode(BackgroundMode::Transparent);
    context->set_text_colour(0);
    context->draw_text("i", Rect{0, 0, 100, 40}, TextFormat::SingleLine);
    EXPECT_EQ(pixel(*context, 0, 0), kRed);
    EXPECT_EQ(pixel(*context, 1, 1), kRed);

    context->set_background_mode(BackgroundMode::Opaque);
    context->set_background_colour(kWhite);
    context->draw_text("i", Rect{0, 0, 100, 40}, TextFormat::SingleLine);
    EXPECT_EQ(pixel(*context, 0, 0), kWhite);
    EXPECT_EQ(pixel(*context, 90, 30), kRed);  // outside the text's cells
}

TEST(DeviceContext, AmpersandIsAMnemonicMarkUnlessNoPrefix)
{
    std::unique_ptr<DeviceContext> context = memory_device_context(100, 40, kWhite);
    Rect area{0, 0, 100, 40};
    int with_prefix = context->measure_text("a&b", area, TextFormat::SingleLine).width();
    int without_prefix = context->measure_text("a&b", area, TextFormat::SingleLine | TextFormat::NoPrefix).width();
    EXPECT_LT(with_prefix, without_prefix);
    EXPECT_EQ(without_prefix, context->text_extent("a&b").width);
}

TEST(DeviceContext, ClippingLimitsDrawingAndIsSavedAndRestored)
{
    std::unique_ptr<DeviceContext> context = memory_device_context(50, 50, kWhite);
    Rect all{0, 0, 50, 50};
    context->save();
    context->intersect_clip_rect(Rect{10, 10, 30, 30});
    context->exclude_clip_rect(Rect{15, 15, 20, 20});
    EXPECT_EQ(context->clip_box(), (Rect{10, 10, 30, 30}));
    context->fill_rect(all, kRed);
    context->restore();
    EXPECT_EQ(pixel(*context, 5, 5), kWhite);
    EXPECT_EQ(pixel(*context, 12, 12), kRed);
    EXPECT_EQ(pixel(*context, 17, 17), kWhite);
    EXPECT_EQ(context->clip_box(), all);

    // A polygon clip: the triangle below the diagonal.
    const Point triangle[] = {{0, 0}, {0, 50}, {50, 50}};
    context->set_clip_region(Region(all));
    context->intersect_clip_polygon(triangle, 3);
    context->fill_rect(all, 0x00FF00);
    EXPECT_EQ(pixel(*context, 5, 40), 0x00FF00u);
    EXPECT_EQ(pixel(*context, 40, 5), kWhite);
    context->remove_clip();
    context->fill_region(Region(Rect{40, 0, 50, 10}), 0x123456);
    EXPECT_EQ(pixel(*context, 45, 5), 0x123456u);
}

TEST(DeviceContext, FontSelectionReturnsThePreviousFontAndStartsWithTheGuiFont)
{
    std::unique_ptr<DeviceContext> context = memory_device_context(10, 10, kWhite);
    EXPECT_EQ(context->font().height, -12);
    LogFont big = default_gui_log_font();
    big.height = -40;
    Size small_extent = context->text_extent("W");
    LogFont previous = context->select_font(big);
    EXPECT_EQ(previous.height, -12);
    EXPECT_GT(context->text_extent("W").height, 2 * small_extent.height);
    context->save();
    context->select_font(default_gui_log_font());
    context->restore();
    EXPECT_EQ(context->font().height, -40);
}

// Every paint starts from the default font and selects its own: each description is converted once,
// and one that differs in any member is a font of its own.
TEST(DeviceContext, FontsAreConvertedOncePerDescription)
{
    LogFont large = default_gui_log_font();
    large.height = -30;
    LogFont large_italic = large;
    large_italic.italic = 1;
    auto paint = [&] {
        std::unique_ptr<DeviceContext> context = memory_device_context(10, 10, kWhite);
        context->select_font(large);
        context->select_font(large_italic);
        context->select_font(default_gui_log_font());
    };
    paint();
    long converted = graphics_counters().font_conversions;
    for (int i = 0; i < 20; ++i)
        paint();
    EXPECT_EQ(graphics_counters().font_conversions, converted);
    EXPECT_EQ(qt_font_from_log_font(large).pixelSize(), 30);
    EXPECT_FALSE(qt_font_from_log_font(large).italic());
    EXPECT_TRUE(qt_font_from_log_font(large_italic).italic());
    LogFont large_underlined = large;
    large_underlined.underline = 1;
    EXPECT_TRUE(qt_font_from_log_font(large_underlined).underline());
    EXPECT_EQ(graphics_counters().font_conversions, converted + 1);
}

TEST(DeviceContext, EdgesUseTheSystemThreeDColours)
{
    std::unique_ptr<DeviceContext> context = memory_device_context(20, 20, kWhite);
    context->draw_edge(Rect{0, 0, 20, 20}, Edge::Raised);
    EXPECT_EQ(pixel(*context, 0, 0), system_colour(SystemColour::Light));
    EXPECT_EQ(pixel(*context, 19, 19), system_colour(SystemColour::DarkShadow));
    EXPECT_EQ(pixel(*context, 18, 18), system_colour(SystemColour::ButtonShadow));
    context->frame_rect(Rect{5, 5, 15, 15}, kRed);
    EXPECT_EQ(pixel(*context, 5, 10), kRed);
    EXPECT_EQ(pixel(*context, 14, 10), kRed);
    EXPECT_EQ(pixel(*context, 10, 10), kWhite);
}

TEST(Region, SetOperationsKeepDisjointRectangles)
{
    Region a(Rect{0, 0, 10, 10});
    Region b(Rect{5, 5, 15, 15});
    Region both = a.united(b);
    int area = 0;
    for (const Rect& rect : both.rects())
        area += rect.width() * rect.height();
    EXPECT_EQ(area, 175);
    EXPECT_EQ(both.bounding_rect(), (Rect{0, 0, 15, 15}));
    EXPECT_EQ(a.intersected(b), Region(Rect{5, 5, 10, 10}));
    Region hole = a.subtracted(Region(Rect{2, 2, 4, 4}));
    EXPECT_FALSE(hole.contains(3, 3));
    EXPECT_TRUE(hole.contains(1, 3));
    EXPECT_TRUE(a.subtracted(a).empty());
    EXPECT_TRUE(Region(Rect{3, 3, 3, 9}).empty());
    EXPECT_EQ(a.translated(5, 5), Region(Rect{5, 5, 15, 15}));
    EXPECT_TRUE(b.intersects(Rect{14, 14, 20, 20}));
    EXPECT_FALSE(b.intersects(Rect{15, 15, 20, 20}));
}

}  // namespace
