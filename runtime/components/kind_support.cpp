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

}  // namespace runtime::components
