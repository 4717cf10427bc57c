#include "platform/controls/combo_control.h"

#include "tests/platform/controls/control_test_parent.h"

#include "platform/input_synthesis.h"

#include <gtest/gtest.h>

namespace platform {
namespace {

using namespace control_test;

class ComboControlTest : public testing::Test {
protected:
    void SetUp() override
    {
        register_combo_class();
        m_parent = make_recording_parent();
    }
    void TearDown() override
    {
        destroy_window(m_parent);
        process_waiting_messages();
    }

    WindowHandle make_combo(std::uint32_t style, platform::Rect rect = {20, 20, 140, 44})
    {
        WindowHandle combo = make_child(kComboClassName, m_parent, style, 9, rect);
        for (const char* item : {"red", "green", "blue"})
            combo_add_item(combo, item);
        process_waiting_messages();
        return combo;
    }

    std::vector<int> codes() const
    {
        std::vector<int> list;
        for (const Notification& notification : notifications()) {
            if (notification.code != ComboNotification::SetFocus && notification.code != ComboNotification::KillFocus)
                list.push_back(notification.code);
        }
        return list;
    }

    WindowHandle m_parent = 0;
};

TEST_F(ComboControlTest, ProgramsChangeItemsAndSelectionWithoutNotifications)
{
    WindowHandle combo = make_combo(ComboStyle::DropDownList);
    EXPECT_EQ(combo_current_selection(combo), -1);  // adding items selects nothing
    EXPECT_TRUE(combo_set_current_selection(combo, 2));
    EXPECT_EQ(window_text(combo), "blue");
    combo_add_item(combo, "black");  // after the selection: it stays on "blue"
    EXPECT_EQ(combo_current_selection(combo), 2);
    EXPECT_FALSE(combo_set_current_selection(combo, 9));
    EXPECT_EQ(combo_current_selection(combo), -1);
    EXPECT_EQ(window_text(combo), "");
    set_window_text(combo, "ignored");  // a drop-down list has no text of its own
    EXPECT_EQ(window_text(combo), "");
    process_waiting_messages();
    EXPECT_TRUE(codes().empty());
}

TEST_F(ComboControlTest, ChoosingFromTheDroppedListNotifiesInOrder)
{
    WindowHandle combo = make_combo(ComboStyle::DropDownList);
    combo_set_drop_down_height(combo, 160);
    synthesize_click(combo, {40, 10});
    process_waiting_messages();
    ASSERT_TRUE(combo_dropped(combo));
    ASSERT_TRUE(click_combo_list_item(combo, 1));
    process_waiting_messages();
    EXPECT_EQ(combo_current_selection(combo), 1);
    EXPECT_EQ(window_text(combo), "green");
    // The list closes before the selection moves; the confirmation comes last, with everything in place.
    EXPECT_EQ(codes(), (std::vector<int>{ComboNotification::DropDown, ComboNotification::CloseUp,
                                         ComboNotification::SelectionChange, ComboNotification::SelectionEndOk}));
}

TEST_F(ComboControlTest, SimpleStyleShowsItsListAndReportsDoubleClicks)
{
    WindowHandle combo = make_combo(ComboStyle::Simple, {20, 20, 140, 140});
    EXPECT_TRUE(combo_has_edit(combo));
    ASSERT_TRUE(click_combo_list_item(combo, 2, true));
    process_waiting_messages();
    EXPECT_EQ(window_text(combo), "blue");
    EXPECT_EQ(combo_current_selection(combo), 2);
    std::vector<int> list = codes();
    EXPECT_NE(std::find(list.begin(), list.end(), ComboNotification::SelectionEndOk), list.end());
    EXPECT_NE(std::find(list.begin(), list.end(), ComboNotification::DoubleClick), list.end());
}

}  // namespace
}  // namespace platform
