#pragma once
// The runtime's multibyte text to and from UTF-8 and UTF-16, through the system's converter (glibc's
// iconv on Linux, code page 54936 on Windows), and file names to and from the file system's own form.
//
// Text is GB18030 everywhere in the runtime and the application. GB18030 extends GBK: every GBK
// character keeps exactly its GBK bytes, so stored texts are unchanged, and every other Unicode
// character has a four-byte code, so nothing typed or named is lost. The functions keep their
// "gbk" names because every GBK text is such a text.

#include <string>
#include <string_view>

namespace platform {

// Every Unicode character converts. Input that is not well formed is replaced: '?' for a broken
// UTF-8 sequence or a lone surrogate, U+FFFD for bytes that are no GB18030 character.
std::string gbk_from_utf8(std::string_view utf8);
std::string utf8_from_gbk(std::string_view gbk);
std::u16string utf16_from_gbk(std::string_view gbk);
std::string gbk_from_utf16(std::u16string_view utf16);

// Bytes of the character that starts `text`: 1 for a single-byte character (and for a lead byte
// with nothing after it), 4 for a four-byte character (lead 0x81-0xFE, then 0x30-0x39, 0x81-0xFE,
// 0x30-0x39), else 2. Everything that walks or cuts multibyte text steps with this.
std::size_t multibyte_character_length(std::string_view text);
// The longest prefix of `text` of at most `limit` bytes that ends on a character boundary.
std::string_view cut_at_character(std::string_view text, std::size_t limit);

// A file name as the runtime holds it, as UTF-8 text (the form Linux file systems take), and back.
// Every name round-trips, whatever characters it holds.
std::string os_file_name(std::string_view runtime_name);
std::string runtime_file_name(std::string_view os_name);
// file_system.h turns a name into a std::filesystem::path.

}  // namespace platform
