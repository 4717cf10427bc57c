// Commands that take a control reference (the window snapshot is in runtime/imaging/).

#include "platform/native_window.h"
#include "runtime/boundary/commands.h"
#include "runtime/components/common_dialog_operations.h"
#include "runtime/diagnostics/error_report.h"
#include "runtime/diagnostics/messages.h"
#include "runtime/windows/window_system.h"
#include "runtime/windows/window_table.h"

namespace runtime::commands {
namespace {

// The live component a control reference names; the program ends when there is none.
components::Component* resolve_control_reference(int count, const TypedValue* arguments)
{
    WindowId window = count > 0 ? static_cast<WindowId>(arguments[0].low) : 0;
    ControlId control = count > 0 ? static_cast<ControlId>(arguments[0].high) : 0;
    form::UnitRecord* record = window_table().find_unit_record(window, control);
    components::Component* component = record ? component_of(*record) : nullptr;
    if (!component || !platform::is_window(component->handle()))
        report_runtime_error(messages::window_or_control_missing(), 0, window, control);
    return component;
}

}  // namespace

void common_dialog_open(TypedValue* result, int count, const TypedValue* arguments)
{
    components::Component* component = resolve_control_reference(count, arguments);
    *result = TypedValue{static_cast<Word>(components::open_common_dialog(component)), 0, DataType::Integer};
}

void window_handle(TypedValue* result, int count, const TypedValue* arguments)
{
    components::Component* component = resolve_control_reference(count, arguments);
    *result = TypedValue{static_cast<Word>(component->handle()), 0, DataType::Integer};
}

}  // namespace runtime::commands
