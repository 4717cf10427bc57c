#include "runtime/components/gradient.h"

#include "platform/graphics.h"

#include <algorithm>
#include <memory>

namespace runtime::components {

namespace {

int channel(platform::Colour colour, int shift)
{
    return static_cast<int>((colour >> shift) & 0xFF);
}

}  // namespace

std::vector<platform::Colour> usable_colours(std::span<const std::uint32_t> slots)
{
    std::vector<platform::Colour> colours;
    for (std::uint32_t slot : slots) {
        if (slot != kNoColour)
            colours.push_back(slot & 0xFFFFFF);
    }
    return colours;
}

int gradient_position(GradientDirection direction, int x, int y, int width, int height)
{
    switch (direction) {
    case GradientDirection::TopToBottom:
        return y;
    case GradientDirection::LeftToRight:
        return x;
    case GradientDirection::TopLeftToBottomRight:
        return x + y;
    case GradientDirection::TopRightToBottomLeft:
        return (width - 1 - x) + y;
    case GradientDirection::BottomToTop:
        return height - 1 - y;
    case GradientDirection::RightToLeft:
        return width - 1 - x;
    case GradientDirection::BottomRightToTopLeft:
        return (width - 1 - x) + (height - 1 - y);
    case GradientDirection::BottomLeftToTopRight:
        return x + (height - 1 - y);
    case GradientDirection::None:
        break;
    }
    return 0;
}

int gradient_length(GradientDirection direction, int width, int height)
{
    switch (direction) {
    case GradientDirection::TopToBottom:
    case GradientDirection::BottomToTop:
        return height;
    case GradientDirection::LeftToRight:
    case GradientDirection::RightToLeft:
        return width;
    case GradientDirection::None:
        return 0;
    default:
        return 2 * std::min(width, height);
    }
}

platform::Colour gradient_colour_at(std::span<const platform::Colour> colours, int position, int length)
{
    int n = static_cast<int>(colours.size());
    if (n == 0)
        return 0;
    if (n == 1)
        return colours[0];
    int segment = length / (n - 1);
    // A segment of no pixels (a rectangle thinner than the colour count) puts every position at the
    // start of the first segment rather than dividing by zero.
    int k = segment > 0 ? position / segment : 0;
    if (k < 0)
        k = 0;
    if (k > n - 2)
        return colours[static_cast<std::size_t>(n - 1)];
    double f = segment > 0 ? static_cast<double>(position % segment) / segment : 0.0;
    platform::Colour from = colours[static_cast<std::size_t>(k)];
    platform::Colour to = colours[static_cast<std::size_t>(k) + 1];
    platform::Colour result = 0;
    for (int shift : {0, 8, 16}) {
        int a = channel(from, shift);
        int b = channel(to, shift);
        int value = a + static_cast<int>(f * (b - a));
        result |= static_cast<platform::Colour>(std::clamp(value, 0, 255)) << shift;
    }
    return result;
}

bool fill_gradient(platform::DeviceContext& context, const platform::Rect& rect, GradientDirection direction,
                   std::span<const platform::Colour> colours, const platform::Region& area)
{
    if (colours.size() < 2)
        return false;
    int width = rect.width();
    int height = rect.height();
    if (width <= 0 || height <= 0)
        return true;
    int length = gradient_length(direction, width, height);
    std::vector<std::uint8_t> pixels(static_cast<std::size_t>(kGradientTile) * kGradientTile * 4);
    for (int tile_top = 0; tile_top < height; tile_top += kGradientTile) {
        for (int tile_left = 0; tile_left < width; tile_left += kGradientTile) {
            int tile_width = std::min(kGradientTile, width - tile_left);
            int tile_height = std::min(kGradientTile, height - tile_top);
            platform::Rect target{rect.left + tile_left, rect.top + tile_top, rect.left + tile_left + tile_width,
                                  rect.top + tile_top + tile_height};
            if (!area.intersects(target))
                continue;
            std::uint8_t* out = pixels.data();
            for (int y = tile_top; y < tile_top + tile_height; ++y) {
                for (int x = tile_left; x < tile_left + tile_width; ++x) {
                    platform::Colour colour =
                        gradient_colour_at(colours, gradient_position(direction, x, y, width, height), length);
                    *out++ = static_cast<std::uint8_t>(colour >> 16);  // blue
                    *out++ = static_cast<std::uint8_t>(colour >> 8);   // green
                    *out++ = static_cast<std::uint8_t>(colour);        // red
                    *out++ = 0;
                }
            }
            std::unique_ptr<platform::Bitmap> tile =
                platform::bitmap_from_bgrx32(pixels.data(), tile_width, tile_height,
                                             static_cast<std::size_t>(tile_width) * 4, platform::RowOrder::TopDown);
            if (!tile)
                return false;
            platform::draw_bitmap(context, *tile, target);
        }
    }
    return true;
}

bool draw_gradient_frame(platform::DeviceContext& context, const platform::Rect& outer, int width,
                         std::span<const platform::Colour> colours, const platform::Region& area)
{
    if (colours.size() < 2 || width <= 0)
        return false;
    int horizontal = std::min(width, outer.width() / 2);
    int vertical = std::min(width, outer.height() / 2);
    platform::Rect inner{outer.left + horizontal, outer.top + vertical, outer.right - horizontal,
                         outer.bottom - vertical};
    bool drawn = true;
    drawn &= fill_gradient(context, platform::Rect{outer.left, outer.top, outer.right, inner.top},
                           GradientDirection::TopToBottom, colours, area);
    drawn &= fill_gradient(context, platform::Rect{outer.left, inner.bottom, outer.right, outer.bottom},
                           GradientDirection::TopToBottom, colours, area);

    const platform::Point left_band[] = {{outer.left, outer.top},
                                         {inner.left, inner.top},
                                         {inner.left, inner.bottom},
                                         {outer.left, outer.bottom}};
    context.save();
    context.intersect_clip_polygon(left_band, 4);
    drawn &= fill_gradient(context, platform::Rect{outer.left, outer.top, inner.left, outer.bottom},
                           GradientDirection::LeftToRight, colours, area);
    context.restore();

    const platform::Point right_band[] = {{outer.right, outer.top},
                                          {inner.right, inner.top},
                                          {inner.right, inner.bottom},
                                          {outer.right, outer.bottom}};
    context.save();
    context.intersect_clip_polygon(right_band, 4);
    drawn &= fill_gradient(context, platform::Rect{inner.right, outer.top, outer.right, outer.bottom},
                           GradientDirection::LeftToRight, colours, area);
    context.restore();
    return drawn;
}

}  // namespace runtime::components
