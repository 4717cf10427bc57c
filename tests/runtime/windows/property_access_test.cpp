#include "runtime/windows/property_access.h"

#include "platform/cursors.h"
#include "platform/dialogs.h"
#include "platform/text_encoding.h"
#include "runtime/boundary/entry_table.h"
#include "runtime/boundary/heap.h"
#include "tests/runtime/windows/window_test_support.h"
#include "tests/support/exit_status.h"

#include <cstring>

namespace window_test {
namespace {

std::string gbk(const char* utf8)
{
    return platform::gbk_from_utf8(utf8);
}

constexpr int kLeft = 0;
constexpr int kTop = 1;
constexpr int kWidth = 2;
constexpr int kHeight = 3;
constexpr int kTag = 4;
constexpr int kVisible = 5;
constexpr int kDisabled = 6;
constexpr int kMousePointer = 7;
constexpr int kFlag = 8;
constexpr int kFont = 9;
constexpr int kContent = 10;
constexpr int kPicture = 11;
constexpr int kChoice = 12;

std::int32_t get_integer(ControlId control, int index, std::int32_t member = kWholeValue)
{
    return static_cast<std::int32_t>(get_property_entry(kWindow, control, index, member).low);
}

void set_integer(ControlId control, int index, std::int32_t value, std::int32_t member = kWholeValue)
{
    set_property_entry(kWindow, control, index, member, static_cast<Word>(static_cast<SignedWord>(value)), 0);
}

// A text read through get property, released after copying.
std::string get_text(ControlId control, int index, std::int32_t member = kWholeValue)
{
    auto* text = reinterpret_cast<char*>(get_property_entry(kWindow, control, index, member).low);
    std::string copy = text ? text : "";
    heap_release(text);
    return copy;
}

StoredWindow two_boxes()
{
    return {kWindow,
            {{kOwnUnit, window_unit()}, {kBox1, box_unit(10, 10, 100, 80)}, {kBox2, box_unit(50, 40, 60, 60)}}};
}

struct PropertyAccess : WindowTest {
    void load_two_boxes()
    {
        install_windows({two_boxes()});
        ASSERT_TRUE(load());
    }
};

TEST_F(PropertyAccess, CommonCoordinatesAndSizesAreClampedAndApplied)
{
    load_two_boxes();
    struct Case {
        int index;
        std::int32_t written;
        std::int32_t applied;
    };
    const Case cases[] = {
        {kLeft, 40000, 32627}, {kLeft, -40000, -32627}, {kTop, 12, 12},    {kTop, -32628, -32627},
        {kWidth, -5, 0},       {kWidth, 40000, 32627},  {kHeight, 33, 33}, {kHeight, INT32_MIN, 0},
    };
    for (const Case& c : cases) {
        set_integer(kBox1, c.index, c.written);
        EXPECT_EQ(get_integer(kBox1, c.index), c.applied) << c.index << " " << c.written;
        const form::UnitRecord& record = *window_table().find_unit_record(kWindow, kBox1);
        std::int32_t stored[] = {record.left(), record.top(), record.width(), record.height()};
        EXPECT_EQ(stored[c.index], c.applied);
    }
    // Moving keeps the size and the other coordinate.
    set_integer(kBox2, kLeft, 7);
    platform::Rect place = platform::window_rect_in_parent(handle_of(kBox2));
    EXPECT_EQ(place, (platform::Rect{7, 40, 67, 100}));
}

TEST_F(PropertyAccess, CommonPropertiesReadTheLiveWindowElseTheStoredRecord)
{
    install_windows({two_boxes()});
    // Not loaded: the stored values, and writes go to the record.
    EXPECT_EQ(get_integer(kBox2, kWidth), 60);
    set_integer(kBox2, kWidth, 70);
    EXPECT_EQ(get_integer(kBox2, kWidth), 70);
    ASSERT_TRUE(load());
    EXPECT_EQ(platform::window_rect(handle_of(kBox2)).width(), 70);

    platform::move_window(handle_of(kBox2), 1, 2, 90, 91);
    EXPECT_EQ(get_integer(kBox2, kWidth), 90);
    EXPECT_EQ(get_integer(kBox2, kTop), 2);

    set_integer(kBox2, kVisible, 0);
    EXPECT_FALSE(platform::is_visible(handle_of(kBox2)));
    EXPECT_EQ(get_integer(kBox2, kVisible), 0);
    set_integer(kBox2, kVisible, 1);
    EXPECT_TRUE(platform::is_visible(handle_of(kBox2)));
    set_integer(kBox2, kDisabled, 1);
    EXPECT_FALSE(platform::is_enabled(handle_of(kBox2)));
    EXPECT_EQ(get_integer(kBox2, kDisabled), 1);
}

TEST_F(PropertyAccess, TagAndMousePointer)
{
    load_two_boxes();
    set_property_entry(kWindow, kBox1, kTag, kWholeValue, 0, 0);
    EXPECT_EQ(get_text(kBox1, kTag), "");
    std::string tag = gbk("标签");
    set_property_entry(kWindow, kBox1, kTag, kWholeValue, reinterpret_cast<Word>(tag.c_str()), 0);
    EXPECT_EQ(get_text(kBox1, kTag), tag);

    // Index 14 (the hand) is kept as the system id and read back as the index.
    std::int32_t hand = 14;
    void* pointer = heap_copy_byte_set(&hand, sizeof hand);
    set_property_entry(kWindow, kBox1, kMousePointer, kWholeValue, reinterpret_cast<Word>(pointer), 0);
    heap_release(pointer);
    std::span<const std::uint8_t> stored = window_table().find_unit_record(kWindow, kBox1)->mouse_pointer();
    std::int32_t stored_id = 0;
    ASSERT_EQ(stored.size(), 4u);
    std::memcpy(&stored_id, stored.data(), 4);
    EXPECT_EQ(stored_id, platform::StockCursor::Hand);
    EXPECT_EQ(platform::window_cursor(handle_of(kBox1)), platform::load_stock_cursor(platform::StockCursor::Hand));

    void* read = reinterpret_cast<void*>(get_property_entry(kWindow, kBox1, kMousePointer, kWholeValue).low);
    ASSERT_EQ(byte_set_count(read), 4);
    std::int32_t index = 0;
    std::memcpy(&index, byte_set_data(read), 4);
    EXPECT_EQ(index, 14);
    heap_release(read);

    set_property_entry(kWindow, kBox1, kMousePointer, kWholeValue, 0, 0);
    EXPECT_EQ(platform::window_cursor(handle_of(kBox1)), 0);
}

TEST_F(PropertyAccess, KindValuesAreConvertedByTypeCode)
{
    load_two_boxes();
    // A logical is true only when the kind reports exactly 1.
    box(kBox1)->m_block.flag = 2;
    EXPECT_EQ(get_integer(kBox1, kFlag), 0);
    set_integer(kBox1, kFlag, 5);
    EXPECT_EQ(box(kBox1)->m_block.flag, 1u);
    EXPECT_EQ(get_integer(kBox1, kFlag), 1);

    // A negative pick is written as 0.
    set_integer(kBox1, kChoice, -3);
    EXPECT_EQ(box(kBox1)->m_choice, 0u);

    // An absent byte set reaches the kind as (null, 0).
    box(kBox1)->m_picture = {1, 2, 3};
    set_property_entry(kWindow, kBox1, kPicture, kWholeValue, 0, 0);
    EXPECT_TRUE(box(kBox1)->m_picture_written);
    EXPECT_TRUE(box(kBox1)->m_picture.empty());
    std::uint8_t bytes[] = {9, 8, 7};
    void* block = heap_copy_byte_set(bytes, sizeof bytes);
    set_property_entry(kWindow, kBox1, kPicture, kWholeValue, reinterpret_cast<Word>(block), 0);
    heap_release(block);
    void* read = reinterpret_cast<void*>(get_property_entry(kWindow, kBox1, kPicture, kWholeValue).low);
    ASSERT_EQ(byte_set_count(read), 3);
    EXPECT_EQ(byte_set_data(read)[2], 7);
    heap_release(read);

    // An index the kind does not know reads as 0.
    EXPECT_EQ(get_property_entry(kWindow, kBox1, 40, kWholeValue).low, 0u);
}

TEST_F(PropertyAccess, FontMembersAndRecords)
{
    load_two_boxes();
    const std::string song = gbk("宋体");
    const std::string thirty_one(31, 'a');

    // Never set: the default GUI font.
    EXPECT_EQ(get_integer(kBox1, kFont, 5), 9);
    EXPECT_EQ(get_text(kBox1, kFont, 6), song);
    auto* record = reinterpret_cast<FontRecord*>(get_property_entry(kWindow, kBox1, kFont, kWholeValue).low);
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(record->size, 9u);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(record->face_name)), song);
    heap_release(reinterpret_cast<void*>(record->face_name));
    heap_release(record);

    // Members reduce the angle and check the face name's length.
    set_integer(kBox1, kFont, -10, 0);
    EXPECT_EQ(box(kBox1)->m_font->escapement, 3590);
    EXPECT_EQ(get_integer(kBox1, kFont, 0), 3590);
    set_property_entry(kWindow, kBox1, kFont, 6, reinterpret_cast<Word>(""), 0);
    EXPECT_EQ(get_text(kBox1, kFont, 6), song);
    set_property_entry(kWindow, kBox1, kFont, 6, reinterpret_cast<Word>(thirty_one.c_str()), 0);
    EXPECT_EQ(get_text(kBox1, kFont, 6), thirty_one);
    set_integer(kBox1, kFont, 12, 5);
    EXPECT_EQ(box(kBox1)->m_font->height, -16);
    set_integer(kBox1, kFont, 1, 1);
    EXPECT_EQ(box(kBox1)->m_font->weight, 700);
    EXPECT_EQ(get_integer(kBox1, kFont, 1), 1);
    // Earlier members survive a later member write.
    EXPECT_EQ(box(kBox1)->m_font->escapement, 3590);

    // A whole record keeps its angle and an empty face name, and refuses 31 bytes.
    struct RecordCase {
        std::int32_t angle;
        const char* face;
        std::string expected_face;
    };
    const RecordCase cases[] = {{-10, "", ""},
                                {-10, nullptr, song},
                                {4000, thirty_one.c_str(), song},
                                {0, "Arial", "Arial"}};
    for (const RecordCase& c : cases) {
        FontRecord written{};
        written.angle = static_cast<Word>(static_cast<SignedWord>(c.angle));
        written.size = static_cast<Word>(-4);
        written.face_name = reinterpret_cast<Word>(c.face);
        set_property_entry(kWindow, kBox1, kFont, kWholeValue, reinterpret_cast<Word>(&written), 0);
        const platform::LogFont& font = *box(kBox1)->m_font;
        EXPECT_EQ(font.escapement, c.angle);
        EXPECT_EQ(font.orientation, c.angle);
        EXPECT_EQ(font.height, 0);  // a negative size counts as 0
        EXPECT_EQ(std::string(font.face_name), c.expected_face);
    }
}

TEST_F(PropertyAccess, WindowPropertiesOfTheOwnUnit)
{
    load_two_boxes();
    std::string caption = gbk("证件制作");
    set_property_entry(kWindow, kOwnUnit, 8, kWholeValue, reinterpret_cast<Word>(caption.c_str()), 0);
    EXPECT_EQ(platform::window_text(window_handle()), caption);
    EXPECT_EQ(get_text(kOwnUnit, 8), caption);
    // Placement reads what the window is now, never "centred".
    EXPECT_EQ(get_integer(kOwnUnit, 18), 0);
    set_integer(kOwnUnit, 9, 99);
    EXPECT_EQ(get_integer(kOwnUnit, 9), 6);
}

TEST_F(PropertyAccess, RecreationKeepsContentPlaceAndStacking)
{
    load_two_boxes();
    platform::WindowHandle old_handle = handle_of(kBox1);
    set_integer(kBox1, kLeft, 15);
    platform::Rect place = platform::window_rect_in_parent(old_handle);
    test_log().events.clear();

    std::string content = gbk("新内容");
    set_property_entry(kWindow, kBox1, kContent, kWholeValue, reinterpret_cast<Word>(content.c_str()), 0);

    platform::WindowHandle new_handle = handle_of(kBox1);
    EXPECT_NE(new_handle, old_handle);
    EXPECT_FALSE(platform::is_window(old_handle));
    EXPECT_EQ(get_text(kBox1, kContent), content);
    EXPECT_EQ(platform::window_rect_in_parent(new_handle), place);
    EXPECT_EQ(platform::window_id(new_handle), 110);
    EXPECT_EQ(platform::child_windows(window_handle()), (std::vector{new_handle, handle_of(kBox2)}));
    EXPECT_TRUE(platform::is_visible(new_handle));
    // The old window's destruction did not empty the unit, and raised no event.
    EXPECT_NE(component_of(*window_table().find_unit_record(kWindow, kBox1)), nullptr);
    EXPECT_TRUE(test_log().events.empty());
}

// ---- Errors --------------------------------------------------------------------------------------

void expect_report(const std::function<void()>& access, const char* message)
{
    EXPECT_EXIT(
        {
            platform::ScriptedDialogService dialogs;
            platform::set_dialog_service(&dialogs);
            access();
        },
        test_support::ended_with_minus_one(), message);
}

TEST_F(PropertyAccess, ReportsAccessesThatCannotBeServed)
{
    install_windows({two_boxes()});
    expect_report([] { get_property_entry(0x52010077, kBox1, kLeft, kWholeValue); }, "未载入欲访问窗口组件所在的窗口");
    expect_report([] { set_property_entry(0x52010077, kBox1, kLeft, kWholeValue, 0, 0); },
                  "未载入欲访问窗口组件所在的窗口");
    expect_report([] { get_property_entry(kWindow, kBox1, kContent, kWholeValue); },
                  "读取组件属性时发现指定窗口尚未载入");
    expect_report([] { set_property_entry(kWindow, kBox1, kContent, kWholeValue, 0, 0); },
                  "修改组件属性时发现指定窗口尚未载入");
    expect_report([] { get_property_entry(kWindow, 0x16010077, kLeft, kWholeValue); },
                  "指定窗口或窗口组件不存在或尚未载入");
}

// Services 4 and 5 through the entry table, with the object given as the application would hold it.
Word object_service(int service, const void* object, ObjectProperty& access)
{
    return entry_table().runtime_service(service, reinterpret_cast<Word>(object), reinterpret_cast<Word>(&access), 0);
}

TEST_F(PropertyAccess, ObjectsHeldDirectlyReachTheirOwnControlsProperties)
{
    load_two_boxes();
    const Component* first = box(kBox1);
    const Component* second = box(kBox2);
    const Component* window = window_object(entry());

    ObjectProperty left{kLeft, kWholeValue};
    EXPECT_EQ(object_service(Service::ReadObjectProperty, second, left), 50u);
    EXPECT_EQ(left.low, 50u);
    ObjectProperty width{kWidth, kWholeValue};
    object_service(Service::ReadObjectProperty, window, width);
    EXPECT_EQ(static_cast<std::int32_t>(width.low), get_integer(kOwnUnit, kWidth));

    // Writing goes to the object's own control, common and kind properties alike.
    ObjectProperty move{kLeft, kWholeValue, 70};
    object_service(Service::WriteObjectProperty, second, move);
    EXPECT_EQ(get_integer(kBox2, kLeft), 70);
    EXPECT_EQ(get_integer(kBox1, kLeft), 10);
    ObjectProperty flag{kFlag, kWholeValue, 5};
    object_service(Service::WriteObjectProperty, first, flag);
    EXPECT_EQ(box(kBox1)->m_block.flag, 1u);
    EXPECT_EQ(box(kBox2)->m_block.flag, 0u);

    // Without an access record the services do nothing.
    EXPECT_EQ(entry_table().runtime_service(Service::ReadObjectProperty, reinterpret_cast<Word>(first), 0, 0), 0u);

    // A pointer that is no loaded control's object is reported, never followed.
    expect_report(
        [] {
            int not_a_component = 0;
            ObjectProperty access{kLeft, kWholeValue};
            object_service(Service::ReadObjectProperty, &not_a_component, access);
        },
        "指定窗口或窗口组件不存在或尚未载入");
    expect_report(
        [] {
            ObjectProperty access{kLeft, kWholeValue, 1};
            object_service(Service::WriteObjectProperty, nullptr, access);
        },
        "指定窗口或窗口组件不存在或尚未载入");
}

}  // namespace
}  // namespace window_test
