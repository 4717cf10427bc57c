#include "runtime/components/kind_support.h"

namespace runtime::components {

EventRecord event_of(const Component& component, std::int32_t event)
{
    EventRecord record;
    record.window = component.window_id();
    record.control = component.control_id();
    record.event = event;
    return record;
}

bool register_kind_class(const std::string& name, std::uint32_t class_style, platform::WindowProcedure procedure)
{
    if (platform::is_window_class_registered(name))
        return true;
    platform::ClassInfo info;
    info.style = class_style;
    info.background = platform::Brush::null_brush();
    info.procedure = std::move(procedure);
    return platform::register_window_class(name, std::move(info));
}

}  // namespace runtime::components
