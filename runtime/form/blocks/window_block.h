#pragma once
// Property block of the window kind (0x10001), versions 0 to 6. Field comments give the property
// index; unnamed properties are kept by number.

#include "runtime/boundary/values.h"
#include "runtime/form/blocks/block_stream.h"

namespace runtime::form {

struct WindowBlock {
    static constexpr KindId kKind = Kind::Window;
    static constexpr std::uint32_t kHighestVersion = 6;

    std::uint32_t border_style = 2;                // 9: 0 none .. 6 fixed frame with client edge
    std::uint32_t picture_layout = 1;              // 12
    std::uint32_t background_colour = 0xFF000000;  // 10: 0xFF000000 the system's button face
    std::uint32_t maximize_box = 0;                // 16
    std::uint32_t minimize_box = 1;                // 17
    std::uint32_t control_box = 1;                 // 15
    std::uint32_t placement = 1;                   // 18: 0 stored, 1 centred, 2 minimized, 3 maximized
    std::uint32_t closable = 1;                    // 19
    std::uint32_t sound_play_mode = 0;             // 14
    std::uint32_t property_21 = 0;
    std::uint32_t property_22 = 1;
    std::uint32_t property_23 = 0;
    std::uint32_t property_25 = 0;
    std::uint32_t shown_in_task_bar = 1;  // 26, from version 2
    std::uint32_t property_27 = 0;        // from version 3
    std::uint32_t property_28 = 0;        // from version 3
    std::uint32_t always_on_top = 0;      // 29, from version 4
    std::uint32_t property_30 = 0;        // from version 5
    std::string window_class_name;        // 31, from version 6; empty: the plain window class
    Bytes picture;                        // 11
    Bytes icon;                           // 20
    Bytes sound;                          // 13
    std::string caption;                  // 8
    std::string file_name;                // 24

    template <class Stream, class Self> static void stream_fields(Stream& s, Self& b)
    {
        s.dword("border_style", 9, b.border_style);
        s.dword("picture_layout", 12, b.picture_layout);
        s.dword("background_colour", 10, b.background_colour);
        s.dword("maximize_box", 16, b.maximize_box);
        s.dword("minimize_box", 17, b.minimize_box);
        s.dword("control_box", 15, b.control_box);
        s.dword("placement", 18, b.placement);
        s.dword("closable", 19, b.closable);
        s.dword("sound_play_mode", 14, b.sound_play_mode);
        s.dword("property_21", 21, b.property_21);
        s.dword("property_22", 22, b.property_22);
        s.dword("property_23", 23, b.property_23);
        s.dword("property_25", 25, b.property_25);
        s.present_from(2);
        s.dword("shown_in_task_bar", 26, b.shown_in_task_bar);
        s.present_from(3);
        s.dword("property_27", 27, b.property_27);
        s.dword("property_28", 28, b.property_28);
        s.present_from(4);
        s.dword("always_on_top", 29, b.always_on_top);
        s.present_from(5);
        s.dword("property_30", 30, b.property_30);
        s.present_from(6);
        s.text("window_class_name", 31, b.window_class_name);
        s.present_from(0);
        s.bytes("picture", 11, b.picture);
        s.bytes("icon", 20, b.icon);
        s.bytes("sound", 13, b.sound);
        s.text("caption", 8, b.caption);
        s.text("file_name", 24, b.file_name);
    }
};

}  // namespace runtime::form
