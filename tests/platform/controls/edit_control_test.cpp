#include "platform/controls/edit_control.h"

#include "tests/platform/controls/control_test_parent.h"

#include "platform/controls/window_subclass.h"
#include "platform/input_synthesis.h"
#include "platform/key_codes.h"
#include "platform/screen_capture.h"
#include "platform/system_colours.h"
#include "platform/text_encoding.h"

#include <gtest/gtest.h>

namespace platform {
namespace {

using namespace control_test;

class EditControlTest : public testing::Test {
protected:
    void SetUp() override
    {
        register_edit_class();
        m_parent = make_recording_parent();
    }
    void TearDown() override
    {
        destroy_window(m_parent);
        process_waiting_messages();
    }

    WindowHandle make_edit(std::uint32_t style, const char* text = "", int id = 7)
    {
        WindowHandle edit = make_child(kEditClassName, m_parent, style, id, {10, 10, 150, 34}, text);
        set_focus(edit);
        process_waiting_messages();
        notifications().clear();
        return edit;
    }

    void type(WindowHandle edit, const char* keys)
    {
        for (const char* key = keys; *key; ++key)
            synthesize_key_stroke(edit, std::toupper(static_cast<unsigned char>(*key)));
        process_waiting_messages();
    }

    int changes() const
    {
        int count = 0;
        for (const Notification& notification : notifications())
            count += notification == Notification{7, EditNotification::Change} ? 1 : 0;
        return count;
    }

    WindowHandle m_parent = 0;
};

TEST_F(EditControlTest, EveryChangeOfTheContentNotifiesTheParent)
{
    WindowHandle edit = make_edit(EditStyle::AutoHorizontalScroll);
    type(edit, "hi");
    EXPECT_EQ(window_text(edit), "hi");
    EXPECT_EQ(changes(), 2);
    set_window_text(edit, "set by a program");
    EXPECT_EQ(changes(), 3);
}

TEST_F(EditControlTest, CharactersPassTheProcedureFirst)
{
    WindowHandle edit = make_edit(EditStyle::UpperCase);
    std::vector<std::uintptr_t> seen;
    subclass_window(edit, [&seen](WindowHandle handle, Message& message, const WindowProcedure& previous) {
        if (message.id == WM_CHAR) {
            seen.push_back(message.wparam);
            if (message.wparam == 'x')
                return std::intptr_t{0};  // held back
        }
        return previous(handle, message);
    });
    type(edit, "axb");
    synthesize_text_input(edit, gbk_from_utf8("吴"));
    process_waiting_messages();
    EXPECT_EQ(window_text(edit), gbk_from_utf8("AB吴"));
    EXPECT_EQ(seen, (std::vector<std::uintptr_t>{'a', 'x', 'b', gbk_char_code(gbk_from_utf8("吴"))}));
}

TEST_F(EditControlTest, TextLimitHoldsBackTypingButNotAProgram)
{
    WindowHandle edit = make_edit(EditStyle::AutoHorizontalScroll, "ab");
    edit_set_text_limit(edit, 3);
    edit_set_selection(edit, 2, 2);
    type(edit, "cde");
    EXPECT_EQ(window_text(edit), "abc");
    EXPECT_TRUE(std::count(notifications().begin(), notifications().end(), Notification{7, EditNotification::MaxText}));
    set_window_text(edit, "longer than three");
    EXPECT_EQ(window_text(edit), "longer than three");
    edit_set_selection(edit, 0, -1);
    type(edit, "z");
    EXPECT_EQ(window_text(edit), "z");
}

TEST_F(EditControlTest, SelectionSurvivesLosingTheFocus)
{
    WindowHandle edit = make_edit(EditStyle::AutoHorizontalScroll, "abcdef");
    WindowHandle other = make_edit(EditStyle::AutoHorizontalScroll, "", 8);
    edit_set_selection(edit, 1, 4);
    set_focus(edit);
    process_waiting_messages();
    set_focus(other);
    process_waiting_messages();
    EXPECT_EQ(edit_selection(edit), (TextRange{1, 4}));
    EXPECT_EQ(edit_selected_text(edit), "bcd");
    EXPECT_TRUE(
        std::count(notifications().begin(), notifications().end(), Notification{7, EditNotification::KillFocus}));
}

// Tab selects the whole text of the box it enters; the boxes left behind keep their selections but,
// unless they keep them visible, paint them as plain text.
TEST_F(EditControlTest, OnlyTheFocusedBoxOrOneThatKeepsItsSelectionPaintsIt)
{
    auto highlighted = [](WindowHandle edit) {
        std::unique_ptr<Bitmap> image = capture_window(edit);
        int count = 0;
        for (int y = 0; y < image->height(); ++y)
            for (int x = 0; x < image->width(); ++x)
                count += image->pixel(x, y) == system_colour(SystemColour::Highlight) ? 1 : 0;
        return count;
    };
    WindowHandle first = make_child(kEditClassName, m_parent, WS_TABSTOP, 7, {10, 10, 150, 34}, "first");
    WindowHandle second = make_child(kEditClassName, m_parent, WS_TABSTOP, 8, {10, 50, 150, 74}, "second");
    WindowHandle kept =
        make_child(kEditClassName, m_parent, WS_TABSTOP | EditStyle::NoHideSelection, 9, {10, 90, 150, 114}, "kept");
    set_focus(first);
    edit_set_selection(first, 0, -1);
    process_waiting_messages();
    EXPECT_GT(highlighted(first), 0);

    synthesize_key_stroke(first, VK_TAB);
    process_waiting_messages();
    synthesize_key_stroke(second, VK_TAB);
    process_waiting_messages();
    ASSERT_EQ(focus_window(), kept);
    EXPECT_EQ(edit_selection(first), (TextRange{0, 5}));
    EXPECT_EQ(edit_selection(second), (TextRange{0, 6}));
    EXPECT_EQ(highlighted(first), 0);
    EXPECT_EQ(highlighted(second), 0);
    EXPECT_GT(highlighted(kept), 0);

    set_focus(second);
    process_waiting_messages();
    EXPECT_GT(highlighted(second), 0);
    EXPECT_GT(highlighted(kept), 0);
    EXPECT_EQ(highlighted(first), 0);
}

TEST_F(EditControlTest, MultiLineTextKeepsItsLineEnds)
{
    WindowHandle edit = make_edit(EditStyle::MultiLine | EditStyle::WantReturn, "one\r\ntwo");
    EXPECT_EQ(window_text(edit), "one\r\ntwo");
    EXPECT_EQ(edit_text_length(edit), 8);
    edit_set_selection(edit, 3, 8);
    EXPECT_EQ(edit_selected_text(edit), "\r\ntwo");
    edit_replace_selection(edit, "!");
    EXPECT_EQ(window_text(edit), "one!");
}

}  // namespace
}  // namespace platform
