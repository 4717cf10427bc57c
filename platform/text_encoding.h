#pragma once
// GBK (code page 936) to and from UTF-8 and UTF-16, through glibc's iconv. Text is GBK everywhere in
// the runtime and the application; only the platform converts it for Qt.

#include <string>
#include <string_view>

namespace platform {

// Bytes that do not convert are replaced: '?' towards GBK, U+FFFD towards Unicode.
std::string gbk_from_utf8(std::string_view utf8);
std::string utf8_from_gbk(std::string_view gbk);
std::u16string utf16_from_gbk(std::string_view gbk);
std::string gbk_from_utf16(std::u16string_view utf16);

}  // namespace platform
