#pragma once
// Value conventions shared by the runtime and the application: pointer-sized words, typed values,
// data type codes, texts, byte sets and the identifiers that name windows, controls and kinds.
//
// Typed values and property data hold pointer-sized words so that a pointer fits in one word on a
// 64-bit host; 8-byte values (real, date-time) keep their two-word meaning.

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace runtime {

using Word = std::uintptr_t;
using SignedWord = std::intptr_t;

// A 32-bit build lays every record of this boundary out exactly as the stored tables give them:
// one word is four bytes there.
inline constexpr bool kThirtyTwoBitLayout = sizeof(void*) == 4;
static_assert(!kThirtyTwoBitLayout || sizeof(Word) == 4);

// Data type codes of a typed value.
namespace DataType {
inline constexpr std::uint32_t Omitted = 0;
inline constexpr std::uint32_t Integer = 0x80000301;
inline constexpr std::uint32_t Text = 0x80000004;
inline constexpr std::uint32_t ByteSet = 0x80000005;
}  // namespace DataType

// Every command argument and every command result. A kind identifier as type makes the value a
// control reference: low = window identifier, high = control identifier.
struct TypedValue {
    Word low = 0;
    Word high = 0;
    std::uint32_t type = DataType::Omitted;
};
// Three 32-bit words: value low, value high, data type code.
static_assert(!kThirtyTwoBitLayout ||
              (sizeof(TypedValue) == 12 && offsetof(TypedValue, high) == 4 && offsetof(TypedValue, type) == 8));

// Two words returned by get property and taken by set property.
struct PropertyValue {
    Word low = 0;
    Word high = 0;
};
static_assert(!kThirtyTwoBitLayout || sizeof(PropertyValue) == 8);

// Byte set block: dimension count (always 1), byte count, then the bytes. Null is the empty byte set.
struct ByteSetHeader {
    std::int32_t dimensions;
    std::int32_t count;
};
inline constexpr std::size_t kByteSetHeaderSize = sizeof(ByteSetHeader);
static_assert(kByteSetHeaderSize == 8);

inline const std::uint8_t* byte_set_data(const void* block)
{
    return static_cast<const std::uint8_t*>(block) + kByteSetHeaderSize;
}
// Byte sets in the constant pool are packed without alignment, so the count is copied out rather
// than read through a header pointer.
inline std::int32_t byte_set_count(const void* block)
{
    if (!block)
        return 0;
    std::int32_t count = 0;
    std::memcpy(&count, static_cast<const std::uint8_t*>(block) + offsetof(ByteSetHeader, count), sizeof count);
    return count;
}

// The application's font value. Members in order: angle, bold, italic, strikeout, underline,
// size (points), face name (a text owned by the record, or null).
struct FontRecord {
    Word angle;
    Word bold;
    Word italic;
    Word strikeout;
    Word underline;
    Word size;
    Word face_name;
};
// The 28-byte font record: seven 32-bit words.
static_assert(!kThirtyTwoBitLayout || (sizeof(FontRecord) == 28 && offsetof(FontRecord, face_name) == 24));
inline constexpr int kFontRecordMembers = 7;

// Identifiers.
using WindowId = std::int32_t;
using ControlId = std::int32_t;
using KindId = std::int32_t;

inline constexpr ControlId kWindowOwnUnit = 0x06010000;

namespace Kind {
inline constexpr KindId Window = 0x10001;
inline constexpr KindId MenuItem = 0x10003;
inline constexpr KindId EditBox = 0x10005;
inline constexpr KindId PictureBox = 0x10006;
inline constexpr KindId GroupBox = 0x10009;
inline constexpr KindId Label = 0x1000A;
inline constexpr KindId Button = 0x1000B;
inline constexpr KindId ComboBox = 0x1000E;
inline constexpr KindId CommonDialog = 0x1001F;
inline constexpr KindId TransparentLabel = 0x20005;
}  // namespace Kind

// Member selector of a property access: the whole value, or one member of a font.
inline constexpr std::int32_t kWholeValue = -1;

}  // namespace runtime
