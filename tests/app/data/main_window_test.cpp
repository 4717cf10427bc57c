#include "app/data/embedded_data.h"
#include "app/handler_offsets.h"
#include "app/handlers.h"
#include "platform/text_encoding.h"
#include "runtime/form/byte_reader.h"
#include "runtime/form/form_description.h"
#include "runtime/form/property_blocks.h"

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <iterator>

using namespace runtime::form;
namespace Kind = runtime::Kind;
namespace offset = app::handler_offset;

namespace {

constexpr runtime::WindowId kMainWindow = 0x52010001;
constexpr runtime::ControlId kGroupBox = 0x16010243;
constexpr std::uint32_t kVisible = StateFlag::Visible;
constexpr std::uint32_t kVisibleTab = StateFlag::Visible | StateFlag::TabStop;

std::string gbk(const char* utf8)
{
    return platform::gbk_from_utf8(utf8);
}

std::span<const std::uint8_t> embedded_form()
{
    auto span = app::data::form_description();
    return {span.data, span.size};
}

FormDescription main_description()
{
    auto description = read_form_description(embedded_form());
    EXPECT_TRUE(description.ok()) << describe(description.error());
    return std::move(description).value();
}

Bytes template_bytes(int kind)
{
    const void* block = app::data::kind_template(kind);
    const std::uint8_t* data = runtime::byte_set_data(block);
    return {data, data + runtime::byte_set_count(block)};
}

Bytes placeholder_bytes()
{
    std::ifstream in(CERTMAKER_SOURCE_DIR "/app/data/templates/photo_placeholder.jpg", std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

platform::LogFont song_font(const char* face_utf8, std::int32_t height)
{
    platform::LogFont font;
    font.height = height;
    font.weight = 400;
    font.char_set = 134;
    font.out_precision = 3;
    font.clip_precision = 2;
    font.quality = 1;
    font.pitch_and_family = 2;
    std::string face = gbk(face_utf8);
    std::memcpy(font.face_name, face.data(), face.size());
    return font;
}

EditBoxBlock edit_box(const char* content)
{
    EditBoxBlock block;
    block.content = gbk(content);
    return block;
}

LabelBlock label(const char* caption, std::uint32_t background)
{
    LabelBlock block;
    block.caption = gbk(caption);
    block.background_colour = background;
    return block;
}

TransparentLabelBlock transparent_label(const char* caption)
{
    TransparentLabelBlock block;
    block.font = song_font("宋体", -10);
    block.caption = gbk(caption);
    return block;
}

ButtonBlock button(const char* caption)
{
    ButtonBlock block;
    block.caption = gbk(caption);
    return block;
}

struct ExpectedUnit {
    runtime::ControlId id;
    runtime::KindId kind;
    const char* name;
    runtime::ControlId parent;
    std::int32_t left, top, width, height;
    std::uint32_t flags;
    std::vector<std::pair<std::int32_t, std::uint32_t>> events;
    std::vector<std::uint8_t> block;  // the whole property block, as stored
};

std::vector<ExpectedUnit> expected_units()
{
    WindowBlock window;
    window.caption = "divo";

    ButtonBlock save = button("生成");
    save.font = song_font("黑体", -16);

    ComboBoxBlock selector;
    selector.style = 2;
    selector.extra_item_height = 2;
    selector.current_selection = 0;
    for (const char* item :
         {"光棍证", "聊天许可证", "爱神证", "超级美眉证", "初吻证", "赌神证", "超级帅哥证", "处男证", "色狼证",
          "网恋许可证", "良家妇女证", "灌水证", "潜水证", "忽悠证", "良好市民证", "浆糊证"})
        selector.items.push_back(gbk(item));

    GroupBoxBlock group;
    group.caption = gbk("办证区");

    CommonDialogBlock dialog;
    dialog.filter = gbk("jpg图片|*.jpg|bmp图片|*.bmp|gif图片|*.gif|所有文件|*.*");

    PictureBoxBlock photo;
    photo.display_mode = 1;
    photo.picture = placeholder_bytes();

    LabelBlock preview = label("", 0xFFFFFF);
    preview.border = 5;
    preview.frame_width = 5;
    preview.picture_layout = 2;
    preview.background_picture = template_bytes(1);

    constexpr std::uint32_t kFace = 0xFF000000;
    constexpr std::uint32_t kWhite = 0xFFFFFF;
    return {
        {0x06010000,
         Kind::Window,
         "",
         0,
         50,
         50,
         737,
         356,
         kVisible,
         {{0, offset::CreationComplete}, {9, offset::TrayIcon}},
         write_property_block(window)},
        {0x16010244,
         Kind::Button,
         "按钮字体",
         kGroupBox,
         18,
         273,
         64,
         32,
         kVisibleTab,
         {{0, offset::FontChoice}},
         write_property_block(button("字体"))},
        {0x16010245,
         Kind::EditBox,
         "编辑框5",
         kGroupBox,
         72,
         191,
         112,
         24,
         kVisibleTab,
         {{0, offset::NumberMirroring}},
         write_property_block(edit_box("V3471G52452G50"))},
        {0x16010246,
         Kind::Label,
         "标签8",
         kGroupBox,
         8,
         187,
         56,
         32,
         kVisible,
         {},
         write_property_block(label("证件编号：", kFace))},
        {0x16010247,
         Kind::EditBox,
         "编辑框3",
         kGroupBox,
         72,
         149,
         112,
         24,
         kVisibleTab,
         {{0, offset::DateMirroring}},
         write_property_block(edit_box("2013年9月28日"))},
        {0x16010248,
         Kind::Label,
         "标签7",
         kGroupBox,
         8,
         145,
         56,
         32,
         kVisible,
         {},
         write_property_block(label("颁发日期：", kFace))},
        {0x16010249,
         Kind::Button,
         "按钮生成",
         kGroupBox,
         106,
         273,
         64,
         32,
         kVisibleTab,
         {{0, offset::Save}},
         write_property_block(save)},
        {0x1601024A,
         Kind::EditBox,
         "编辑框4",
         kGroupBox,
         72,
         106,
         112,
         24,
         kVisibleTab,
         {{0, offset::AgeMirroring}},
         write_property_block(edit_box("未知"))},
        {0x1601024B,
         Kind::EditBox,
         "编辑框2",
         kGroupBox,
         72,
         65,
         112,
         24,
         kVisibleTab,
         {{0, offset::SexMirroring}},
         write_property_block(edit_box("男"))},
        {0x1601024C,
         Kind::EditBox,
         "编辑框1",
         kGroupBox,
         72,
         24,
         112,
         24,
         kVisibleTab,
         {{0, offset::NameMirroring}},
         write_property_block(edit_box("张三"))},
        {0x1601024D,
         Kind::Label,
         "标签5",
         kGroupBox,
         8,
         102,
         40,
         32,
         kVisible,
         {},
         write_property_block(label("年龄：", kFace))},
        {0x1601024E,
         Kind::Label,
         "标签4",
         kGroupBox,
         8,
         236,
         50,
         24,
         kVisible,
         {},
         write_property_block(label("证件类型：", kFace))},
        {0x1601024F,
         Kind::Label,
         "标签3",
         kGroupBox,
         8,
         61,
         48,
         32,
         kVisible,
         {},
         write_property_block(label("性别：", kFace))},
        {0x16010250,
         Kind::Label,
         "标签2",
         kGroupBox,
         8,
         24,
         56,
         24,
         kVisible,
         {},
         write_property_block(label("姓名：", kFace))},
        {0x16010251,
         Kind::ComboBox,
         "组合框证件类型",
         kGroupBox,
         72,
         236,
         112,
         24,
         kVisibleTab,
         {{0, offset::TemplateSwitch}},
         write_property_block(selector)},
        {kGroupBox, Kind::GroupBox, "分组框1", 0, 522, 4, 205, 320, kVisible, {}, write_property_block(group)},
        {0x160100B7,
         Kind::TransparentLabel,
         "透明标签2",
         0,
         418,
         281,
         40,
         13,
         kVisible,
         {},
         write_property_block(transparent_label("V3471G52452G50"))},
        {0x160100B6,
         Kind::TransparentLabel,
         "透明标签1",
         0,
         380,
         267,
         66,
         11,
         kVisible,
         {},
         write_property_block(transparent_label("2013年9月28日"))},
        {0x16010087,
         Kind::Label,
         "标签13",
         0,
         377,
         142,
         37,
         14,
         kVisible,
         {},
         write_property_block(label("张三", kWhite))},
        {0x16010086,
         Kind::Label,
         "标签12",
         0,
         326,
         94,
         56,
         13,
         kVisible,
         {},
         write_property_block(label("未知", kWhite))},
        {0x16010085,
         Kind::Label,
         "标签11",
         0,
         326,
         75,
         26,
         12,
         kVisible,
         {},
         write_property_block(label("男", kWhite))},
        {0x16010084,
         Kind::Label,
         "标签10",
         0,
         324,
         53,
         56,
         14,
         kVisible,
         {},
         write_property_block(label("张三", kWhite))},
        {0x1601004A, Kind::CommonDialog, "通用对话框", 0, 160, 112, 32, 24, 0, {}, write_property_block(dialog)},
        {0x16010047,
         Kind::PictureBox,
         "图片框1",
         0,
         396,
         38,
         76,
         93,
         kVisible,
         {{-1, offset::PhotoChoice}},
         write_property_block(photo)},
        {0x16010039, Kind::Label, "标签生成", 0, -2, 0, 520, 328, kVisible, {}, write_property_block(preview)},
    };
}

// Width and height from a JPEG's baseline frame header.
std::pair<int, int> jpeg_size(const Bytes& jpeg)
{
    for (std::size_t i = 2; i + 9 < jpeg.size(); ++i) {
        if (jpeg[i] == 0xFF && jpeg[i + 1] == 0xC0)
            return {jpeg[i + 7] << 8 | jpeg[i + 8], jpeg[i + 5] << 8 | jpeg[i + 6]};
    }
    return {0, 0};
}

}  // namespace

TEST(MainWindow, EveryUnitAndPropertyIsAsLaidOut)
{
    FormDescription description = main_description();
    ASSERT_EQ(description.windows.size(), 1u);
    const WindowUnit& window = description.windows[0];
    EXPECT_EQ(window.id, kMainWindow);
    EXPECT_EQ(window.value_a, 0x00010379u);
    EXPECT_EQ(window.value_b, 0x19010005u);
    EXPECT_TRUE(window.text_a.empty());
    EXPECT_TRUE(window.text_b.empty());

    const std::vector<ExpectedUnit> expected = expected_units();
    ASSERT_EQ(window.units.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        const ExpectedUnit& want = expected[i];
        const UnitRecord& got = window.units.record(i);
        SCOPED_TRACE("entry " + std::to_string(i) + " " + want.name);
        EXPECT_EQ(got.id(), want.id);
        EXPECT_EQ(got.kind(), want.kind);
        EXPECT_EQ(got.name(), gbk(want.name));
        EXPECT_EQ(got.parent(), want.parent);
        EXPECT_EQ(got.left(), want.left);
        EXPECT_EQ(got.top(), want.top);
        EXPECT_EQ(got.width(), want.width);
        EXPECT_EQ(got.height(), want.height);
        EXPECT_EQ(got.state_flags(), want.flags);
        EXPECT_EQ(got.event_link(), 0);
        EXPECT_EQ(got.second_text(), "");
        EXPECT_EQ(got.tag(), "");
        EXPECT_EQ(got.tab_order(), 0u);
        EXPECT_EQ(Bytes(got.mouse_pointer().begin(), got.mouse_pointer().end()), (Bytes{0, 0, 0, 0}));
        std::vector<std::pair<std::int32_t, std::uint32_t>> events;
        for (const auto& entry : got.events())
            events.emplace_back(entry.number, entry.offset);
        EXPECT_EQ(events, want.events);
        std::vector<runtime::ControlId> children;
        if (want.id == kGroupBox) {
            for (std::size_t child = 1; child <= 14; ++child)
                children.push_back(expected[child].id);
        }
        EXPECT_EQ(got.children(), children);
        EXPECT_EQ(Bytes(got.property_block().begin(), got.property_block().end()), want.block);
    }
}

TEST(MainWindow, WritesBackByteForByteAndRelocatesThroughTheHandlerTable)
{
    FormDescription description = main_description();
    auto embedded = embedded_form();
    EXPECT_EQ(write_form_description(description), Bytes(embedded.begin(), embedded.end()));

    ASSERT_EQ(relocate_handlers(description, app::handler_table()), FormError::None);
    const UnitTable& units = description.windows[0].units;
    EXPECT_EQ(units.find(0x16010251)->handler_for(0), &app::on_kind_selected);
    EXPECT_EQ(units.find(0x16010047)->handler_for(-1), &app::on_photo_pressed);
    EXPECT_EQ(units.find(0)->handler_for(9), &app::on_tray_icon);
    for (const auto& record : units.records()) {
        for (const auto& entry : record.events())
            EXPECT_NE(entry.handler, nullptr) << record.id();
    }
}

TEST(MainWindow, PicturesAreTheTemplateAndThePlaceholder)
{
    FormDescription description = main_description();
    const UnitTable& units = description.windows[0].units;
    auto preview = read_property_block<LabelBlock>(units.find(0x16010039)->property_block());
    ASSERT_TRUE(preview.ok());
    EXPECT_EQ(preview->background_picture, template_bytes(1));
    EXPECT_EQ(jpeg_size(preview->background_picture), std::make_pair(500, 316));

    auto photo = read_property_block<PictureBoxBlock>(units.find(0x16010047)->property_block());
    ASSERT_TRUE(photo.ok());
    EXPECT_EQ(jpeg_size(photo->picture), std::make_pair(79, 90));
}

TEST(ConstantPool, ConstantsLieBackToBackInTheirOrder)
{
    auto pool = app::data::constant_pool();
    const std::uint8_t* base = pool.data;
    ByteReader in(std::span(pool.data, pool.size));

    EXPECT_EQ(reinterpret_cast<const std::uint8_t*>(app::data::empty_text()), base);
    EXPECT_EQ(in.zero_terminated_text(), "");

    const char* names[] = {"光棍证",     "聊天许可证", "爱神证",     "超级美眉证", "初吻证",     "赌神证",
                           "超级帅哥证", "处男证",     "色狼证",     "网恋许可证", "良家妇女证", "灌水证",
                           "潜水证",     "忽悠证",     "良好市民证", "浆糊证"};
    for (int kind = 1; kind <= app::data::kKindCount; ++kind) {
        SCOPED_TRACE(names[kind - 1]);
        EXPECT_EQ(reinterpret_cast<const std::uint8_t*>(app::data::kind_name(kind)), base + in.position());
        EXPECT_EQ(in.zero_terminated_text(), gbk(names[kind - 1]));
        EXPECT_EQ(app::data::kind_template(kind), base + in.position());
        EXPECT_EQ(in.dword(), 1u);
        auto picture = in.counted_bytes();
        ASSERT_GE(picture.size(), 2u);
        EXPECT_EQ(picture[0], 0xFF);  // a JPEG
        EXPECT_EQ(picture[1], 0xD8);
    }
    EXPECT_EQ(app::data::kind_name(0), nullptr);
    EXPECT_EQ(app::data::kind_template(17), nullptr);

    EXPECT_EQ(app::data::empty_byte_set(), base + in.position());
    EXPECT_EQ(in.dword(), 1u);
    EXPECT_EQ(in.dword(), 0u);
    EXPECT_EQ(reinterpret_cast<const std::uint8_t*>(app::data::song_typeface()), base + in.position());
    EXPECT_EQ(in.zero_terminated_text(), gbk("宋体"));
    EXPECT_FALSE(in.failed());
    EXPECT_TRUE(in.at_end());
}
