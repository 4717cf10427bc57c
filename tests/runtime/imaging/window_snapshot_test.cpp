#include "runtime/imaging/window_snapshot.h"

#include "runtime/boundary/commands.h"
#include "runtime/boundary/heap.h"

#include "platform/native_window.h"
#include "platform/screen_capture.h"
#include "platform/system_colours.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <vector>

namespace runtime::imaging {
namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr platform::Colour kRed = 0x0000FF;
constexpr platform::Colour kGreen = 0x00FF00;
constexpr platform::Colour kBlue = 0xFF0000;

std::uint32_t u32_at(const std::uint8_t* bytes, std::size_t at)
{
    return static_cast<std::uint32_t>(bytes[at]) | (static_cast<std::uint32_t>(bytes[at + 1]) << 8) |
           (static_cast<std::uint32_t>(bytes[at + 2]) << 16) | (static_cast<std::uint32_t>(bytes[at + 3]) << 24);
}

std::uint16_t u16_at(const std::uint8_t* bytes, std::size_t at)
{
    return static_cast<std::uint16_t>(bytes[at] | (bytes[at + 1] << 8));
}

// The colour of pixel (x, y) (top row 0) of a 24-bit bottom-up BMP file.
platform::Colour bmp_pixel(const ByteBuffer& file, int x, int y)
{
    const std::uint8_t* bytes = file.data();
    int width = static_cast<int>(u32_at(bytes, 18));
    int height = static_cast<int>(u32_at(bytes, 22));
    std::size_t row = (static_cast<std::size_t>(width) * 3 + 3) & ~std::size_t{3};
    const std::uint8_t* pixel =
        bytes + 54 + static_cast<std::size_t>(height - 1 - y) * row + static_cast<std::size_t>(x) * 3;
    return pixel[2] | (pixel[1] << 8) | (static_cast<platform::Colour>(pixel[0]) << 16);
}

TEST(WindowSnapshotTest, RequestedSizesResolveAgainstTheCapturedSize)
{
    struct Case {
        int captured;
        int requested;
        std::optional<int> expected;
    } cases[] = {
        {200, 0, 200},     // kept
        {200, 37, 37},     // pixels
        {200, -5, 20},     // below 10 percent counts as 10
        {200, -50, 100},   // half
        {200, -200, 400},  // double
        {3, -50, 2},       // 1.5 rounds to the nearest, halves away from zero
        {5, -10, 1},       // 0.5
        {4, -10, 0},       // 0.4: nothing left, which the snapshot refuses
        {INT_MAX, -200, std::nullopt},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(resolve_snapshot_dimension(c.captured, c.requested), c.expected)
            << c.captured << " with " << c.requested;
    }
}

TEST(WindowSnapshotTest, BmpFileHasTheExactHeadersAndBottomUpPaddedRows)
{
    // 3 x 2: top row red, green, blue; bottom row white, black, red.
    const std::uint8_t rows[] = {
        0, 0, 255, 0, 255, 0, 255, 0, 0, 255, 255, 255, 0, 0, 0, 0, 0, 255,
    };
    auto bitmap = platform::bitmap_from_bgr24(rows, 3, 2, 9, platform::RowOrder::TopDown);
    ASSERT_NE(bitmap, nullptr);
    ByteBuffer file;
    ASSERT_TRUE(write_bmp_file(*bitmap, file));
    ASSERT_EQ(file.length(), 54u + 12 * 2);
    const std::uint8_t* b = file.data();
    EXPECT_EQ(b[0], 'B');
    EXPECT_EQ(b[1], 'M');
    EXPECT_EQ(u32_at(b, 2), 78u);  // file size
    EXPECT_EQ(u16_at(b, 6), 0);    // reserved
    EXPECT_EQ(u16_at(b, 8), 0);
    EXPECT_EQ(u32_at(b, 10), 54u);  // pixel data offset
    EXPECT_EQ(u32_at(b, 14), 40u);  // information header size
    EXPECT_EQ(u32_at(b, 18), 3u);   // width
    EXPECT_EQ(u32_at(b, 22), 2u);   // height, positive: bottom row first
    EXPECT_EQ(u16_at(b, 26), 1);    // planes
    EXPECT_EQ(u16_at(b, 28), 24);   // bits per pixel
    EXPECT_EQ(u32_at(b, 30), 0u);   // uncompressed
    EXPECT_EQ(u32_at(b, 34), 24u);  // image size: row length x height
    for (std::size_t at : {38u, 42u, 46u, 50u})
        EXPECT_EQ(u32_at(b, at), 0u) << "offset " << at;  // resolutions, colours used, colours important

    const std::uint8_t expected_rows[] = {
        255, 255, 255, 0, 0,   0, 0,   0, 255, 0, 0, 0,  // bottom row first, 3 bytes of padding
        0,   0,   255, 0, 255, 0, 255, 0, 0,   0, 0, 0,
    };
    EXPECT_EQ(std::memcmp(b + 54, expected_rows, sizeof expected_rows), 0);

    auto single = platform::filled_bitmap(1, 1, kRed);
    ASSERT_NE(single, nullptr);
    ASSERT_TRUE(write_bmp_file(*single, file));
    EXPECT_EQ(file.length(), 58u);
    EXPECT_EQ(u32_at(file.data(), 34), 4u);
}

TEST(WindowSnapshotTest, RowsOfEveryWidthComeBackAsTheyWent)
{
    // Bottom-up 24-bit rows, padded as a BMP pads them, turn into a bitmap and back into the same
    // bytes, whatever the width's remainder in the blocks of pixels the conversions work in.
    std::uint32_t seed = 12345;
    for (int width = 1; width <= 19; ++width) {
        const int height = 3;
        std::size_t row_bytes = *bmp_row_bytes(width);
        std::vector<std::uint8_t> rows(row_bytes * height, 0);
        for (int y = 0; y < height; ++y) {
            for (int i = 0; i < width * 3; ++i) {
                seed = seed * 1103515245u + 12345u;
                rows[y * row_bytes + i] = static_cast<std::uint8_t>(seed >> 16);
            }
        }
        auto bitmap = platform::bitmap_from_bgr24(rows.data(), width, height, row_bytes, platform::RowOrder::BottomUp);
        ASSERT_NE(bitmap, nullptr);
        ByteBuffer file;
        ASSERT_TRUE(write_bmp_file(*bitmap, file));
        ASSERT_EQ(file.length(), kBmpHeadersBytes + rows.size()) << width;
        EXPECT_EQ(std::memcmp(file.data() + kBmpHeadersBytes, rows.data(), rows.size()), 0) << "width " << width;
    }
}

class WindowSnapshotWindowsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        register_colour_class("SnapshotTestRed", kRed);
        register_colour_class("SnapshotTestGreen", kGreen);
        register_colour_class("SnapshotTestBlue", kBlue);
    }

    void TearDown() override
    {
        for (platform::WindowHandle window : m_windows)
            platform::destroy_window(window);
    }

    static void register_colour_class(const char* name, platform::Colour colour)
    {
        if (platform::is_window_class_registered(name))
            return;
        platform::ClassInfo info;
        info.background = platform::Brush::solid(colour);
        platform::register_window_class(name, info);
    }

    platform::WindowHandle make(const char* class_name, platform::WindowHandle parent, int x, int y, int width,
                                int height)
    {
        platform::CreateParams params;
        params.class_name = class_name;
        params.style = (parent ? platform::WS_CHILD : platform::WS_POPUP) | platform::WS_VISIBLE;
        params.parent = parent;
        params.x = x;
        params.y = y;
        params.width = width;
        params.height = height;
        platform::WindowHandle handle = platform::create_window(params);
        EXPECT_NE(handle, 0);
        if (!parent)
            m_windows.push_back(handle);
        return handle;
    }

    std::vector<platform::WindowHandle> m_windows;
};

TEST_F(WindowSnapshotWindowsTest, CaptureShowsWhatLiesOverTheWindow)
{
    platform::WindowHandle frame = make("SnapshotTestRed", 0, 20, 20, 300, 200);
    platform::WindowHandle preview = make("SnapshotTestGreen", frame, 10, 10, 100, 80);
    // A sibling created later lies over the preview, like the photo box over the certificate.
    make("SnapshotTestBlue", frame, 60, 50, 20, 20);
    // And a top-level window over its bottom-left corner.
    make("SnapshotTestRed", 0, 20 + 10 - 5, 20 + 10 + 70, 20, 30);

    ByteBuffer file;
    ASSERT_TRUE(take_window_snapshot(preview, 0, 0, file));
    ASSERT_EQ(u32_at(file.data(), 18), 100u);
    ASSERT_EQ(u32_at(file.data(), 22), 80u);
    EXPECT_EQ(file.length(), 54u + 300 * 80);
    EXPECT_EQ(bmp_pixel(file, 5, 5), kGreen);
    EXPECT_EQ(bmp_pixel(file, 99, 30), kGreen);
    EXPECT_EQ(bmp_pixel(file, 50, 40), kBlue) << "the sibling over the preview";
    EXPECT_EQ(bmp_pixel(file, 69, 59), kBlue);
    EXPECT_EQ(bmp_pixel(file, 70, 60), kGreen);
    EXPECT_EQ(bmp_pixel(file, 2, 75), kRed) << "the top-level window over the preview";
    EXPECT_EQ(bmp_pixel(file, 20, 75), kGreen);
}

TEST_F(WindowSnapshotWindowsTest, SizeArgumentsScaleTheCapture)
{
    platform::WindowHandle window = make("SnapshotTestBlue", 0, 30, 30, 40, 20);
    struct Case {
        int width, height;
        std::uint32_t expected_width, expected_height;
    } cases[] = {
        {0, 0, 40, 20}, {-5, 0, 4, 20}, {-50, -50, 20, 10}, {-200, -200, 80, 40}, {3, 1, 3, 1},
    };
    for (const Case& c : cases) {
        ByteBuffer file;
        ASSERT_TRUE(take_window_snapshot(window, c.width, c.height, file)) << c.width << " x " << c.height;
        EXPECT_EQ(u32_at(file.data(), 18), c.expected_width);
        EXPECT_EQ(u32_at(file.data(), 22), c.expected_height);
        std::size_t row = (c.expected_width * 3 + 3) & ~3u;
        EXPECT_EQ(file.length(), 54 + row * c.expected_height);
        EXPECT_EQ(bmp_pixel(file, static_cast<int>(c.expected_width) / 2, static_cast<int>(c.expected_height) / 2),
                  kBlue);
    }
    ByteBuffer file;
    ASSERT_TRUE(take_window_snapshot(window, 3, 0, file));
    EXPECT_EQ(u32_at(file.data(), 34), 12u * 20) << "rows of 12 bytes for width 3";
}

TEST_F(WindowSnapshotWindowsTest, FailuresGiveNoBytes)
{
    platform::WindowHandle window = make("SnapshotTestBlue", 0, 30, 30, 4, 4);
    ByteBuffer file;
    EXPECT_FALSE(take_window_snapshot(window, -10, 0, file)) << "a size that resolves to 0";
    EXPECT_EQ(file.length(), 0u);
    EXPECT_FALSE(take_window_snapshot(window, 0, INT_MIN, file));
    EXPECT_FALSE(take_window_snapshot(987654, 0, 0, file)) << "no such window";
    EXPECT_FALSE(take_window_snapshot(-1, 0, 0, file));
    EXPECT_FALSE(take_window_snapshot(window, 100000, 100000, file)) << "more than any bitmap we make";
    EXPECT_EQ(file.length(), 0u);
}

TEST_F(WindowSnapshotWindowsTest, CommandReturnsANewByteSetOrTheEmptyOne)
{
    platform::WindowHandle window = make("SnapshotTestGreen", 0, 30, 30, 1, 1);
    TypedValue arguments[3] = {{static_cast<Word>(window), 0, DataType::Integer}, {}, {}};
    TypedValue result;
    commands::window_snapshot(&result, 3, arguments);
    EXPECT_EQ(result.type, DataType::ByteSet);
    ASSERT_NE(result.low, 0u);
    const void* block = reinterpret_cast<const void*>(result.low);
    EXPECT_EQ(static_cast<const ByteSetHeader*>(block)->dimensions, 1);
    ASSERT_EQ(byte_set_count(block), 58);
    EXPECT_EQ(byte_set_data(block)[0], 'B');
    heap_release(reinterpret_cast<void*>(result.low));

    arguments[0].low = 987654;
    commands::window_snapshot(&result, 1, arguments);
    EXPECT_EQ(result.type, DataType::ByteSet);
    EXPECT_EQ(result.low, 0u);
}

TEST_F(WindowSnapshotWindowsTest, NoHandleCapturesTheWholeScreen)
{
    platform::Rect screen = platform::primary_screen_rect();
    ASSERT_FALSE(screen.empty());
    ByteBuffer file;
    ASSERT_TRUE(take_window_snapshot(0, -10, -10, file));
    EXPECT_EQ(static_cast<int>(u32_at(file.data(), 18)), (screen.width() + 5) / 10);
    EXPECT_EQ(static_cast<int>(u32_at(file.data(), 22)), (screen.height() + 5) / 10);
}

}  // namespace
}  // namespace runtime::imaging
