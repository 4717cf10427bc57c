// The runtime's text to and from UTF-8 and UTF-16 through Windows' converter: code page 54936
// (GB18030) for the runtime's side. UTF-8 is read and written here rather than through CP_UTF8, so
// that broken input is replaced exactly as the Linux build replaces it ('?' per broken sequence,
// where Windows would give U+FFFD).
//
// Windows has had code page 54936 since XP; Wine (8.0) has not. Without it the text goes through
// GBK (code page 936), and the four-byte codes of the supplementary planes (emoji and the rarer
// ideographs), which follow one formula, are computed here; the other characters outside GBK, whose
// codes only a table gives, become '?' one way and U+FFFD the other.

#include "platform/text_encoding.h"
#include "platform/win32/win32.h"

#include <climits>

namespace platform {
namespace {

constexpr UINT kGb18030CodePage = 54936;
constexpr UINT kGbkCodePage = 936;
constexpr char16_t kReplacementCharacter = 0xFFFD;

bool has_gb18030()
{
    static const bool available = IsValidCodePage(kGb18030CodePage) != 0;
    return available;
}

UINT runtime_code_page()
{
    return has_gb18030() ? kGb18030CodePage : kGbkCodePage;
}

// Four-byte codes from 0x90 0x30 0x81 0x30 on count the supplementary planes in order, U+10000 first.
constexpr unsigned char kSupplementaryLeadFirst = 0x90;
constexpr unsigned char kSupplementaryLeadLast = 0xE3;

char32_t supplementary_from_four_bytes(std::string_view bytes)
{
    auto byte = [&](std::size_t i) { return static_cast<char32_t>(static_cast<unsigned char>(bytes[i])); };
    char32_t linear = (((byte(0) - kSupplementaryLeadFirst) * 10 + (byte(1) - 0x30)) * 126 + (byte(2) - 0x81)) * 10 +
                      (byte(3) - 0x30);
    return 0x10000 + linear;
}

void append_four_bytes_of_supplementary(std::string& out, char32_t code_point)
{
    char32_t linear = code_point - 0x10000;
    char fourth = static_cast<char>(0x30 + linear % 10);
    linear /= 10;
    char third = static_cast<char>(0x81 + linear % 126);
    linear /= 126;
    char second = static_cast<char>(0x30 + linear % 10);
    char first = static_cast<char>(kSupplementaryLeadFirst + linear / 10);
    out += {first, second, third, fourth};
}

bool is_high_surrogate(char16_t unit)
{
    return unit >= 0xD800 && unit <= 0xDBFF;
}
bool is_low_surrogate(char16_t unit)
{
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

// How many bytes a broken UTF-8 sequence stands for: what its lead byte announces, cut short at the
// first byte that does not continue it.
std::size_t broken_sequence_length(std::string_view text, std::size_t at)
{
    auto lead = static_cast<unsigned char>(text[at]);
    std::size_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
    std::size_t i = 1;
    while (i < length && at + i < text.size() && (static_cast<unsigned char>(text[at + i]) & 0xC0) == 0x80)
        ++i;
    return i;
}

// The code point of the well-formed sequence at `at` and its length, or length 0 when the sequence
// is broken, overlong, a surrogate or beyond U+10FFFF.
struct Decoded {
    char32_t code_point = 0;
    std::size_t length = 0;
};
Decoded decode_utf8(std::string_view text, std::size_t at)
{
    auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[at + i]); };
    unsigned char lead = byte(0);
    if (lead < 0x80)
        return {lead, 1};
    std::size_t length = 0;
    char32_t value = 0;
    char32_t minimum = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        value = lead & 0x1F;
        minimum = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        value = lead & 0x0F;
        minimum = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        value = lead & 0x07;
        minimum = 0x10000;
    } else {
        return {};
    }
    if (at + length > text.size())
        return {};
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(i) & 0xC0) != 0x80)
            return {};
        value = (value << 6) | (byte(i) & 0x3F);
    }
    if (value < minimum || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF))
        return {};
    return {value, length};
}

std::u16string utf16_from_utf8(std::string_view utf8)
{
    std::u16string out;
    out.reserve(utf8.size());
    for (std::size_t at = 0; at < utf8.size();) {
        Decoded decoded = decode_utf8(utf8, at);
        if (decoded.length == 0) {
            out.push_back(u'?');
            at += broken_sequence_length(utf8, at);
            continue;
        }
        at += decoded.length;
        char32_t value = decoded.code_point;
        if (value >= 0x10000) {
            value -= 0x10000;
            out.push_back(static_cast<char16_t>(0xD800 + (value >> 10)));
            out.push_back(static_cast<char16_t>(0xDC00 + (value & 0x3FF)));
        } else {
            out.push_back(static_cast<char16_t>(value));
        }
    }
    return out;
}

// Only called with text that holds no lone surrogate (it comes from GB18030).
std::string utf8_from_utf16(std::u16string_view utf16)
{
    std::string out;
    out.reserve(utf16.size() * 3);
    for (std::size_t i = 0; i < utf16.size(); ++i) {
        char32_t value = utf16[i];
        if (is_high_surrogate(utf16[i]) && i + 1 < utf16.size() && is_low_surrogate(utf16[i + 1])) {
            value = 0x10000 + ((value - 0xD800) << 10) + (utf16[i + 1] - 0xDC00);
            ++i;
        } else if (is_high_surrogate(utf16[i]) || is_low_surrogate(utf16[i])) {
            value = kReplacementCharacter;
        }
        if (value < 0x80) {
            out.push_back(static_cast<char>(value));
        } else if (value < 0x800) {
            out.push_back(static_cast<char>(0xC0 | (value >> 6)));
            out.push_back(static_cast<char>(0x80 | (value & 0x3F)));
        } else if (value < 0x10000) {
            out.push_back(static_cast<char>(0xE0 | (value >> 12)));
            out.push_back(static_cast<char>(0x80 | ((value >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (value & 0x3F)));
        } else {
            out.push_back(static_cast<char>(0xF0 | (value >> 18)));
            out.push_back(static_cast<char>(0x80 | ((value >> 12) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | ((value >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (value & 0x3F)));
        }
    }
    return out;
}

// Appends the UTF-16 of `bytes`, or answers false (appending nothing) when they are not well formed.
bool append_strict(std::u16string& out, std::string_view bytes)
{
    if (bytes.empty())
        return true;
    if (bytes.size() > INT_MAX)
        return false;
    int size = static_cast<int>(bytes.size());
    int needed = MultiByteToWideChar(runtime_code_page(), MB_ERR_INVALID_CHARS, bytes.data(), size, nullptr, 0);
    if (needed <= 0)
        return false;
    std::size_t used = out.size();
    out.resize(used + static_cast<std::size_t>(needed));
    int written = MultiByteToWideChar(runtime_code_page(), MB_ERR_INVALID_CHARS, bytes.data(), size,
                                      reinterpret_cast<wchar_t*>(out.data() + used), needed);
    if (written != needed) {
        out.resize(used);
        return false;
    }
    return true;
}

// Appends the runtime's bytes for text that holds no lone surrogate (and, without GB18030, no pair).
void append_converted(std::string& out, std::u16string_view text)
{
    if (text.empty() || text.size() > INT_MAX / 4)
        return;
    auto wide = reinterpret_cast<const wchar_t*>(text.data());
    int size = static_cast<int>(text.size());
    // Code page 54936 takes no flags and no default character; GBK must not put a look-alike in
    // place of a character it lacks.
    bool gb18030 = has_gb18030();
    DWORD flags = gb18030 ? 0 : WC_NO_BEST_FIT_CHARS;
    const char* fallback = gb18030 ? nullptr : "?";
    UINT page = runtime_code_page();
    int needed = WideCharToMultiByte(page, flags, wide, size, nullptr, 0, fallback, nullptr);
    if (needed <= 0)
        return;
    std::size_t used = out.size();
    out.resize(used + static_cast<std::size_t>(needed));
    int written = WideCharToMultiByte(page, flags, wide, size, out.data() + used, needed, fallback, nullptr);
    out.resize(used + (written > 0 ? static_cast<std::size_t>(written) : 0));
}

}  // namespace

std::u16string utf16_from_gbk(std::string_view gbk)
{
    std::u16string out;
    if (append_strict(out, gbk))
        return out;
    // Something in it is no GB18030 character: convert one character at a time, and replace a byte
    // that starts no character with U+FFFD, as the Linux build does.
    out.clear();
    for (std::size_t at = 0; at < gbk.size();) {
        std::size_t length = multibyte_character_length(gbk.substr(at));
        auto lead = static_cast<unsigned char>(gbk[at]);
        if (length == 4 && !has_gb18030()) {
            char32_t value = supplementary_from_four_bytes(gbk.substr(at, 4));
            if (lead >= kSupplementaryLeadFirst && lead <= kSupplementaryLeadLast && value <= 0x10FFFF) {
                value -= 0x10000;
                out.push_back(static_cast<char16_t>(0xD800 + (value >> 10)));
                out.push_back(static_cast<char16_t>(0xDC00 + (value & 0x3FF)));
            } else {
                out.push_back(kReplacementCharacter);
            }
            at += length;
        } else if (append_strict(out, gbk.substr(at, length))) {
            at += length;
        } else {
            out.push_back(kReplacementCharacter);
            ++at;
        }
    }
    return out;
}

std::string gbk_from_utf16(std::u16string_view utf16)
{
    std::string out;
    // Runs without surrogates go through the converter; a pair is one four-byte character and a
    // lone surrogate, which no encoding holds, becomes '?'.
    std::size_t run_start = 0;
    for (std::size_t i = 0; i <= utf16.size(); ++i) {
        bool pair = i + 1 < utf16.size() && is_high_surrogate(utf16[i]) && is_low_surrogate(utf16[i + 1]);
        bool lone = i < utf16.size() && !pair && (is_high_surrogate(utf16[i]) || is_low_surrogate(utf16[i]));
        bool keeps_run = i < utf16.size() && !lone && (!pair || has_gb18030());
        if (keeps_run) {
            if (pair)
                ++i;
            continue;
        }
        append_converted(out, utf16.substr(run_start, i - run_start));
        if (lone) {
            out.push_back('?');
        } else if (pair) {
            append_four_bytes_of_supplementary(out, 0x10000 + ((static_cast<char32_t>(utf16[i]) - 0xD800) << 10) +
                                                        (utf16[i + 1] - 0xDC00));
            ++i;
        }
        run_start = i + 1;
    }
    return out;
}

std::string gbk_from_utf8(std::string_view utf8)
{
    return gbk_from_utf16(utf16_from_utf8(utf8));
}

std::string utf8_from_gbk(std::string_view gbk)
{
    return utf8_from_utf16(utf16_from_gbk(gbk));
}

}  // namespace platform
