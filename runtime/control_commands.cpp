// Commands that take a control reference, and the window snapshot.

#include "runtime/commands.h"
#include "runtime/diagnostics/error_report.h"
#include "runtime/diagnostics/messages.h"

namespace runtime::commands {

// FIXME: resolving a control reference needs loaded windows, which arrive with the component
// model; until then no control exists, so the reference is reported as the program would.
void common_dialog_open(TypedValue*, int count, const TypedValue* arguments)
{
    WindowId window = count > 0 ? static_cast<WindowId>(arguments[0].low) : 0;
    ControlId control = count > 0 ? static_cast<ControlId>(arguments[0].high) : 0;
    report_runtime_error(messages::window_or_control_missing(), 0, window, control);
}

void window_handle(TypedValue*, int count, const TypedValue* arguments)
{
    WindowId window = count > 0 ? static_cast<WindowId>(arguments[0].low) : 0;
    ControlId control = count > 0 ? static_cast<ControlId>(arguments[0].high) : 0;
    report_runtime_error(messages::window_or_control_missing(), 0, window, control);
}

// FIXME: the capture itself arrives with the pictures work; a handle that names no window gives
// the empty byte set, which is every handle until windows can be loaded.
void window_snapshot(TypedValue* result, int, const TypedValue*)
{
    *result = TypedValue{0, 0, DataType::ByteSet};
}

}  // namespace runtime::commands
