#pragma once
// Every kind lists the fields of its serialised property block once, in stream order, in a
// stream_fields() template; the streams below read, write and otherwise walk a block from that one
// list. Each field names itself and its property index, so that tools can print or set fields by
// name. present_from(v) marks the fields that follow as appended in block version v: a reader of an
// older block leaves them at their defaults, a writer of an older version leaves them out.

#include "runtime/form/byte_reader.h"
#include "runtime/form/byte_writer.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace runtime::form {

using Bytes = std::vector<std::uint8_t>;
using Font = std::optional<platform::LogFont>;  // nothing: the system's default GUI font

class BlockReadStream {
public:
    BlockReadStream(std::span<const std::uint8_t> bytes, std::uint32_t highest_version)
        : m_in(bytes)
    {
        m_version = m_in.dword();
        if (!m_in.failed() && m_version > highest_version)
            m_in.fail(FormError::VersionTooHigh);
    }

    std::uint32_t version() const { return m_version; }
    FormError error() const { return m_in.error(); }

    void present_from(std::uint32_t version) { m_skip = m_version < version; }
    void dword(const char*, int, std::uint32_t& value)
    {
        if (!m_skip)
            value = m_in.dword();
    }
    void signed_dword(const char*, int, std::int32_t& value)
    {
        if (!m_skip)
            value = m_in.signed_dword();
    }
    void word(const char*, int, std::uint16_t& value)
    {
        if (!m_skip)
            value = m_in.word();
    }
    void font(const char*, int, Font& value)
    {
        if (!m_skip)
            value = m_in.font();
    }
    void bytes(const char*, int, Bytes& value)
    {
        if (!m_skip)
            value = m_in.counted_byte_vector();
    }
    void text(const char*, int, std::string& value)
    {
        if (!m_skip)
            value = m_in.counted_text();
    }
    void text_list(const char*, int, std::vector<std::string>& value)
    {
        if (!m_skip)
            value = m_in.text_list();
    }

private:
    ByteReader m_in;
    std::uint32_t m_version = 0;
    bool m_skip = false;
};

class BlockWriteStream {
public:
    explicit BlockWriteStream(std::uint32_t version)
        : m_version(version)
    {
        m_out.dword(version);
    }

    void present_from(std::uint32_t version) { m_skip = m_version < version; }
    void dword(const char*, int, std::uint32_t value)
    {
        if (!m_skip)
            m_out.dword(value);
    }
    void signed_dword(const char*, int, std::int32_t value)
    {
        if (!m_skip)
            m_out.signed_dword(value);
    }
    void word(const char*, int, std::uint16_t value)
    {
        if (!m_skip)
            m_out.word(value);
    }
    void font(const char*, int, const Font& value)
    {
        if (!m_skip)
            m_out.font(value);
    }
    void bytes(const char*, int, const Bytes& value)
    {
        if (!m_skip)
            m_out.counted_bytes(value);
    }
    void text(const char*, int, const std::string& value)
    {
        if (!m_skip)
            m_out.counted_text(value);
    }
    void text_list(const char*, int, const std::vector<std::string>& value)
    {
        if (!m_skip)
            m_out.text_list(value);
    }

    std::vector<std::uint8_t> take() { return m_out.take(); }

private:
    ByteWriter m_out;
    std::uint32_t m_version;
    bool m_skip = false;
};

// Reads a block of any version up to Block::kHighestVersion; absent trailing fields keep their
// defaults. Bytes after the last field are ignored.
template <class Block> Result<Block> read_property_block(std::span<const std::uint8_t> bytes)
{
    BlockReadStream in(bytes, Block::kHighestVersion);
    Block block;
    if (in.error() == FormError::None)
        Block::stream_fields(in, block);
    if (in.error() != FormError::None)
        return in.error();
    return block;
}

// Writes the highest version unless an older one is asked for (which leaves out the fields that
// later versions appended).
template <class Block>
std::vector<std::uint8_t> write_property_block(const Block& block, std::uint32_t version = Block::kHighestVersion)
{
    BlockWriteStream out(version);
    Block::stream_fields(out, block);
    return out.take();
}

}  // namespace runtime::form
