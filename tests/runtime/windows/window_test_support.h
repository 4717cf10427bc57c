#pragma once
// Shared by the tests of window loading, property access, event dispatch and input events: stored
// windows made with the form writer, a small test kind ("TestBox") that records what the runtime
// does to it, and handlers that record every event they are raised with.

#include "runtime/boundary/program_state.h"
#include "runtime/components/component.h"
#include "runtime/components/window_kind.h"
#include "runtime/form/blocks/window_block.h"
#include "runtime/form/byte_reader.h"
#include "runtime/form/byte_writer.h"
#include "runtime/form/form_description.h"
#include "runtime/windows/event_dispatch.h"
#include "runtime/windows/input_events.h"
#include "runtime/windows/window_loading.h"
#include "runtime/windows/window_system.h"
#include "runtime/windows/window_table.h"

#include "platform/message_loop.h"
#include "platform/native_window.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace window_test {

using namespace runtime;
using namespace runtime::components;

inline constexpr WindowId kWindow = 0x52010001;
inline constexpr WindowId kOtherWindow = 0x52010002;
inline constexpr ControlId kOwnUnit = 0x06010000;
inline constexpr ControlId kBox1 = 0x16010001;
inline constexpr ControlId kBox2 = 0x16010002;
inline constexpr ControlId kBox3 = 0x16010003;
inline constexpr ControlId kBox4 = 0x16010004;

// Kinds of the tests, in slots no kind of the runtime uses.
inline constexpr KindId kTestBoxKind = 0x10030;
inline constexpr KindId kTestComboKind = 0x10031;  // flag 0x200: a child window inside raises as the combo
inline constexpr KindId kSilentKind = 0x10032;     // neither 0x40 nor 0x4: may not raise events
inline constexpr KindId kUnregisteredKind = 0x10033;

// A private message on which a test box raises its event 0.
inline constexpr std::uint32_t kRaiseEventMessage = 0x8100;

// ---- What happened ------------------------------------------------------------------------------

struct LoggedEvent {
    WindowId window = 0;
    ControlId control = 0;
    std::int32_t event = 0;
    std::vector<std::int32_t> arguments;
    bool operator==(const LoggedEvent&) const = default;
};

struct TestLog {
    std::vector<LoggedEvent> events;
    std::vector<ControlId> created;      // test boxes in creation order
    std::map<ControlId, int> child_ids;  // child-window id each box was made with
    std::vector<std::pair<ControlId, std::uint32_t>> private_messages;
    std::vector<std::pair<ControlId, std::uint32_t>> input;  // input messages a box received
    std::map<std::int32_t, HandlerResult> results;           // what the handler of an event returns
    std::map<std::int32_t, std::function<void()>> actions;   // run inside the handler of an event
    std::function<void(ControlId)> on_create;                // run when a test box has been made

    void clear() { *this = TestLog(); }
    std::vector<std::int32_t> event_numbers(WindowId window, ControlId control) const
    {
        std::vector<std::int32_t> numbers;
        for (const LoggedEvent& event : events) {
            if (event.window == window && event.control == control)
                numbers.push_back(event.event);
        }
        return numbers;
    }
};

inline TestLog& test_log()
{
    static TestLog log;
    return log;
}

// ---- Handlers -----------------------------------------------------------------------------------

inline constexpr std::int32_t kFirstEvent = -12;
inline constexpr std::int32_t kLastEvent = 12;

inline std::uint32_t handler_offset(std::int32_t event)
{
    return 0x100 + static_cast<std::uint32_t>(event - kFirstEvent) * 0x10;
}

template <std::int32_t Event> HandlerResult logging_handler(const std::int32_t* arguments, int count)
{
    TestLog& log = test_log();
    EventSource source = event_source();
    std::vector<std::int32_t> values(arguments, arguments + count);
    log.events.push_back({source.window, source.control, Event, std::move(values)});
    if (auto action = log.actions.find(Event); action != log.actions.end())
        action->second();
    auto result = log.results.find(Event);
    return result != log.results.end() ? result->second : HandlerResult{};
}

template <std::int32_t... Events> const HandlerTable& make_handler_table(std::integer_sequence<std::int32_t, Events...>)
{
    static const HandlerEntry entries[] = {
        {handler_offset(Events + kFirstEvent), logging_handler<Events + kFirstEvent>}...};
    static const HandlerTable table{entries, sizeof...(Events)};
    return table;
}

inline const HandlerTable& logging_handlers()
{
    return make_handler_table(std::make_integer_sequence<std::int32_t, kLastEvent - kFirstEvent + 1>());
}

// Every event from -12 to 12, each with its own logging handler.
inline std::vector<form::EventEntry> all_events()
{
    std::vector<form::EventEntry> events;
    for (std::int32_t event = kFirstEvent; event <= kLastEvent; ++event)
        events.push_back({event, handler_offset(event), nullptr});
    return events;
}

// ---- The test kind ------------------------------------------------------------------------------

// Block: version (1), counted text "content", dword "flag" (what the logical property reports).
struct TestBoxBlock {
    std::string content;
    std::uint32_t flag = 0;
};

inline std::vector<std::uint8_t> write_test_box_block(const TestBoxBlock& block)
{
    form::ByteWriter out;
    out.dword(1);
    out.counted_text(block.content);
    out.dword(block.flag);
    return out.take();
}

// Own properties (index minus 8).
namespace TestBoxProperty {
inline constexpr int Flag = 0;     // 8 logical; reports the stored word as it is (2 stays 2)
inline constexpr int Font = 1;     // 9 font; no font until one is written
inline constexpr int Content = 2;  // 10 text; writing it asks for re-creation
inline constexpr int Picture = 3;  // 11 picture bytes
inline constexpr int Choice = 4;   // 12 pick
}  // namespace TestBoxProperty

class TestBox final : public Component {
public:
    TestBox(WindowId window, ControlId control, TestBoxBlock block)
        : Component(window, control)
        , m_block(std::move(block))
    {
    }
    void attach(platform::WindowHandle handle) { set_handle(handle); }

    TestBoxBlock m_block;
    std::optional<platform::LogFont> m_font;
    std::vector<std::uint8_t> m_picture;
    std::uint32_t m_choice = 0;
    bool m_picture_written = false;
};

inline const char kTestBoxClass[] = "TestBox";
inline const char kTestInnerClass[] = "TestBoxInner";

inline std::intptr_t test_box_procedure(platform::WindowHandle handle, platform::Message& message)
{
    using namespace platform;
    if (message.id == WM_CREATE) {
        const auto* params = reinterpret_cast<const CreateParams*>(message.lparam);
        auto* box = reinterpret_cast<TestBox*>(params->create_data);
        set_window_user_data(handle, params->create_data);
        box->attach(handle);
        return 0;
    }
    auto* box = reinterpret_cast<TestBox*>(window_user_data(handle));
    if (!box)
        return default_window_procedure(handle, message);
    TestLog& log = test_log();
    switch (message.id) {
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        handle_common_message(*box, message);
        return 0;
    case WM_NCDESTROY: {
        std::intptr_t result = default_window_procedure(handle, message);
        WindowId window = box->window_id();
        ControlId control = box->control_id();
        set_window_user_data(handle, 0);
        delete box;
        notify_unit_destroyed(window, control);
        return result;
    }
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_KEYDOWN:
    case WM_CHAR:
        log.input.emplace_back(box->control_id(),
                               message.id == WM_CHAR ? static_cast<std::uint32_t>(message.wparam) : message.id);
        return default_window_procedure(handle, message);
    case kRaiseEventMessage: {
        EventRecord record{box->window_id(), box->control_id(), 0};
        raise_event(record);
        return 0;
    }
    default:
        if (message.id == PrivateMessage::Created || message.id == PrivateMessage::LoadFinished ||
            message.id == PrivateMessage::ChildrenChanged)
            log.private_messages.emplace_back(box->control_id(), message.id);
        return default_window_procedure(handle, message);
    }
}

inline Component* create_test_box(const CreateRequest& request, bool with_inner_window)
{
    form::ByteReader in(request.block);
    std::uint32_t version = in.dword();
    TestBoxBlock block;
    block.content = in.counted_text();
    block.flag = in.dword();
    if (in.failed() || version > 1)
        return nullptr;
    auto* box = new TestBox(request.window, request.control, std::move(block));
    platform::CreateParams params;
    params.class_name = kTestBoxClass;
    params.text = box->m_block.content;
    params.style = platform::WS_CHILD | request.style_bits;
    params.x = request.left;
    params.y = request.top;
    params.width = request.width;
    params.height = request.height;
    params.parent = request.parent;
    params.id = request.child_id;
    params.create_data = reinterpret_cast<std::intptr_t>(box);
    if (!platform::create_window(params)) {
        delete box;
        return nullptr;
    }
    test_log().created.push_back(request.control);
    test_log().child_ids[request.control] = request.child_id;
    if (test_log().on_create)
        test_log().on_create(request.control);
    if (with_inner_window) {
        platform::CreateParams inner;
        inner.class_name = kTestInnerClass;
        inner.style = platform::WS_CHILD | platform::WS_VISIBLE;
        inner.x = 2;
        inner.y = 2;
        inner.width = 20;
        inner.height = 10;
        inner.parent = box->handle();
        platform::create_window(inner);
    }
    return box;
}

inline Component* create_plain_test_box(const CreateRequest& request)
{
    return create_test_box(request, false);
}

inline Component* create_test_combo(const CreateRequest& request)
{
    return create_test_box(request, true);
}

inline int test_box_read(Component* component, int index, PropertyData& data)
{
    auto* box = static_cast<TestBox*>(component);
    switch (index) {
    case TestBoxProperty::Flag:
        data.word1 = box->m_block.flag;
        return 1;
    case TestBoxProperty::Font:
        if (box->m_font) {
            data.word1 = reinterpret_cast<Word>(&*box->m_font);
            data.word2 = sizeof(platform::LogFont);
        }
        return 1;
    case TestBoxProperty::Content:
        data.word1 = reinterpret_cast<Word>(box->m_block.content.c_str());
        return 1;
    case TestBoxProperty::Picture:
        data.word1 = box->m_picture.empty() ? 0 : reinterpret_cast<Word>(box->m_picture.data());
        data.word2 = box->m_picture.size();
        return 1;
    case TestBoxProperty::Choice:
        data.word1 = box->m_choice;
        return 1;
    default:
        return 0;
    }
}

inline int test_box_changed(Component* component, int index, const PropertyData& data)
{
    auto* box = static_cast<TestBox*>(component);
    switch (index) {
    case TestBoxProperty::Flag:
        box->m_block.flag = static_cast<std::uint32_t>(data.word1);
        return 0;
    case TestBoxProperty::Font:
        if (data.word1 && data.word2 == sizeof(platform::LogFont))
            box->m_font = platform::log_font_from_bytes(reinterpret_cast<const void*>(data.word1));
        return 0;
    case TestBoxProperty::Content:
        box->m_block.content = reinterpret_cast<const char*>(data.word1);
        return 1;
    case TestBoxProperty::Picture: {
        const auto* bytes = reinterpret_cast<const std::uint8_t*>(data.word1);
        box->m_picture.assign(bytes, bytes + data.word2);
        box->m_picture_written = true;
        return 0;
    }
    case TestBoxProperty::Choice:
        box->m_choice = static_cast<std::uint32_t>(data.word1);
        return 0;
    default:
        return 0;
    }
}

inline std::optional<std::vector<std::uint8_t>> test_box_save(Component* component)
{
    return write_test_box_block(static_cast<TestBox*>(component)->m_block);
}

template <bool WithInnerWindow> Operation test_box_interface(int number)
{
    switch (number) {
    case Interface::Create:
        return as_operation(WithInnerWindow ? &create_test_combo : &create_plain_test_box);
    case Interface::PropertyChanged:
        return as_operation(&test_box_changed);
    case Interface::SaveProperties:
        return as_operation(&test_box_save);
    case Interface::ReadProperty:
        return as_operation(&test_box_read);
    default:
        return nullptr;
    }
}

inline constexpr PropertyEntry kTestBoxProperties[] = {
    {TypeCode::Number, 0xE000},  {TypeCode::Number, 0xE000},       {TypeCode::Number, 0xE000},
    {TypeCode::Number, 0xE000},  {TypeCode::Text, 0xE000},         {TypeCode::Logical, 0xE000},
    {TypeCode::Logical, 0xE000}, {TypeCode::MousePointer, 0xE000}, {TypeCode::Logical, 0x8000},
    {TypeCode::Font, 0x8000},    {TypeCode::Text, 0x8000},         {TypeCode::Picture, 0x8000},
    {TypeCode::Pick, 0x8000},
};

inline void register_test_kinds()
{
    static const KindRecord box{"测试框", "TestBox",          KindFlag::RaisesEvents | KindFlag::Container,
                                13,       kTestBoxProperties, test_box_interface<false>};
    static const KindRecord combo{
        "测试组合框", "TestCombo",        KindFlag::RaisesEvents | KindFlag::ContainsEditField,
        13,           kTestBoxProperties, test_box_interface<true>};
    static const KindRecord silent{"无事件", "Silent", 0, 13, kTestBoxProperties, test_box_interface<false>};
    register_builtin_kinds();
    register_kind(kTestBoxKind, &box);
    register_kind(kTestComboKind, &combo);
    register_kind(kSilentKind, &silent);
    if (!platform::is_window_class_registered(kTestBoxClass))
        platform::register_window_class(
            kTestBoxClass, {platform::CS_DBLCLKS, 0, platform::Brush::solid(0x00FF00), test_box_procedure});
    if (!platform::is_window_class_registered(kTestInnerClass))
        platform::register_window_class(kTestInnerClass, {0, 0, platform::Brush::solid(0x0000FF), {}});
}

// ---- Stored windows -----------------------------------------------------------------------------

inline form::UnitFields window_unit(const form::WindowBlock& block = {}, int left = 40, int top = 30, int width = 320,
                                    int height = 240)
{
    form::UnitFields fields;
    fields.kind = Kind::Window;
    fields.left = left;
    fields.top = top;
    fields.width = width;
    fields.height = height;
    fields.tag = "window";
    fields.events = all_events();
    fields.property_block = form::write_property_block(block);
    return fields;
}

inline form::UnitFields box_unit(int left, int top, int width, int height, ControlId parent = 0,
                                 KindId kind = kTestBoxKind, std::string content = "box")
{
    form::UnitFields fields;
    fields.kind = kind;
    fields.name = "box";
    fields.left = left;
    fields.top = top;
    fields.width = width;
    fields.height = height;
    fields.parent = parent;
    fields.tag = "box";
    fields.state_flags = form::StateFlag::Visible | form::StateFlag::TabStop;
    fields.events = all_events();
    fields.property_block = write_test_box_block({std::move(content), 0});
    return fields;
}

struct StoredWindow {
    WindowId id = kWindow;
    std::vector<std::pair<ControlId, form::UnitFields>> units;
};

// Replaces the window table with these windows, their handlers relocated to the logging handlers.
inline void install_windows(const std::vector<StoredWindow>& windows)
{
    form::FormDescription description;
    for (const StoredWindow& window : windows) {
        std::vector<form::UnitRecord> records;
        for (const auto& [id, fields] : window.units) {
            auto record = form::UnitRecord::parse(id, form::write_unit_record(fields));
            ASSERT_TRUE(record.ok());
            records.push_back(std::move(record).value());
        }
        form::WindowUnit unit;
        unit.id = window.id;
        unit.units = form::UnitTable(std::move(records));
        description.windows.push_back(std::move(unit));
    }
    ASSERT_EQ(form::relocate_handlers(description, logging_handlers()), form::FormError::None);
    window_table().fill(std::move(description));
}

// ---- Fixture ------------------------------------------------------------------------------------

struct WindowTest : testing::Test {
    void SetUp() override
    {
        // No program header: the current header format, whatever an earlier test adopted.
        program_state().header = nullptr;
        register_test_kinds();
        create_hidden_owner_window();
        install_input_filter();
        test_log().clear();
    }
    void TearDown() override
    {
        destroy_remaining_windows();
        platform::process_waiting_messages();
        window_table().clear();
        test_log().clear();
    }

    static WindowEntry& entry(WindowId window = kWindow) { return *window_table().find(window); }
    static platform::WindowHandle handle_of(ControlId control, WindowId window = kWindow)
    {
        form::UnitRecord* record = window_table().find_unit_record(window, control);
        Component* component = record ? component_of(*record) : nullptr;
        return component ? component->handle() : 0;
    }
    static platform::WindowHandle window_handle(WindowId window = kWindow)
    {
        WindowObject* object = window_object(entry(window));
        return object ? object->handle() : 0;
    }
    static TestBox* box(ControlId control, WindowId window = kWindow)
    {
        form::UnitRecord* record = window_table().find_unit_record(window, control);
        return record ? dynamic_cast<TestBox*>(component_of(*record)) : nullptr;
    }
    static bool load(WindowId window = kWindow) { return create_window(entry(window), NewInstance::No, Modal::No, 0); }
};

}  // namespace window_test
