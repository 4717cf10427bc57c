#pragma once
// The line format shared by the declarative sources of the form description and the constant pool:
// one statement per line, '#' comment lines, whitespace-separated tokens, "double-quoted" UTF-8
// texts with \" and \\ escapes.

#include <cstdint>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

namespace formgen {

struct Token {
    std::string text;  // UTF-8, quotes removed
    bool quoted = false;
};

struct SourceLine {
    int number = 0;
    std::vector<Token> tokens;
};

// A mistake in a source file, with its place.
class SourceError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};
[[noreturn]] void fail(const SourceLine& line, const std::string& message);

std::vector<SourceLine> read_source_lines(const std::filesystem::path& path);

// A decimal or 0x-hexadecimal number, possibly negative, that fits 32 bits (signed or unsigned).
std::uint32_t parse_number(const SourceLine& line, const Token& token);
// A quoted text converted to GBK.
std::string parse_text(const SourceLine& line, const Token& token);

std::vector<std::uint8_t> read_file_bytes(const std::filesystem::path& path);

}  // namespace formgen
