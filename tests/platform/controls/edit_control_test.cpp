#include "platform/controls/edit_control.h"

#include "tests/platform/controls/control_test_parent.h"

#include "platform/controls/window_subclass.h"
#include "platform/input_synthesis.h"
#include "platform/key_codes.h"
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
    EXPECT_TRUE(std::count(notifications().begin(), notifications().end(), Notification{7, EditNotification::KillFocus}));
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
