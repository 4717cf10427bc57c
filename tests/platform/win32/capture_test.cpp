// Screen capture on Windows: the platform's windows composed in Z order, each with its controls,
// over the desktop colour, and a window's held pixels read back without painting.

#include "platform/native_window.h"
#include "platform/screen_capture.h"
#include "platform/system_colours.h"

#include <gtest/gtest.h>

namespace platform {
namespace {

constexpr Colour kRed = 0x0000FF;
constexpr Colour kGreen = 0x00FF00;
constexpr Colour kBlue = 0xFF0000;

WindowHandle make_window(const char* class_name, Colour colour, int x, int y, int size, WindowHandle parent = 0)
{
    if (!is_window_class_registered(class_name)) {
        ClassInfo info;
        info.background = Brush::solid(colour);
        register_window_class(class_name, info);
    }
    CreateParams params;
    params.class_name = class_name;
    params.style = (parent ? WS_CHILD : WS_POPUP) | WS_VISIBLE;
    params.x = x;
    params.y = y;
    params.width = size;
    params.height = size;
    params.parent = parent;
    return create_window(params);
}

TEST(Capture, WindowsComposeInZOrderWithTheirControlsOverTheDesktop)
{
    WindowHandle bottom = make_window("CaptureRed", kRed, 100, 100, 100);
    WindowHandle control = make_window("CaptureGreen", kGreen, 10, 10, 20, bottom);
    WindowHandle top = make_window("CaptureBlue", kBlue, 150, 150, 100);
    ASSERT_TRUE(bottom && control && top);

    std::unique_ptr<Bitmap> area = capture_screen_rect(Rect{90, 90, 260, 260});
    ASSERT_TRUE(area);
    ASSERT_EQ(area->width(), 170);
    const Colour desktop = system_colour(SystemColour::Desktop);
    EXPECT_EQ(area->pixel(5, 5), desktop);
    EXPECT_EQ(area->pixel(50, 50), kRed);
    EXPECT_EQ(area->pixel(25, 25), kGreen);   // the control, over its window
    EXPECT_EQ(area->pixel(80, 80), kBlue);    // the upper window, over the lower
    EXPECT_EQ(area->pixel(165, 5), desktop);  // beside both

    // A window's capture shows what lies over it; its held pixels are its own.
    std::unique_ptr<Bitmap> window = capture_window(bottom);
    ASSERT_TRUE(window);
    EXPECT_EQ(window->width(), 100);
    EXPECT_EQ(window->pixel(75, 75), kBlue);
    EXPECT_EQ(window->pixel(15, 15), kGreen);
    std::unique_ptr<Bitmap> held = held_window_pixels(bottom);
    ASSERT_TRUE(held);
    EXPECT_EQ(held->pixel(5, 5), kRed);
    EXPECT_EQ(held->pixel(15, 15), kGreen);

    EXPECT_FALSE(capture_screen_rect(Rect{10, 10, 10, 20}));
    EXPECT_FALSE(capture_screen_rect(Rect{0, 0, 100000, 100000}));
    for (WindowHandle window_handle : {top, bottom})
        destroy_window(window_handle);
    EXPECT_FALSE(capture_window(bottom));
}

}  // namespace
}  // namespace platform
