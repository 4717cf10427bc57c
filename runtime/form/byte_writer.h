#pragma once
// Little-endian writing in the encodings that ByteReader reads back.

#include "platform/log_font.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

namespace runtime::form {

class ByteWriter {
public:
    void byte(std::uint8_t value) { m_bytes.push_back(value); }
    void word(std::uint16_t value);
    void dword(std::uint32_t value);
    void signed_dword(std::int32_t value) { dword(static_cast<std::uint32_t>(value)); }
    void bytes(std::span<const std::uint8_t> bytes);
    void zeros(std::size_t count) { m_bytes.insert(m_bytes.end(), count, 0); }

    void counted_bytes(std::span<const std::uint8_t> bytes);
    void counted_text(std::string_view text);
    // The text and a 0 byte. A text holding a 0 byte would not read back the same; it is cut there.
    void zero_terminated_text(std::string_view text);
    // Count as a word, or 0xFFFF and a dword count from 0xFFFF texts on.
    void text_list(std::span<const std::string> texts);
    void font(const std::optional<platform::LogFont>& font);

    std::size_t size() const { return m_bytes.size(); }
    // Overwrites a dword written earlier (a length known only later).
    void patch_dword(std::size_t position, std::uint32_t value);

    const std::vector<std::uint8_t>& data() const { return m_bytes; }
    std::vector<std::uint8_t> take() { return std::move(m_bytes); }

private:
    std::vector<std::uint8_t> m_bytes;
};

}  // namespace runtime::form
