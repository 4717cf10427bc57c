#include "runtime/form/form_description.h"

#include "tests/runtime/form/form_test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

using namespace form_test;

namespace {

FormDescription read_sample()
{
    auto description = read_form_description(stored_block(sample_units()));
    EXPECT_TRUE(description.ok()) << describe(description.error());
    return std::move(description).value();
}

}  // namespace

TEST(FormDescription, ReadsEveryFieldTheWriterWrote)
{
    FormDescription description = read_sample();
    ASSERT_EQ(description.windows.size(), 1u);
    const WindowUnit& window = description.windows[0];
    EXPECT_EQ(window.id, kWindow);
    EXPECT_EQ(window.placeholder, 0xDEADBEEFu);
    EXPECT_EQ(window.value_a, 0x00010379u);
    EXPECT_EQ(window.value_b, 0x19010005u);
    ASSERT_EQ(window.units.size(), 4u);

    const UnitRecord& label = window.units.record(1);
    EXPECT_EQ(label.id(), kLabel);
    EXPECT_FALSE(label.is_menu_item());
    EXPECT_EQ(label.kind(), runtime::Kind::Label);
    EXPECT_EQ(label.name(), "label");
    EXPECT_EQ(label.second_text(), "");
    EXPECT_EQ(label.left(), -2);
    EXPECT_EQ(label.top(), 4);
    EXPECT_EQ(label.width(), 40);
    EXPECT_EQ(label.height(), 12);
    EXPECT_EQ(label.parent(), kGroup);
    EXPECT_EQ(label.tag(), "label tag");
    EXPECT_TRUE(label.visible());
    EXPECT_TRUE(label.tab_stop());
    EXPECT_FALSE(label.disabled());
    EXPECT_EQ(label.tab_order(), 3u);
    ASSERT_EQ(label.events().size(), 2u);
    EXPECT_EQ(label.events()[0].number, -1);  // a mouse event is an ordinary entry
    EXPECT_EQ(label.events()[0].offset, kClickOffset);
    auto block = read_property_block<LabelBlock>(label.property_block());
    ASSERT_TRUE(block.ok());
    EXPECT_EQ(block->caption, kLabelDefaultCaption);

    const UnitRecord& group = window.units.record(2);
    EXPECT_EQ(group.children(), std::vector<runtime::ControlId>{kLabel});
    EXPECT_EQ(std::vector<std::uint8_t>(group.mouse_pointer().begin(), group.mouse_pointer().end()),
              std::vector<std::uint8_t>{3});
    EXPECT_EQ(group.parent(), 0);

    const UnitRecord& menu = window.units.record(3);
    EXPECT_TRUE(menu.is_menu_item());
    EXPECT_EQ(menu.kind(), runtime::Kind::MenuItem);
    EXPECT_EQ(menu.menu_caption(), "File");
    EXPECT_EQ(menu.menu_flags(), MenuFlag::Hidden);
    EXPECT_EQ(menu.menu_handler_offset(), kMenuOffset);
    EXPECT_EQ(menu.left(), 0);
    EXPECT_TRUE(menu.property_block().empty());
    EXPECT_TRUE(window.units.has_menu_items());

    // Everything writes back byte for byte, and the fields of a record rebuild the record.
    EXPECT_EQ(write_form_description(description), stored_block(sample_units()));
    EXPECT_EQ(write_unit_record(label.fields()), std::vector<std::uint8_t>(label.bytes().begin(), label.bytes().end()));
}

TEST(FormDescription, LookupsRejectInvalidIdentifiersWithoutSearching)
{
    FormDescription description = read_sample();
    const UnitTable& units = description.windows[0].units;

    EXPECT_EQ(units.find(0), &units.record(0));  // 0 names the window's own unit
    EXPECT_EQ(units.find(kOwnUnit), &units.record(0));
    EXPECT_EQ(units.find(kGroup), &units.record(2));
    EXPECT_EQ(units.find(0x16010099), nullptr);  // unknown
    EXPECT_EQ(units.find(0x16000000), nullptr);  // low 24 bits zero
    EXPECT_EQ(units.find(0x10010010), nullptr);  // bits 24..27 zero
    EXPECT_EQ(units.index_of(kMenuItem), 3u);
    EXPECT_EQ(units.id_at(1), kLabel);
    EXPECT_EQ(units.id_at(4), 0);
    EXPECT_TRUE(units.is_menu_item(3));
    EXPECT_FALSE(units.is_menu_item(0));
    EXPECT_FALSE(units.is_menu_item(9));

    EXPECT_NE(find_window_unit(description, kWindow), nullptr);
    EXPECT_EQ(find_window_unit(description, 0x52010002), nullptr);
    EXPECT_EQ(find_window_unit(description, 0), nullptr);
    EXPECT_EQ(find_window_unit(description, 0x50010001), nullptr);
}

TEST(FormDescription, RelocationResolvesEveryOffsetAndRefusesUnknownOnes)
{
    FormDescription description = read_sample();
    ASSERT_EQ(relocate_handlers(description, sample_handlers()), FormError::None);
    const UnitTable& units = description.windows[0].units;
    EXPECT_EQ(units.record(0).handler_for(0), &created_handler);
    EXPECT_TRUE(units.record(0).has_event(9));
    EXPECT_EQ(units.record(0).handler_for(9), nullptr);  // stored as no handler
    EXPECT_EQ(units.record(1).handler_for(-1), &click_handler);
    EXPECT_EQ(units.record(1).handler_for(5), nullptr);
    EXPECT_EQ(units.record(3).menu_handler(), &menu_handler);

    static const runtime::HandlerEntry partial[] = {{kCreatedOffset, created_handler}, {kMenuOffset, menu_handler}};
    FormDescription unknown = read_sample();
    EXPECT_EQ(relocate_handlers(unknown, {partial, 2}), FormError::UnknownHandlerOffset);

    static const runtime::HandlerEntry no_menu[] = {{kCreatedOffset, created_handler}, {kClickOffset, click_handler}};
    FormDescription menu_unknown = read_sample();
    EXPECT_EQ(relocate_handlers(menu_unknown, {no_menu, 2}), FormError::UnknownHandlerOffset);
}

TEST(FormDescription, EveryTruncationFailsCleanly)
{
    std::vector<std::uint8_t> block = stored_block(sample_units());
    EXPECT_TRUE(read_form_description({}).ok());  // no windows at all
    for (std::size_t size = 1; size < block.size(); ++size) {
        auto description = read_form_description(std::span(block).first(size));
        EXPECT_FALSE(description.ok()) << "cut at " << size;
    }
}

TEST(FormDescription, MalformedStructureIsRefusedWithItsOwnError)
{
    using UnitPatch = std::function<void(std::vector<StoredUnit>&)>;
    using BlockPatch = std::function<void(std::vector<std::uint8_t>&)>;
    auto set_dword = [](std::vector<std::uint8_t>& bytes, std::size_t at, std::uint32_t value) {
        for (int i = 0; i < 4; ++i)
            bytes.at(at + i) = static_cast<std::uint8_t>(value >> (8 * i));
    };
    // The label's record: the name "label" and its 0 end at 30, the empty second text at 31; the
    // child count follows 28 bytes later, then the 4-byte mouse pointer, the tag "label tag" and
    // 12 bytes before the event count.
    constexpr std::size_t kLabelChildCount = 59;
    constexpr std::size_t kLabelPointerCount = 63;
    constexpr std::size_t kLabelEventCount = 71 + 10 + 12;
    // The block: window list (12 bytes), values A and B, two empty texts, the unit count at 28,
    // the body's length at 32, the body at 36 with 4 identifiers, 4 offsets, then the records.
    constexpr std::size_t kUnitCount = 28;
    constexpr std::size_t kBodyLength = 32;
    constexpr std::size_t kSecondOffset = 36 + 16 + 4;
    constexpr std::size_t kFirstRecordLength = 36 + 32;
    struct Case {
        const char* name;
        UnitPatch unit_patch;
        BlockPatch block_patch;
        FormError expected;
    };
    const Case cases[] = {
        {"child count past the record", [&](auto& units) { set_dword(units[1].second, kLabelChildCount, 0x40000000); },
         nullptr, FormError::CountOverrun},
        {"event count past the record", [&](auto& units) { set_dword(units[1].second, kLabelEventCount, 0x10000); },
         nullptr, FormError::CountOverrun},
        {"mouse-pointer bytes past the record",
         [&](auto& units) { set_dword(units[1].second, kLabelPointerCount, 5000); }, nullptr, FormError::RecordOverrun},
        {"name without terminator", [&](auto& units) { units[3].second.assign(30, 'x'); }, nullptr,
         FormError::RecordOverrun},
        {"record too short for its head", [&](auto& units) { units[2].second.resize(10); }, nullptr,
         FormError::RecordOverrun},
        {"record cut inside the reserved bytes after the events",
         [&](auto& units) { units[1].second.resize(kLabelEventCount + 4 + 16 + 10); }, nullptr,
         FormError::RecordOverrun},
        {"menu item without its handler", [&](auto& units) { units[3].second.resize(units[3].second.size() - 2); },
         nullptr, FormError::RecordOverrun},
        {"window list of 7 bytes", nullptr, [&](auto& block) { set_dword(block, 0, 7); }, FormError::WindowListLength},
        {"invalid window identifier", nullptr, [&](auto& block) { set_dword(block, 4, 0x52000000); },
         FormError::InvalidWindowId},
        {"no units", nullptr, [&](auto& block) { set_dword(block, kUnitCount, 0); }, FormError::EmptyUnitTable},
        {"more units than the body holds", nullptr, [&](auto& block) { set_dword(block, kUnitCount, 0x01000000); },
         FormError::UnitCountTooLarge},
        {"two units naming the same record", nullptr, [&](auto& block) { set_dword(block, kSecondOffset, 0); },
         FormError::RecordOverlap},
        {"record length past the body", nullptr, [&](auto& block) { set_dword(block, kFirstRecordLength, 0x7FFFFFF0); },
         FormError::RecordPastBody},
        {"body length past the block", nullptr, [&](auto& block) { set_dword(block, kBodyLength, 0x7FFFFFF0); },
         FormError::Truncated},
    };
    for (const Case& c : cases) {
        std::vector<StoredUnit> units = sample_units();
        if (c.unit_patch)
            c.unit_patch(units);
        std::vector<std::uint8_t> block = stored_block(units);
        if (c.block_patch)
            c.block_patch(block);
        auto description = read_form_description(block);
        ASSERT_FALSE(description.ok()) << c.name;
        EXPECT_EQ(description.error(), c.expected) << c.name << ": " << describe(description.error());
    }
}

TEST(FormDescription, RecordsKeepTheirLiveStateAndTablesCopyAndSwap)
{
    FormDescription description = read_sample();
    ASSERT_EQ(relocate_handlers(description, sample_handlers()), FormError::None);
    UnitTable& units = description.windows[0].units;
    UnitTable pristine = units;

    UnitRecord& label = *units.find(kLabel);
    std::vector<std::uint8_t> block(label.property_block().begin(), label.property_block().end());
    label.set_left(123);
    label.set_height(-7);
    label.set_tag("a much longer tag than before");
    label.set_mouse_pointer(std::vector<std::uint8_t>{0xFF, 0xFF, 0xFF, 0xFF, 1, 2, 3});
    label.set_visible(false);
    label.set_disabled(true);
    int object = 0;
    label.set_object(&object);

    EXPECT_EQ(label.left(), 123);
    EXPECT_EQ(label.height(), -7);
    EXPECT_EQ(label.top(), 4);
    EXPECT_EQ(label.tag(), "a much longer tag than before");
    EXPECT_EQ(label.mouse_pointer().size(), 7u);
    EXPECT_EQ(label.state_flags(), StateFlag::Disabled | StateFlag::TabStop);
    EXPECT_EQ(label.handler_for(-1), &click_handler);
    EXPECT_EQ(std::vector<std::uint8_t>(label.property_block().begin(), label.property_block().end()), block);
    EXPECT_EQ(label.stored_object_slot(), 0u);

    // The changed record reads back as it now is.
    auto reread = UnitTable::parse(units.serialise(), static_cast<std::uint32_t>(units.size()));
    ASSERT_TRUE(reread.ok());
    EXPECT_EQ(reread->find(kLabel)->tag(), "a much longer tag than before");
    EXPECT_EQ(reread->find(kLabel)->left(), 123);

    // The pristine copy is untouched; swapping exchanges whole tables, live slots included.
    EXPECT_EQ(pristine.find(kLabel)->left(), -2);
    EXPECT_EQ(pristine.find(kLabel)->object(), nullptr);
    swap(units, pristine);
    EXPECT_EQ(units.find(kLabel)->left(), -2);
    EXPECT_EQ(pristine.find(kLabel)->object(), &object);

    UnitRecord& menu = *units.find(kMenuItem);
    menu.set_left(5);  // a menu item has no rectangle: nothing changes
    menu.set_tag("x");
    EXPECT_EQ(menu.menu_caption(), "File");
}

// A unit table body whose records lie in the area in `layout` order, `gap` bytes apart.
std::vector<std::uint8_t> relaid_body(const UnitTable& units, const std::vector<std::size_t>& layout, std::size_t gap)
{
    std::size_t count = units.size();
    std::vector<std::uint8_t> body(8 * count, 0);
    auto put = [&body](std::size_t at, std::size_t value) {
        for (int i = 0; i < 4; ++i)
            body[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
    };
    std::vector<std::uint8_t> area;
    for (std::size_t index : layout) {
        area.insert(area.end(), gap, 0xEE);
        put(4 * count + 4 * index, area.size());
        std::span<const std::uint8_t> bytes = units.record(index).bytes();
        for (int i = 0; i < 4; ++i)
            area.push_back(static_cast<std::uint8_t>(bytes.size() >> (8 * i)));
        area.insert(area.end(), bytes.begin(), bytes.end());
    }
    for (std::size_t i = 0; i < count; ++i)
        put(4 * i, static_cast<std::uint32_t>(units.id_at(i)));
    body.insert(body.end(), area.begin(), area.end());
    return body;
}

TEST(FormDescription, RecordsAreFoundByTheirOffsetsInAnyOrderButMayNotOverlap)
{
    FormDescription description = read_sample();
    const UnitTable& units = description.windows[0].units;
    auto count = static_cast<std::uint32_t>(units.size());
    std::vector<std::uint8_t> in_order = units.serialise();

    // Laid out backwards, or with gaps between them, the records read as the same table, which
    // writes back in table order.
    for (std::size_t gap : {std::size_t{0}, std::size_t{3}}) {
        auto table = UnitTable::parse(relaid_body(units, {3, 1, 0, 2}, gap), count);
        ASSERT_TRUE(table.ok()) << "gap " << gap << ": " << describe(table.error());
        ASSERT_EQ(table->size(), units.size());
        for (std::size_t i = 0; i < units.size(); ++i) {
            EXPECT_EQ(table->id_at(i), units.id_at(i));
            EXPECT_TRUE(std::ranges::equal(table->record(i).bytes(), units.record(i).bytes())) << "unit " << i;
        }
        EXPECT_EQ(table->serialise(), in_order) << "gap " << gap;
    }

    // A record whose length dword takes the last byte of the record before it is refused, and so is
    // one placed past the end of the area.
    std::vector<std::uint8_t> overlapping = in_order;
    std::size_t second = 8 * count + 4 + units.record(0).bytes().size();
    overlapping.erase(overlapping.begin() + static_cast<std::ptrdiff_t>(second) - 1);
    for (std::size_t i = 1; i < count; ++i) {
        std::uint8_t* offset = &overlapping[std::size_t{4} * count + std::size_t{4} * i];
        std::uint32_t value = offset[0] | offset[1] << 8 | offset[2] << 16 | std::uint32_t{offset[3]} << 24;
        value -= 1;
        for (int b = 0; b < 4; ++b)
            offset[b] = static_cast<std::uint8_t>(value >> (8 * b));
    }
    EXPECT_EQ(UnitTable::parse(overlapping, count).error(), FormError::RecordOverlap);

    std::vector<std::uint8_t> outside = in_order;
    outside[4 * count + 4 * 2 + 3] = 0x7F;
    EXPECT_EQ(UnitTable::parse(outside, count).error(), FormError::RecordPastBody);
}
