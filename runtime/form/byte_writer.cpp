#include "runtime/form/byte_writer.h"

#include <string>

namespace runtime::form {

void ByteWriter::word(std::uint16_t value)
{
    m_bytes.push_back(static_cast<std::uint8_t>(value));
    m_bytes.push_back(static_cast<std::uint8_t>(value >> 8));
}

void ByteWriter::dword(std::uint32_t value)
{
    for (int shift = 0; shift < 32; shift += 8)
        m_bytes.push_back(static_cast<std::uint8_t>(value >> shift));
}

void ByteWriter::patch_dword(std::size_t position, std::uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        m_bytes.at(position + i) = static_cast<std::uint8_t>(value >> (8 * i));
}

void ByteWriter::bytes(std::span<const std::uint8_t> bytes)
{
    m_bytes.insert(m_bytes.end(), bytes.begin(), bytes.end());
}

void ByteWriter::counted_bytes(std::span<const std::uint8_t> bytes)
{
    dword(static_cast<std::uint32_t>(bytes.size()));
    this->bytes(bytes);
}

void ByteWriter::counted_text(std::string_view text)
{
    counted_bytes({reinterpret_cast<const std::uint8_t*>(text.data()), text.size()});
}

void ByteWriter::zero_terminated_text(std::string_view text)
{
    text = text.substr(0, text.find('\0'));
    bytes({reinterpret_cast<const std::uint8_t*>(text.data()), text.size()});
    byte(0);
}

void ByteWriter::text_list(std::span<const std::string> texts)
{
    if (texts.size() < 0xFFFF) {
        word(static_cast<std::uint16_t>(texts.size()));
    } else {
        word(0xFFFF);
        dword(static_cast<std::uint32_t>(texts.size()));
    }
    for (const auto& text : texts)
        counted_text(text);
}

void ByteWriter::font(const std::optional<platform::LogFont>& font)
{
    if (!font) {
        dword(0);
        return;
    }
    counted_bytes({reinterpret_cast<const std::uint8_t*>(&*font), sizeof(platform::LogFont)});
}

}  // namespace runtime::form
