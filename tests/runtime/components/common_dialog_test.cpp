#include "runtime/components/common_dialog.h"

#include "tests/runtime/components/controls_test_support.h"

#include "platform/dialogs.h"
#include "platform/text_encoding.h"

#include <gtest/gtest.h>

#include <cstring>

namespace runtime::components {
namespace {

using namespace controls_test;

class CommonDialogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        platform::set_dialog_service(&m_dialogs);
        m_parent = make_parent(200, 100, 0xFFFFFF);
    }

    void TearDown() override
    {
        platform::set_dialog_service(nullptr);
        platform::destroy_window(m_parent);
        platform::process_waiting_messages();
    }

    CommonDialog* make_dialog(const form::CommonDialogBlock& block)
    {
        std::vector<std::uint8_t> bytes = form::write_property_block(block);
        return create_component<CommonDialog>(common_dialog_kind(), m_parent, bytes,
                                              platform::Rect{160, 112, 192, 136});
    }

    std::string text_property(CommonDialog* dialog, int index)
    {
        return reinterpret_cast<const char*>(read_property(common_dialog_kind(), dialog, index).word1);
    }

    platform::ScriptedDialogService m_dialogs;
    platform::WindowHandle m_parent = 0;
};

TEST(CommonDialogFilterTest, EndsWithTwoBarsUnlessEmpty)
{
    EXPECT_EQ(file_dialog_filter("jpg|*.jpg|"), "jpg|*.jpg|||");
    EXPECT_EQ(file_dialog_filter("jpg|*.jpg"), "jpg|*.jpg||");
    EXPECT_EQ(file_dialog_filter("jpg|*.jpg||"), "jpg|*.jpg||");
    EXPECT_EQ(file_dialog_filter("jpg|*.jpg||  \t\r\n"), "jpg|*.jpg||");
    EXPECT_EQ(file_dialog_filter("jpg|*.jpg   "), "jpg|*.jpg||");
    EXPECT_EQ(file_dialog_filter("   "), "");
    EXPECT_EQ(file_dialog_filter(""), "");
}

TEST(CommonDialogFilterTest, MultiplyDivideRoundsHalvesAwayFromZero)
{
    EXPECT_EQ(multiply_divide(12, 96, 72), 16);
    EXPECT_EQ(multiply_divide(16, 72, 96), 12);
    EXPECT_EQ(multiply_divide(9, 96, 72), 12);
    EXPECT_EQ(multiply_divide(1, 3, 2), 2);
    EXPECT_EQ(multiply_divide(-1, 3, 2), -2);
    EXPECT_EQ(multiply_divide(7, 72, 96), 5);  // 5.25
    EXPECT_EQ(multiply_divide(5, 5, 0), -1);
}

TEST_F(CommonDialogTest, OpenDialogGetsFlagsFilterAndInitialSelection)
{
    form::CommonDialogBlock block;
    block.filter = platform::gbk_from_utf8("jpg图片|*.jpg|bmp图片|*.bmp|gif图片|*.gif|所有文件|*.*");
    block.initial_filter = 2;
    block.title = "pick";
    block.file_name = "old.jpg";
    block.initial_directory = "/tmp";
    block.default_extension = "jpg";
    block.keep_directory = 1;
    block.overwrite_prompt = 2;  // only exactly 1 counts
    CommonDialog* dialog = make_dialog(block);
    ASSERT_NE(dialog, nullptr);
    EXPECT_FALSE(platform::is_visible(dialog->handle()));

    m_dialogs.queue_file_answer({true, "/tmp/new.jpg"});
    EXPECT_EQ(open_common_dialog(dialog), 1);
    ASSERT_EQ(m_dialogs.file_requests().size(), 1u);
    const platform::FileDialogRequest& asked = m_dialogs.file_requests()[0];
    using namespace platform::FileDialogFlag;
    EXPECT_EQ(asked.mode, platform::FileDialogMode::Open);
    EXPECT_EQ(asked.flags, HideReadOnly | FileMustExist | PathMustExist | NoChangeDirectory);
    EXPECT_EQ(asked.filter, block.filter + "||");
    EXPECT_EQ(asked.initial_filter_index, 3);  // the third pair
    EXPECT_EQ(asked.title, "pick");
    EXPECT_EQ(asked.initial_file_name, "old.jpg");
    EXPECT_EQ(asked.initial_directory, "/tmp");
    EXPECT_EQ(asked.default_extension, "jpg");
    EXPECT_EQ(asked.owner, m_parent);
    EXPECT_EQ(text_property(dialog, CommonDialogProperty::FileName), "/tmp/new.jpg");
}

TEST_F(CommonDialogTest, InitialFilterIndexRules)
{
    struct Case {
        const char* filter;
        std::uint32_t initial;
        int index;
    };
    const Case cases[] = {{"a|*.a", 0, 1}, {"a|*.a", 0xFFFFFFFF, 1}, {"", 2, 0}, {"a|*.a|b|*.b", 1, 2}};
    for (const Case& c : cases) {
        form::CommonDialogBlock block;
        block.filter = c.filter;
        block.initial_filter = c.initial;
        CommonDialog* dialog = make_dialog(block);
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->file_request().initial_filter_index, c.index) << c.filter << " " << c.initial;
    }
}

TEST_F(CommonDialogTest, CancelledSaveKeepsTheFileName)
{
    form::CommonDialogBlock block;
    block.dialog_type = 1;
    block.file_name = "keep.bmp";
    block.create_prompt = 1;
    CommonDialog* dialog = make_dialog(block);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(open_common_dialog(dialog), 0);  // the scripted service cancels when it has no answer
    ASSERT_EQ(m_dialogs.file_requests().size(), 1u);
    EXPECT_EQ(m_dialogs.file_requests()[0].mode, platform::FileDialogMode::Save);
    using namespace platform::FileDialogFlag;
    EXPECT_EQ(m_dialogs.file_requests()[0].flags,
              HideReadOnly | CreatePrompt | FileMustExist | OverwritePrompt | PathMustExist);
    EXPECT_EQ(text_property(dialog, CommonDialogProperty::FileName), "keep.bmp");
}

TEST_F(CommonDialogTest, FontDialogRoundTripsSizeAndAttributes)
{
    form::CommonDialogBlock block;
    block.dialog_type = 2;
    block.font_size = 9;
    block.italic = 1;
    block.font_name = platform::gbk_from_utf8("宋体");
    block.font_colour = 0x112233;
    CommonDialog* dialog = make_dialog(block);
    ASSERT_NE(dialog, nullptr);

    platform::FontDialogAnswer answer;
    answer.confirmed = true;
    answer.font.height = -16;
    answer.font.weight = 700;
    std::string face = platform::gbk_from_utf8("黑体");
    std::memcpy(answer.font.face_name, face.c_str(), face.size() + 1);
    answer.colour = 0x0000FF;
    m_dialogs.queue_font_answer(answer);
    EXPECT_EQ(open_common_dialog(dialog), 1);

    ASSERT_EQ(m_dialogs.font_requests().size(), 1u);
    const platform::FontDialogRequest& asked = m_dialogs.font_requests()[0];
    EXPECT_EQ(asked.font.height, -12);
    EXPECT_EQ(asked.font.weight, 0);
    EXPECT_EQ(asked.font.italic, 1);
    EXPECT_EQ(std::string(asked.font.face_name), block.font_name);
    EXPECT_EQ(asked.colour, 0x112233u);

    auto integer = [&](int index) { return as_integer(read_property(common_dialog_kind(), dialog, index)); };
    EXPECT_EQ(integer(CommonDialogProperty::FontSize), 12);
    EXPECT_EQ(integer(CommonDialogProperty::Bold), 1);
    EXPECT_EQ(integer(CommonDialogProperty::Italic), 0);
    EXPECT_EQ(integer(CommonDialogProperty::FontColour), 0x0000FF);
    EXPECT_EQ(text_property(dialog, CommonDialogProperty::FontName), face);

    // A cancelled font dialog changes nothing.
    EXPECT_EQ(open_common_dialog(dialog), 0);
    EXPECT_EQ(integer(CommonDialogProperty::FontSize), 12);
    EXPECT_EQ(integer(CommonDialogProperty::FontColour), 0x0000FF);
}

TEST_F(CommonDialogTest, WritesAreClampedAndHelpOpensNothing)
{
    CommonDialog* dialog = make_dialog(form::CommonDialogBlock{});
    ASSERT_NE(dialog, nullptr);
    struct Case {
        int index;
        std::int32_t written;
        std::int32_t stored;
    };
    const Case cases[] = {
        {CommonDialogProperty::Type, 9, 3},         {CommonDialogProperty::HelpCommand, 8, 5},
        {CommonDialogProperty::HelpCommand, -2, 0}, {CommonDialogProperty::InitialFilter, -4, 0},
        {CommonDialogProperty::FontSize, -12, 0},   {CommonDialogProperty::HelpTopic, -12, -12},
        {CommonDialogProperty::Bold, 1, 1},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(write_property(common_dialog_kind(), dialog, c.index, integer_data(c.written)), 0);
        EXPECT_EQ(as_integer(read_property(common_dialog_kind(), dialog, c.index)), c.stored) << c.index;
    }
    // Dialog type 3 (help): no help viewer exists here.
    EXPECT_EQ(open_common_dialog(dialog), 0);
    EXPECT_TRUE(m_dialogs.file_requests().empty());
    EXPECT_TRUE(m_dialogs.font_requests().empty());
    EXPECT_EQ(open_common_dialog(nullptr), 0);
    EXPECT_EQ(common_dialog_kind().property_count, 30);
    EXPECT_EQ(common_dialog_kind().flags, 0x80008040u);
}

}  // namespace
}  // namespace runtime::components
