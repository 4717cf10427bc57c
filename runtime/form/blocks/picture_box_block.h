#pragma once
// Property block of the picture box kind (0x10006), versions 0 to 2.

#include "runtime/boundary/values.h"
#include "runtime/form/blocks/block_stream.h"

namespace runtime::form {

struct PictureBoxBlock {
    static constexpr KindId kKind = Kind::PictureBox;
    static constexpr std::uint32_t kHighestVersion = 2;

    std::uint32_t border = 0;                      // 8
    std::uint32_t background_colour = 0xFF000000;  // 9
    std::uint32_t display_mode = 0;                // 11
    std::uint32_t animate = 1;                     // 12
    Bytes picture;                                 // 10
    std::string data_source;                       // 13, version 2
    std::string data_column;                       // 14, version 2

    template <class Stream, class Self> static void stream_fields(Stream& s, Self& b)
    {
        s.dword("border", 8, b.border);
        s.dword("background_colour", 9, b.background_colour);
        s.dword("display_mode", 11, b.display_mode);
        s.dword("animate", 12, b.animate);
        s.bytes("picture", 10, b.picture);
        s.present_from(2);
        s.text("data_source", 13, b.data_source);
        s.text("data_column", 14, b.data_column);
    }
};

}  // namespace runtime::form
