#pragma once
// Event dispatch: a component raises an event record (window, unit, event number, arguments); the
// handler stored in the unit's event table runs at once and its result goes back into the record.
// The plain record is in runtime/components/component.h; the typed form is here.

#include "runtime/boundary/values.h"

#include <cstdint>

namespace runtime {

// The window and unit of the event whose handler is running (window 0 when none runs).
struct EventSource {
    WindowId window = 0;
    ControlId control = 0;
};
EventSource event_source();

// Typed event records: arguments as typed values with flags.
namespace ArgumentFlag {
inline constexpr std::uint32_t ByReference = 0x1;
inline constexpr std::uint32_t TwoWords = 0x2;
}  // namespace ArgumentFlag

inline constexpr int kMaxTypedEventArguments = 12;

struct TypedEventArgument {
    Word word1 = 0;
    Word word2 = 0;
    std::uint32_t type = 0;
    std::uint32_t flags = 0;
};

struct TypedEventRecord {
    WindowId window = 0;
    ControlId control = 0;  // 0: the window's own unit
    std::int32_t event = 0;
    int argument_count = 0;
    TypedEventArgument arguments[kMaxTypedEventArguments] = {};
    bool result_present = false;
    Word result[2] = {};
};

// Returns true when a handler ran.
bool raise_typed_event(TypedEventRecord& record);

}  // namespace runtime
