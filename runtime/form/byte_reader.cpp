#include "runtime/form/byte_reader.h"

#include <cstring>
#include <limits>

namespace runtime::form {

std::optional<std::size_t> checked_multiply(std::size_t a, std::size_t b)
{
    if (a != 0 && b > std::numeric_limits<std::size_t>::max() / a)
        return std::nullopt;
    return a * b;
}

std::optional<std::size_t> checked_add(std::size_t a, std::size_t b)
{
    if (b > std::numeric_limits<std::size_t>::max() - a)
        return std::nullopt;
    return a + b;
}

void ByteReader::fail(FormError error)
{
    if (m_error == FormError::None)
        m_error = error;
}

bool ByteReader::take(std::size_t n)
{
    if (failed())
        return false;
    if (n > remaining()) {
        fail(m_overrun);
        return false;
    }
    return true;
}

bool ByteReader::require_entries(std::size_t count, std::size_t entry_size)
{
    if (failed())
        return false;
    auto needed = checked_multiply(count, entry_size);
    if (!needed || *needed > remaining()) {
        fail(FormError::CountOverrun);
        return false;
    }
    return true;
}

std::uint8_t ByteReader::byte()
{
    if (!take(1))
        return 0;
    return m_bytes[m_position++];
}

std::uint16_t ByteReader::word()
{
    if (!take(2))
        return 0;
    auto value = static_cast<std::uint16_t>(m_bytes[m_position] | (m_bytes[m_position + 1] << 8));
    m_position += 2;
    return value;
}

std::uint32_t ByteReader::dword()
{
    if (!take(4))
        return 0;
    const std::uint8_t* p = m_bytes.data() + m_position;
    std::uint32_t value =
        std::uint32_t(p[0]) | (std::uint32_t(p[1]) << 8) | (std::uint32_t(p[2]) << 16) | (std::uint32_t(p[3]) << 24);
    m_position += 4;
    return value;
}

std::span<const std::uint8_t> ByteReader::bytes(std::size_t n)
{
    if (!take(n))
        return {};
    auto result = m_bytes.subspan(m_position, n);
    m_position += n;
    return result;
}

std::span<const std::uint8_t> ByteReader::counted_bytes()
{
    std::uint32_t count = dword();
    return bytes(count);
}

std::vector<std::uint8_t> ByteReader::counted_byte_vector()
{
    auto span = counted_bytes();
    return {span.begin(), span.end()};
}

std::string ByteReader::counted_text()
{
    auto span = counted_bytes();
    return {reinterpret_cast<const char*>(span.data()), span.size()};
}

std::string ByteReader::zero_terminated_text()
{
    std::size_t start = m_position;
    skip_zero_terminated_text();
    if (failed())
        return {};
    return {reinterpret_cast<const char*>(m_bytes.data() + start), m_position - start - 1};
}

void ByteReader::skip_zero_terminated_text()
{
    if (failed())
        return;
    const void* found = std::memchr(m_bytes.data() + m_position, 0, remaining());
    if (!found) {
        fail(m_overrun);
        return;
    }
    m_position = static_cast<std::size_t>(static_cast<const std::uint8_t*>(found) - m_bytes.data()) + 1;
}

std::vector<std::string> ByteReader::text_list()
{
    std::uint32_t count = word();
    if (count == 0xFFFF)
        count = dword();
    std::vector<std::string> texts;
    // Every counted text takes at least its 4-byte count.
    if (!require_entries(count, 4))
        return texts;
    texts.reserve(count);
    for (std::uint32_t i = 0; i < count && !failed(); ++i)
        texts.push_back(counted_text());
    if (failed())
        texts.clear();
    return texts;
}

std::optional<platform::LogFont> ByteReader::font()
{
    auto span = counted_bytes();
    if (failed() || span.empty())
        return std::nullopt;
    if (span.size() != kLogFontSize) {
        fail(FormError::FontLength);
        return std::nullopt;
    }
    return platform::log_font_from_bytes(span.data());
}

}  // namespace runtime::form
