// An update paints a window's children from the bottom of the Z order up: a transparent child,
// which paints only its own marks over what lies beneath it, is not painted over by the sibling
// beneath it.

#include "platform/device_context.h"
#include "platform/message_loop.h"
#include "platform/messages.h"
#include "platform/native_window.h"
#include "platform/screen_capture.h"

#include <gtest/gtest.h>

namespace platform {
namespace {

constexpr Colour kRed = 0x0000FF;
constexpr Colour kGreen = 0x00FF00;

std::intptr_t paint_a_green_corner(WindowHandle handle, Message& message)
{
    if (message.id != WM_PAINT)
        return default_window_procedure(handle, message);
    auto* request = reinterpret_cast<PaintRequest*>(message.lparam);
    request->context->fill_rect(Rect{0, 0, 10, 10}, kGreen);
    return 0;
}

WindowHandle make_window(const char* class_name, ClassInfo info, std::uint32_t style, std::uint32_t ex_style, int size,
                         WindowHandle parent)
{
    register_window_class(class_name, std::move(info));
    CreateParams params;
    params.class_name = class_name;
    params.style = style | WS_VISIBLE;
    params.ex_style = ex_style;
    params.x = parent ? 0 : 60;
    params.y = parent ? 0 : 60;
    params.width = size;
    params.height = size;
    params.parent = parent;
    return create_window(params);
}

TEST(PaintingOrder, ATransparentChildIsPaintedAfterTheSiblingBeneathIt)
{
    ClassInfo white;
    white.background = Brush::solid(0xFFFFFF);
    ClassInfo red;
    red.background = Brush::solid(kRed);
    ClassInfo marks;
    marks.procedure = &paint_a_green_corner;
    WindowHandle parent = make_window("OrderParent", white, WS_POPUP, 0, 100, 0);
    WindowHandle beneath = make_window("OrderBeneath", red, WS_CHILD, 0, 60, parent);
    WindowHandle above = make_window("OrderMarks", marks, WS_CHILD, WS_EX_TRANSPARENT, 60, parent);
    ASSERT_TRUE(parent && beneath && above);
    set_parent(above, parent);  // on top of its sibling
    ASSERT_EQ(child_windows(parent).front(), above);
    process_waiting_messages();

    // Both children need painting again, as after a transparent label's caption changed.
    invalidate(beneath, std::nullopt, Erase::Yes);
    invalidate(above, std::nullopt, Erase::No);
    update_window(parent);
    std::unique_ptr<Bitmap> held = held_window_pixels(parent);
    ASSERT_TRUE(held);
    EXPECT_EQ(held->pixel(5, 5), kGreen);  // the transparent child's mark
    EXPECT_EQ(held->pixel(30, 30), kRed);  // the sibling beneath, through the transparent child
    EXPECT_EQ(held->pixel(80, 80), 0xFFFFFFu);
    destroy_window(parent);
}

}  // namespace
}  // namespace platform
