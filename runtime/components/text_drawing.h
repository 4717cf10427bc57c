#pragma once
// The caption drawing shared by the label and the transparent label: text format from the
// alignments and word wrap, the relief effects, and the font of the property block. An "&" is
// drawn as it is.

#include "platform/device_context.h"
#include "runtime/form/blocks/block_stream.h"

#include <cstdint>
#include <string_view>

namespace runtime::components {

enum class TextEffect : std::uint32_t {
    None = 0,
    WhiteBelowRight = 1,  // a white copy at (+1, +1) under the text
    WhiteAboveLeft = 2,   // the text at (+1, +1) over a white copy
    BlackShadow = 3,      // a black copy at (+2, +2) under the text
};
inline constexpr std::int32_t kHighestTextEffect = 3;
inline constexpr std::int32_t kHighestAlignment = 2;

struct CaptionStyle {
    std::uint32_t effect = 0;
    std::uint32_t horizontal_alignment = 0;  // left, centred, right
    std::uint32_t vertical_alignment = 1;    // top, centred, bottom; wrapped text always starts at the top
    bool word_wrap = false;
    platform::Colour colour = 0;
};

// Format flags of the caption. With word wrap the vertical-centre flag is added as well; it has no
// effect on wrapped text.
std::uint32_t caption_format(const CaptionStyle& style);

// Draws the caption inside `rect`, clipped to it, with a transparent background; nothing for an
// empty text. The context's font and state are restored afterwards.
void draw_caption(platform::DeviceContext& context, std::string_view gbk, const platform::Rect& rect,
                  const form::Font& font, const CaptionStyle& style);

}  // namespace runtime::components
