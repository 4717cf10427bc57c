#include "tools/formgen/source_lines.h"

#include "platform/text_encoding.h"

#include <fstream>
#include <iterator>
#include <sstream>

namespace formgen {

namespace {

std::string g_current_file;

std::vector<Token> tokenise(const SourceLine& line, const std::string& text)
{
    std::vector<Token> tokens;
    std::size_t i = 0;
    while (i < text.size()) {
        if (text[i] == ' ' || text[i] == '\t' || text[i] == '\r') {
            ++i;
            continue;
        }
        Token token;
        // A token is a run of non-blank characters in which quoted stretches may hold blanks:
        // `face="宋体"` is one token.
        while (i < text.size() && text[i] != ' ' && text[i] != '\t' && text[i] != '\r') {
            if (text[i] != '"') {
                token.text += text[i++];
                continue;
            }
            token.quoted = true;
            ++i;
            while (true) {
                if (i >= text.size())
                    fail(line, "unterminated text");
                char c = text[i++];
                if (c == '"')
                    break;
                if (c == '\\') {
                    if (i >= text.size())
                        fail(line, "unterminated text");
                    c = text[i++];
                }
                token.text += c;
            }
        }
        tokens.push_back(std::move(token));
    }
    return tokens;
}

}  // namespace

void fail(const SourceLine& line, const std::string& message)
{
    std::ostringstream text;
    text << g_current_file << ":" << line.number << ": " << message;
    throw SourceError(text.str());
}

std::vector<SourceLine> read_source_lines(const std::filesystem::path& path)
{
    std::ifstream in(path);
    if (!in)
        throw SourceError("cannot read " + path.string());
    g_current_file = path.string();
    std::vector<SourceLine> lines;
    std::string text;
    int number = 0;
    while (std::getline(in, text)) {
        ++number;
        auto first = text.find_first_not_of(" \t\r");
        if (first == std::string::npos || text[first] == '#')
            continue;
        SourceLine line;
        line.number = number;
        line.tokens = tokenise(line, text);
        lines.push_back(std::move(line));
    }
    return lines;
}

std::uint32_t parse_number(const SourceLine& line, const Token& token)
{
    if (token.quoted)
        fail(line, "expected a number, found a text");
    const std::string& text = token.text;
    bool negative = !text.empty() && text[0] == '-';
    std::string digits = negative ? text.substr(1) : text;
    int base = 10;
    if (digits.size() > 2 && digits[0] == '0' && (digits[1] == 'x' || digits[1] == 'X')) {
        base = 16;
        digits = digits.substr(2);
    }
    if (digits.empty())
        fail(line, "expected a number, found '" + text + "'");
    std::size_t used = 0;
    unsigned long long value = 0;
    try {
        value = std::stoull(digits, &used, base);
    } catch (const std::exception&) {
        fail(line, "expected a number, found '" + text + "'");
    }
    if (used != digits.size() || (negative && value > 0x80000000ull) || (!negative && value > 0xFFFFFFFFull))
        fail(line, "not a 32-bit number: '" + text + "'");
    return negative ? static_cast<std::uint32_t>(0u - static_cast<std::uint32_t>(value))
                    : static_cast<std::uint32_t>(value);
}

std::string parse_text(const SourceLine& line, const Token& token)
{
    if (!token.quoted)
        fail(line, "expected a \"text\", found '" + token.text + "'");
    // The stored description holds GBK: every character must convert and keep a one- or two-byte
    // form (the runtime's text would give the others four bytes).
    std::string gbk = platform::gbk_from_utf8(token.text);
    bool in_gbk = platform::utf8_from_gbk(gbk) == token.text;
    for (std::size_t i = 0; in_gbk && i < gbk.size();) {
        std::size_t length = platform::multibyte_character_length(std::string_view(gbk).substr(i));
        in_gbk = length <= 2;
        i += length;
    }
    if (!in_gbk)
        fail(line, "text has characters without a GBK form: \"" + token.text + "\"");
    return gbk;
}

std::vector<std::uint8_t> read_file_bytes(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw SourceError("cannot read " + path.string());
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace formgen
