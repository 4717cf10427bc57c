#include "runtime/components/text_drawing.h"

namespace runtime::components {

namespace {

constexpr platform::Colour kWhite = 0xFFFFFF;
constexpr platform::Colour kBlack = 0x000000;

platform::Rect moved(const platform::Rect& rect, int by)
{
    return platform::Rect{rect.left + by, rect.top + by, rect.right + by, rect.bottom + by};
}

}  // namespace

std::uint32_t caption_format(const CaptionStyle& style)
{
    using namespace platform::TextFormat;
    std::uint32_t format = NoPrefix;
    if (style.horizontal_alignment == 1)
        format |= Centre;
    else if (style.horizontal_alignment == 2)
        format |= Right;
    if (style.word_wrap) {
        format |= WordBreak | VerticalCentre;
    } else {
        format |= SingleLine;
        if (style.vertical_alignment == 1)
            format |= VerticalCentre;
        else if (style.vertical_alignment == 2)
            format |= Bottom;
    }
    return format;
}

void draw_caption(platform::DeviceContext& context, std::string_view gbk, const platform::Rect& rect,
                  const form::Font& font, const CaptionStyle& style)
{
    if (gbk.empty())
        return;
    context.save();
    if (font)
        context.select_font(*font);
    context.set_background_mode(platform::BackgroundMode::Transparent);
    context.intersect_clip_rect(rect);
    std::uint32_t format = caption_format(style);
    auto draw = [&](platform::Colour colour, const platform::Rect& where) {
        context.set_text_colour(colour);
        context.draw_text(gbk, where, format);
    };
    switch (static_cast<TextEffect>(style.effect)) {
    case TextEffect::WhiteBelowRight:
        draw(kWhite, moved(rect, 1));
        draw(style.colour, rect);
        break;
    case TextEffect::WhiteAboveLeft:
        draw(kWhite, rect);
        draw(style.colour, moved(rect, 1));
        break;
    case TextEffect::BlackShadow:
        draw(kBlack, moved(rect, 2));
        draw(style.colour, rect);
        break;
    default:
        draw(style.colour, rect);
        break;
    }
    context.restore();
}

}  // namespace runtime::components
