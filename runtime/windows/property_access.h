#pragma once
// The get-property and set-property entries: controls addressed by (window identifier, control
// identifier, property index, member selector).

#include "runtime/boundary/values.h"

namespace runtime {

PropertyValue get_property_entry(WindowId window, ControlId control, std::int32_t index, std::int32_t member);
void set_property_entry(WindowId window, ControlId control, std::int32_t index, std::int32_t member, Word low,
                        Word high);

// Runtime services 4 and 5: the same, for a component object held directly. The object must be the
// component (or window object) of a unit of a loaded window; any other pointer is reported as a
// control that does not exist, and is never used.
PropertyValue get_object_property(const void* object, std::int32_t index, std::int32_t member);
void set_object_property(const void* object, std::int32_t index, std::int32_t member, Word low, Word high);

}  // namespace runtime
