#pragma once
// File search for runtime services 0 and 1: the names in one folder that match a pattern and an
// attribute mask, handed out one at a time. The search handle lives in a word of the caller's; the
// runtime keeps the search itself and never trusts the word's value beyond looking it up.

#include "runtime/boundary/values.h"

#include <cstdint>

namespace runtime {

// Attribute bits of the mask. Plain files (read-only or not) always match; hidden entries, system
// entries and folders only when their bit is in the mask.
namespace FileAttribute {
inline constexpr std::uint32_t ReadOnly = 0x01;
inline constexpr std::uint32_t Hidden = 0x02;
inline constexpr std::uint32_t System = 0x04;
inline constexpr std::uint32_t Folder = 0x10;
inline constexpr std::uint32_t Archive = 0x20;
}  // namespace FileAttribute

// The next matching name (without its folder) as a new heap text that the caller releases, or null
// when there is none left. When `handle` holds no open search, a new one starts over `pattern`: an
// optional folder part, then a name in which '*' stands for any run of characters and '?' for one,
// letters compared without regard to case. A search that runs out is closed and `handle` set to 0.
// Null `handle` or a null or empty pattern without an open search give null.
char* find_next_file(const char* pattern, std::uint32_t attributes, Word* handle);

// Closes the search whose handle `handle` holds and sets it to 0; null, 0 and unknown handles are
// ignored.
void close_file_search(Word* handle);

// How many searches are open (for tests).
std::size_t open_file_search_count();

}  // namespace runtime
