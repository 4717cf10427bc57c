#pragma once
// Property block of the label kind (0x1000A), versions 0 to 2.

#include "runtime/boundary/values.h"
#include "runtime/form/blocks/block_stream.h"

namespace runtime::form {

inline constexpr char kLabelDefaultCaption[] = "\xB1\xEA\xC7\xA9";  // "标签" in GBK

struct LabelBlock {
    static constexpr KindId kKind = Kind::Label;
    static constexpr std::uint32_t kHighestVersion = 2;

    std::uint32_t text_effect = 0;                 // 9
    std::uint32_t frame_width = 8;                 // 11
    std::uint32_t border = 0;                      // 10
    std::uint32_t frame_colour_1 = 0x808080;       // 12
    std::uint32_t frame_colour_2 = 0xFFFFFF;       // 13
    std::uint32_t frame_colour_3 = 0x808080;       // 14
    std::uint32_t text_colour = 0;                 // 16
    std::uint32_t background_colour = 0xFF000000;  // 17
    std::uint32_t picture_layout = 1;              // 19: 0 natural size, 1 tiled, 2 fitted and centred
    std::uint32_t background_gradient = 0;         // 20
    std::uint32_t gradient_colour_1 = 0x808080;    // 21
    std::uint32_t gradient_colour_2 = 0xFFFFFF;    // 22
    std::uint32_t gradient_colour_3 = 0x808080;    // 23
    std::uint32_t horizontal_alignment = 0;        // 24
    std::uint32_t vertical_alignment = 1;          // 26
    std::uint32_t word_wrap = 0;                   // 25
    Font font;                                     // 15
    Bytes background_picture;                      // 18
    std::string caption = kLabelDefaultCaption;    // 8
    std::string data_source;                       // 27, version 2
    std::string data_column;                       // 28, version 2

    template <class Stream, class Self> static void stream_fields(Stream& s, Self& b)
    {
        s.dword("text_effect", 9, b.text_effect);
        s.dword("frame_width", 11, b.frame_width);
        s.dword("border", 10, b.border);
        s.dword("frame_colour_1", 12, b.frame_colour_1);
        s.dword("frame_colour_2", 13, b.frame_colour_2);
        s.dword("frame_colour_3", 14, b.frame_colour_3);
        s.dword("text_colour", 16, b.text_colour);
        s.dword("background_colour", 17, b.background_colour);
        s.dword("picture_layout", 19, b.picture_layout);
        s.dword("background_gradient", 20, b.background_gradient);
        s.dword("gradient_colour_1", 21, b.gradient_colour_1);
        s.dword("gradient_colour_2", 22, b.gradient_colour_2);
        s.dword("gradient_colour_3", 23, b.gradient_colour_3);
        s.dword("horizontal_alignment", 24, b.horizontal_alignment);
        s.dword("vertical_alignment", 26, b.vertical_alignment);
        s.dword("word_wrap", 25, b.word_wrap);
        s.font("font", 15, b.font);
        s.bytes("background_picture", 18, b.background_picture);
        s.text("caption", 8, b.caption);
        s.present_from(2);
        s.text("data_source", 27, b.data_source);
        s.text("data_column", 28, b.data_column);
    }
};

}  // namespace runtime::form
