#pragma once
// Property block of the common dialog kind (0x1001F), versions 0 to 1.

#include "runtime/boundary/values.h"
#include "runtime/form/blocks/block_stream.h"

namespace runtime::form {

struct CommonDialogBlock {
    static constexpr KindId kKind = Kind::CommonDialog;
    static constexpr std::uint32_t kHighestVersion = 1;

    std::uint32_t dialog_type = 0;       // 8
    std::uint32_t initial_filter = 0;    // 12
    std::uint32_t create_prompt = 0;     // 15
    std::uint32_t file_must_exist = 1;   // 16
    std::uint32_t overwrite_prompt = 1;  // 17
    std::uint32_t path_must_exist = 1;   // 18
    std::uint32_t keep_directory = 0;    // 19
    std::uint32_t font_colour = 0;       // 20
    std::uint32_t bold = 0;              // 21
    std::uint32_t italic = 0;            // 22
    std::uint32_t strike_out = 0;        // 23
    std::uint32_t underline = 0;         // 24
    std::uint32_t font_size = 0;         // 26
    std::uint32_t help_command = 0;      // 28
    std::uint32_t help_topic = 0;        // 29
    std::string title;                   // 9
    std::string file_name;               // 10
    std::string filter;                  // 11: "description|pattern|..."
    std::string initial_directory;       // 13
    std::string default_extension;       // 14
    std::string font_name;               // 25
    std::string help_file;               // 27

    template <class Stream, class Self> static void stream_fields(Stream& s, Self& b)
    {
        s.dword("dialog_type", 8, b.dialog_type);
        s.dword("initial_filter", 12, b.initial_filter);
        s.dword("create_prompt", 15, b.create_prompt);
        s.dword("file_must_exist", 16, b.file_must_exist);
        s.dword("overwrite_prompt", 17, b.overwrite_prompt);
        s.dword("path_must_exist", 18, b.path_must_exist);
        s.dword("keep_directory", 19, b.keep_directory);
        s.dword("font_colour", 20, b.font_colour);
        s.dword("bold", 21, b.bold);
        s.dword("italic", 22, b.italic);
        s.dword("strike_out", 23, b.strike_out);
        s.dword("underline", 24, b.underline);
        s.dword("font_size", 26, b.font_size);
        s.dword("help_command", 28, b.help_command);
        s.dword("help_topic", 29, b.help_topic);
        s.text("title", 9, b.title);
        s.text("file_name", 10, b.file_name);
        s.text("filter", 11, b.filter);
        s.text("initial_directory", 13, b.initial_directory);
        s.text("default_extension", 14, b.default_extension);
        s.text("font_name", 25, b.font_name);
        s.text("help_file", 27, b.help_file);
    }
};

}  // namespace runtime::form
