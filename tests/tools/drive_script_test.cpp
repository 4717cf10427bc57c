#include "script.h"

#include <gtest/gtest.h>

namespace {

using drive::Verb;

TEST(DriveScript, ParsesEveryCommandWithTheRestOfTheLineAsText)
{
    struct Case {
        std::string line;
        Verb verb;
        std::string control;
        std::string text;
    };
    const Case cases[] = {
        {"kind 光棍证", Verb::Kind, "", "光棍证"},
        {"type 编辑框1 张 三 ", Verb::Type, "编辑框1", "张 三 "},  // blanks kept
        {"type 编辑框1 ", Verb::Type, "编辑框1", ""},              // clears
        {"type 编辑框1", Verb::Type, "编辑框1", ""},
        {"key 编辑框2 Enter", Verb::Key, "编辑框2", "Enter"},
        {"photo /tmp/me.jpg", Verb::Photo, "", "/tmp/me.jpg"},
        {"save out dir/cert.bmp", Verb::Save, "", "out dir/cert.bmp"},
        {"expect 标签10 8 张三 李四", Verb::Expect, "标签10", "张三 李四"},
        {"expect - 8 ", Verb::Expect, "-", ""},
        {"shot main.png", Verb::Shot, "", "main.png"},
        {"close", Verb::Close, "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        drive::ParseResult result = drive::parse_line(c.line);
        ASSERT_TRUE(result.command) << result.error;
        EXPECT_EQ(result.command->verb, c.verb);
        EXPECT_EQ(result.command->control, c.control);
        EXPECT_EQ(result.command->text, c.text);
        EXPECT_EQ(result.command->line, c.line);
    }
}

TEST(DriveScript, NumbersButtonsAndCancels)
{
    auto click = drive::parse_line("click 图片框1 10 20 right");
    ASSERT_TRUE(click.command);
    EXPECT_TRUE(click.command->has_position);
    EXPECT_EQ(click.command->x, 10);
    EXPECT_EQ(click.command->y, 20);
    EXPECT_TRUE(click.command->right_button);

    auto plain = drive::parse_line("click 按钮生成");
    ASSERT_TRUE(plain.command);
    EXPECT_FALSE(plain.command->has_position);
    EXPECT_FALSE(plain.command->right_button);

    auto font = drive::parse_line("font Noto Sans CJK SC 12");
    ASSERT_TRUE(font.command);
    EXPECT_EQ(font.command->text, "Noto Sans CJK SC");
    EXPECT_EQ(font.command->number, 12);

    EXPECT_TRUE(drive::parse_line("font cancel").command->cancel);
    EXPECT_TRUE(drive::parse_line("photo cancel").command->cancel);
    EXPECT_TRUE(drive::parse_line("save cancel").command->cancel);
    EXPECT_EQ(drive::parse_line("get 组合框证件类型 9").command->index, 9);
    EXPECT_EQ(drive::parse_line("wait 250").command->number, 250);
}

TEST(DriveScript, CommentsAndBlankLinesAreNotCommandsAndBadLinesSayWhy)
{
    EXPECT_FALSE(drive::parse_line("# a comment").command);
    EXPECT_TRUE(drive::parse_line("# a comment").error.empty());
    EXPECT_FALSE(drive::parse_line("").command);
    EXPECT_FALSE(drive::parse_line("   ").command);
    EXPECT_TRUE(drive::parse_line("\r").error.empty());

    for (const char* bad :
         {"jump 3", "kind", "key 编辑框1", "click 编辑框1 x 3", "click 编辑框1 1 2 middle", "font 宋体", "font 宋体 -3",
          "get 编辑框1", "get 编辑框1 8 extra", "wait soon", "close now", "photo"}) {
        SCOPED_TRACE(bad);
        drive::ParseResult result = drive::parse_line(bad);
        EXPECT_FALSE(result.command);
        EXPECT_FALSE(result.error.empty());
    }
}

}  // namespace
