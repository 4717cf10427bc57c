#pragma once
// The common properties 0..7 of every visible kind (left, top, width, height, tag, visible,
// disabled, mouse pointer), handled by the runtime on the native window and the stored record.
// They work whether or not the window is loaded: without a native window they read and write the
// stored record only, and the stored values take effect when the window is made.

#include "runtime/boundary/values.h"

#include <cstdint>

namespace runtime {
struct WindowEntry;
namespace form {
class UnitRecord;
}
}  // namespace runtime

namespace runtime::components {

inline constexpr int kCommonPropertyCount = 8;

namespace CommonProperty {
inline constexpr int Left = 0;
inline constexpr int Top = 1;
inline constexpr int Width = 2;
inline constexpr int Height = 3;
inline constexpr int Tag = 4;
inline constexpr int Visible = 5;
inline constexpr int Disabled = 6;
inline constexpr int MousePointer = 7;
}  // namespace CommonProperty

// Coordinates and sizes are clamped, never rejected.
inline constexpr std::int32_t kMinCoordinate = -32627;
inline constexpr std::int32_t kMaxCoordinate = 32627;
inline constexpr std::int32_t kMaxSize = 32627;

std::int32_t clamp_coordinate(std::int32_t value);
std::int32_t clamp_size(std::int32_t value);

// The tag and mouse pointer come back as new heap blocks owned by the caller.
PropertyValue read_common_property(const form::UnitRecord& record, int index);
void write_common_property(WindowEntry& entry, form::UnitRecord& record, int index, Word low);

}  // namespace runtime::components
