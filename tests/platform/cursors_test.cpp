#include "window_test_support.h"

#include "platform/qt/cursors_qt.h"
#include "platform/qt/native_window_qt.h"

#include <array>

namespace platform_test {
namespace {

TEST_F(WindowTest, StockCursorIdsMapToTheirShapes)
{
    const std::pair<int, Qt::CursorShape> cases[] = {
        {StockCursor::Arrow, Qt::ArrowCursor},
        {StockCursor::Cross, Qt::CrossCursor},
        {StockCursor::TextBeam, Qt::IBeamCursor},
        {StockCursor::Wait, Qt::WaitCursor},
        {StockCursor::Help, Qt::WhatsThisCursor},
        {StockCursor::AppStarting, Qt::BusyCursor},
        {StockCursor::No, Qt::ForbiddenCursor},
        {StockCursor::SizeAll, Qt::SizeAllCursor},
        {StockCursor::SizeNorthEastSouthWest, Qt::SizeBDiagCursor},
        {StockCursor::SizeNorthSouth, Qt::SizeVerCursor},
        {StockCursor::SizeNorthWestSouthEast, Qt::SizeFDiagCursor},
        {StockCursor::SizeWestEast, Qt::SizeHorCursor},
        {StockCursor::UpArrow, Qt::UpArrowCursor},
        {StockCursor::Hand, Qt::PointingHandCursor},
    };
    WindowHandle window = make_top_level(0, 0, 10, 10);
    for (const auto& [id, shape] : cases) {
        SCOPED_TRACE(id);
        CursorHandle cursor = load_stock_cursor(id);
        ASSERT_NE(cursor, 0);
        EXPECT_EQ(load_stock_cursor(id), cursor);
        set_window_cursor(window, cursor);
        EXPECT_EQ(window_cursor(window), cursor);
        EXPECT_EQ(find_window(window)->outer->cursor().shape(), shape);
    }
    EXPECT_EQ(load_stock_cursor(0), 0);
    EXPECT_EQ(load_stock_cursor(32517), 0);
    // Destroying a stock cursor keeps it.
    destroy_cursor(load_stock_cursor(StockCursor::Cross));
    EXPECT_TRUE(is_cursor(load_stock_cursor(StockCursor::Cross)));
    // No cursor of its own: the class cursor (the arrow).
    set_window_cursor(window, 0);
    EXPECT_EQ(find_window(window)->outer->cursor().shape(), Qt::ArrowCursor);
}

// A cursor file with one 2 x 2 image of 32-bit pixels and the hot spot at (1, 0).
std::vector<std::uint8_t> tiny_cursor_file()
{
    std::vector<std::uint8_t> bytes = {
        0,  0, 2,  0, 1,  0,                     // reserved, type 2 (cursor), one image
        2,  2, 0,  0, 1,  0, 0, 0,               // 2 x 2, no palette, reserved, hot spot x 1, y 0
        56, 0, 0,  0, 22, 0, 0, 0,               // 56 bytes of image at offset 22
        40, 0, 0,  0, 2,  0, 0, 0, 4,  0, 0, 0,  // header size, width 2, height 4 (image and mask)
        1,  0, 32, 0, 0,  0, 0, 0, 16, 0, 0, 0,  // planes, 32 bits, no compression, image size 16
        0,  0, 0,  0, 0,  0, 0, 0, 0,  0, 0, 0, 0, 0, 0, 0,
    };
    for (int pixel = 0; pixel < 4; ++pixel) {
        std::array<std::uint8_t, 4> bgra = {0, 0, 255, 255};
        bytes.insert(bytes.end(), bgra.begin(), bgra.end());
    }
    bytes.insert(bytes.end(), 8, 0);  // the mask: two rows of 4 bytes
    return bytes;
}

TEST_F(WindowTest, CursorsFromFileBytesKeepTheirHotSpotAndRefuseDamage)
{
    std::vector<std::uint8_t> file = tiny_cursor_file();
    CursorHandle cursor = cursor_from_file_bytes(file.data(), file.size());
    ASSERT_NE(cursor, 0);
    std::optional<QCursor> qt = qt_cursor(cursor);
    ASSERT_TRUE(qt);
    EXPECT_EQ(qt->hotSpot(), QPoint(1, 0));
    destroy_cursor(cursor);
    EXPECT_FALSE(is_cursor(cursor));

    EXPECT_EQ(cursor_from_file_bytes(nullptr, 0), 0);
    EXPECT_EQ(cursor_from_file_bytes(file.data(), 10), 0);
    std::vector<std::uint8_t> wrong_type = file;
    wrong_type[2] = 7;
    EXPECT_EQ(cursor_from_file_bytes(wrong_type.data(), wrong_type.size()), 0);
    std::vector<std::uint8_t> cut = file;
    cut.resize(40);
    EXPECT_EQ(cursor_from_file_bytes(cut.data(), cut.size()), 0);
}

}  // namespace
}  // namespace platform_test
