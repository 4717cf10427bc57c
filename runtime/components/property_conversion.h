#pragma once
// Conversions between the application's two-word property values and the property data handed to
// kinds, by property type code and member selector: texts and byte sets, logicals, picks, mouse
// pointers and fonts (whole font records and their seven members).

#include "platform/log_font.h"
#include "runtime/components/component.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace runtime::components {

// Whether the runtime knows the type code (1000..1024); others are opaque words.
constexpr bool is_known_type_code(std::uint16_t code)
{
    return code >= 1000 && code <= 1024;
}

// MulDiv: a * b / c rounded half away from zero; 0 when c is 0.
std::int32_t mul_div(std::int32_t a, std::int32_t b, std::int32_t c);

// LOGFONT height of a point size (a negative size counts as 0) and point size of a height.
std::int32_t font_height_from_points(std::int32_t points);
std::int32_t font_points_from_height(std::int32_t height);

// The face name a whole font record gives: its own when present and shorter than 31 bytes (an
// empty one included), else "宋体". A member write accepts 1 to 31 bytes.
std::string face_name_for_record(const char* face_name);
std::string face_name_for_member(const char* face_name);

platform::LogFont log_font_from_record(const FontRecord& record);
// Changes one member (0 angle .. 6 face name) by the application's value word.
void change_font_member(platform::LogFont& font, std::int32_t member, Word value);

// Property data for a kind, with the storage it points to.
class WrittenProperty {
public:
    // Builds the data from the application's value. For a font member, `current_font` is asked for
    // the kind's font first (nothing, or data that is not 60 bytes, starts from the default GUI font).
    WrittenProperty(std::uint16_t type_code, std::int32_t member, Word low, Word high,
                    const std::function<std::optional<PropertyData>()>& current_font = {});
    WrittenProperty(const WrittenProperty&) = delete;
    WrittenProperty& operator=(const WrittenProperty&) = delete;

    PropertyData data;

private:
    std::vector<std::uint8_t> m_bytes;
    platform::LogFont m_font;
};

// The application's value of what a kind reported. Texts, byte sets and font records are new heap
// blocks that the receiver releases.
PropertyValue convert_read_property(std::uint16_t type_code, std::int32_t member, const PropertyData& data);

// The font a kind reported, or the default GUI font when the data is not exactly 60 bytes.
platform::LogFont font_or_default(const PropertyData& data);

}  // namespace runtime::components
