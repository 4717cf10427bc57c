#include "runtime/components/edit_box.h"

#include "tests/runtime/components/control_test_harness.h"

#include "platform/controls/control_fonts.h"
#include "platform/controls/edit_control.h"
#include "platform/controls/updown_control.h"
#include "platform/input_synthesis.h"
#include "platform/key_codes.h"
#include "platform/system_colours.h"
#include "platform/text_encoding.h"
#include "runtime/components/edit_input.h"

#include <gtest/gtest.h>

namespace runtime::components {
namespace {

using namespace control_test;
using platform::gbk_from_utf8;

constexpr ControlId kEdit = kFirstControl;
constexpr ControlId kOtherEdit = kFirstControl + 1;

// ---- Input modes -----------------------------------------------------------------------------------

TEST(EditInput, NormalisesTextByMode)
{
    struct Case {
        std::uint32_t mode;
        const char* text;  // UTF-8
        const char* normal;
    };
    const Case cases[] = {
        {5, "300", "255"},
        {5, "-3", ""},
        {5, "17abc", "17"},
        {5, "0", ""},
        {6, "40000", "32767"},
        {6, "-40000", "-32768"},
        {7, "99999999999", "2147483647"},
        {8, "-12345678901234", "-12345678901234"},
        {8, "99999999999999999999999", "9223372036854775807"},
        {9, "3.14159265", "3.14159"},
        {10, "0.1", "0.1"},
        {10, "2.000000000001", "2.000000000001"},
        {10, "2.0000000000001", "2"},
        {10, "-0", ""},
        {11, "2013-9-28", "2013年9月28日"},
        {11, "2013年09月28日", "2013年9月28日"},
        {11, "2013/9/28 8:05", "2013年9月28日8时5分"},
        {11, "2013-9-28 8:05:07", "2013年9月28日8时5分7秒"},
        {11, "2013-9-28 23", "2013年9月28日23时"},
        {11, "2013-2-29", ""},
        {11, "0-0-0", ""},
        {11, "tomorrow", ""},
        {4, "abc", "abc"},
        {0, " 300 ", " 300 "},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(normalise_input(c.mode, gbk_from_utf8(c.text)), gbk_from_utf8(c.normal))
            << "mode " << c.mode << " text " << c.text;
    }
}

TEST(EditInput, FiltersTypedCharactersByMode)
{
    const std::uint32_t chinese = platform::gbk_char_code(gbk_from_utf8("吴"));
    struct Case {
        std::uint32_t mode;
        std::uint32_t code;
        bool accepted;
    };
    const Case cases[] = {
        {0, 'a', true},  {0, chinese, true}, {3, '7', true},  {3, '-', true},  {3, '.', false},
        {3, 'x', false}, {4, '.', true},     {5, '-', false}, {5, '9', true},  {6, chinese, false},
        {9, '.', true},  {10, 'e', false},   {11, 'x', true}, {5, '\b', true}, {7, 13, true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(accepts_character(c.mode, c.code), c.accepted) << "mode " << c.mode << " code " << c.code;
}

// ---- The kind on a live control --------------------------------------------------------------------

class EditBoxTest : public ControlKindTest {
protected:
    void SetUp() override
    {
        ControlKindTest::SetUp();
        store_window(Kind::EditBox, edit_box_kind(), 2);
    }

    EditBox* make(const form::EditBoxBlock& block, ControlId control = kEdit, platform::Rect rect = {10, 10, 122, 34})
    {
        auto* edit = static_cast<EditBox*>(
            create_control(edit_box_kind(), form::write_property_block(block), m_parent, control, rect));
        EXPECT_NE(edit, nullptr);
        return edit;
    }

    std::string content(EditBox* edit) { return read_text(edit_box_kind(), edit, EditBoxProperty::Content); }

    void type(platform::WindowHandle target, const char* keys)
    {
        for (const char* key = keys; *key; ++key) {
            int code = *key == '-'   ? platform::VK_OEM_MINUS
                       : *key == '.' ? platform::VK_OEM_PERIOD
                                     : std::toupper(*key);
            platform::synthesize_key_stroke(target, code);
        }
        platform::process_waiting_messages();
    }

    void focus(platform::WindowHandle target)
    {
        platform::set_focus(target);
        platform::process_waiting_messages();
    }
};

TEST_F(EditBoxTest, ContentWriteRaisesExactlyOneChangeEvenForTheSameText)
{
    form::EditBoxBlock block;
    block.content = "abc";
    EditBox* edit = make(block);
    raised_events().clear();

    EXPECT_EQ(write_text(edit_box_kind(), edit, EditBoxProperty::Content, "xyz"), 0);
    EXPECT_EQ(count_events(EditBoxEvent::ContentChanged), 1);
    EXPECT_EQ(write_text(edit_box_kind(), edit, EditBoxProperty::Content, "xyz"), 0);
    EXPECT_EQ(count_events(EditBoxEvent::ContentChanged), 2);
    EXPECT_EQ(content(edit), "xyz");
    ASSERT_EQ(raised_events().size(), 2u);
    EXPECT_EQ(raised_events()[0].control, kEdit);
}

TEST_F(EditBoxTest, TypingRaisesOneChangePerChange)
{
    EditBox* edit = make({});
    focus(edit->handle());
    raised_events().clear();

    type(edit->handle(), "ab1");
    EXPECT_EQ(content(edit), "ab1");
    EXPECT_EQ(count_events(EditBoxEvent::ContentChanged), 3);

    platform::synthesize_key_stroke(edit->handle(), platform::VK_BACK);
    platform::process_waiting_messages();
    EXPECT_EQ(content(edit), "ab");
    EXPECT_EQ(count_events(EditBoxEvent::ContentChanged), 4);
}

TEST_F(EditBoxTest, ChineseFromAnInputMethodArrivesInTheContent)
{
    form::EditBoxBlock block;
    block.content = gbk_from_utf8("张");
    block.selection_start = -1;  // caret at the end
    EditBox* edit = make(block);
    focus(edit->handle());
    raised_events().clear();

    platform::synthesize_text_input(edit->handle(), gbk_from_utf8("三丰"));
    platform::process_waiting_messages();
    EXPECT_EQ(content(edit), gbk_from_utf8("张三丰"));
    EXPECT_EQ(count_events(EditBoxEvent::ContentChanged), 1);
}

TEST_F(EditBoxTest, InputModeHoldsBackCharactersItDoesNotTake)
{
    form::EditBoxBlock block;
    block.input_mode = EditInputMode::Byte;
    EditBox* edit = make(block);
    focus(edit->handle());

    type(edit->handle(), "3a-0.");
    EXPECT_EQ(content(edit), "30");
    platform::synthesize_text_input(edit->handle(), gbk_from_utf8("吴5"));
    platform::process_waiting_messages();
    EXPECT_EQ(content(edit), "305");
}

TEST_F(EditBoxTest, LeavingTheBoxNormalisesTheTextBeforeLostFocus)
{
    struct Case {
        std::uint32_t mode;
        const char* typed;
        const char* shown;
    };
    const Case cases[] = {{5, "300", "255"}, {5, "-3", ""}, {6, "40000", "32767"}, {9, "2.50", "2.5"}};
    for (const Case& c : cases) {
        form::EditBoxBlock block;
        block.input_mode = c.mode;
        EditBox* edit = make(block);
        EditBox* other = make({}, kOtherEdit, {10, 60, 122, 84});
        // "-" cannot be typed in mode 5; the text arrives by a program's write instead.
        write_text(edit_box_kind(), edit, EditBoxProperty::Content, c.typed);
        focus(edit->handle());
        raised_events().clear();

        focus(other->handle());
        EXPECT_EQ(content(edit), c.shown) << "mode " << c.mode << " text " << c.typed;
        // The normalised text is a change; the lost-focus event follows it.
        std::vector<std::int32_t> own;
        for (const RaisedEvent& event : raised_events()) {
            if (event.control == kEdit)
                own.push_back(event.event);
        }
        EXPECT_EQ(own, (std::vector<std::int32_t>{EditBoxEvent::ContentChanged, -8})) << "mode " << c.mode;
        platform::destroy_window(edit->handle());
        platform::destroy_window(other->handle());
    }
}

TEST_F(EditBoxTest, AutomaticSpinWrapsAroundItsRange)
{
    form::EditBoxBlock block;
    block.spin_mode = 1;
    block.spin_lower_bound = 10;  // either order
    block.spin_upper_bound = 0;
    block.content = "10";
    EditBox* edit = make(block);
    platform::WindowHandle spin = edit->spin();
    ASSERT_NE(spin, 0);
    platform::Rect edit_rect = platform::window_rect_in_parent(edit->handle());
    platform::Rect spin_rect = platform::window_rect_in_parent(spin);
    EXPECT_EQ(spin_rect.left, edit_rect.right);
    EXPECT_EQ(spin_rect.top, edit_rect.top);
    EXPECT_EQ(spin_rect.width(), platform::kUpDownWidth);
    EXPECT_EQ(spin_rect.height(), edit_rect.height());
    EXPECT_TRUE(platform::is_visible(spin));

    auto press = [&](platform::UpDownArrow arrow) {
        platform::synthesize_click(spin, platform::updown_arrow_point(spin, arrow));
        platform::process_waiting_messages();
    };
    press(platform::UpDownArrow::Up);
    EXPECT_EQ(content(edit), "0");
    press(platform::UpDownArrow::Down);
    EXPECT_EQ(content(edit), "10");
    press(platform::UpDownArrow::Down);
    EXPECT_EQ(content(edit), "9");
    // The new value is selected and the box has the focus.
    EXPECT_EQ(platform::focus_window(), edit->handle());
    EXPECT_EQ(read_text(edit_box_kind(), edit, EditBoxProperty::SelectedText), "9");

    // The spin follows the box when it moves and when it is hidden.
    platform::move_window(edit->handle(), 40, 50, 100, 30);
    spin_rect = platform::window_rect_in_parent(spin);
    EXPECT_EQ(spin_rect.left, 140);
    EXPECT_EQ(spin_rect.top, 50);
    EXPECT_EQ(spin_rect.height(), 30);
    platform::show_window(edit->handle(), platform::ShowCommand::Hide);
    EXPECT_FALSE(platform::is_visible(spin));
}

TEST_F(EditBoxTest, ManualSpinRaisesSpinPressedWithTheDirection)
{
    form::EditBoxBlock block;
    block.spin_mode = 2;
    block.content = "5";
    EditBox* edit = make(block);
    platform::WindowHandle spin = edit->spin();
    ASSERT_NE(spin, 0);
    raised_events().clear();
    platform::synthesize_click(spin, platform::updown_arrow_point(spin, platform::UpDownArrow::Up));
    platform::synthesize_click(spin, platform::updown_arrow_point(spin, platform::UpDownArrow::Down));
    platform::process_waiting_messages();

    ASSERT_EQ(count_events(EditBoxEvent::SpinPressed), 2);
    std::vector<std::int32_t> steps;
    for (const RaisedEvent& event : raised_events()) {
        if (event.event == EditBoxEvent::SpinPressed)
            steps.push_back(event.arguments.at(0));
    }
    EXPECT_EQ(steps, (std::vector<std::int32_t>{1, -1}));
    EXPECT_EQ(content(edit), "5");
}

TEST_F(EditBoxTest, TallFontGrowsASingleLineBoxKeepingWidthAndPlace)
{
    // The main window's boxes: 112 x 24 with the default font, which fits.
    EditBox* edit = make({}, kEdit, {30, 40, 30 + 112, 40 + 24});
    ASSERT_EQ(platform::window_rect_in_parent(edit->handle()).height(), 24);
    platform::LogFont font;
    font.height = -40;
    std::memcpy(font.face_name, "Sans", 5);
    write_property(edit_box_kind(), edit, EditBoxProperty::Font, reinterpret_cast<Word>(&font), sizeof font);

    int needed = platform::measure_text_in_font(font, gbk_from_utf8("吴")).height +
                 2 * platform::system_metric(platform::SystemMetric::EdgeHeight);
    ASSERT_GT(needed, 24);
    platform::Rect rect = platform::window_rect_in_parent(edit->handle());
    EXPECT_EQ(rect, (platform::Rect{30, 40, 30 + 112, 40 + needed}));

    // A smaller font never shrinks the box.
    write_property(edit_box_kind(), edit, EditBoxProperty::Font, 0, 0);
    EXPECT_EQ(platform::window_rect_in_parent(edit->handle()).height(), needed);
}

TEST_F(EditBoxTest, SelectionWritesUnderstandMinusOne)
{
    form::EditBoxBlock block;
    block.content = "abcdef";
    EditBox* edit = make(block);
    const KindRecord& kind = edit_box_kind();

    write_property(kind, edit, EditBoxProperty::SelectionStart, 2);
    write_property(kind, edit, EditBoxProperty::SelectionLength, 3);
    EXPECT_EQ(read_text(kind, edit, EditBoxProperty::SelectedText), "cde");
    write_property(kind, edit, EditBoxProperty::SelectionLength, static_cast<Word>(-1));
    EXPECT_EQ(read_text(kind, edit, EditBoxProperty::SelectedText), "abcdef");
    write_property(kind, edit, EditBoxProperty::SelectionStart, static_cast<Word>(-1));
    EXPECT_EQ(read_integer(kind, edit, EditBoxProperty::SelectionStart), 6);
    EXPECT_EQ(read_integer(kind, edit, EditBoxProperty::SelectionLength), 0);

    write_property(kind, edit, EditBoxProperty::SelectionStart, 1);
    write_property(kind, edit, EditBoxProperty::SelectionLength, 2);
    raised_events().clear();
    write_text(kind, edit, EditBoxProperty::SelectedText, "XYZ");
    EXPECT_EQ(content(edit), "aXYZdef");
    EXPECT_EQ(count_events(EditBoxEvent::ContentChanged), 1);
}

TEST_F(EditBoxTest, RecreationKeepsContentSelectionAndColours)
{
    form::EditBoxBlock block;
    block.content = "hello";
    block.background_colour = 0x00FFEE;
    EditBox* edit = make(block);
    const KindRecord& kind = edit_box_kind();
    write_property(kind, edit, EditBoxProperty::SelectionStart, 1);
    write_property(kind, edit, EditBoxProperty::SelectionLength, 3);

    EXPECT_EQ(write_property(kind, edit, EditBoxProperty::Alignment, 2), 1);
    EXPECT_EQ(write_property(kind, edit, EditBoxProperty::Alignment, 2), 0);  // no change: no rebuild
    auto* rebuilt = static_cast<EditBox*>(recreate(kind, edit, m_parent));
    ASSERT_NE(rebuilt, nullptr);
    EXPECT_EQ(content(rebuilt), "hello");
    EXPECT_EQ(read_text(kind, rebuilt, EditBoxProperty::SelectedText), "ell");
    EXPECT_EQ(read_integer(kind, rebuilt, EditBoxProperty::BackgroundColour), 0x00FFEE);
    EXPECT_TRUE(platform::window_style(rebuilt->handle()) & platform::EditStyle::Right);

    for (int index : {EditBoxProperty::HideSelection, EditBoxProperty::MultiLine, EditBoxProperty::ScrollBars,
                      EditBoxProperty::LetterCase, EditBoxProperty::SpinMode})
        EXPECT_EQ(write_property(kind, rebuilt, index, 1), index == EditBoxProperty::HideSelection ? 0 : 1)
            << "property " << index + 8;  // hide selection is stored as 1 already
    EXPECT_EQ(write_property(kind, rebuilt, EditBoxProperty::HideSelection, 0), 1);
}

TEST_F(EditBoxTest, AnswersItsOwnColourQueries)
{
    form::EditBoxBlock block;
    block.text_colour = 0x0000FF;
    block.background_colour = kDefaultColour;
    EditBox* edit = make(block);
    platform::ControlColours colours = platform::query_control_colours(edit->handle(), platform::WM_CTLCOLOREDIT);
    EXPECT_EQ(colours.text, 0x0000FFu);
    EXPECT_EQ(colours.brush, platform::system_colour(platform::SystemColour::ButtonFace));

    write_property(edit_box_kind(), edit, EditBoxProperty::BackgroundColour, 0x123456);
    colours = platform::query_control_colours(edit->handle(), platform::WM_CTLCOLORSTATIC);
    EXPECT_EQ(colours.brush, 0x123456u);
    EXPECT_EQ(colours.text_background, 0x123456u);
}

TEST_F(EditBoxTest, PasswordModeAlwaysMasks)
{
    form::EditBoxBlock block;
    block.input_mode = EditInputMode::Password;
    block.password_character = '#';
    EditBox* edit = make(block);
    const KindRecord& kind = edit_box_kind();
    EXPECT_EQ(platform::edit_password_character(edit->handle()), static_cast<std::uint32_t>('#'));
    EXPECT_EQ(read_text(kind, edit, EditBoxProperty::PasswordCharacter), "#");

    write_text(kind, edit, EditBoxProperty::PasswordCharacter, gbk_from_utf8("●x"));
    EXPECT_EQ(read_text(kind, edit, EditBoxProperty::PasswordCharacter), gbk_from_utf8("●"));
    EXPECT_EQ(platform::edit_password_character(edit->handle()), platform::gbk_char_code(gbk_from_utf8("●")));
    // An empty character still hides what is typed.
    write_text(kind, edit, EditBoxProperty::PasswordCharacter, "");
    EXPECT_EQ(platform::edit_password_character(edit->handle()), static_cast<std::uint32_t>('*'));
    write_property(kind, edit, EditBoxProperty::InputMode, EditInputMode::Normal);
    EXPECT_EQ(platform::edit_password_character(edit->handle()), 0u);
}

TEST_F(EditBoxTest, WantsEnterOnlyWhenMultiLineAndWritable)
{
    auto wants = reinterpret_cast<WantsKeyOperation>(edit_box_kind().interface_function(Interface::WantsKey));
    ASSERT_NE(wants, nullptr);
    form::EditBoxBlock multi;
    multi.multi_line = 1;
    EditBox* edit = make(multi);
    EXPECT_EQ(wants(edit, platform::VK_RETURN), 1);
    EXPECT_EQ(wants(edit, platform::VK_TAB), 0);
    write_property(edit_box_kind(), edit, EditBoxProperty::InputMode, EditInputMode::ReadOnly);
    EXPECT_EQ(wants(edit, platform::VK_RETURN), 0);
    EditBox* single = make({}, kOtherEdit, {10, 60, 122, 84});
    EXPECT_EQ(wants(single, platform::VK_RETURN), 0);
}

TEST_F(EditBoxTest, RefusesABlockOfANewerVersion)
{
    std::vector<std::uint8_t> block = form::write_property_block(form::EditBoxBlock{});
    block[0] = 3;
    EXPECT_EQ(create_control(edit_box_kind(), block, m_parent, kEdit, {0, 0, 100, 24}), nullptr);
    EXPECT_EQ(create_control(edit_box_kind(), {}, m_parent, kEdit, {0, 0, 100, 24}), nullptr);
}

}  // namespace
}  // namespace runtime::components
