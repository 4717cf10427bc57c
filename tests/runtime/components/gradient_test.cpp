#include "runtime/components/gradient.h"

#include "tests/runtime/components/controls_test_support.h"

#include <gtest/gtest.h>

namespace runtime::components {
namespace {

using controls_test::pixel_at;
using controls_test::surface;

constexpr platform::Colour kA = 0x102030;
constexpr platform::Colour kB = 0xF0E0D0;

TEST(GradientTest, DiagonalRunsFromFirstColourToSecondAtTwiceTheShorterSide)
{
    const platform::Colour colours[] = {kA, kB};
    auto direction = GradientDirection::TopLeftToBottomRight;
    int length = gradient_length(direction, 100, 40);
    ASSERT_EQ(length, 80);
    auto at = [&](int x, int y) {
        return gradient_colour_at(colours, gradient_position(direction, x, y, 100, 40), length);
    };
    EXPECT_EQ(at(0, 0), kA);
    EXPECT_EQ(at(79, 1), kB);
    EXPECT_EQ(at(99, 39), kB);
    // Half way: each channel moves half the distance, truncated.
    EXPECT_EQ(at(20, 20), 0x808080u);
    EXPECT_NE(at(79, 0), kB);
}

TEST(GradientTest, PositionsFollowEachDirection)
{
    struct Case {
        GradientDirection direction;
        int x, y;
        int position;
        int length;
    };
    // A 10 x 4 rectangle.
    const Case cases[] = {
        {GradientDirection::TopToBottom, 3, 1, 1, 4},          {GradientDirection::LeftToRight, 3, 1, 3, 10},
        {GradientDirection::TopLeftToBottomRight, 3, 1, 4, 8}, {GradientDirection::TopRightToBottomLeft, 3, 1, 7, 8},
        {GradientDirection::BottomToTop, 3, 1, 2, 4},          {GradientDirection::RightToLeft, 3, 1, 6, 10},
        {GradientDirection::BottomRightToTopLeft, 3, 1, 8, 8}, {GradientDirection::BottomLeftToTopRight, 3, 1, 5, 8},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(gradient_position(c.direction, c.x, c.y, 10, 4), c.position) << static_cast<int>(c.direction);
        EXPECT_EQ(gradient_length(c.direction, 10, 4), c.length) << static_cast<int>(c.direction);
    }
}

TEST(GradientTest, ThreeColoursMeetInTheMiddleAndSegmentsOfNoPixelsDoNotDivideByZero)
{
    const platform::Colour colours[] = {0x000000, 0xFFFFFF, 0x0000FF};
    EXPECT_EQ(gradient_colour_at(colours, 0, 10), 0x000000u);
    EXPECT_EQ(gradient_colour_at(colours, 5, 10), 0xFFFFFFu);
    EXPECT_EQ(gradient_colour_at(colours, 10, 10), 0x0000FFu);
    // A length of 1 spread over two segments gives segments of no pixels.
    EXPECT_EQ(gradient_colour_at(colours, 0, 1), 0x000000u);
    EXPECT_EQ(gradient_colour_at(colours, 3, 0), 0x000000u);
    const platform::Colour two[] = {kA, kB};
    EXPECT_EQ(gradient_colour_at(two, 0, 0), kA);
}

TEST(GradientTest, FillsOnlyTilesThatMeetTheAreaToUpdate)
{
    auto context = surface(120, 60);
    const platform::Colour colours[] = {kA, kB};
    platform::Region area(platform::Rect{0, 0, 10, 10});
    ASSERT_TRUE(fill_gradient(*context, platform::Rect{0, 0, 120, 60}, GradientDirection::LeftToRight, colours, area));
    EXPECT_EQ(pixel_at(*context, 0, 0), kA);
    EXPECT_EQ(pixel_at(*context, 49, 49), gradient_colour_at(colours, 49, 120));
    // The tile at x 50.. does not meet the area, so it is never drawn.
    EXPECT_EQ(pixel_at(*context, 50, 0), controls_test::kUnpainted);
    EXPECT_EQ(pixel_at(*context, 0, 50), controls_test::kUnpainted);
}

TEST(GradientTest, FrameCornersAreMitred)
{
    auto context = surface(60, 40);
    const platform::Colour colours[] = {0x808080, 0xFFFFFF, 0x808080};
    platform::Region all(platform::Rect{0, 0, 60, 40});
    ASSERT_TRUE(draw_gradient_frame(*context, platform::Rect{0, 0, 60, 40}, 8, colours, all));
    // The bands run across their own width: top and bottom by y, left and right by x.
    auto band = [&](int p) { return gradient_colour_at(colours, p, 8); };
    EXPECT_EQ(pixel_at(*context, 30, 1), band(1));
    EXPECT_EQ(pixel_at(*context, 30, 39), band(7));
    EXPECT_EQ(pixel_at(*context, 1, 20), band(1));
    EXPECT_EQ(pixel_at(*context, 58, 20), band(6));
    // Below the diagonal of the top-left corner the left band shows, above it the top band.
    EXPECT_EQ(pixel_at(*context, 1, 6), band(1));
    EXPECT_EQ(pixel_at(*context, 6, 1), band(1));
    EXPECT_EQ(pixel_at(*context, 2, 6), band(2));
    EXPECT_EQ(pixel_at(*context, 6, 2), band(2));
    EXPECT_EQ(pixel_at(*context, 5, 2), band(2));
    EXPECT_EQ(pixel_at(*context, 2, 5), band(2));
    EXPECT_EQ(pixel_at(*context, 6, 4), band(4));  // top band: colour by y
    EXPECT_EQ(pixel_at(*context, 4, 6), band(4));  // left band: colour by x
    // Nothing inside the frame is touched.
    EXPECT_EQ(pixel_at(*context, 30, 20), controls_test::kUnpainted);
}

TEST(GradientTest, FrameWidthIsLimitedToHalfTheRectangle)
{
    auto context = surface(10, 40);
    const platform::Colour colours[] = {0x000000, 0xFFFFFF};
    platform::Region all(platform::Rect{0, 0, 10, 40});
    ASSERT_TRUE(draw_gradient_frame(*context, platform::Rect{0, 0, 10, 40}, 8, colours, all));
    // The side bands are 5 wide, meeting in the middle; the top band stays 8 high.
    EXPECT_EQ(pixel_at(*context, 4, 20), gradient_colour_at(colours, 4, 5));
    EXPECT_EQ(pixel_at(*context, 5, 20), gradient_colour_at(colours, 0, 5));
    EXPECT_NE(pixel_at(*context, 5, 9), controls_test::kUnpainted);
    EXPECT_FALSE(draw_gradient_frame(*context, platform::Rect{0, 0, 10, 40}, 8, std::span(colours, 1), all));
}

}  // namespace
}  // namespace runtime::components
