#include "runtime/windows/event_dispatch.h"

#include "platform/dialogs.h"
#include "tests/runtime/windows/window_test_support.h"
#include "tests/support/exit_status.h"

namespace window_test {
namespace {

using Events = std::vector<std::int32_t>;

constexpr ControlId kLinked = 0x16010005;
constexpr ControlId kSilent = 0x16010006;
constexpr ControlId kNoHandler = 0x16010007;

StoredWindow dispatch_window()
{
    form::UnitFields linked = box_unit(0, 0, 10, 10);
    linked.events.clear();
    linked.event_link = kBox1;
    form::UnitFields silent = box_unit(0, 0, 10, 10, 0, kSilentKind);
    form::UnitFields no_handler = box_unit(0, 0, 10, 10);
    no_handler.events = {{0, form::kNoHandlerOffset, nullptr}, {0, handler_offset(0), nullptr}};
    return {kWindow,
            {{kOwnUnit, window_unit()},
             {kBox1, box_unit(0, 0, 10, 10)},
             {kLinked, linked},
             {kSilent, silent},
             {kNoHandler, no_handler}}};
}

struct EventDispatch : WindowTest {
    void SetUp() override
    {
        WindowTest::SetUp();
        install_windows({dispatch_window()});
    }
};

TEST_F(EventDispatch, CallsTheHandlerWithTheArgumentsAndKeepsItsResult)
{
    test_log().results[-9] = {true, 0};
    EventRecord record{kWindow, kBox1, -9, 2, {65, 1}};
    EXPECT_TRUE(raise_event(record));
    EXPECT_TRUE(record.result_present);
    EXPECT_TRUE(cancelled_by_handler(record));
    ASSERT_EQ(test_log().events.size(), 1u);
    EXPECT_EQ(test_log().events[0], (LoggedEvent{kWindow, kBox1, -9, {65, 1}}));
    // The source is forgotten once the handler has returned.
    EXPECT_EQ(event_source().window, 0);

    // No result: nothing is cancelled.
    EventRecord quiet{kWindow, 0, 3};
    EXPECT_TRUE(raise_event(quiet));
    EXPECT_FALSE(quiet.result_present);
    EXPECT_FALSE(cancelled_by_handler(quiet));
    EXPECT_EQ(test_log().events.back().control, kOwnUnit);  // 0 names the window's own unit
}

TEST_F(EventDispatch, FollowsEventLinksAndIgnoresMissingHandlers)
{
    EventRecord linked{kWindow, kLinked, 0};
    EXPECT_TRUE(raise_event(linked));
    EXPECT_EQ(test_log().events.back().control, kLinked);

    // The first entry for the event has no handler: as if there were no entry.
    EventRecord none{kWindow, kNoHandler, 0};
    EXPECT_FALSE(raise_event(none));
    EventRecord unknown_event{kWindow, kBox1, 40};
    EXPECT_FALSE(raise_event(unknown_event));
    EXPECT_EQ(test_log().events.size(), 1u);
}

TEST_F(EventDispatch, LinksThatFormARingEndTheWalk)
{
    StoredWindow window = dispatch_window();
    window.units[1].second.event_link = kLinked;  // box 1 → linked → box 1
    install_windows({window});
    EventRecord record{kWindow, kLinked, 0};
    raise_event(record);  // returns; which table wins does not matter
    SUCCEED();
}

TEST_F(EventDispatch, TypedArgumentsBecomeParameterWords)
{
    TypedEventRecord record;
    record.window = kWindow;
    record.control = kBox1;
    record.event = 5;
    record.argument_count = 5;
    record.arguments[0] = {0x1FF, 0, 0x80000101, 0};   // byte: low byte
    record.arguments[1] = {0xFFFE, 0, 0x80000201, 0};  // short: sign-extended
    record.arguments[2] = {1, 2, 0x80000601, 0};       // two words
    record.arguments[3] = {0x1234, 9, 0x80000301, ArgumentFlag::ByReference};
    record.arguments[4] = {7, 8, 0x80000301, 0};  // one word
    test_log().results[5] = {true, 42};
    EXPECT_TRUE(raise_typed_event(record));
    ASSERT_EQ(test_log().events.size(), 1u);
    EXPECT_EQ(test_log().events[0].arguments, (Events{0xFF, -2, 1, 2, 0x1234, 7}));
    EXPECT_TRUE(record.result_present);
    EXPECT_EQ(record.result[0], 42u);
}

void raise_plain_event(WindowId window, ControlId control)
{
    EventRecord record;
    record.window = window;
    record.control = control;
    raise_event(record);
}

void expect_dispatch_error(WindowId window, ControlId control, const char* message)
{
    EXPECT_EXIT(
        {
            platform::ScriptedDialogService dialogs;
            platform::set_dialog_service(&dialogs);
            raise_plain_event(window, control);
        },
        test_support::ended_with_minus_one(), message);
}

TEST_F(EventDispatch, EventsOfUnknownOrInvalidUnitsAreReportedErrors)
{
    expect_dispatch_error(0x52010077, kBox1, "未找到引发事件的窗口");
    expect_dispatch_error(kWindow, 0x16010077, "未找到引发事件的窗口组件");
    expect_dispatch_error(kWindow, kSilent, "引发事件的窗口组件无效");
}

TEST_F(EventDispatch, FocusGoesToTheFirstControlByTabOrder)
{
    StoredWindow window = dispatch_window();
    window.units.resize(2);
    window.units.emplace_back(kBox2, box_unit(0, 20, 10, 10));
    window.units.emplace_back(kBox3, box_unit(0, 40, 10, 10));
    window.units[1].second.tab_order = 2;  // box 1
    window.units[2].second.tab_order = 1;  // box 2
    window.units[3].second.tab_order = 1;  // box 3: ties go to the later unit
    install_windows({window});
    ASSERT_TRUE(load());
    platform::set_focus(0);
    test_log().events.clear();

    window_object(entry())->pass_focus_on();
    EXPECT_EQ(platform::focus_window(), handle_of(kBox3));
    EXPECT_EQ(test_log().event_numbers(kWindow, kBox3), (Events{-7}));

    // The control that had the focus last gets it back when the window gets the focus.
    platform::set_focus(handle_of(kBox1));
    platform::set_focus(window_handle());
    EXPECT_EQ(platform::focus_window(), handle_of(kBox1));
    EXPECT_EQ(test_log().event_numbers(kWindow, kBox3), (Events{-7, -8}));
    EXPECT_EQ(test_log().event_numbers(kWindow, kOwnUnit), (Events{-7, -8}));
}

}  // namespace
}  // namespace window_test
