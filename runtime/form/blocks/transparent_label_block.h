#pragma once
// Property block of the transparent label kind (0x20005), versions 0 to 1.

#include "runtime/boundary/values.h"
#include "runtime/form/blocks/block_stream.h"

namespace runtime::form {

inline constexpr char kTransparentLabelDefaultCaption[] = "\xCD\xB8\xC3\xF7\xB1\xEA\xC7\xA9";  // "透明标签"

struct TransparentLabelBlock {
    static constexpr KindId kKind = Kind::TransparentLabel;
    static constexpr std::uint32_t kHighestVersion = 1;

    std::uint32_t text_effect = 0;                          // 9
    std::uint32_t text_colour = 0;                          // 11
    std::uint32_t horizontal_alignment = 0;                 // 12
    std::uint32_t vertical_alignment = 1;                   // 14
    std::uint32_t word_wrap = 0;                            // 13
    Font font;                                              // 10
    std::string caption = kTransparentLabelDefaultCaption;  // 8

    template <class Stream, class Self> static void stream_fields(Stream& s, Self& b)
    {
        s.dword("text_effect", 9, b.text_effect);
        s.dword("text_colour", 11, b.text_colour);
        s.dword("horizontal_alignment", 12, b.horizontal_alignment);
        s.dword("vertical_alignment", 14, b.vertical_alignment);
        s.dword("word_wrap", 13, b.word_wrap);
        s.font("font", 10, b.font);
        s.text("caption", 8, b.caption);
    }
};

}  // namespace runtime::form
