#pragma once
// The application's only way into the runtime: the entry table handed to the start routine, and
// small wrappers that keep the handlers readable.

#include "runtime/boundary/commands.h"
#include "runtime/boundary/entry_table.h"

namespace app {

// Set once by the start routine (tests set it to a recording table of their own).
void link_runtime(const runtime::EntryTable& table);
const runtime::EntryTable& rt();

// Whole-value property access on the main window.
runtime::PropertyValue get(runtime::ControlId control, std::int32_t index);
void set(runtime::ControlId control, std::int32_t index, runtime::Word low, runtime::Word high = 0);
void set_integer(runtime::ControlId control, std::int32_t index, std::int32_t value);

inline char* as_text(runtime::PropertyValue value)
{
    return reinterpret_cast<char*>(value.low);
}

}  // namespace app
