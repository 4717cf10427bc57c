#include "runtime/property_access.h"

#include "runtime/diagnostics/error_report.h"
#include "runtime/diagnostics/messages.h"

namespace runtime {

// FIXME: common properties from the stored records and the kinds' own properties arrive with the
// component model. Until then no window can be loaded, so every access ends in the report for a
// window that is not loaded.
PropertyValue get_property_entry(WindowId window, ControlId control, std::int32_t, std::int32_t)
{
    report_runtime_error(messages::read_property_window_not_loaded(), 0, window, control);
}

void set_property_entry(WindowId window, ControlId control, std::int32_t, std::int32_t, Word, Word)
{
    report_runtime_error(messages::write_property_window_not_loaded(), 0, window, control);
}

}  // namespace runtime
