#pragma once
// Property block of the edit box kind (0x10005), versions 0 to 2.

#include "runtime/boundary/values.h"
#include "runtime/form/blocks/block_stream.h"

namespace runtime::form {

struct EditBoxBlock {
    static constexpr KindId kKind = Kind::EditBox;
    static constexpr std::uint32_t kHighestVersion = 2;

    std::uint32_t border = 1;                    // 9
    std::uint32_t text_colour = 0;               // 10
    std::uint32_t background_colour = 0xFFFFFF;  // 11
    std::uint32_t hide_selection = 1;            // 13
    std::int32_t maximum_length = 0;             // 14: 0 the platform's maximum
    std::uint32_t multi_line = 0;                // 15
    std::uint32_t scroll_bars = 0;               // 16
    std::uint32_t alignment = 0;                 // 17
    std::uint32_t input_mode = 0;                // 18
    std::uint16_t password_character = '*';      // 19: the character byte, then a 0 byte
    std::uint32_t letter_case = 0;               // 20
    std::uint32_t spin_mode = 0;                 // 21
    std::int32_t spin_lower_bound = 0;           // 22
    std::int32_t spin_upper_bound = 100;         // 23
    std::int32_t selection_start = 0;            // 24
    std::int32_t selection_length = 0;           // 25
    Font font;                                   // 12
    std::string content;                         // 8
    std::string data_source;                     // 27, version 2
    std::string data_column;                     // 28, version 2

    template <class Stream, class Self> static void stream_fields(Stream& s, Self& b)
    {
        s.dword("border", 9, b.border);
        s.dword("text_colour", 10, b.text_colour);
        s.dword("background_colour", 11, b.background_colour);
        s.dword("hide_selection", 13, b.hide_selection);
        s.signed_dword("maximum_length", 14, b.maximum_length);
        s.dword("multi_line", 15, b.multi_line);
        s.dword("scroll_bars", 16, b.scroll_bars);
        s.dword("alignment", 17, b.alignment);
        s.dword("input_mode", 18, b.input_mode);
        s.word("password_character", 19, b.password_character);
        s.dword("letter_case", 20, b.letter_case);
        s.dword("spin_mode", 21, b.spin_mode);
        s.signed_dword("spin_lower_bound", 22, b.spin_lower_bound);
        s.signed_dword("spin_upper_bound", 23, b.spin_upper_bound);
        s.signed_dword("selection_start", 24, b.selection_start);
        s.signed_dword("selection_length", 25, b.selection_length);
        s.font("font", 12, b.font);
        s.text("content", 8, b.content);
        s.present_from(2);
        s.text("data_source", 27, b.data_source);
        s.text("data_column", 28, b.data_column);
    }
};

}  // namespace runtime::form
