#pragma once
// Synthetic input for tests and the script driver. Each event takes the path of real input: the
// input filter first, then the window (and, for a standard control, the Qt control).

#include "platform/device_context.h"
#include "platform/window_handle.h"

#include <cstdint>
#include <string_view>

namespace platform {

enum class MouseButton { Left, Right, Middle };

// Positions are client coordinates of `window`; the event goes to the window itself (or to the
// part of a standard control under the point). key_state: KeyState bits.
void synthesize_mouse_press(WindowHandle window, Point position, MouseButton button, std::uint32_t key_state = 0);
void synthesize_mouse_release(WindowHandle window, Point position, MouseButton button, std::uint32_t key_state = 0);
void synthesize_mouse_move(WindowHandle window, Point position, std::uint32_t key_state = 0);
// Press and release.
void synthesize_click(WindowHandle window, Point position, MouseButton button = MouseButton::Left,
                      std::uint32_t key_state = 0);
// Press, release, double click, release: what a quick second click delivers.
void synthesize_double_click(WindowHandle window, Point position, MouseButton button = MouseButton::Left,
                             std::uint32_t key_state = 0);
// delta: multiples of kWheelDelta per notch, positive away from the user.
void synthesize_wheel(WindowHandle window, Point position, int delta, std::uint32_t key_state = 0);

// A key of a virtual key code; a key that types (letters, digits, space, ...) carries its text as
// on a plain layout, so a press also makes a character message. window 0: the focus window.
void synthesize_key_press(WindowHandle window, int virtual_key, std::uint32_t key_state = 0);
void synthesize_key_release(WindowHandle window, int virtual_key, std::uint32_t key_state = 0);
// Press and release.
void synthesize_key_stroke(WindowHandle window, int virtual_key, std::uint32_t key_state = 0);

// Text committed by an input method (GBK), as one commit; window 0: the focus window.
void synthesize_text_input(WindowHandle window, std::string_view gbk);

}  // namespace platform
