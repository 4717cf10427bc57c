// The runtime's text to and from UTF-8 and UTF-16 through glibc's iconv.
#include "platform/text_encoding.h"

#include <iconv.h>

#include <algorithm>
#include <cerrno>
#include <mutex>

namespace platform {
namespace {

// One conversion direction. iconv descriptors are not thread-safe, so each use takes the lock; the
// descriptors live for the process.
class Converter {
public:
    using SkipRule = std::size_t (*)(const unsigned char* input, std::size_t left);

    Converter(const char* to, const char* from, std::string replacement, SkipRule skip)
        : m_descriptor(iconv_open(to, from))
        , m_replacement(std::move(replacement))
        , m_skip(skip)
    {
    }

    std::string convert(const char* data, std::size_t size)
    {
        std::lock_guard lock(m_mutex);
        std::string out;
        if (m_descriptor == reinterpret_cast<iconv_t>(-1) || size == 0)
            return out;
        iconv(m_descriptor, nullptr, nullptr, nullptr, nullptr);
        out.resize(size * 4 + 16);
        char* in_pointer = const_cast<char*>(data);
        std::size_t in_left = size;
        char* out_pointer = out.data();
        std::size_t out_left = out.size();
        while (in_left > 0) {
            std::size_t result = iconv(m_descriptor, &in_pointer, &in_left, &out_pointer, &out_left);
            if (result != static_cast<std::size_t>(-1))
                break;
            if (errno == E2BIG) {
                std::size_t used = out.size() - out_left;
                out.resize(out.size() * 2);
                out_pointer = out.data() + used;
                out_left = out.size() - used;
                continue;
            }
            // EILSEQ or EINVAL: replace one input unit and go on.
            if (out_left < m_replacement.size()) {
                std::size_t used = out.size() - out_left;
                out.resize(out.size() * 2);
                out_pointer = out.data() + used;
                out_left = out.size() - used;
            }
            for (char c : m_replacement) {
                *out_pointer++ = c;
                --out_left;
            }
            std::size_t skip = std::min(
                std::max<std::size_t>(1, m_skip(reinterpret_cast<const unsigned char*>(in_pointer), in_left)), in_left);
            in_pointer += skip;
            in_left -= skip;
        }
        out.resize(out.size() - out_left);
        return out;
    }

private:
    iconv_t m_descriptor;
    std::string m_replacement;
    SkipRule m_skip;
    std::mutex m_mutex;
};

// How many input bytes one unconvertible character takes.
std::size_t skip_byte(const unsigned char*, std::size_t)
{
    return 1;
}
std::size_t skip_utf16_unit(const unsigned char* input, std::size_t left)
{
    // A surrogate pair is one character.
    if (left >= 4 && (input[1] & 0xFC) == 0xD8 && (input[3] & 0xFC) == 0xDC)
        return 4;
    return 2;
}
std::size_t skip_utf8_sequence(const unsigned char* input, std::size_t left)
{
    std::size_t length = 1;
    if (input[0] >= 0xF0)
        length = 4;
    else if (input[0] >= 0xE0)
        length = 3;
    else if (input[0] >= 0xC0)
        length = 2;
    // Stop early at a byte that is not a continuation byte.
    std::size_t i = 1;
    while (i < length && i < left && (input[i] & 0xC0) == 0x80)
        ++i;
    return i;
}

// The runtime's text. glibc's GB18030 converter holds all of Unicode.
constexpr const char* kRuntimeEncoding = "GB18030";

Converter& utf8_to_gbk()
{
    static Converter converter(kRuntimeEncoding, "UTF-8", "?", skip_utf8_sequence);
    return converter;
}
Converter& gbk_to_utf8()
{
    static Converter converter("UTF-8", kRuntimeEncoding, "\xEF\xBF\xBD", skip_byte);
    return converter;
}
Converter& gbk_to_utf16()
{
    static Converter converter("UTF-16LE", kRuntimeEncoding, std::string("\xFD\xFF", 2), skip_byte);
    return converter;
}
Converter& utf16_to_gbk()
{
    static Converter converter(kRuntimeEncoding, "UTF-16LE", "?", skip_utf16_unit);
    return converter;
}

}  // namespace

std::string gbk_from_utf8(std::string_view utf8)
{
    return utf8_to_gbk().convert(utf8.data(), utf8.size());
}

std::string utf8_from_gbk(std::string_view gbk)
{
    return gbk_to_utf8().convert(gbk.data(), gbk.size());
}

std::u16string utf16_from_gbk(std::string_view gbk)
{
    std::string bytes = gbk_to_utf16().convert(gbk.data(), gbk.size());
    std::u16string out(bytes.size() / 2, u'\0');
    for (std::size_t i = 0; i < out.size(); ++i)
        out[i] = static_cast<char16_t>(static_cast<unsigned char>(bytes[2 * i]) |
                                       (static_cast<unsigned char>(bytes[2 * i + 1]) << 8));
    return out;
}

std::string gbk_from_utf16(std::u16string_view utf16)
{
    std::string bytes(utf16.size() * 2, '\0');
    for (std::size_t i = 0; i < utf16.size(); ++i) {
        bytes[2 * i] = static_cast<char>(utf16[i] & 0xFF);
        bytes[2 * i + 1] = static_cast<char>(utf16[i] >> 8);
    }
    return utf16_to_gbk().convert(bytes.data(), bytes.size());
}

}  // namespace platform
