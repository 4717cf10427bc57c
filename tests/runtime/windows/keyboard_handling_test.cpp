#include "runtime/windows/keyboard_handling.h"

#include "runtime/form/blocks/button_block.h"
#include "runtime/form/blocks/edit_box_block.h"
#include "runtime/form/blocks/group_box_block.h"
#include "runtime/form/blocks/label_block.h"
#include "tests/runtime/windows/window_test_support.h"

#include "platform/input_synthesis.h"
#include "platform/key_codes.h"

#include <algorithm>

namespace window_test {
namespace {

constexpr ControlId kEdit = 0x16010011;
constexpr ControlId kButton = 0x16010012;
constexpr ControlId kDefault = 0x16010013;
constexpr ControlId kLabel = 0x16010014;
constexpr ControlId kSecondDefault = 0x16010015;

form::UnitFields control_unit(KindId kind, std::vector<std::uint8_t> block, int top, std::uint32_t tab_order)
{
    form::UnitFields fields;
    fields.kind = kind;
    fields.name = "control";
    fields.left = 10;
    fields.top = top;
    fields.width = 120;
    fields.height = 40;
    fields.tag = "control";
    fields.state_flags = form::StateFlag::Visible | form::StateFlag::TabStop;
    fields.tab_order = tab_order;
    fields.events = all_events();
    fields.property_block = std::move(block);
    return fields;
}

form::UnitFields edit_unit(int top, std::uint32_t tab_order, std::uint32_t multi_line = 0, std::uint32_t input_mode = 0)
{
    form::EditBoxBlock block;
    block.multi_line = multi_line;
    block.input_mode = input_mode;
    return control_unit(Kind::EditBox, form::write_property_block(block), top, tab_order);
}

form::UnitFields button_unit(int top, std::uint32_t tab_order, std::uint32_t default_button, std::string caption = "OK")
{
    form::ButtonBlock block;
    block.default_button = default_button;
    block.caption = std::move(caption);
    return control_unit(Kind::Button, form::write_property_block(block), top, tab_order);
}

form::UnitFields label_unit(int top, std::uint32_t tab_order, std::string caption)
{
    form::LabelBlock block;
    block.caption = std::move(caption);
    form::UnitFields fields = control_unit(Kind::Label, form::write_property_block(block), top, tab_order);
    fields.state_flags = form::StateFlag::Visible;
    return fields;
}

struct KeyboardHandling : WindowTest {
    using Units = std::vector<std::pair<ControlId, form::UnitFields>>;

    void load_window(Units controls)
    {
        Units units{{kOwnUnit, window_unit()}};
        units.insert(units.end(), controls.begin(), controls.end());
        install_windows({{kWindow, std::move(units)}});
        ASSERT_TRUE(load());
        platform::process_waiting_messages();
    }
    void focus(ControlId control)
    {
        platform::set_focus(handle_of(control));
        platform::process_waiting_messages();
        test_log().events.clear();
    }
    static void press(int key, std::uint32_t key_state = 0)
    {
        platform::synthesize_key_stroke(0, key, key_state);
        platform::process_waiting_messages();
    }
    static long clicks(ControlId control)
    {
        std::vector<std::int32_t> events = test_log().event_numbers(kWindow, control);
        return std::count(events.begin(), events.end(), 0);
    }
    static std::string text_of(ControlId control) { return platform::window_text(handle_of(control)); }
};

TEST_F(KeyboardHandling, EnterInASingleLineEditBoxClicksTheDefaultButtonAfterTheKeyEvent)
{
    load_window({{kEdit, edit_unit(10, 0)}, {kButton, button_unit(60, 1, 0)}, {kDefault, button_unit(110, 2, 1)}});
    focus(kEdit);
    press(platform::VK_RETURN);

    EXPECT_EQ(clicks(kDefault), 1);
    EXPECT_EQ(clicks(kButton), 0);
    // The edit box's key-down event comes first, then the click.
    const std::vector<LoggedEvent>& events = test_log().events;
    auto key_down = std::find_if(events.begin(), events.end(),
                                 [](const LoggedEvent& e) { return e.control == kEdit && e.event == -9; });
    auto click = std::find_if(events.begin(), events.end(),
                              [](const LoggedEvent& e) { return e.control == kDefault && e.event == 0; });
    ASSERT_NE(key_down, events.end());
    EXPECT_EQ(key_down->arguments, (std::vector<std::int32_t>{platform::VK_RETURN, 0}));
    EXPECT_LT(key_down, click);
    // The Enter that clicked went no further: no character event, nothing typed.
    EXPECT_TRUE(test_log().event_numbers(kWindow, kEdit) == (std::vector<std::int32_t>{-9, -10}));
}

TEST_F(KeyboardHandling, OnlyAnEditableMultiLineEditBoxKeepsEnterForItself)
{
    struct Case {
        std::uint32_t multi_line;
        std::uint32_t input_mode;  // 1 read-only
        bool clicks;
    };
    for (const Case& c : {Case{1, 0, false}, Case{1, 1, true}, Case{0, 0, true}}) {
        SCOPED_TRACE(testing::Message() << "multi-line " << c.multi_line << ", input mode " << c.input_mode);
        load_window({{kEdit, edit_unit(10, 0, c.multi_line, c.input_mode)}, {kDefault, button_unit(110, 1, 1)}});
        focus(kEdit);
        press(platform::VK_RETURN);
        EXPECT_EQ(clicks(kDefault), c.clicks ? 1 : 0);
        EXPECT_EQ(text_of(kEdit).find('\n') != std::string::npos, !c.clicks);
        destroy_remaining_windows();
        platform::process_waiting_messages();
    }
}

TEST_F(KeyboardHandling, EnterOnAButtonClicksTheDefaultButtonOnce)
{
    load_window({{kButton, button_unit(10, 0, 0)},
                 {kDefault, button_unit(60, 1, 1)},
                 {kSecondDefault, button_unit(110, 2, 1)}});

    // A focused default button is the one Enter clicks, even when another comes first.
    focus(kSecondDefault);
    press(platform::VK_RETURN);
    EXPECT_EQ(clicks(kSecondDefault), 1);
    EXPECT_EQ(clicks(kDefault), 0);

    focus(kDefault);
    press(platform::VK_RETURN);
    EXPECT_EQ(clicks(kDefault), 1);

    // A focused button that is not a default one passes Enter to the first default one.
    focus(kButton);
    press(platform::VK_RETURN);
    EXPECT_EQ(clicks(kDefault), 1);
    EXPECT_EQ(clicks(kSecondDefault), 0);
    EXPECT_EQ(clicks(kButton), 0);
}

TEST_F(KeyboardHandling, EnterSkipsDisabledDefaultButtonsAndNeedsOne)
{
    load_window(
        {{kEdit, edit_unit(10, 0)}, {kDefault, button_unit(60, 1, 1)}, {kSecondDefault, button_unit(110, 2, 1)}});
    platform::enable_window(handle_of(kDefault), false);
    focus(kEdit);
    press(platform::VK_RETURN);
    EXPECT_EQ(clicks(kDefault), 0);
    EXPECT_EQ(clicks(kSecondDefault), 1);

    // Without an enabled default button Enter is the edit box's as usual.
    platform::enable_window(handle_of(kSecondDefault), false);
    test_log().events.clear();
    press(platform::VK_RETURN);
    EXPECT_EQ(clicks(kSecondDefault), 0);
    EXPECT_EQ(test_log().event_numbers(kWindow, kEdit).front(), -9);
}

TEST_F(KeyboardHandling, NoDefaultButtonMeansNoClick)
{
    load_window({{kEdit, edit_unit(10, 0)}, {kButton, button_unit(60, 1, 0)}});
    focus(kEdit);
    press(platform::VK_RETURN);
    EXPECT_EQ(clicks(kButton), 0);
}

TEST_F(KeyboardHandling, AFalseKeyDownResultCancelsEnterAndMnemonics)
{
    load_window({{kEdit, edit_unit(10, 0)}, {kDefault, button_unit(60, 1, 1, "&Save")}});
    test_log().results[-9] = {true, 0};
    focus(kEdit);
    press(platform::VK_RETURN);
    press('S', platform::KeyState::Alt);
    EXPECT_EQ(clicks(kDefault), 0);

    // Any other result lets the window handle the key.
    test_log().results[-9] = {true, 1};
    press(platform::VK_RETURN);
    EXPECT_EQ(clicks(kDefault), 1);
}

TEST_F(KeyboardHandling, MnemonicLettersPressTheMarkedButton)
{
    load_window({{kEdit, edit_unit(10, 0)},
                 {kButton, button_unit(60, 1, 0, "&Open")},
                 {kDefault, button_unit(110, 2, 0, "Sa&ve && &Send")}});
    focus(kEdit);
    press('V', platform::KeyState::Alt);
    EXPECT_EQ(clicks(kDefault), 1);
    EXPECT_EQ(clicks(kButton), 0);

    // A plain letter in an edit box is text.
    press('O');
    EXPECT_EQ(clicks(kButton), 0);
    EXPECT_EQ(text_of(kEdit), "o");

    // On a button it is a mnemonic; a letter no caption marks does nothing.
    focus(kDefault);
    press('O');
    press('X');
    EXPECT_EQ(clicks(kButton), 1);
    EXPECT_EQ(clicks(kDefault), 0);

    // A hidden button does not answer its letter.
    platform::show_window(handle_of(kButton), platform::ShowCommand::Hide);
    press('O', platform::KeyState::Alt);
    EXPECT_EQ(clicks(kButton), 1);
}

TEST_F(KeyboardHandling, ALabelOrGroupBoxMnemonicMovesTheFocusToTheNextControlInTabOrder)
{
    // Unit order differs from tab order: the marked unit (tab 1) is followed by the second edit box
    // (tab 2); the last one in tab order goes round to the first.
    constexpr ControlId kSecondEdit = 0x16010016;
    form::GroupBoxBlock group;
    group.caption = "&Name";
    form::UnitFields group_unit = control_unit(Kind::GroupBox, form::write_property_block(group), 110, 1);
    group_unit.state_flags = form::StateFlag::Visible;
    for (const form::UnitFields& marked : {label_unit(110, 1, "&Name"), group_unit}) {
        SCOPED_TRACE(marked.kind == Kind::Label ? "label" : "group box");
        load_window({{kEdit, edit_unit(10, 0)},
                     {kSecondEdit, edit_unit(60, 2)},
                     {kLabel, marked},
                     {kButton, button_unit(160, 3, 0, "&Last")}});
        focus(kEdit);
        press('N', platform::KeyState::Alt);
        EXPECT_EQ(platform::focus_window(), handle_of(kSecondEdit));
        EXPECT_EQ(text_of(kSecondEdit), "");

        // A disabled edit box is passed over.
        focus(kEdit);
        platform::enable_window(handle_of(kSecondEdit), false);
        press('N', platform::KeyState::Alt);
        EXPECT_EQ(platform::focus_window(), handle_of(kButton));
        EXPECT_EQ(clicks(kButton), 0);
        destroy_remaining_windows();
        platform::process_waiting_messages();
    }
}

}  // namespace
}  // namespace window_test
