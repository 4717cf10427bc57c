#pragma once
// A bounded reader over untrusted bytes. Every read reports running off the end instead of reading
// past it; nothing here asserts on input.

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <optional>
#include <span>

namespace runtime::imaging {

class ByteReader {
public:
    explicit ByteReader(std::span<const std::uint8_t> bytes)
        : m_bytes(bytes)
    {
    }

    std::size_t position() const { return m_position; }
    std::size_t size() const { return m_bytes.size(); }
    std::size_t remaining() const { return m_bytes.size() - m_position; }
    bool at_end() const { return m_position >= m_bytes.size(); }
    std::span<const std::uint8_t> bytes() const { return m_bytes; }

    std::optional<std::uint8_t> read_u8()
    {
        if (remaining() < 1)
            return std::nullopt;
        return m_bytes[m_position++];
    }

    std::optional<std::uint16_t> read_u16_le()
    {
        if (remaining() < 2)
            return std::nullopt;
        std::uint16_t value = static_cast<std::uint16_t>(m_bytes[m_position] | (m_bytes[m_position + 1] << 8));
        m_position += 2;
        return value;
    }

    std::optional<std::uint32_t> read_u32_le()
    {
        if (remaining() < 4)
            return std::nullopt;
        std::uint32_t value = static_cast<std::uint32_t>(m_bytes[m_position]) |
                              (static_cast<std::uint32_t>(m_bytes[m_position + 1]) << 8) |
                              (static_cast<std::uint32_t>(m_bytes[m_position + 2]) << 16) |
                              (static_cast<std::uint32_t>(m_bytes[m_position + 3]) << 24);
        m_position += 4;
        return value;
    }

    std::optional<std::int32_t> read_i32_le()
    {
        auto value = read_u32_le();
        if (!value)
            return std::nullopt;
        return static_cast<std::int32_t>(*value);
    }

    // The next `count` bytes, consumed; none when fewer are left.
    std::optional<std::span<const std::uint8_t>> read_bytes(std::size_t count)
    {
        if (remaining() < count)
            return std::nullopt;
        auto part = m_bytes.subspan(m_position, count);
        m_position += count;
        return part;
    }

    [[nodiscard]] bool skip(std::size_t count)
    {
        if (remaining() < count)
            return false;
        m_position += count;
        return true;
    }

    [[nodiscard]] bool seek(std::size_t position)
    {
        if (position > m_bytes.size())
            return false;
        m_position = position;
        return true;
    }

private:
    std::span<const std::uint8_t> m_bytes;
    std::size_t m_position = 0;
};

// Little-endian values at a fixed offset of a span already known to be long enough.
inline std::uint16_t load_u16_le(const std::uint8_t* bytes)
{
    return static_cast<std::uint16_t>(bytes[0] | (bytes[1] << 8));
}

inline std::uint32_t load_u32_le(const std::uint8_t* bytes)
{
    return static_cast<std::uint32_t>(bytes[0]) | (static_cast<std::uint32_t>(bytes[1]) << 8) |
           (static_cast<std::uint32_t>(bytes[2]) << 16) | (static_cast<std::uint32_t>(bytes[3]) << 24);
}

// Big-endian, for the formats that store their numbers that way (PNG).
inline std::uint32_t load_u32_be(const std::uint8_t* bytes)
{
    return (std::uint32_t{bytes[0]} << 24) | (std::uint32_t{bytes[1]} << 16) | (std::uint32_t{bytes[2]} << 8) |
           std::uint32_t{bytes[3]};
}

inline void store_u16_le(std::uint8_t* bytes, std::uint16_t value)
{
    bytes[0] = static_cast<std::uint8_t>(value);
    bytes[1] = static_cast<std::uint8_t>(value >> 8);
}

inline void store_u32_le(std::uint8_t* bytes, std::uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        bytes[i] = static_cast<std::uint8_t>(value >> (8 * i));
}

}  // namespace runtime::imaging
