#pragma once
// Property block of the combo box kind (0x1000E), versions 0 to 3.

#include "runtime/boundary/values.h"
#include "runtime/form/blocks/block_stream.h"

namespace runtime::form {

struct ComboBoxBlock {
    static constexpr KindId kKind = Kind::ComboBox;
    static constexpr std::uint32_t kHighestVersion = 3;

    std::uint32_t style = 1;                     // 8: simple, drop-down, drop-down list
    std::int32_t maximum_length = 0;             // 10
    std::int32_t selection_start = 0;            // 11
    std::int32_t selection_length = 0;           // 12
    std::uint32_t sorted = 0;                    // 14
    std::int32_t extra_item_height = 1;          // 15
    std::uint32_t text_colour = 0;               // 16
    std::uint32_t background_colour = 0xFFFFFF;  // 17
    std::int32_t current_selection = -1;         // 19: -1 none
    Font font;                                   // 18
    Bytes item_data;                             // 21: one dword per item
    std::string content;                         // 9
    std::vector<std::string> items;              // 20
    std::string data_source;                     // 22, from version 2
    std::string data_column;                     // 23, from version 2
    std::uint32_t binding_option = 0;            // 24, from version 3

    template <class Stream, class Self> static void stream_fields(Stream& s, Self& b)
    {
        s.dword("style", 8, b.style);
        s.signed_dword("maximum_length", 10, b.maximum_length);
        s.signed_dword("selection_start", 11, b.selection_start);
        s.signed_dword("selection_length", 12, b.selection_length);
        s.dword("sorted", 14, b.sorted);
        s.signed_dword("extra_item_height", 15, b.extra_item_height);
        s.dword("text_colour", 16, b.text_colour);
        s.dword("background_colour", 17, b.background_colour);
        s.signed_dword("current_selection", 19, b.current_selection);
        s.font("font", 18, b.font);
        s.bytes("item_data", 21, b.item_data);
        s.text("content", 9, b.content);
        s.text_list("items", 20, b.items);
        s.present_from(2);
        s.text("data_source", 22, b.data_source);
        s.text("data_column", 23, b.data_column);
        s.present_from(3);
        s.dword("binding_option", 24, b.binding_option);
    }
};

}  // namespace runtime::form
