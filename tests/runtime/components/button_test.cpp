#include "runtime/components/button.h"

#include "runtime/components/group_box.h"
#include "tests/runtime/components/controls_test_support.h"

#include "platform/controls/button_control.h"
#include "platform/input_synthesis.h"
#include "platform/key_codes.h"

#include <gtest/gtest.h>

namespace runtime::components {
namespace {

using namespace controls_test;

constexpr ControlId kButton = kFirstControl;
constexpr ControlId kGroup = kFirstControl + 1;

class ButtonTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        register_kind(Kind::Button, &button_kind());
        register_kind(Kind::GroupBox, &group_box_kind());
        install_event_window({Kind::Button, Kind::GroupBox});
        m_parent = make_parent(400, 300, 0xFFFFFF);
    }

    void TearDown() override
    {
        platform::destroy_window(m_parent);
        platform::process_waiting_messages();
        window_table().clear();
    }

    Button* make_button(const form::ButtonBlock& block, platform::WindowHandle parent = 0)
    {
        std::vector<std::uint8_t> bytes = form::write_property_block(block);
        return create_component<Button>(button_kind(), parent ? parent : m_parent, bytes,
                                        platform::Rect{20, 20, 100, 52}, kButton);
    }

    int clicks() const
    {
        int count = 0;
        for (const RaisedEvent& raised : raised_events())
            count += raised.control == kButton && raised.event == 0;
        return count;
    }

    platform::WindowHandle m_parent = 0;
};

TEST_F(ButtonTest, ClickedByMouseAndBySpace)
{
    Button* button = make_button(form::ButtonBlock{});
    ASSERT_NE(button, nullptr);
    platform::process_waiting_messages();

    platform::synthesize_click(button->handle(), platform::Point{10, 10});
    platform::process_waiting_messages();
    EXPECT_EQ(clicks(), 1);

    platform::set_focus(button->handle());
    platform::process_waiting_messages();
    platform::synthesize_key_stroke(button->handle(), platform::VK_SPACE);
    platform::process_waiting_messages();
    EXPECT_EQ(clicks(), 2);

    // Enter belongs to the window's keyboard handling: the button itself ignores it.
    platform::synthesize_key_stroke(button->handle(), platform::VK_RETURN);
    platform::process_waiting_messages();
    EXPECT_EQ(clicks(), 2);

    // A disabled button is not clicked.
    platform::enable_window(button->handle(), false);
    platform::synthesize_click(button->handle(), platform::Point{10, 10});
    platform::process_waiting_messages();
    EXPECT_EQ(clicks(), 2);
}

TEST_F(ButtonTest, FocusRaisesItsEvents)
{
    Button* button = make_button(form::ButtonBlock{});
    ASSERT_NE(button, nullptr);
    platform::set_focus(button->handle());
    platform::process_waiting_messages();
    platform::set_focus(m_parent);
    platform::process_waiting_messages();
    std::vector<std::int32_t> focus_events;
    for (const RaisedEvent& raised : raised_events())
        if (raised.control == kButton)
            focus_events.push_back(raised.event);
    EXPECT_EQ(focus_events, (std::vector<std::int32_t>{-7, -8}));
}

TEST_F(ButtonTest, DefaultButtonIsSwitchedInPlaceAndActivatedOnRequest)
{
    form::ButtonBlock block;
    block.default_button = 1;
    Button* button = make_button(block);
    ASSERT_NE(button, nullptr);
    auto default_activation =
        reinterpret_cast<DefaultActivationOperation>(button_kind().interface_function(Interface::DefaultActivation));
    ASSERT_NE(default_activation, nullptr);
    platform::WindowHandle handle = button->handle();
    EXPECT_EQ(default_activation(button), 1);

    EXPECT_EQ(write_property(button_kind(), button, ButtonProperty::DefaultButton, integer_data(0)), 0);
    EXPECT_EQ(default_activation(button), 0);
    EXPECT_EQ(button->handle(), handle);
    write_property(button_kind(), button, ButtonProperty::DefaultButton, integer_data(5));
    EXPECT_EQ(as_integer(read_property(button_kind(), button, ButtonProperty::DefaultButton)), 1);
    EXPECT_EQ(default_activation(button), 1);

    EXPECT_TRUE(activate_button(button));
    EXPECT_EQ(clicks(), 1);
    EXPECT_FALSE(activate_button(nullptr));
}

TEST_F(ButtonTest, StylesFollowTheBlockAndAlignmentWrites)
{
    form::ButtonBlock block;
    block.horizontal_alignment = 2;
    block.vertical_alignment = 0;
    EXPECT_EQ(button_style(block), 0x44002000u | platform::BS_RIGHT | platform::BS_TOP);
    block.default_button = 1;
    block.horizontal_alignment = 1;
    block.vertical_alignment = 1;
    EXPECT_EQ(button_style(block), 0x44002000u | 1u | 0x300u | 0xC00u);

    Button* button = make_button(form::ButtonBlock{});
    ASSERT_NE(button, nullptr);
    write_property(button_kind(), button, ButtonProperty::HorizontalAlignment, integer_data(0));
    write_property(button_kind(), button, ButtonProperty::VerticalAlignment, integer_data(9));
    std::uint32_t style = platform::window_style(button->handle());
    EXPECT_EQ(style & platform::BS_HORIZONTAL_MASK, platform::BS_LEFT);
    EXPECT_EQ(style & platform::BS_VERTICAL_MASK, platform::BS_BOTTOM);
    EXPECT_EQ(as_integer(read_property(button_kind(), button, ButtonProperty::VerticalAlignment)), 2);
    EXPECT_EQ(button_kind().property_count, 14);
}

TEST_F(ButtonTest, PicturesShowInsteadOfTheCaptionAndAskForRecreationWhenWritten)
{
    form::ButtonBlock block;
    block.picture = solid_bmp(16, 12, 0x0000FF);
    Button* with_picture = make_button(block);
    ASSERT_NE(with_picture, nullptr);
    EXPECT_NE(platform::window_style(with_picture->handle()) & platform::BS_BITMAP, 0u);

    block.picture = {'B', 'M', 0, 0, 0, 0, 0, 0, 0, 0};
    Button* broken = make_button(block);
    ASSERT_NE(broken, nullptr);
    EXPECT_EQ(platform::window_style(broken->handle()) & (platform::BS_BITMAP | platform::BS_ICON), 0u);
    EXPECT_EQ(read_property(button_kind(), broken, ButtonProperty::Picture).word2, 0u);

    std::vector<std::uint8_t> picture = solid_bmp(4, 4, 0);
    EXPECT_EQ(write_property(button_kind(), broken, ButtonProperty::Picture, byte_data(picture)), 1);
    PropertyData stored = read_property(button_kind(), broken, ButtonProperty::Picture);
    EXPECT_EQ(stored.word2, picture.size());
}

TEST_F(ButtonTest, ButtonInsideAGroupBoxStillGetsItsClicks)
{
    form::GroupBoxBlock group_block;
    group_block.caption = "group";
    group_block.background_colour = 0x00FFFF;
    group_block.text_colour = 0x0000FF;
    std::vector<std::uint8_t> bytes = form::write_property_block(group_block);
    GroupBox* group =
        create_component<GroupBox>(group_box_kind(), m_parent, bytes, platform::Rect{10, 10, 310, 210}, kGroup);
    ASSERT_NE(group, nullptr);
    Button* button = make_button(form::ButtonBlock{}, group->handle());
    ASSERT_NE(button, nullptr);
    platform::process_waiting_messages();

    platform::synthesize_click(button->handle(), platform::Point{10, 10});
    platform::process_waiting_messages();
    EXPECT_EQ(clicks(), 1);

    // The group box fills its client area with its background colour.
    std::unique_ptr<platform::Bitmap> pixels = platform::capture_window(m_parent);
    ASSERT_TRUE(pixels);
    EXPECT_EQ(pixels->pixel(10 + 150, 10 + 150), 0x00FFFFu);

    // Its own colour query, passed back by its parent, answers its colours.
    platform::ControlColours colours;
    platform::send_message(m_parent, platform::WM_CTLCOLORSTATIC, reinterpret_cast<std::uintptr_t>(&colours),
                           group->handle());
    EXPECT_EQ(colours.text, 0x0000FFu);
    EXPECT_EQ(colours.brush, 0x00FFFFu);

    write_property(group_box_kind(), group, GroupBoxProperty::BackgroundColour, integer_data(0x00FF00));
    pixels = platform::capture_window(m_parent);
    EXPECT_EQ(pixels->pixel(10 + 150, 10 + 150), 0x00FF00u);

    write_property(group_box_kind(), group, GroupBoxProperty::TitleAlignment, integer_data(4));
    EXPECT_EQ(as_integer(read_property(group_box_kind(), group, GroupBoxProperty::TitleAlignment)), 2);
    EXPECT_EQ(platform::window_style(group->handle()) & (platform::BS_TYPEMASK | platform::BS_HORIZONTAL_MASK),
              platform::BS_GROUPBOX | platform::BS_RIGHT);
    EXPECT_EQ(group_box_kind().property_count, 13);
    EXPECT_EQ(group_box_kind().flags & KindFlag::Container, KindFlag::Container);
}

}  // namespace
}  // namespace runtime::components
