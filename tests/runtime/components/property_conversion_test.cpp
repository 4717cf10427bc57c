#include "runtime/components/property_conversion.h"

#include "platform/cursors.h"
#include "runtime/boundary/heap.h"
#include "runtime/components/mouse_pointer.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

using namespace runtime;
using namespace runtime::components;

TEST(PropertyConversion, PointSizesAndHeightsRoundLikeMulDiv)
{
    struct Case {
        std::int32_t height;
        std::int32_t points;
    };
    const Case cases[] = {{-16, 12}, {16, 12}, {-12, 9}, {-15, 11}, {-14, 11}, {0, 0}, {INT32_MIN, 1610612735}};
    for (const Case& c : cases)
        EXPECT_EQ(font_points_from_height(c.height), c.points) << c.height;
    EXPECT_EQ(font_height_from_points(9), -12);
    EXPECT_EQ(font_height_from_points(-9), 0);
    EXPECT_EQ(mul_div(-3, 1, 2), -2);
    EXPECT_EQ(mul_div(5, 7, 0), 0);
}

TEST(PropertyConversion, TextsAndByteSetsReachTheKindWithoutCopiesAndComeBackAsNewBlocks)
{
    WrittenProperty absent_text(TypeCode::Text, kWholeValue, 0, 0);
    ASSERT_NE(absent_text.data.word1, 0u);
    EXPECT_STREQ(reinterpret_cast<const char*>(absent_text.data.word1), "");

    std::uint8_t bytes[] = {1, 2, 3, 4, 5};
    void* block = heap_copy_byte_set(bytes, sizeof bytes);
    WrittenProperty picture(TypeCode::Picture, kWholeValue, reinterpret_cast<Word>(block), 0);
    EXPECT_EQ(picture.data.word1, reinterpret_cast<Word>(byte_set_data(block)));
    EXPECT_EQ(picture.data.word2, 5u);

    PropertyValue copy = convert_read_property(TypeCode::Picture, kWholeValue, picture.data);
    ASSERT_NE(copy.low, 0u);
    EXPECT_NE(copy.low, reinterpret_cast<Word>(block));
    EXPECT_EQ(std::memcmp(byte_set_data(reinterpret_cast<void*>(copy.low)), bytes, sizeof bytes), 0);
    heap_release(reinterpret_cast<void*>(copy.low));
    heap_release(block);

    // Codes outside 1000..1024 are opaque: passed through, read as nothing.
    WrittenProperty opaque(999, kWholeValue, 7, 8);
    EXPECT_EQ(opaque.data.word1, 7u);
    EXPECT_EQ(convert_read_property(999, kWholeValue, {5, 0}).low, 0u);
}

TEST(MousePointer, StockIndicesTranslateBothWaysAndMakeCursors)
{
    for (std::int32_t index = 1; index <= 14; ++index) {
        std::int32_t id = cursor_id_from_index(index);
        EXPECT_GE(id, 32512);
        EXPECT_EQ(index_from_cursor_id(id), index);
    }
    EXPECT_EQ(cursor_id_from_index(14), platform::StockCursor::Hand);
    EXPECT_EQ(cursor_id_from_index(-1), -1);
    EXPECT_EQ(cursor_id_from_index(99), 99);
    EXPECT_EQ(index_from_cursor_id(4711), 4711);

    const std::uint8_t one_byte[] = {3};
    EXPECT_EQ(make_cursor(one_byte), platform::load_stock_cursor(platform::StockCursor::TextBeam));
    const std::uint8_t none[] = {0, 0, 0, 0};
    EXPECT_EQ(make_cursor(none), 0);
    EXPECT_EQ(make_cursor({}), 0);
    // -1 followed by bytes that are no cursor file.
    const std::uint8_t broken_file[] = {0xFF, 0xFF, 0xFF, 0xFF, 1, 2, 3};
    EXPECT_EQ(make_cursor(broken_file), 0);
    // Stored data written by the application holds the system id itself.
    std::vector<std::uint8_t> written = pointer_with_cursor_id(std::vector<std::uint8_t>{8, 0, 0, 0});
    EXPECT_EQ(make_cursor(written), platform::load_stock_cursor(platform::StockCursor::SizeAll));
    EXPECT_EQ(pointer_with_index(written), (std::vector<std::uint8_t>{8, 0, 0, 0}));
}

}  // namespace
