#pragma once
// The mnemonic letter of a caption: the character after a single "&" ("&&" stands for an ampersand).

#include <cstdint>
#include <optional>
#include <string_view>

namespace runtime::components {

// The marked character as a WM_CHAR code (upper-cased for ASCII letters), or nothing.
std::optional<std::uint32_t> mnemonic_of(std::string_view gbk_caption);

}  // namespace runtime::components
