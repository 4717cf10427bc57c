#pragma once
// Taking values out of property data and putting stored values into it, the same way for every
// kind: texts as a pointer to zero-terminated GBK, byte data and fonts as pointer and count.

#include "runtime/components/component.h"
#include "runtime/form/blocks/block_stream.h"

#include <algorithm>
#include <cstdint>
#include <string>

namespace runtime::components {

inline std::string text_of(const PropertyData& data)
{
    const char* text = reinterpret_cast<const char*>(data.word1);
    return text ? std::string(text) : std::string();
}

inline form::Bytes bytes_of(const PropertyData& data)
{
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(data.word1);
    if (!bytes || data.word2 == 0)
        return {};
    return form::Bytes(bytes, bytes + data.word2);
}

// Anything but exactly 60 bytes is no font (the default GUI font).
inline form::Font font_of(const PropertyData& data)
{
    if (!data.word1 || data.word2 != form::kLogFontSize)
        return std::nullopt;
    return platform::log_font_from_bytes(reinterpret_cast<const void*>(data.word1));
}

inline std::int32_t integer_of(const PropertyData& data)
{
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(data.word1));
}

// A written choice index clamped to 0..highest.
inline std::uint32_t choice_of(const PropertyData& data, std::int32_t highest)
{
    return static_cast<std::uint32_t>(std::clamp(integer_of(data), 0, highest));
}

inline void put_integer(PropertyData& data, std::uint32_t value)
{
    data.word1 = value;
    data.word2 = 0;
}

inline void put_text(PropertyData& data, const std::string& text)
{
    data.word1 = reinterpret_cast<Word>(text.c_str());
    data.word2 = 0;
}

inline void put_bytes(PropertyData& data, const form::Bytes& bytes)
{
    data.word1 = bytes.empty() ? 0 : reinterpret_cast<Word>(bytes.data());
    data.word2 = bytes.size();
}

inline void put_font(PropertyData& data, const form::Font& font)
{
    data.word1 = font ? reinterpret_cast<Word>(&*font) : 0;
    data.word2 = font ? form::kLogFontSize : 0;
}

// A stored choice read back into its range (stored values are kept as they were read).
inline std::uint32_t stored_choice(std::uint32_t value, std::int32_t highest)
{
    return static_cast<std::uint32_t>(std::clamp(static_cast<std::int32_t>(value), 0, highest));
}

}  // namespace runtime::components
