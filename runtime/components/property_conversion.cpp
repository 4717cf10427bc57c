#include "runtime/components/property_conversion.h"

#include "platform/text_encoding.h"
#include "runtime/boundary/heap.h"
#include "runtime/components/mouse_pointer.h"

#include <cstdlib>
#include <cstring>

namespace runtime::components {
namespace {

constexpr std::size_t kLogFontSize = sizeof(platform::LogFont);
constexpr int kAngleRange = 3600;
constexpr int kBoldWeight = 700;
// A face name must leave room for the terminator in the LOGFONT's 32 bytes.
constexpr std::size_t kLongestMemberFaceName = 31;
constexpr std::size_t kLongestRecordFaceName = 30;

const std::string& song_typeface()
{
    static const std::string name = platform::gbk_from_utf8("宋体");
    return name;
}

const char kEmptyText[] = "";

std::int32_t as_int(Word value)
{
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(value));
}

Word from_int(std::int32_t value)
{
    return static_cast<Word>(static_cast<SignedWord>(value));
}

void store_face_name(platform::LogFont& font, const std::string& name)
{
    std::memset(font.face_name, 0, sizeof font.face_name);
    std::string_view kept = platform::cut_at_character(name, sizeof font.face_name - 1);
    std::memcpy(font.face_name, kept.data(), kept.size());
}

std::string face_name_of(const platform::LogFont& font)
{
    return std::string(font.face_name, strnlen(font.face_name, sizeof font.face_name));
}

bool is_text_code(std::uint16_t code)
{
    return code == TypeCode::Text || code == TypeCode::Text1007 || code == TypeCode::Text1008 ||
           code == TypeCode::FileName || code == TypeCode::DataSource || code == TypeCode::DataColumn;
}

bool is_bytes_code(std::uint16_t code)
{
    return code == TypeCode::Picture || code == TypeCode::Icon || code == TypeCode::Sound ||
           code == TypeCode::CustomData || code == TypeCode::CustomData1024;
}

Word new_font_record(const platform::LogFont& font)
{
    auto* record = static_cast<FontRecord*>(heap_allocate(sizeof(FontRecord)));
    std::string face = face_name_of(font);
    record->angle = from_int(font.orientation);
    record->bold = font.weight >= kBoldWeight;
    record->italic = font.italic != 0;
    record->strikeout = font.strike_out != 0;
    record->underline = font.underline != 0;
    record->size = from_int(font_points_from_height(font.height));
    record->face_name = reinterpret_cast<Word>(heap_copy_text(face.data(), face.size()));
    return reinterpret_cast<Word>(record);
}

}  // namespace

std::int32_t mul_div(std::int32_t a, std::int32_t b, std::int32_t c)
{
    if (c == 0)
        return 0;
    std::int64_t product = static_cast<std::int64_t>(a) * b;
    std::int64_t half = std::llabs(c) / 2;
    bool negative = (product < 0) != (c < 0);
    std::int64_t magnitude = (std::llabs(product) + half) / std::llabs(c);
    return static_cast<std::int32_t>(negative ? -magnitude : magnitude);
}

std::int32_t font_height_from_points(std::int32_t points)
{
    if (points < 0)
        points = 0;
    return -mul_div(points, platform::kLogicalPixelsPerInch, 72);
}

std::int32_t font_points_from_height(std::int32_t height)
{
    std::int64_t magnitude = height < 0 ? -static_cast<std::int64_t>(height) : height;
    if (magnitude > INT32_MAX)
        magnitude = INT32_MAX;
    return mul_div(static_cast<std::int32_t>(magnitude), 72, platform::kLogicalPixelsPerInch);
}

std::string face_name_for_record(const char* face_name)
{
    if (!face_name)
        return song_typeface();
    std::size_t length = std::strlen(face_name);
    return length <= kLongestRecordFaceName ? std::string(face_name, length) : song_typeface();
}

std::string face_name_for_member(const char* face_name)
{
    std::size_t length = face_name ? std::strlen(face_name) : 0;
    if (length == 0 || length > kLongestMemberFaceName)
        return song_typeface();
    return std::string(face_name, length);
}

platform::LogFont log_font_from_record(const FontRecord& record)
{
    platform::LogFont font;  // all zero
    // The angle is taken as given; only a member write reduces it to 0..3599.
    font.escapement = as_int(record.angle);
    font.orientation = font.escapement;
    font.weight = as_int(record.bold) != 0 ? kBoldWeight : 0;
    font.italic = as_int(record.italic) != 0;
    font.underline = as_int(record.underline) != 0;
    font.strike_out = as_int(record.strikeout) != 0;
    font.height = font_height_from_points(as_int(record.size));
    store_face_name(font, face_name_for_record(reinterpret_cast<const char*>(record.face_name)));
    return font;
}

void change_font_member(platform::LogFont& font, std::int32_t member, Word value)
{
    switch (member) {
    case 0: {
        std::int32_t angle = as_int(value) % kAngleRange;
        if (angle < 0)
            angle += kAngleRange;
        font.escapement = angle;
        font.orientation = angle;
        break;
    }
    case 1:
        font.weight = as_int(value) != 0 ? kBoldWeight : 0;
        break;
    case 2:
        font.italic = as_int(value) != 0;
        break;
    case 3:
        font.strike_out = as_int(value) != 0;
        break;
    case 4:
        font.underline = as_int(value) != 0;
        break;
    case 5:
        font.height = font_height_from_points(as_int(value));
        break;
    case 6:
        store_face_name(font, face_name_for_member(reinterpret_cast<const char*>(value)));
        break;
    default:
        break;
    }
}

platform::LogFont font_or_default(const PropertyData& data)
{
    if (data.word1 == 0 || data.word2 != kLogFontSize)
        return default_gui_log_font();
    return platform::log_font_from_bytes(reinterpret_cast<const void*>(data.word1));
}

WrittenProperty::WrittenProperty(std::uint16_t type_code, std::int32_t member, Word low, Word high,
                                 const std::function<std::optional<PropertyData>()>& current_font)
{
    WrittenProperty& written = *this;
    if (!is_known_type_code(type_code)) {
        data = {low, high};
        return;
    }
    if (is_text_code(type_code)) {
        data.word1 = low ? low : reinterpret_cast<Word>(kEmptyText);
        return;
    }
    if (is_bytes_code(type_code) || type_code == TypeCode::MousePointer) {
        const void* block = reinterpret_cast<const void*>(low);
        std::int32_t count = byte_set_count(block);
        if (!block || count <= 0)
            return;
        std::span<const std::uint8_t> bytes(byte_set_data(block), static_cast<std::size_t>(count));
        if (type_code == TypeCode::MousePointer && bytes.size() >= 4) {
            written.m_bytes = pointer_with_cursor_id(bytes);
            data = {reinterpret_cast<Word>(written.m_bytes.data()), written.m_bytes.size()};
        } else {
            data = {reinterpret_cast<Word>(bytes.data()), bytes.size()};
        }
        return;
    }
    switch (type_code) {
    case TypeCode::Real:
    case TypeCode::DateTime:
        data = {low, high};
        break;
    case TypeCode::Logical:
        data.word1 = as_int(low) != 0 ? 1 : 0;
        break;
    case TypeCode::Pick:
        data.word1 = from_int(std::max(as_int(low), 0));
        break;
    case TypeCode::Font:
        if (member == kWholeValue) {
            const auto* record = reinterpret_cast<const FontRecord*>(low);
            written.m_font = record ? log_font_from_record(*record) : log_font_from_record(FontRecord{});
        } else {
            std::optional<PropertyData> current = current_font ? current_font() : std::nullopt;
            written.m_font = current ? font_or_default(*current) : default_gui_log_font();
            change_font_member(written.m_font, member, low);
        }
        data = {reinterpret_cast<Word>(&written.m_font), kLogFontSize};
        break;
    default:
        data.word1 = low;
        break;
    }
}

PropertyValue convert_read_property(std::uint16_t type_code, std::int32_t member, const PropertyData& data)
{
    if (!is_known_type_code(type_code))
        return {};
    if (is_text_code(type_code)) {
        const char* text = reinterpret_cast<const char*>(data.word1);
        return {reinterpret_cast<Word>(text ? heap_copy_text(text, std::strlen(text)) : nullptr), 0};
    }
    if (is_bytes_code(type_code) || type_code == TypeCode::MousePointer) {
        const auto* bytes = reinterpret_cast<const std::uint8_t*>(data.word1);
        if (!bytes || data.word2 == 0)
            return {};
        std::span<const std::uint8_t> span(bytes, data.word2);
        if (type_code == TypeCode::MousePointer && span.size() >= 4) {
            std::vector<std::uint8_t> translated = pointer_with_index(span);
            return {reinterpret_cast<Word>(heap_copy_byte_set(translated.data(), translated.size())), 0};
        }
        return {reinterpret_cast<Word>(heap_copy_byte_set(span.data(), span.size())), 0};
    }
    switch (type_code) {
    case TypeCode::Real:
    case TypeCode::DateTime:
        return {data.word1, data.word2};
    case TypeCode::Logical:
        return {as_int(data.word1) == 1 ? Word{1} : Word{0}, 0};
    case TypeCode::Font: {
        platform::LogFont font = font_or_default(data);
        switch (member) {
        case kWholeValue:
            return {new_font_record(font), 0};
        case 0:
            return {from_int(font.orientation), 0};
        case 1:
            return {font.weight >= kBoldWeight, 0};
        case 2:
            return {font.italic != 0, 0};
        case 3:
            return {font.strike_out != 0, 0};
        case 4:
            return {font.underline != 0, 0};
        case 5:
            return {from_int(font_points_from_height(font.height)), 0};
        case 6: {
            std::string face = face_name_of(font);
            return {reinterpret_cast<Word>(heap_copy_text(face.data(), face.size())), 0};
        }
        default:
            return {};
        }
    }
    default:
        return {data.word1, 0};
    }
}

}  // namespace runtime::components
