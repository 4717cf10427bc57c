// Pictures on push buttons: the platform's bitmap or icon, shown by the system's control.

#include "../window_test_support.h"

#include "platform/controls/button_control.h"
#include "platform/graphics.h"
#include "platform/screen_capture.h"

#include <cstdint>
#include <vector>

namespace platform_test {
namespace {

constexpr Colour kRed = 0x0000FF;
constexpr Colour kBlue = 0xFF0000;

// 16 x 16: the left half opaque blue, the right half blue with no opacity at all.
std::unique_ptr<Icon> half_transparent_icon()
{
    std::vector<std::uint8_t> pixels;
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 16; ++x)
            pixels.insert(pixels.end(), {0xFF, 0x00, 0x00, static_cast<std::uint8_t>(x < 8 ? 0xFF : 0x00)});
    }
    return icon_from_bgra32(pixels.data(), 16, 16);
}

using ButtonImageTest = WindowTest;

TEST_F(ButtonImageTest, TheSystemsButtonShowsTheBitmapOrTheIconItIsSent)
{
    register_button_class();
    WindowHandle top = make_shown_top_level(400, 300, 200, 100);
    const Colour face = system_colour(SystemColour::ButtonFace);
    auto pixel_at = [](WindowHandle window, int x, int y) {
        std::unique_ptr<Bitmap> shown = capture_window(window);
        return shown ? shown->pixel(x, y) : Colour{0x123456};
    };

    // The button is 80 x 40: a 16 x 16 picture lies at (32, 12) - (48, 28).
    WindowHandle with_bitmap = make_child(top, 10, 10, 80, 40, BS_BITMAP, 0, 1, kButtonClassName);
    std::unique_ptr<Bitmap> red = filled_bitmap(16, 16, kRed);
    ASSERT_TRUE(with_bitmap && red);
    EXPECT_EQ(send_message(with_bitmap, BM_SETIMAGE, ButtonImage::Bitmap, reinterpret_cast<std::intptr_t>(red.get())),
              0);
    EXPECT_EQ(pixel_at(with_bitmap, 40, 20), kRed);
    EXPECT_EQ(pixel_at(with_bitmap, 20, 20), face);

    WindowHandle with_icon = make_child(top, 100, 10, 80, 40, BS_ICON, 0, 2, kButtonClassName);
    std::unique_ptr<Icon> icon = half_transparent_icon();
    ASSERT_TRUE(with_icon && icon);
    send_message(with_icon, BM_SETIMAGE, ButtonImage::Icon, reinterpret_cast<std::intptr_t>(icon.get()));
    EXPECT_EQ(pixel_at(with_icon, 36, 20), kBlue);
    EXPECT_EQ(pixel_at(with_icon, 44, 20), face);  // the transparent half shows the face

    // Taking the picture away answers the one it replaces and leaves the plain face.
    EXPECT_EQ(send_message(with_icon, BM_SETIMAGE, ButtonImage::Icon, 0), reinterpret_cast<std::intptr_t>(icon.get()));
    EXPECT_EQ(pixel_at(with_icon, 36, 20), face);
}

}  // namespace
}  // namespace platform_test
