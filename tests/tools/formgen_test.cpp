#include "platform/text_encoding.h"
#include "runtime/form/form_description.h"
#include "runtime/form/property_blocks.h"

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdio>
#include <filesystem>

#include <fstream>
#include <iterator>
#include <string>
#include <unistd.h>

namespace fs = std::filesystem;
using namespace runtime::form;

namespace {

struct Generated {
    int exit_code = -1;
    std::string messages;
    std::vector<std::uint8_t> form;
    std::vector<std::uint8_t> pool;
};

const char kPoolSource[] = R"(empty_text
kind "一" a.jpg
kind "二" a.jpg
kind "三" a.jpg
kind "四" a.jpg
kind "五" a.jpg
kind "六" a.jpg
kind "七" a.jpg
kind "八" a.jpg
kind "九" a.jpg
kind "十" a.jpg
kind "十一" a.jpg
kind "十二" a.jpg
kind "十三" a.jpg
kind "十四" a.jpg
kind "十五" a.jpg
kind "十六" a.jpg
empty_byte_set
song_typeface "宋体"
)";

std::vector<std::uint8_t> read_bytes(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

Generated generate(const std::string& window_source)
{
    static int counter = 0;
    // Tests run as separate processes side by side: the process id keeps their folders apart.
    fs::path folder =
        fs::path(testing::TempDir()) / ("formgen_test_" + std::to_string(::getpid()) + "_" + std::to_string(++counter));
    fs::create_directories(folder);
    std::ofstream(folder / "window.txt") << window_source;
    std::ofstream(folder / "pool.txt") << kPoolSource;
    std::ofstream(folder / "a.jpg", std::ios::binary) << "\xFF\xD8picture\xFF\xD9";

    std::string command = std::string(CERTMAKER_BINARY_DIR "/bin/formgen") + " --window '" +
                          (folder / "window.txt").string() + "' --pool '" + (folder / "pool.txt").string() +
                          "' --pictures '" + folder.string() + "' --form-out '" + (folder / "out.form").string() +
                          "' --pool-out '" + (folder / "out.pool").string() + "' --source-out '" +
                          (folder / "out.cpp").string() + "' 2>&1";
    Generated result;
    FILE* pipe = popen(command.c_str(), "r");
    char buffer[1024];
    std::size_t got;
    while (pipe && (got = fread(buffer, 1, sizeof buffer, pipe)) > 0)
        result.messages.append(buffer, got);
    int status = pipe ? pclose(pipe) : -1;
    result.exit_code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    result.form = read_bytes(folder / "out.form");
    result.pool = read_bytes(folder / "out.pool");
    return result;
}

}  // namespace

TEST(Formgen, BuildsUnitsAndBlocksFromTheLineFormat)
{
    Generated out = generate(R"(# a comment
window 0x52010002
  value_a 7
  text_b "不透明"
unit 0x06010000 window ""
  rect 1 2 3 4
  event 9 tray_icon
  caption "标题 \"引号\""
  border_style 0
unit 0x16010001 ComboBox "组合框"
  parent 0x16010002
  flags visible disabled
  tag "标记"
  mouse_pointer 0xFFFFFFFF
  version 2
  items "甲"
  items "乙"
  current_selection -1
  font face="黑体" height=-16 weight=700
unit 0x16010002 PicBox "图片框"
  children 0x16010001 0
  flags none
  event -1 photo_choice
  picture file a.jpg
)");
    ASSERT_EQ(out.exit_code, 0) << out.messages;
    auto description = read_form_description(out.form);
    ASSERT_TRUE(description.ok());
    const WindowUnit& window = description->windows.at(0);
    EXPECT_EQ(window.id, 0x52010002);
    EXPECT_EQ(window.value_a, 7u);
    EXPECT_EQ(window.text_b, platform::gbk_from_utf8("不透明"));

    const UnitRecord& own = window.units.record(0);
    EXPECT_EQ(own.width(), 3);
    EXPECT_EQ(own.state_flags(), StateFlag::Visible);  // the default
    EXPECT_EQ(own.events().at(0).offset, 0x0006u);
    auto window_block = read_property_block<WindowBlock>(own.property_block());
    ASSERT_TRUE(window_block.ok());
    EXPECT_EQ(window_block->caption, platform::gbk_from_utf8("标题 \"引号\""));
    EXPECT_EQ(window_block->border_style, 0u);

    const UnitRecord& combo = window.units.record(1);
    EXPECT_EQ(combo.parent(), 0x16010002);
    EXPECT_EQ(combo.state_flags(), StateFlag::Visible | StateFlag::Disabled);
    EXPECT_EQ(combo.tag(), platform::gbk_from_utf8("标记"));
    EXPECT_EQ(combo.mouse_pointer().size(), 4u);
    EXPECT_EQ(combo.mouse_pointer()[3], 0xFF);
    EXPECT_EQ(combo.property_block()[0], 2);  // the version asked for
    auto combo_block = read_property_block<ComboBoxBlock>(combo.property_block());
    ASSERT_TRUE(combo_block.ok());
    EXPECT_EQ(combo_block->items.size(), 2u);
    EXPECT_EQ(combo_block->current_selection, -1);
    ASSERT_TRUE(combo_block->font.has_value());
    EXPECT_EQ(combo_block->font->weight, 700);
    EXPECT_EQ(std::string(combo_block->font->face_name), platform::gbk_from_utf8("黑体"));

    const UnitRecord& picture = window.units.record(2);
    EXPECT_EQ(picture.children(), (std::vector<runtime::ControlId>{0x16010001, 0}));
    EXPECT_EQ(picture.state_flags(), 0u);
    EXPECT_EQ(picture.events().at(0).number, -1);
    auto picture_block = read_property_block<PictureBoxBlock>(picture.property_block());
    ASSERT_TRUE(picture_block.ok());
    EXPECT_EQ(picture_block->picture.size(), 11u);

    // The pool: the empty text, sixteen names (ten of one GBK character, six of two) each followed
    // by its 11-byte template as a byte set, the empty byte set, "宋体".
    EXPECT_EQ(out.pool.size(), 1u + 10 * 3 + 6 * 5 + 16 * (8 + 11) + 8 + 5);
}

TEST(Formgen, ReportsMistakesWithTheirLine)
{
    struct Case {
        const char* source;
        const char* message;
    };
    const Case cases[] = {
        {"window 0x52010001\nunit 0x06010000 window \"\"\n  colour 3\n", ":3: unknown statement or field 'colour'"},
        {"window 0x52010001\nunit 0x06010000 window \"\"\n  event 0 nothing\n", ":3: unknown handler 'nothing'"},
        {"window 0x52010001\nunit 0x16010001 Slider \"x\"\n", ":2: unknown kind 'Slider'"},
        {"window 0x52010001\nunit 0x06010000 window \"\"\n  rect 1 2 3\n", ":3: 'rect' takes 4 value(s)"},
        {"window 0x52010001\nunit 0x06010000 window \"\"\n  caption \"😀\"\n", ":3: text has characters without"},
        {"window 0x52010001\nunit 0x06010000 window \"\"\n  version 7\n", ":2: version above the kind's highest"},
        {"window 0x52010001\nunit 0x06010000 window \"\"\n  border_style 0x100000000\n", ":3: not a 32-bit number"},
        {"window 0x52010001\nunit 0x16010001 Label \"x\"\n", "the first unit of a window must be of kind window"},
        {"unit 0x06010000 window \"\"\n", ":1: a window must come first"},
        {"window 0x52000000\n", ":1: invalid window identifier"},
    };
    for (const Case& c : cases) {
        Generated out = generate(c.source);
        EXPECT_EQ(out.exit_code, 1) << c.source;
        EXPECT_NE(out.messages.find(c.message), std::string::npos) << c.source << "\n" << out.messages;
    }
}
