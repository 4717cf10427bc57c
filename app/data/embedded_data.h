#pragma once
// The data embedded in the executable at build time: the stored window descriptions and the
// constant pool (kind names, templates, the empty text and byte set, "宋体"), and the program's icon.

#include <cstddef>
#include <cstdint>
#include <span>

namespace app::data {

struct Span {
    const std::uint8_t* data;
    std::size_t size;
};

Span form_description();
Span constant_pool();
// The program's icon: one PNG file per size, smallest first.
std::span<const Span> program_icon();

// Constants inside the pool: pointers into constant_pool(), never copied or released.
inline constexpr int kKindCount = 16;
const char* kind_name(int kind);      // kind 1..16: its name, a GBK text
const void* kind_template(int kind);  // kind 1..16: its template, a byte set block
const char* empty_text();
const void* empty_byte_set();
const char* song_typeface();  // "宋体"

}  // namespace app::data
