#include "runtime/form/property_blocks.h"

#include "platform/text_encoding.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace runtime::form;

namespace {

// Gives every field a value other than its default, each one different.
class Filler {
public:
    void present_from(std::uint32_t) { }
    void dword(const char*, int, std::uint32_t& value) { value = 0x1000 + m_next++; }
    void signed_dword(const char*, int, std::int32_t& value) { value = -1000 - m_next++; }
    void word(const char*, int, std::uint16_t& value) { value = static_cast<std::uint16_t>('A' + m_next++); }
    void font(const char*, int, Font& value)
    {
        platform::LogFont font;
        font.height = -12 - m_next++;
        font.weight = 700;
        std::memcpy(font.face_name, "Face\0kept bytes", 15);
        value = font;
    }
    void bytes(const char*, int, Bytes& value) { value.assign(3 + m_next++, 0xA5); }
    void text(const char*, int, std::string& value) { value = "text " + std::to_string(m_next++); }
    void text_list(const char*, int, std::vector<std::string>& value) { value = {"one", "", "three"}; }

private:
    int m_next = 0;
};

// Records each field's value as bytes, and whether the given version stores it.
class Collector {
public:
    explicit Collector(std::uint32_t version)
        : m_version(version)
    {
    }
    struct Field {
        std::string name;
        bool stored;
        std::vector<std::uint8_t> value;
    };
    std::vector<Field> fields;

    void present_from(std::uint32_t version) { m_stored = m_version >= version; }
    void dword(const char* name, int, std::uint32_t value)
    {
        add(name, [&](ByteWriter& w) { w.dword(value); });
    }
    void signed_dword(const char* name, int, std::int32_t value)
    {
        add(name, [&](ByteWriter& w) { w.signed_dword(value); });
    }
    void word(const char* name, int, std::uint16_t value)
    {
        add(name, [&](ByteWriter& w) { w.word(value); });
    }
    void font(const char* name, int, const Font& value)
    {
        add(name, [&](ByteWriter& w) { w.font(value); });
    }
    void bytes(const char* name, int, const Bytes& value)
    {
        add(name, [&](ByteWriter& w) { w.counted_bytes(value); });
    }
    void text(const char* name, int, const std::string& value)
    {
        add(name, [&](ByteWriter& w) { w.counted_text(value); });
    }
    void text_list(const char* name, int, const std::vector<std::string>& value)
    {
        add(name, [&](ByteWriter& w) { w.text_list(value); });
    }

private:
    template <class Write> void add(const char* name, Write write)
    {
        ByteWriter out;
        write(out);
        fields.push_back({name, m_stored, out.take()});
    }
    std::uint32_t m_version;
    bool m_stored = true;
};

template <class Block> std::vector<Collector::Field> collect(const Block& block, std::uint32_t version)
{
    Collector collector(version);
    Block::stream_fields(collector, block);
    return collector.fields;
}

template <class Block> class PropertyBlockTest : public testing::Test {
};

using BlockTypes = testing::Types<WindowBlock, EditBoxBlock, LabelBlock, PictureBoxBlock, GroupBoxBlock, ButtonBlock,
                                  ComboBoxBlock, CommonDialogBlock, TransparentLabelBlock>;
TYPED_TEST_SUITE(PropertyBlockTest, BlockTypes);

}  // namespace

TYPED_TEST(PropertyBlockTest, EveryVersionRoundTripsAndOlderOnesKeepDefaults)
{
    using Block = TypeParam;
    Block filled;
    Filler filler;
    Block::stream_fields(filler, filled);
    const Block defaults;

    for (std::uint32_t version = 0; version <= Block::kHighestVersion; ++version) {
        SCOPED_TRACE("version " + std::to_string(version));
        std::vector<std::uint8_t> bytes = write_property_block(filled, version);
        auto read = read_property_block<Block>(bytes);
        ASSERT_TRUE(read.ok()) << describe(read.error());
        EXPECT_EQ(write_property_block(*read, version), bytes);

        auto got = collect(*read, version);
        auto wanted = collect(filled, version);
        auto fallback = collect(defaults, version);
        ASSERT_EQ(got.size(), wanted.size());
        for (std::size_t i = 0; i < got.size(); ++i) {
            const auto& expected = wanted[i].stored ? wanted[i].value : fallback[i].value;
            EXPECT_EQ(got[i].value, expected) << got[i].name << (wanted[i].stored ? "" : " (absent: default)");
        }
    }
    // Without a version the writer writes the highest.
    EXPECT_EQ(write_property_block(filled), write_property_block(filled, Block::kHighestVersion));
}

TYPED_TEST(PropertyBlockTest, NewerVersionsAndTruncatedBlocksAreRefused)
{
    using Block = TypeParam;
    Block filled;
    Filler filler;
    Block::stream_fields(filler, filled);

    std::vector<std::uint8_t> newer = write_property_block(filled);
    newer[0] = static_cast<std::uint8_t>(Block::kHighestVersion + 1);
    auto refused = read_property_block<Block>(newer);
    ASSERT_FALSE(refused.ok());
    EXPECT_EQ(refused.error(), FormError::VersionTooHigh);
    EXPECT_EQ(check_property_block(Block::kKind, newer), FormError::VersionTooHigh);

    std::vector<std::uint8_t> bytes = write_property_block(filled);
    for (std::size_t size = 0; size < bytes.size(); ++size) {
        auto read = read_property_block<Block>(std::span(bytes).first(size));
        ASSERT_FALSE(read.ok()) << "cut at " << size;
    }
    EXPECT_EQ(check_property_block(Block::kKind, bytes), FormError::None);
}

TEST(PropertyBlocks, OlderBlocksLeaveLaterFieldsAtTheirDefaults)
{
    // A version-1 label: no data-source texts follow its caption.
    ByteWriter label;
    label.dword(1);
    for (std::uint32_t value : {3u, 9u, 6u, 1u, 2u, 3u, 4u, 5u, 2u, 0u, 7u, 8u, 9u, 1u, 2u, 1u})
        label.dword(value);
    label.font(std::nullopt);
    label.counted_bytes(std::vector<std::uint8_t>{1, 2});
    label.counted_text("cap");
    auto read = read_property_block<LabelBlock>(label.data());
    ASSERT_TRUE(read.ok());
    EXPECT_EQ(read->text_effect, 3u);
    EXPECT_EQ(read->vertical_alignment, 2u);
    EXPECT_EQ(read->word_wrap, 1u);
    EXPECT_EQ(read->caption, "cap");
    EXPECT_TRUE(read->data_source.empty());
    EXPECT_TRUE(read->data_column.empty());

    // A version-1 window: shown in the task bar (version 2) and the class name (version 6) default.
    WindowBlock window;
    window.shown_in_task_bar = 0;
    window.always_on_top = 1;
    window.window_class_name = "Custom";
    window.caption = "divo";
    auto old_window = read_property_block<WindowBlock>(write_property_block(window, 1));
    ASSERT_TRUE(old_window.ok());
    EXPECT_EQ(old_window->shown_in_task_bar, 1u);
    EXPECT_EQ(old_window->always_on_top, 0u);
    EXPECT_EQ(old_window->window_class_name, "");
    EXPECT_EQ(old_window->caption, "divo");

    // A version-2 combo box has its data source but not the binding option of version 3.
    ComboBoxBlock combo;
    combo.data_source = "source";
    combo.binding_option = 1;
    combo.items = {"a", "b"};
    auto old_combo = read_property_block<ComboBoxBlock>(write_property_block(combo, 2));
    ASSERT_TRUE(old_combo.ok());
    EXPECT_EQ(old_combo->data_source, "source");
    EXPECT_EQ(old_combo->binding_option, 0u);
    EXPECT_EQ(old_combo->items, combo.items);
}

TEST(PropertyBlocks, DefaultCaptionsAreTheKindsOwnTexts)
{
    EXPECT_EQ(LabelBlock{}.caption, platform::gbk_from_utf8("标签"));
    EXPECT_EQ(ButtonBlock{}.caption, platform::gbk_from_utf8("按钮"));
    EXPECT_EQ(TransparentLabelBlock{}.caption, platform::gbk_from_utf8("透明标签"));
    EXPECT_EQ(EditBoxBlock{}.password_character, '*');
    EXPECT_EQ(ComboBoxBlock{}.current_selection, -1);
}

TEST(PropertyBlocks, UnknownKindsHaveNoBlockToCheck)
{
    const std::uint8_t junk[] = {0xFF, 0xFF};
    EXPECT_EQ(check_property_block(0x10002, junk), FormError::None);
    EXPECT_STREQ(kind_english_name(runtime::Kind::TransparentLabel), "TransLabel");
    EXPECT_EQ(kind_english_name(0x10002), nullptr);
}
