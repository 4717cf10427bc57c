#pragma once
// Property block of the group box kind (0x10009), versions 0 to 1.

#include "runtime/boundary/values.h"
#include "runtime/form/blocks/block_stream.h"

namespace runtime::form {

struct GroupBoxBlock {
    static constexpr KindId kKind = Kind::GroupBox;
    static constexpr std::uint32_t kHighestVersion = 1;

    std::uint32_t title_alignment = 0;             // 9: left, centred, right
    std::uint32_t text_colour = 0;                 // 10
    std::uint32_t background_colour = 0xFF000000;  // 11
    Font font;                                     // 12
    std::string caption;                           // 8

    template <class Stream, class Self> static void stream_fields(Stream& s, Self& b)
    {
        s.dword("title_alignment", 9, b.title_alignment);
        s.dword("text_colour", 10, b.text_colour);
        s.dword("background_colour", 11, b.background_colour);
        s.font("font", 12, b.font);
        s.text("caption", 8, b.caption);
    }
};

}  // namespace runtime::form
