#include "runtime/windows/window_loading.h"

#include "platform/dialogs.h"
#include "platform/system_colours.h"
#include "platform/text_encoding.h"
#include "runtime/boundary/program_end.h"
#include "runtime/windows/property_access.h"
#include "tests/runtime/windows/window_test_support.h"
#include "tests/support/exit_status.h"

#include <algorithm>

namespace window_test {
namespace {

using Events = std::vector<std::int32_t>;

// Window; box 1 and box 3 directly on it; boxes 2 and 4 inside box 1.
StoredWindow nested_window()
{
    return {kWindow,
            {{kOwnUnit, window_unit()},
             {kBox1, box_unit(10, 10, 200, 150)},
             {kBox2, box_unit(5, 5, 50, 40, kBox1)},
             {kBox3, box_unit(30, 30, 100, 100)},
             {kBox4, box_unit(20, 20, 50, 40, kBox1)}}};
}

struct WindowLoading : WindowTest { };

TEST_F(WindowLoading, CreatesLastUnitFirstAndStacksInTableOrder)
{
    install_windows({nested_window()});
    ASSERT_TRUE(load());

    EXPECT_EQ(test_log().created, (std::vector<ControlId>{kBox4, kBox3, kBox2, kBox1}));
    EXPECT_EQ(test_log().child_ids, (std::map<ControlId, int>{{kBox4, 100}, {kBox3, 110}, {kBox2, 120}, {kBox1, 130}}));

    // Each component under its stored parent, earlier units above later ones.
    EXPECT_EQ(platform::child_windows(window_handle()), (std::vector{handle_of(kBox1), handle_of(kBox3)}));
    EXPECT_EQ(platform::child_windows(handle_of(kBox1))[0], handle_of(kBox2));
    EXPECT_EQ(platform::child_windows(handle_of(kBox1))[1], handle_of(kBox4));
    EXPECT_EQ(platform::window_rect_in_parent(handle_of(kBox2)).left, 5);

    // 0x806F from the last unit down, then 0x8076 the same way after the events.
    std::vector<std::pair<ControlId, std::uint32_t>> expected;
    for (std::uint32_t message : {PrivateMessage::Created, PrivateMessage::LoadFinished}) {
        for (ControlId box : {kBox4, kBox3, kBox2, kBox1})
            expected.emplace_back(box, message);
    }
    EXPECT_EQ(test_log().private_messages, expected);
    EXPECT_TRUE(platform::is_visible(window_handle()));
    EXPECT_TRUE(window_object(entry())->fully_created);
}

TEST_F(WindowLoading, RaisesCreatedMovedResizedOnceAfterTheComponentsExist)
{
    install_windows({nested_window()});
    bool boxes_existed = false;
    test_log().actions[0] = [&] { boxes_existed = handle_of(kBox1) && handle_of(kBox4); };
    ASSERT_TRUE(load());

    Events window_events = test_log().event_numbers(kWindow, kOwnUnit);
    ASSERT_GE(window_events.size(), 3u);
    // The moves and resizes of creation itself reach no handler; the loader's own come first.
    EXPECT_EQ(Events(window_events.begin(), window_events.begin() + 3), (Events{0, 3, 4}));
    EXPECT_EQ(std::count(window_events.begin(), window_events.end(), 0), 1);
    EXPECT_TRUE(boxes_existed);
}

TEST_F(WindowLoading, AHandlerClosingTheWindowInEventZeroEndsTheSequence)
{
    install_windows({nested_window()});
    test_log().actions[0] = [] { platform::destroy_window(window_handle()); };
    EXPECT_TRUE(load());

    Events events = test_log().event_numbers(kWindow, kOwnUnit);
    EXPECT_EQ(events.front(), 0);
    EXPECT_NE(std::find(events.begin(), events.end(), 2), events.end());
    EXPECT_EQ(std::find(events.begin(), events.end(), 3), events.end());
    EXPECT_EQ(std::find(events.begin(), events.end(), 4), events.end());
    EXPECT_FALSE(window_is_live(entry()));
    // The description is as stored again, ready for the next load.
    EXPECT_EQ(component_of(entry().unit.units.record(1)), nullptr);
    EXPECT_TRUE(entry().pristine.empty());
}

TEST_F(WindowLoading, ProcessesQueuedMessagesFirstAndDropsEventsDuringTheLoad)
{
    StoredWindow second{kOtherWindow, {{kOwnUnit, window_unit()}, {kBox1, box_unit(0, 0, 40, 40)}}};
    install_windows({nested_window(), second});
    ASSERT_TRUE(load(kWindow));
    platform::WindowHandle first_box = handle_of(kBox3);
    test_log().events.clear();

    // Queued before the load: handled, with its event, before anything of the new window.
    platform::post_message(first_box, kRaiseEventMessage);
    // Raised while the other window is being made, at once or through the queue: dropped.
    test_log().on_create = [first_box](ControlId) {
        platform::send_message(first_box, kRaiseEventMessage);
        platform::post_message(first_box, kRaiseEventMessage);
    };
    ASSERT_TRUE(load(kOtherWindow));

    ASSERT_GE(test_log().events.size(), 2u);
    EXPECT_EQ(test_log().events[0], (LoggedEvent{kWindow, kBox3, 0, {}}));
    EXPECT_EQ(test_log().events[1], (LoggedEvent{kOtherWindow, kOwnUnit, 0, {}}));
    EXPECT_EQ(test_log().event_numbers(kWindow, kBox3), (Events{0}));
}

TEST_F(WindowLoading, EventsRaisedWhileTheLoadIsInProgressAreDropped)
{
    install_windows({nested_window()});
    begin_load();
    EventRecord record{kWindow, 0, 0};
    EXPECT_FALSE(raise_event(record));
    end_load();
    EXPECT_TRUE(test_log().events.empty());
}

TEST_F(WindowLoading, LoadingAnOpenWindowActivatesItWithoutCreatingAnything)
{
    install_windows({nested_window()});
    ASSERT_TRUE(load());
    platform::WindowHandle first = window_handle();
    test_log().created.clear();

    ASSERT_TRUE(load());
    EXPECT_EQ(window_handle(), first);
    EXPECT_TRUE(test_log().created.empty());
    EXPECT_EQ(platform::active_window(), first);
}

TEST_F(WindowLoading, OpensCentredAtItsStoredOuterSize)
{
    form::WindowBlock block;
    block.placement = 1;
    install_windows({{kWindow, {{kOwnUnit, window_unit(block, 7000, 7000, 333, 222)}}}});
    ASSERT_TRUE(load());

    platform::Rect outer = platform::window_rect(window_handle());
    platform::Rect work = platform::screen_work_area();
    EXPECT_EQ(outer.width(), 333);
    EXPECT_EQ(outer.height(), 222);
    EXPECT_NEAR(outer.left - work.left, work.right - outer.right, 1);
    EXPECT_NEAR(outer.top - work.top, work.bottom - outer.bottom, 1);
}

TEST_F(WindowLoading, WindowNotShownInTheTaskBarIsOwnedByTheHiddenOwner)
{
    form::WindowBlock block;
    block.shown_in_task_bar = 0;
    install_windows({{kWindow, {{kOwnUnit, window_unit(block)}}}});
    ASSERT_TRUE(load());
    EXPECT_EQ(platform::owner_window(window_handle()), hidden_owner_window());
    EXPECT_EQ(platform::window_class_name(window_handle()), kPlainWindowClass);
}

TEST_F(WindowLoading, FailsWithoutSideEffectsWhenAComponentCannotBeMade)
{
    StoredWindow window = nested_window();
    window.units.emplace_back(0x16010009, box_unit(0, 0, 10, 10, 0, kUnregisteredKind));
    install_windows({window});
    EXPECT_FALSE(load());
    EXPECT_FALSE(window_is_live(entry()));
    EXPECT_EQ(load_nesting_count(), 0);
    EXPECT_TRUE(entry().pristine.empty());
    for (const form::UnitRecord& record : entry().unit.units.records())
        EXPECT_EQ(record.object(), nullptr);
}

TEST_F(WindowLoading, CanBeLoadedAgainAfterClosingFromTheStoredDescription)
{
    install_windows({nested_window()});
    ASSERT_TRUE(load());
    runtime::form::UnitRecord* record = window_table().find_unit_record(kWindow, kBox3);
    record->set_left(77);
    platform::destroy_window(window_handle());
    EXPECT_EQ(window_table().find_unit_record(kWindow, kBox3)->left(), 30);

    ASSERT_TRUE(load());
    EXPECT_EQ(platform::window_rect_in_parent(handle_of(kBox3)).left, 30);
}

TEST_F(WindowLoading, CloseAsksTwiceAndAFalseAnswerKeepsTheWindow)
{
    install_windows({nested_window()});
    ASSERT_TRUE(load());
    test_log().events.clear();

    test_log().results[12] = {true, 0};
    platform::send_message(window_handle(), platform::WM_CLOSE);
    EXPECT_TRUE(window_is_live(entry()));
    EXPECT_EQ(test_log().event_numbers(kWindow, kOwnUnit), (Events{12}));

    test_log().results.erase(12);
    test_log().results[1] = {true, 0};
    platform::send_message(window_handle(), platform::WM_CLOSE);
    EXPECT_TRUE(window_is_live(entry()));

    test_log().results.clear();
    test_log().events.clear();
    platform::send_message(window_handle(), platform::WM_CLOSE);
    EXPECT_FALSE(window_is_live(entry()));
    Events events = test_log().event_numbers(kWindow, kOwnUnit);
    ASSERT_GE(events.size(), 3u);
    EXPECT_EQ(Events(events.begin(), events.begin() + 2), (Events{12, 1}));
    EXPECT_NE(std::find(events.begin(), events.end(), 2), events.end());
}

TEST_F(WindowLoading, ActivationShowingAndHidingRaiseTheWindowEvents)
{
    install_windows({nested_window()});
    ASSERT_TRUE(load());
    platform::send_message(window_handle(), platform::WM_ACTIVATE, platform::WA_ACTIVE);
    platform::send_message(window_handle(), platform::WM_ACTIVATE, platform::WA_INACTIVE);
    platform::send_message(window_handle(), platform::WM_ACTIVATE, platform::WA_ACTIVE);
    Events events = test_log().event_numbers(kWindow, kOwnUnit);
    // The first activation is announced once, before its event 5.
    EXPECT_EQ(std::count(events.begin(), events.end(), 8), 1);
    auto first_activation = std::find(events.begin(), events.end(), 8);
    EXPECT_LT(first_activation, std::find(events.begin(), events.end(), 5));
    EXPECT_EQ(Events(events.end() - 3, events.end()), (Events{5, 6, 5}));

    test_log().events.clear();
    set_property_entry(kWindow, kOwnUnit, 5, kWholeValue, 0, 0);
    EXPECT_FALSE(platform::is_visible(window_handle()));
    set_property_entry(kWindow, kOwnUnit, 5, kWholeValue, 1, 0);
    EXPECT_TRUE(platform::is_visible(window_handle()));
    events = test_log().event_numbers(kWindow, kOwnUnit);
    EXPECT_EQ(std::count(events.begin(), events.end(), 11), 1);
    EXPECT_EQ(std::count(events.begin(), events.end(), 10), 1);
    EXPECT_LT(std::find(events.begin(), events.end(), 11), std::find(events.begin(), events.end(), 10));
}

TEST_F(WindowLoading, AModalWindowDisablesTheOthersUntilItCloses)
{
    StoredWindow dialog{kOtherWindow, {{kOwnUnit, window_unit()}}};
    install_windows({nested_window(), dialog});
    ASSERT_TRUE(load(kWindow));
    ASSERT_TRUE(create_window(entry(kOtherWindow), NewInstance::No, Modal::Yes, 0));
    EXPECT_FALSE(platform::is_enabled(window_handle(kWindow)));
    EXPECT_TRUE(platform::is_enabled(window_handle(kOtherWindow)));
    EXPECT_EQ(platform::owner_window(window_handle(kOtherWindow)), hidden_owner_window());

    platform::destroy_window(window_handle(kOtherWindow));
    EXPECT_TRUE(platform::is_enabled(window_handle(kWindow)));
    // An owner that is no window fails a plain load without side effects.
    EXPECT_FALSE(create_window(entry(kOtherWindow), NewInstance::No, Modal::No, 999999));
    EXPECT_EQ(load_nesting_count(), 0);
}

TEST_F(WindowLoading, ClosingTheLastWindowEndsTheRunWithExitCodeZero)
{
    install_windows({nested_window()});
    EXPECT_EXIT(
        {
            set_end_of_program_closer(destroy_remaining_windows);
            load_start_window(kWindow);
            platform::post_message(window_handle(), platform::WM_CLOSE);
            run_message_loop();
            bool left_open = window_is_live(entry());
            end_program(left_open ? 3 : quit_code());
        },
        testing::ExitedWithCode(0), "");
}

TEST_F(WindowLoading, StartWindowThatCannotBeLoadedIsAReportedError)
{
    install_windows({nested_window()});
    EXPECT_EXIT(
        {
            platform::ScriptedDialogService dialogs;
            platform::set_dialog_service(&dialogs);
            load_start_window(0x52010077);
        },
        test_support::ended_with_minus_one(), platform::utf8_from_gbk(platform::gbk_from_utf8("载入启动窗口失败")));
}

TEST_F(WindowLoading, IdleEventsStopOnceNoHandlerAsksForMore)
{
    install_windows({nested_window()});
    ASSERT_TRUE(load());
    test_log().events.clear();
    test_log().results[7] = {true, 1};
    int asked = 0;
    test_log().actions[7] = [&] {
        if (++asked == 3) {
            test_log().results[7] = {true, 0};
            platform::post_message(window_handle(), platform::WM_CLOSE);
        }
    };
    EXPECT_EXIT(
        {
            run_message_loop();
            end_program(asked == 3 ? 0 : 4);
        },
        testing::ExitedWithCode(0), "");
}

}  // namespace
}  // namespace window_test
