// Cursors made by the system: stock ids, and cursor files whose directory is checked against the
// bytes before the system sees them.

#include "platform/cursors.h"
#include "platform/win32/cursors_win32.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace platform {
namespace {

void put_u16(std::vector<std::uint8_t>& bytes, std::uint32_t value)
{
    bytes.push_back(static_cast<std::uint8_t>(value));
    bytes.push_back(static_cast<std::uint8_t>(value >> 8));
}

void put_u32(std::vector<std::uint8_t>& bytes, std::uint32_t value)
{
    put_u16(bytes, value & 0xFFFF);
    put_u16(bytes, value >> 16);
}

// A 32 x 32 monochrome cursor file with its hot spot at (3, 4).
std::vector<std::uint8_t> cursor_file(std::uint32_t declared_size, std::uint32_t declared_offset)
{
    std::vector<std::uint8_t> bytes;
    put_u16(bytes, 0);                          // reserved
    put_u16(bytes, 2);                          // cursor
    put_u16(bytes, 1);                          // one image
    bytes.insert(bytes.end(), {32, 32, 0, 0});  // width, height, colours, reserved
    put_u16(bytes, 3);                          // hot spot x
    put_u16(bytes, 4);                          // hot spot y
    put_u32(bytes, declared_size);
    put_u32(bytes, declared_offset);
    put_u32(bytes, 40);  // BITMAPINFOHEADER: size
    put_u32(bytes, 32);  // width
    put_u32(bytes, 64);  // height: the colour mask and the transparency mask
    put_u16(bytes, 1);   // planes
    put_u16(bytes, 1);   // bits per pixel
    for (int i = 0; i < 6; ++i)
        put_u32(bytes, 0);                 // compression, image size, resolution, colours used and important
    put_u32(bytes, 0x000000);              // palette: black
    put_u32(bytes, 0xFFFFFF);              // white
    bytes.insert(bytes.end(), 128, 0x00);  // colour mask: black
    bytes.insert(bytes.end(), 128, 0xFF);  // transparency mask: all transparent but for ...
    bytes[bytes.size() - 4] = 0x00;        // ... the top row
    return bytes;
}

constexpr std::uint32_t kImageSize = 40 + 8 + 128 + 128;
constexpr std::uint32_t kImageOffset = 6 + 16;

TEST(Cursors, FilesMakeCursorsOnlyWhenTheirDirectoryFitsTheBytes)
{
    std::vector<std::uint8_t> good = cursor_file(kImageSize, kImageOffset);
    CursorHandle cursor = cursor_from_file_bytes(good.data(), good.size());
    ASSERT_NE(cursor, 0);
    EXPECT_TRUE(is_cursor(cursor));
    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(native_cursor(cursor), &info));
    EXPECT_EQ(info.xHotspot, 3u);
    EXPECT_EQ(info.yHotspot, 4u);
    DeleteObject(info.hbmMask);
    if (info.hbmColor)
        DeleteObject(info.hbmColor);
    destroy_cursor(cursor);
    EXPECT_FALSE(is_cursor(cursor));

    const std::vector<std::uint8_t> bad[] = {
        cursor_file(kImageSize + 1, kImageOffset),                   // the image runs past the end
        cursor_file(kImageSize, 0xFFFFFFF0),                         // the offset lies beyond the file
        cursor_file(0xFFFFFFFF, kImageOffset),                       // offset + size wraps around
        cursor_file(0, kImageOffset),                                // an empty image
        std::vector<std::uint8_t>(good.begin(), good.begin() + 21),  // a cut directory
    };
    for (const auto& bytes : bad)
        EXPECT_EQ(cursor_from_file_bytes(bytes.data(), bytes.size()), 0) << &bytes - bad;
}

TEST(Cursors, StockCursorsKeepTheirIdsAndSurviveDestruction)
{
    CursorHandle arrow = load_stock_cursor(StockCursor::Arrow);
    EXPECT_EQ(arrow, StockCursor::Arrow);
    EXPECT_EQ(load_stock_cursor(StockCursor::Arrow), arrow);
    EXPECT_NE(native_cursor(arrow), nullptr);
    destroy_cursor(arrow);
    EXPECT_TRUE(is_cursor(arrow));
    EXPECT_EQ(load_stock_cursor(12345), 0);
}

}  // namespace
}  // namespace platform
