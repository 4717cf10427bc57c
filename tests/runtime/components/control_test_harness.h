#pragma once
// A stored window whose units are standard-control kinds with every event wired to a recording
// handler, a native parent window that passes notifications back to its controls, and the kinds'
// operations called directly: enough to drive an edit box or a combo box as the window would.

#include "platform/message_loop.h"
#include "platform/native_window.h"
#include "runtime/components/component.h"
#include "runtime/components/notification_reflection.h"
#include "runtime/form/blocks/window_block.h"
#include "runtime/form/form_description.h"
#include "runtime/form/property_blocks.h"
#include "runtime/windows/event_dispatch.h"
#include "runtime/windows/window_table.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace control_test {

using namespace runtime;
using namespace runtime::components;

inline constexpr WindowId kWindow = 0x52010001;
inline constexpr ControlId kFirstControl = 0x16010001;
inline constexpr const char* kParentClass = "ControlKindsTestParent";
inline constexpr std::int32_t kRecordedEvents[] = {-8, -7, 0, 1, 2, 3, 4};

struct RaisedEvent {
    ControlId control = 0;
    std::int32_t event = 0;
    std::vector<std::int32_t> arguments;
};

inline std::vector<RaisedEvent>& raised_events()
{
    static std::vector<RaisedEvent> events;
    return events;
}

// Runs inside the handler, as an application's handler would.
inline std::function<void(const RaisedEvent&)>& event_handler_hook()
{
    static std::function<void(const RaisedEvent&)> hook;
    return hook;
}

template <std::int32_t Event> HandlerResult record_event(const std::int32_t* arguments, int count)
{
    RaisedEvent event{event_source().control, Event, std::vector<std::int32_t>(arguments, arguments + count)};
    raised_events().push_back(event);
    if (event_handler_hook())
        event_handler_hook()(event);
    return {};
}

inline std::uint32_t offset_of(std::int32_t event)
{
    return static_cast<std::uint32_t>((event + 16) * 16);
}

inline const HandlerTable& recording_handlers()
{
    static const HandlerEntry entries[] = {
        {offset_of(-8), &record_event<-8>}, {offset_of(-7), &record_event<-7>}, {offset_of(0), &record_event<0>},
        {offset_of(1), &record_event<1>},   {offset_of(2), &record_event<2>},   {offset_of(3), &record_event<3>},
        {offset_of(4), &record_event<4>},
    };
    static const HandlerTable table{entries, std::size(entries)};
    return table;
}

inline form::UnitRecord unit_record(ControlId id, const form::UnitFields& fields)
{
    auto record = form::UnitRecord::parse(id, form::write_unit_record(fields));
    EXPECT_TRUE(record.ok());
    return std::move(record).value();
}

// Fills the window table with one window whose units 1..count are of `kind`, every recorded event
// wired; registers the kind.
inline void store_window(KindId kind, const KindRecord& record, int count)
{
    register_kind(kind, &record);
    std::vector<form::UnitRecord> records;
    form::UnitFields own;
    own.kind = Kind::Window;
    own.property_block = form::write_property_block(form::WindowBlock{});
    records.push_back(unit_record(kWindowOwnUnit, own));
    for (int i = 0; i < count; ++i) {
        form::UnitFields fields;
        fields.kind = kind;
        for (std::int32_t event : kRecordedEvents)
            fields.events.push_back({event, offset_of(event), nullptr});
        records.push_back(unit_record(kFirstControl + i, fields));
    }
    form::FormDescription description;
    form::WindowUnit unit;
    unit.id = kWindow;
    unit.units = form::UnitTable(std::move(records));
    description.windows.push_back(std::move(unit));
    EXPECT_EQ(form::relocate_handlers(description, recording_handlers()), form::FormError::None);
    window_table().fill(std::move(description));
}

inline std::intptr_t parent_procedure(platform::WindowHandle handle, platform::Message& message)
{
    if (std::optional<std::intptr_t> answer = reflect_to_child(handle, message))
        return *answer;
    return platform::default_window_procedure(handle, message);
}

inline platform::WindowHandle make_parent()
{
    if (!platform::is_window_class_registered(kParentClass)) {
        platform::ClassInfo info;
        info.background = platform::Brush::solid(0xF0F0F0);
        info.procedure = &parent_procedure;
        platform::register_window_class(kParentClass, std::move(info));
    }
    platform::CreateParams params;
    params.class_name = kParentClass;
    params.style = platform::WS_OVERLAPPED | platform::WS_CAPTION | platform::WS_CLIPCHILDREN;
    params.x = 100;
    params.y = 100;
    params.width = 420;
    params.height = 320;
    platform::WindowHandle parent = platform::create_window(params);
    platform::show_window(parent, platform::ShowCommand::Show);
    platform::set_active_window(parent);
    platform::process_waiting_messages();
    return parent;
}

inline Component* create_control(const KindRecord& kind, const std::vector<std::uint8_t>& block,
                                 platform::WindowHandle parent, ControlId control, platform::Rect rect)
{
    auto create = reinterpret_cast<CreateOperation>(kind.interface_function(Interface::Create));
    CreateRequest request;
    request.block = block;
    request.parent = parent;
    request.child_id = control & 0xFFFF;
    request.left = rect.left;
    request.top = rect.top;
    request.width = rect.width();
    request.height = rect.height();
    request.window = kWindow;
    request.control = control;
    Component* component = create(request);
    if (component)
        platform::show_window(component->handle(), platform::ShowCommand::Show);
    return component;
}

inline int write_property(const KindRecord& kind, Component* component, int index, Word word1, Word word2 = 0)
{
    auto changed = reinterpret_cast<PropertyChangedOperation>(kind.interface_function(Interface::PropertyChanged));
    return changed(component, index, PropertyData{word1, word2});
}

inline int write_text(const KindRecord& kind, Component* component, int index, const std::string& text)
{
    return write_property(kind, component, index, reinterpret_cast<Word>(text.c_str()));
}

inline PropertyData read_property(const KindRecord& kind, Component* component, int index)
{
    auto read = reinterpret_cast<ReadPropertyOperation>(kind.interface_function(Interface::ReadProperty));
    PropertyData data;
    EXPECT_EQ(read(component, index, data), 1) << "property " << index + 8;
    return data;
}

inline std::string read_text(const KindRecord& kind, Component* component, int index)
{
    const char* text = reinterpret_cast<const char*>(read_property(kind, component, index).word1);
    return text ? text : "";
}

inline std::int32_t read_integer(const KindRecord& kind, Component* component, int index)
{
    return static_cast<std::int32_t>(read_property(kind, component, index).word1);
}

// Events of one number raised so far.
inline int count_events(std::int32_t event)
{
    int count = 0;
    for (const RaisedEvent& raised : raised_events())
        count += raised.event == event ? 1 : 0;
    return count;
}

// Rebuilds a control as the runtime does after `property changed` asked for it: saved block, a new
// control in the old rectangle, the old one destroyed.
inline Component* recreate(const KindRecord& kind, Component* component, platform::WindowHandle parent)
{
    auto save = reinterpret_cast<SavePropertiesOperation>(kind.interface_function(Interface::SaveProperties));
    std::optional<std::vector<std::uint8_t>> block = save(component);
    EXPECT_TRUE(block.has_value());
    platform::Rect rect = platform::window_rect_in_parent(component->handle());
    ControlId control = component->control_id();
    platform::WindowHandle old = component->handle();
    Component* rebuilt = create_control(kind, *block, parent, control, rect);
    platform::destroy_window(old);
    return rebuilt;
}

class ControlKindTest : public testing::Test {
protected:
    void SetUp() override
    {
        raised_events().clear();
        event_handler_hook() = nullptr;
        m_parent = make_parent();
    }

    void TearDown() override
    {
        event_handler_hook() = nullptr;
        platform::destroy_window(m_parent);
        platform::process_waiting_messages();
        window_table().clear();
    }

    platform::WindowHandle m_parent = 0;
};

}  // namespace control_test
