// The default window icon: made by the system from PNG files, given to every top-level window.

#include "../window_test_support.h"

#include "platform/application.h"
#include "platform/win32/native_window_win32.h"

#include <array>

namespace platform_test {
namespace {

// A 16 x 16 opaque red picture as a PNG file.
constexpr std::array<std::uint8_t, 82> kRedPng = {
    0x89, 0x50, 0x4E, 0x47, 0x0D, 0x0A, 0x1A, 0x0A, 0x00, 0x00, 0x00, 0x0D, 0x49, 0x48, 0x44, 0x52, 0x00,
    0x00, 0x00, 0x10, 0x00, 0x00, 0x00, 0x10, 0x08, 0x06, 0x00, 0x00, 0x00, 0x1F, 0xF3, 0xFF, 0x61, 0x00,
    0x00, 0x00, 0x19, 0x49, 0x44, 0x41, 0x54, 0x78, 0xDA, 0x63, 0xF8, 0xCF, 0xC0, 0xF0, 0x9F, 0x12, 0xCC,
    0x30, 0x6A, 0xC0, 0xA8, 0x01, 0xA3, 0x06, 0x0C, 0x17, 0x03, 0x00, 0x30, 0xC4, 0xFE, 0x10, 0x8A, 0xC6,
    0x4C, 0xE5, 0x00, 0x00, 0x00, 0x00, 0x49, 0x45, 0x4E, 0x44, 0xAE, 0x42, 0x60, 0x82};

HICON big_icon_of(WindowHandle window)
{
    return reinterpret_cast<HICON>(SendMessageW(native_window_handle(window), WM_GETICON, ICON_BIG, 0));
}

TEST_F(WindowTest, DefaultIconSkipsFilesThatDoNotDecodeAndReachesEveryTopLevelWindow)
{
    WindowHandle before = make_top_level(0, 0, 100, 80, WS_OVERLAPPEDWINDOW);
    const std::uint8_t garbage[] = {0x89, 'P', 'N', 'G', 1, 2, 3};
    std::span<const std::uint8_t> nothing_usable[] = {garbage, std::span(kRedPng).first(40)};
    EXPECT_EQ(set_default_window_icon(nothing_usable), 0);

    std::span<const std::uint8_t> files[] = {garbage, kRedPng};
    EXPECT_EQ(set_default_window_icon(files), 1);
    EXPECT_NE(big_icon_of(before), nullptr);
    WindowHandle after = make_top_level(0, 0, 100, 80, WS_OVERLAPPEDWINDOW);
    EXPECT_NE(big_icon_of(after), nullptr);
}

}  // namespace
}  // namespace platform_test
