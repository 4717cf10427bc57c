#include "runtime/components/combo_box.h"

#include "tests/runtime/components/control_test_harness.h"

#include "platform/controls/combo_control.h"
#include "platform/input_synthesis.h"
#include "platform/key_codes.h"
#include "platform/text_encoding.h"
#include "runtime/form/byte_reader.h"
#include "runtime/form/byte_writer.h"

#include <gtest/gtest.h>

namespace runtime::components {
namespace {

using namespace control_test;
using platform::gbk_from_utf8;

constexpr ControlId kCombo = kFirstControl;

std::vector<std::string> kinds_of_certificate()
{
    std::vector<std::string> items;
    for (const char* name : {"光棍证", "聊天许可证", "爱神证", "处男证", "好人卡", "帅哥证", "美女证", "吃货证",
                             "宅男证", "剩女证", "学霸证", "懒人证", "土豪证", "逗比证", "暖男证", "单身证"})
        items.push_back(gbk_from_utf8(name));
    return items;
}

class ComboBoxTest : public ControlKindTest {
protected:
    void SetUp() override
    {
        ControlKindTest::SetUp();
        store_window(Kind::ComboBox, combo_box_kind(), 1);
    }

    ComboBox* make(const form::ComboBoxBlock& block, platform::Rect rect = {72, 36, 72 + 112, 36 + 24})
    {
        auto* combo = static_cast<ComboBox*>(
            create_control(combo_box_kind(), form::write_property_block(block), m_parent, kCombo, rect));
        EXPECT_NE(combo, nullptr);
        platform::process_waiting_messages();
        raised_events().clear();
        return combo;
    }

    // The kind selector of the main window: a drop-down list of sixteen items, the first selected.
    ComboBox* make_selector()
    {
        form::ComboBoxBlock block;
        block.style = ComboBoxStyle::DropDownList;
        block.extra_item_height = 2;
        block.current_selection = 0;
        block.items = kinds_of_certificate();
        return make(block);
    }

    std::string content(ComboBox* combo) { return read_text(combo_box_kind(), combo, ComboBoxProperty::Content); }
    std::int32_t selection(ComboBox* combo)
    {
        return read_integer(combo_box_kind(), combo, ComboBoxProperty::CurrentSelection);
    }
};

TEST_F(ComboBoxTest, SelectionWritesClampToTheListWithoutAnEvent)
{
    ComboBox* combo = make_selector();
    EXPECT_EQ(content(combo), kinds_of_certificate()[0]);

    write_property(combo_box_kind(), combo, ComboBoxProperty::CurrentSelection, 99);
    EXPECT_EQ(selection(combo), 15);
    EXPECT_EQ(content(combo), kinds_of_certificate()[15]);
    write_property(combo_box_kind(), combo, ComboBoxProperty::CurrentSelection, static_cast<Word>(-5));
    EXPECT_EQ(selection(combo), -1);
    EXPECT_EQ(content(combo), "");
    platform::process_waiting_messages();
    EXPECT_TRUE(raised_events().empty());
}

TEST_F(ComboBoxTest, DropDownListKeepsShowingTheSelectedItemWhenContentIsWritten)
{
    ComboBox* combo = make_selector();
    write_property(combo_box_kind(), combo, ComboBoxProperty::CurrentSelection, 3);
    write_text(combo_box_kind(), combo, ComboBoxProperty::Content, gbk_from_utf8("别的"));
    EXPECT_EQ(content(combo), kinds_of_certificate()[3]);
    EXPECT_EQ(read_integer(combo_box_kind(), combo, ComboBoxProperty::SelectionLength), 0);
    EXPECT_EQ(read_text(combo_box_kind(), combo, ComboBoxProperty::SelectedText), "");
}

TEST_F(ComboBoxTest, ItemSelectedRunsAfterTheChoiceIsInPlace)
{
    ComboBox* combo = make_selector();
    std::string seen_content;
    std::int32_t seen_selection = -2;
    event_handler_hook() = [&](const RaisedEvent& event) {
        if (event.event == ComboBoxEvent::ItemSelected) {
            seen_content = content(combo);
            seen_selection = selection(combo);
        }
    };

    // The user opens the list and clicks the fourth item.
    platform::synthesize_click(combo->handle(), {50, 12});
    platform::process_waiting_messages();
    ASSERT_TRUE(platform::combo_dropped(combo->handle()));
    ASSERT_TRUE(platform::click_combo_list_item(combo->handle(), 3));
    platform::process_waiting_messages();

    EXPECT_FALSE(platform::combo_dropped(combo->handle()));
    EXPECT_EQ(seen_content, kinds_of_certificate()[3]);
    EXPECT_EQ(seen_selection, 3);
    std::vector<std::int32_t> events;
    for (const RaisedEvent& event : raised_events()) {
        if (event.event >= 0)
            events.push_back(event.event);
    }
    EXPECT_EQ(events, (std::vector<std::int32_t>{ComboBoxEvent::DroppingDown, ComboBoxEvent::ClosedUp,
                                                 ComboBoxEvent::ItemSelected}));
}

TEST_F(ComboBoxTest, DropDownStylesKeepTheirHeightAndDropIntoTheRoomBelow)
{
    ComboBox* combo = make_selector();
    EXPECT_EQ(platform::window_rect_in_parent(combo->handle()).height(), 24);
}

TEST_F(ComboBoxTest, TypingIntoADropDownRaisesEditChanged)
{
    form::ComboBoxBlock block;
    block.style = ComboBoxStyle::DropDown;
    block.items = {"one", "two"};
    block.content = "x";
    ComboBox* combo = make(block);
    EXPECT_EQ(content(combo), "x");
    platform::set_focus(combo->handle());
    platform::process_waiting_messages();
    raised_events().clear();
    platform::synthesize_key_stroke(combo->handle(), 'A');
    platform::synthesize_key_stroke(combo->handle(), 'B');
    platform::process_waiting_messages();
    EXPECT_EQ(count_events(ComboBoxEvent::EditTextChanged), 2);

    // A program's write changes the text without an event.
    raised_events().clear();
    write_text(combo_box_kind(), combo, ComboBoxProperty::Content, "two");
    EXPECT_EQ(content(combo), "two");
    EXPECT_EQ(count_events(ComboBoxEvent::EditTextChanged), 0);
}

TEST_F(ComboBoxTest, ItemsReadAsATextListAndChangesRebuildTheControl)
{
    form::ComboBoxBlock block;
    block.style = ComboBoxStyle::DropDown;
    block.items = {"a", "b", "c"};
    block.item_data = {7, 0, 0, 0, 8, 0, 0, 0};  // the third item has none
    block.current_selection = 1;
    ComboBox* combo = make(block);
    EXPECT_EQ(platform::combo_item_data(combo->handle(), 0), 7u);
    EXPECT_EQ(platform::combo_item_data(combo->handle(), 1), 8u);
    EXPECT_EQ(platform::combo_item_data(combo->handle(), 2), 0u);

    PropertyData items = read_property(combo_box_kind(), combo, ComboBoxProperty::Items);
    form::ByteReader in(std::span<const std::uint8_t>(reinterpret_cast<const std::uint8_t*>(items.word1), items.word2));
    EXPECT_EQ(in.text_list(), block.items);

    // The user's text and choice survive the rebuild that new items ask for.
    write_text(combo_box_kind(), combo, ComboBoxProperty::Content, "typed");
    form::ByteWriter out;
    std::vector<std::string> more = {"a", "b", "c", "d"};
    out.text_list(more);
    std::vector<std::uint8_t> encoded = out.take();
    EXPECT_EQ(write_property(combo_box_kind(), combo, ComboBoxProperty::Items, reinterpret_cast<Word>(encoded.data()),
                             encoded.size()),
              1);
    auto* rebuilt = static_cast<ComboBox*>(recreate(combo_box_kind(), combo, m_parent));
    ASSERT_NE(rebuilt, nullptr);
    EXPECT_EQ(platform::combo_item_count(rebuilt->handle()), 4);
    EXPECT_EQ(selection(rebuilt), 1);
    EXPECT_EQ(content(rebuilt), "typed");
}

TEST_F(ComboBoxTest, SortedListPlacesItemsWithTheirData)
{
    form::ComboBoxBlock block;
    block.style = ComboBoxStyle::DropDownList;
    block.sorted = 1;
    block.items = {"pear", "Apple", "fig"};
    block.item_data = {1, 0, 0, 0, 2, 0, 0, 0, 3, 0, 0, 0};
    block.current_selection = 0;
    ComboBox* combo = make(block);
    EXPECT_EQ(platform::combo_item_text(combo->handle(), 0), "Apple");
    EXPECT_EQ(platform::combo_item_data(combo->handle(), 0), 2u);
    EXPECT_EQ(platform::combo_item_text(combo->handle(), 2), "pear");
    EXPECT_EQ(platform::combo_item_data(combo->handle(), 2), 1u);
    EXPECT_EQ(content(combo), "Apple");
}

TEST_F(ComboBoxTest, StyleChangesSwapTheDefaultBackgroundAndRebuild)
{
    form::ComboBoxBlock block;
    block.style = ComboBoxStyle::Simple;
    block.background_colour = kDefaultColour;
    ComboBox* combo = make(block, {10, 10, 122, 110});
    const KindRecord& kind = combo_box_kind();
    EXPECT_EQ(write_property(kind, combo, ComboBoxProperty::Style, ComboBoxStyle::Simple), 0);
    EXPECT_EQ(write_property(kind, combo, ComboBoxProperty::Style, ComboBoxStyle::DropDown), 1);
    EXPECT_EQ(static_cast<std::uint32_t>(read_integer(kind, combo, ComboBoxProperty::BackgroundColour)), 0xFFFFFFu);
    EXPECT_EQ(write_property(kind, combo, ComboBoxProperty::Style, ComboBoxStyle::Simple), 1);
    EXPECT_EQ(static_cast<std::uint32_t>(read_integer(kind, combo, ComboBoxProperty::BackgroundColour)),
              kDefaultColour);
    EXPECT_EQ(write_property(kind, combo, ComboBoxProperty::Style, 7), 1);  // clamped to 2
    EXPECT_EQ(read_integer(kind, combo, ComboBoxProperty::Style), 2);
}

TEST_F(ComboBoxTest, AnswersItsOwnColourQueries)
{
    form::ComboBoxBlock block;
    block.text_colour = 0x00FF00;
    block.background_colour = 0x0000FF;
    ComboBox* combo = make(block);
    platform::ControlColours colours = platform::query_control_colours(combo->handle(), platform::WM_CTLCOLORLISTBOX);
    EXPECT_EQ(colours.text, 0x00FF00u);
    EXPECT_EQ(colours.brush, 0x0000FFu);
}

}  // namespace
}  // namespace runtime::components
