#pragma once
// The get-property and set-property entries: controls addressed by (window identifier, control
// identifier, property index, member selector).

#include "runtime/boundary/values.h"

namespace runtime {

PropertyValue get_property_entry(WindowId window, ControlId control, std::int32_t index, std::int32_t member);
void set_property_entry(WindowId window, ControlId control, std::int32_t index, std::int32_t member, Word low,
                        Word high);

}  // namespace runtime
