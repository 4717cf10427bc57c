// Drawing through GDI on a bitmap's device context, read back pixel by pixel: fills, frames and
// edges, clipping with save and restore, text placement and background modes, and regions.

#include "platform/graphics.h"
#include "platform/region.h"
#include "platform/system_colours.h"
#include "platform/text_encoding.h"

#include <gtest/gtest.h>

#include <string>

namespace platform {
namespace {

constexpr Colour kWhite = 0xFFFFFF;
constexpr Colour kBlack = 0x000000;
constexpr Colour kRed = 0x0000FF;

struct Surface {
    std::unique_ptr<Bitmap> bitmap;
    std::unique_ptr<DeviceContext> context;

    Surface(int width, int height, Colour fill = kWhite)
        : bitmap(filled_bitmap(width, height, fill))
        , context(bitmap_device_context(*bitmap))
    {
    }
    Colour at(int x, int y) const { return bitmap->pixel(x, y); }
};

// The bounding box of every pixel that is not `background`; empty when there is none.
Rect ink(const Bitmap& bitmap, Colour background)
{
    Rect box{bitmap.width(), bitmap.height(), 0, 0};
    for (int y = 0; y < bitmap.height(); ++y) {
        for (int x = 0; x < bitmap.width(); ++x) {
            if (bitmap.pixel(x, y) == background)
                continue;
            box.left = std::min(box.left, x);
            box.top = std::min(box.top, y);
            box.right = std::max(box.right, x + 1);
            box.bottom = std::max(box.bottom, y + 1);
        }
    }
    return box.empty() ? Rect{} : box;
}

TEST(Drawing, FramesEdgesAndLinesTouchOnlyTheirPixels)
{
    Surface s(8, 8);
    s.context->frame_rect(Rect{1, 1, 7, 7}, kRed);
    EXPECT_EQ(s.at(1, 1), kRed);
    EXPECT_EQ(s.at(6, 6), kRed);
    EXPECT_EQ(s.at(2, 2), kWhite);
    EXPECT_EQ(s.at(0, 0), kWhite);
    EXPECT_EQ(s.at(7, 7), kWhite);

    s.context->draw_edge(Rect{0, 0, 8, 8}, Edge::Sunken);
    EXPECT_EQ(s.at(0, 3), system_colour(SystemColour::ButtonShadow));
    EXPECT_EQ(s.at(1, 3), system_colour(SystemColour::DarkShadow));
    EXPECT_EQ(s.at(7, 3), system_colour(SystemColour::ButtonHighlight));
    EXPECT_EQ(s.at(6, 3), system_colour(SystemColour::Light));
    EXPECT_EQ(s.at(3, 3), kWhite);

    // A line includes both of its end points.
    Surface line(6, 1);
    line.context->draw_line(Point{1, 0}, Point{4, 0}, kBlack);
    EXPECT_EQ(ink(*line.bitmap, kWhite), (Rect{1, 0, 5, 1}));
}

TEST(Drawing, ClippingCombinesAndIsSavedAndRestored)
{
    Surface s(10, 10);
    DeviceContext& dc = *s.context;
    EXPECT_EQ(dc.clip_box(), (Rect{0, 0, 10, 10}));
    dc.save();
    dc.intersect_clip_rect(Rect{2, 2, 8, 8});
    dc.exclude_clip_rect(Rect{4, 0, 6, 10});
    EXPECT_EQ(dc.clip_box(), (Rect{2, 2, 8, 8}));
    dc.fill_rect(Rect{0, 0, 10, 10}, kRed);
    EXPECT_EQ(s.at(2, 2), kRed);
    EXPECT_EQ(s.at(1, 2), kWhite);
    EXPECT_EQ(s.at(4, 4), kWhite);  // excluded
    EXPECT_EQ(s.at(7, 7), kRed);
    dc.restore();
    EXPECT_EQ(dc.clip_box(), (Rect{0, 0, 10, 10}));

    // A triangle clip (even-odd filled) keeps the lower-left half of the surface.
    const Point triangle[] = {{0, 0}, {0, 10}, {10, 10}};
    dc.intersect_clip_polygon(triangle, 3);
    dc.fill_rect(Rect{0, 0, 10, 10}, kBlack);
    EXPECT_EQ(s.at(1, 8), kBlack);
    EXPECT_EQ(s.at(8, 1), kWhite);

    // A region replaces the clip; removing the clip opens the whole surface.
    Region two = Region(Rect{0, 0, 2, 2}).united(Region(Rect{8, 8, 10, 10}));
    dc.set_clip_region(two);
    EXPECT_EQ(dc.clip_box(), (Rect{0, 0, 10, 10}));
    dc.fill_rect(Rect{0, 0, 10, 10}, 0x00FF00);
    EXPECT_EQ(s.at(1, 1), 0x00FF00u);
    EXPECT_EQ(s.at(2, 7), kBlack);
    dc.remove_clip();
    dc.fill_region(Region(Rect{4, 4, 6, 6}), kRed);
    EXPECT_EQ(s.at(5, 5), kRed);
}

struct PlacementCase {
    std::uint32_t format;
    bool right_half;  // the ink lies in the right half (else it starts at the left)
    bool centred;     // the ink is centred horizontally
    bool lower_half;  // the ink lies in the lower half
    bool middle;      // the ink is centred vertically
};

TEST(Drawing, FormatFlagsPlaceASingleLine)
{
    using namespace TextFormat;
    const std::string text = gbk_from_utf8("证书");
    const PlacementCase cases[] = {
        {SingleLine, false, false, false, false},
        {SingleLine | Centre | VerticalCentre, false, true, false, true},
        {SingleLine | Right | Bottom, true, false, true, false},
        // The vertical flags mean nothing without a single line: the text starts at the top.
        {Right | Bottom, true, false, false, false},
    };
    for (const PlacementCase& c : cases) {
        Surface s(120, 60);
        s.context->set_background_mode(BackgroundMode::Transparent);
        int height = s.context->draw_text(text, Rect{0, 0, 120, 60}, c.format);
        // The height of the text, wherever it is placed.
        EXPECT_EQ(height, s.context->text_extent(text).height) << c.format;
        Rect box = ink(*s.bitmap, kWhite);
        ASSERT_FALSE(box.empty()) << c.format;
        int centre_x = (box.left + box.right) / 2;
        int centre_y = (box.top + box.bottom) / 2;
        EXPECT_EQ(box.left >= 60, c.right_half) << c.format;
        EXPECT_EQ(std::abs(centre_x - 60) <= 3, c.centred) << c.format;
        EXPECT_EQ(box.top >= 30, c.lower_half) << c.format;
        EXPECT_EQ(std::abs(centre_y - 30) <= 3, c.middle) << c.format;
    }
}

TEST(Drawing, WordBreakWrapsAndMeasuringKeepsTheCorner)
{
    using namespace TextFormat;
    Surface s(200, 200);
    const std::string words = "one two three four five six";
    Rect narrow{10, 20, 60, 200};
    Rect one_line = s.context->measure_text(words, narrow, SingleLine);
    Rect wrapped = s.context->measure_text(words, narrow, WordBreak | Centre);
    EXPECT_EQ(one_line.left, 10);
    EXPECT_EQ(one_line.top, 20);
    EXPECT_GT(one_line.width(), narrow.width());
    EXPECT_EQ(wrapped.left, 10);
    EXPECT_LE(wrapped.width(), narrow.width());
    EXPECT_GE(wrapped.height(), 3 * one_line.height());
    EXPECT_EQ(s.context->draw_text(words, narrow, WordBreak), wrapped.height());
    EXPECT_EQ(s.context->text_extent(words).height, one_line.height());
    EXPECT_EQ(s.context->text_extent("").width, 0);
    EXPECT_EQ(s.context->text_extent("").height, one_line.height());
    EXPECT_EQ(s.context->measure_text("", narrow, 0), (Rect{10, 20, 10, 20}));
    EXPECT_EQ(s.context->draw_text("", narrow, 0), 0);

    // "&" marks a mnemonic (and takes no room) unless the text is drawn as it is.
    EXPECT_LT(s.context->text_extent("A").width + 1,
              s.context->measure_text("&&A", narrow, SingleLine | NoPrefix).width());
    EXPECT_EQ(s.context->measure_text("&A", narrow, SingleLine).width(), s.context->text_extent("A").width);
}

TEST(Drawing, OpaqueTextFillsItsCellsTransparentTextOnlyInks)
{
    for (BackgroundMode mode : {BackgroundMode::Transparent, BackgroundMode::Opaque}) {
        Surface s(80, 40);
        s.context->set_background_mode(mode);
        s.context->set_background_colour(kRed);
        s.context->set_text_colour(kBlack);
        s.context->draw_text(".", Rect{0, 0, 80, 40}, TextFormat::SingleLine);
        // The top-left corner of the cell lies above a full stop's ink.
        EXPECT_EQ(s.at(0, 0), mode == BackgroundMode::Opaque ? kRed : kWhite);
        EXPECT_EQ(s.at(79, 39), kWhite);
    }
}

TEST(Drawing, ContextsStartWithTheGuiFontAndSelectionReturnsThePrevious)
{
    Surface s(4, 4);
    LogFont gui = default_gui_log_font();
    EXPECT_EQ(std::string(s.context->font().face_name), std::string(gui.face_name));
    EXPECT_EQ(s.context->font().height, -12);
    LogFont big = gui;
    big.height = -40;
    int small_height = s.context->text_extent("x").height;
    LogFont previous = s.context->select_font(big);
    EXPECT_EQ(previous.height, -12);
    EXPECT_GT(s.context->text_extent("x").height, 2 * small_height);
    s.context->save();
    s.context->select_font(gui);
    s.context->restore();
    EXPECT_EQ(s.context->font().height, -40);
    EXPECT_GT(s.context->text_extent("x").height, 2 * small_height);
}

TEST(Regions, SetOperationsGiveDisjointRectanglesAndEqualityIsByPixels)
{
    Region a(Rect{0, 0, 10, 10});
    Region b(Rect{5, 5, 15, 15});
    Region both = a.united(b);
    EXPECT_EQ(both.bounding_rect(), (Rect{0, 0, 15, 15}));
    EXPECT_TRUE(both.contains(12, 12));
    EXPECT_FALSE(both.contains(12, 2));
    int area = 0;
    for (const Rect& r : both.rects())
        area += r.width() * r.height();
    EXPECT_EQ(area, 100 + 100 - 25);  // no pixel counted twice
    EXPECT_EQ(a.intersected(b), Region(Rect{5, 5, 10, 10}));
    Region ring = a.subtracted(Region(Rect{2, 2, 8, 8}));
    EXPECT_FALSE(ring.contains(5, 5));
    EXPECT_TRUE(ring.contains(1, 5));
    EXPECT_FALSE(ring.intersects(Rect{3, 3, 7, 7}));
    // Cut differently, the same pixels are the same region.
    EXPECT_EQ(Region(Rect{0, 0, 10, 5}).united(Region(Rect{0, 5, 10, 10})), a);
    EXPECT_EQ(a.translated(3, 4).bounding_rect(), (Rect{3, 4, 13, 14}));
    EXPECT_TRUE(a.subtracted(a).empty());
}

}  // namespace
}  // namespace platform
