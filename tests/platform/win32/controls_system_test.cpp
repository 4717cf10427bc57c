// The system's own controls behind the standard classes: what the platform adds or holds back so
// that they behave as the runtime expects.

#include "../window_test_support.h"

#include <algorithm>

#include "platform/controls/combo_control.h"
#include "platform/controls/edit_control.h"
#include "platform/controls/updown_control.h"
#include "platform/input_synthesis.h"
#include "platform/text_encoding.h"

namespace platform_test {
namespace {

class SystemControlsTest : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        register_edit_class();
        register_combo_class();
        register_updown_class();
        top = make_shown_top_level(100, 100, 320, 240);
        log.clear();
    }

    std::vector<int> notification_codes() const
    {
        std::vector<int> codes;
        for (const Received& received : log.of(WM_COMMAND))
            codes.push_back(high_word(received.message.wparam));
        return codes;
    }

    WindowHandle top = 0;
};

TEST_F(SystemControlsTest, EditLimitHoldsBackTypingButNotPrograms)
{
    WindowHandle edit = make_child(top, 10, 10, 150, 24, 0, 0, 5, kEditClassName);
    // The platform's maximum, not the system's small default.
    EXPECT_EQ(edit_text_limit(edit), 0x7FFFFFFE);
    edit_set_text_limit(edit, 3);
    EXPECT_EQ(edit_text_limit(edit), 3);
    set_focus(edit);
    log.clear();
    synthesize_text_input(edit, "abcd");
    EXPECT_EQ(window_text(edit), "abc");
    auto codes = notification_codes();
    EXPECT_NE(std::find(codes.begin(), codes.end(), EditNotification::MaxText), codes.end());

    set_window_text(edit, "longer text");
    EXPECT_EQ(window_text(edit), "longer text");
    EXPECT_EQ(edit_text_length(edit), 11);
}

TEST_F(SystemControlsTest, PasswordCharacterRoundTripsAsAGbkCode)
{
    WindowHandle edit = make_child(top, 10, 10, 150, 24, EditStyle::Password, 0, 5, kEditClassName);
    EXPECT_EQ(edit_password_character(edit), static_cast<std::uint32_t>('*'));
    std::uint32_t dot = gbk_char_code(gbk_from_utf8("●"));
    edit_set_password_character(edit, dot);
    EXPECT_EQ(edit_password_character(edit), dot);
    edit_set_password_character(edit, 0);
    EXPECT_EQ(edit_password_character(edit), 0u);
}

TEST_F(SystemControlsTest, DropDownComboKeepsTheHeightItWasMadeWith)
{
    for (int height : {21, 28}) {
        SCOPED_TRACE(height);
        WindowHandle combo = make_child(top, 10, 10, 120, height, ComboStyle::DropDownList, 0, 6, kComboClassName);
        ASSERT_NE(combo, 0);
        EXPECT_EQ(window_rect_in_parent(combo).height(), height);
        combo_set_drop_down_height(combo, 150);
        EXPECT_EQ(window_rect_in_parent(combo).height(), height);
        destroy_window(combo);
    }
}

// The up arrow always reports +1 and the down arrow -1, whatever range the target keeps.
TEST_F(SystemControlsTest, UpDownArrowsReportTheirDirectionToTheTarget)
{
    WindowHandle buddy = make_child(top, 10, 50, 60, 24);
    WindowHandle updown = make_child(top, 70, 50, kUpDownWidth, 24, 0, 0, 8, kUpDownClassName);
    ASSERT_NE(updown, 0);
    updown_set_target(updown, buddy);
    for (UpDownRange range : {UpDownRange{0, 10}, UpDownRange{10, 0}}) {
        updown_set_range(updown, range.lower, range.upper);
        log.clear();
        synthesize_click(updown, updown_arrow_point(updown, UpDownArrow::Up));
        synthesize_click(updown, updown_arrow_point(updown, UpDownArrow::Down));
        process_waiting_messages();
        std::vector<int> steps;
        for (const Received& received : log.of(kUpDownPressed)) {
            EXPECT_EQ(received.window, buddy);
            EXPECT_EQ(received.message.lparam, updown);
            steps.push_back(static_cast<int>(static_cast<std::intptr_t>(received.message.wparam)));
        }
        EXPECT_EQ(steps, (std::vector<int>{1, -1}));
    }
}

}  // namespace
}  // namespace platform_test
