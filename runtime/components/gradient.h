#pragma once
// Colour gradients of two or three colours, as the label paints its background and its frame:
// rendered in tiles of at most 50 x 50 pixels, each computed only when it meets the area to update.

#include "platform/device_context.h"
#include "platform/region.h"

#include <cstdint>
#include <span>
#include <vector>

namespace runtime::components {

inline constexpr platform::Colour kNoColour = 0xFF000000;  // a colour slot that is not used
inline constexpr int kGradientTile = 50;

enum class GradientDirection : std::uint32_t {
    None = 0,
    TopToBottom = 1,
    LeftToRight = 2,
    TopLeftToBottomRight = 3,
    TopRightToBottomLeft = 4,
    BottomToTop = 5,
    RightToLeft = 6,
    BottomRightToTopLeft = 7,
    BottomLeftToTopRight = 8,
};
inline constexpr std::int32_t kHighestGradientDirection = 8;

// The colours of the slots that are not kNoColour, in slot order.
std::vector<platform::Colour> usable_colours(std::span<const std::uint32_t> slots);

// Position of pixel (x, y) along the direction, and the length the colours are spread over, in a
// rectangle of width x height.
int gradient_position(GradientDirection direction, int x, int y, int width, int height);
int gradient_length(GradientDirection direction, int width, int height);

// The colour at `position` of `length` for two or more colours: segments of length / (n - 1),
// each channel moving linearly from one colour to the next; the last colour beyond the end. A
// length too short to give every segment a pixel yields the first colour's segment start.
platform::Colour gradient_colour_at(std::span<const platform::Colour> colours, int position, int length);

// Fills `rect` with the gradient, tile by tile, skipping tiles outside `area`. False when fewer than
// two colours are given or a tile's bitmap could not be made (drawing stops there).
bool fill_gradient(platform::DeviceContext& context, const platform::Rect& rect, GradientDirection direction,
                   std::span<const platform::Colour> colours, const platform::Region& area);

// A frame `width` pixels wide just inside `outer`: four bands with their own gradients (top and
// bottom top-to-bottom, left and right left-to-right), the side bands cut on the diagonals so that
// the corners meet mitred. The band widths are limited to half of `outer`. True only when all four
// bands were drawn.
bool draw_gradient_frame(platform::DeviceContext& context, const platform::Rect& outer, int width,
                         std::span<const platform::Colour> colours, const platform::Region& area);

}  // namespace runtime::components
