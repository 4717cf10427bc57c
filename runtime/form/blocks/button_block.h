#pragma once
// Property block of the button kind (0x1000B), versions 0 to 1.

#include "runtime/boundary/values.h"
#include "runtime/form/blocks/block_stream.h"

namespace runtime::form {

inline constexpr char kButtonDefaultCaption[] = "\xB0\xB4\xC5\xA5";  // "按钮" in GBK

struct ButtonBlock {
    static constexpr KindId kKind = Kind::Button;
    static constexpr std::uint32_t kHighestVersion = 1;

    std::uint32_t default_button = 0;             // 9
    std::uint32_t horizontal_alignment = 1;       // 11: left, centred, right
    std::uint32_t vertical_alignment = 1;         // 12: top, centred, bottom
    Bytes picture;                                // 8
    Font font;                                    // 13
    std::string caption = kButtonDefaultCaption;  // 10

    template <class Stream, class Self> static void stream_fields(Stream& s, Self& b)
    {
        s.dword("default_button", 9, b.default_button);
        s.dword("horizontal_alignment", 11, b.horizontal_alignment);
        s.dword("vertical_alignment", 12, b.vertical_alignment);
        s.bytes("picture", 8, b.picture);
        s.font("font", 13, b.font);
        s.text("caption", 10, b.caption);
    }
};

}  // namespace runtime::form
