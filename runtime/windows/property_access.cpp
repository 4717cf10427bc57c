// Get property and set property: the control is found by window and control identifier, the
// common properties are the runtime's own, and the kind's own properties go through its
// operations with their values converted by type code.

#include "runtime/windows/property_access.h"

#include "platform/native_window.h"
#include "runtime/components/common_properties.h"
#include "runtime/components/component.h"
#include "runtime/components/property_conversion.h"
#include "runtime/diagnostics/error_report.h"
#include "runtime/diagnostics/messages.h"
#include "runtime/windows/window_system.h"
#include "runtime/windows/window_table.h"

namespace runtime {
namespace {

using namespace components;

struct Target {
    WindowEntry* entry = nullptr;
    form::UnitRecord* record = nullptr;
};

// The window must be described and the control must be one of its units.
Target find_target(WindowId window, ControlId control)
{
    WindowEntry* entry = window_table().find(window);
    if (!entry)
        report_runtime_error(messages::window_not_described(), 0, window, control);
    form::UnitRecord* record = entry->unit.units.find(control);
    if (!record)
        report_runtime_error(messages::control_missing(), 0, window, control);
    return {entry, record};
}

// The live component of the control, or nothing when its native window does not exist.
Component* live_component(const form::UnitRecord& record)
{
    Component* component = component_of(record);
    if (!component || !platform::is_window(component->handle()))
        return nullptr;
    return component;
}

const PropertyEntry* property_entry(const KindRecord* kind, std::int32_t index)
{
    if (!kind || !kind->properties || index < 0 || index >= kind->property_count)
        return nullptr;
    return &kind->properties[index];
}

struct Address {
    WindowId window = 0;
    ControlId control = 0;
};

// The window and control whose live component `object` is, found by comparing addresses only.
Address address_of_object(const void* object)
{
    if (object) {
        for (WindowEntry& entry : window_table().entries()) {
            for (const form::UnitRecord& record : entry.unit.units.records()) {
                if (!record.is_menu_item() && component_of(record) == object)
                    return {entry.unit.id, record.id()};
            }
        }
    }
    report_runtime_error(messages::window_or_control_missing(), 0, 0, 0);
}

template <class Operation> Operation operation(const KindRecord* kind, int number)
{
    if (!kind || !kind->interface_function)
        return nullptr;
    return reinterpret_cast<Operation>(kind->interface_function(number));
}

}  // namespace

PropertyValue get_property_entry(WindowId window, ControlId control, std::int32_t index, std::int32_t member)
{
    Target target = find_target(window, control);
    if (target.record->is_menu_item() || index < 0)
        return {};
    if (index < kCommonPropertyCount)
        return read_common_property(*target.record, index);

    Component* component = live_component(*target.record);
    if (!component)
        report_runtime_error(messages::read_property_window_not_loaded(), 0, window, control);
    const KindRecord* kind = find_kind(target.record->kind());
    const PropertyEntry* entry = property_entry(kind, index);
    auto read = operation<ReadPropertyOperation>(kind, Interface::ReadProperty);
    if (!entry || !read)
        return {};
    PropertyData data;
    if (read(component, index - kCommonPropertyCount, data) != 1)
        return {};
    return convert_read_property(entry->type_code, member, data);
}

void set_property_entry(WindowId window, ControlId control, std::int32_t index, std::int32_t member, Word low,
                        Word high)
{
    Target target = find_target(window, control);
    if (target.record->is_menu_item() || index < 0)
        return;
    if (index < kCommonPropertyCount) {
        write_common_property(*target.entry, *target.record, index, low);
        return;
    }

    Component* component = live_component(*target.record);
    if (!component)
        report_runtime_error(messages::write_property_window_not_loaded(), 0, window, control);
    const KindRecord* kind = find_kind(target.record->kind());
    const PropertyEntry* entry = property_entry(kind, index);
    auto changed = operation<PropertyChangedOperation>(kind, Interface::PropertyChanged);
    if (!entry || !changed)
        return;
    int own_index = index - kCommonPropertyCount;
    auto read = operation<ReadPropertyOperation>(kind, Interface::ReadProperty);
    auto current_font = [&]() -> std::optional<PropertyData> {
        PropertyData data;
        if (!read || read(component, own_index, data) != 1)
            return std::nullopt;
        return data;
    };
    WrittenProperty written(entry->type_code, member, low, high, current_font);
    if (changed(component, own_index, written.data) == 1 && live_component(*target.record) == component)
        recreate_component(window, control);
}

PropertyValue get_object_property(const void* object, std::int32_t index, std::int32_t member)
{
    Address address = address_of_object(object);
    return get_property_entry(address.window, address.control, index, member);
}

void set_object_property(const void* object, std::int32_t index, std::int32_t member, Word low, Word high)
{
    Address address = address_of_object(object);
    set_property_entry(address.window, address.control, index, member, low, high);
}

}  // namespace runtime
