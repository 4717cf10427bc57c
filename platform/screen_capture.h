#pragma once
// Screen capture: what the user sees in a rectangle of the screen, as a bitmap. On a desktop where
// the screen's pixels cannot be read back (Wayland, the offscreen platform) the picture is composed
// instead: the top-level windows that reach into the rectangle, from the bottom of the Z order up,
// each rendered with every child control over it.

#include "platform/device_context.h"
#include "platform/graphics.h"
#include "platform/window_handle.h"

#include <memory>

namespace platform {

// Paints now whatever any window is waiting to have painted; every capture does this first, so that
// what it shows and what the display shows agree.
void update_all_windows();
// Client-area paints (WM_PAINT) delivered so far, for tests that guard against painting more often
// than a change needs (a count only; never reset).
long client_paints();

// The primary screen's rectangle in screen coordinates.
Rect primary_screen_rect();

// Where a capture takes each window's pixels from.
enum class CapturePixels {
    // Painted afresh into the capture by the window procedures as they would paint now.
    Painted,
    // Copied from what the display holds of the window once the pending paints are done, so nothing
    // is painted twice; a window of which the platform holds no current picture is painted afresh.
    Shown,
};

// What lies in `rect` (screen coordinates); parts no window covers show the desktop colour. None for
// an empty rectangle or when memory is short.
std::unique_ptr<Bitmap> capture_screen_rect(const Rect& rect, CapturePixels pixels = CapturePixels::Painted);

// What lies in the window's outer rectangle, including windows and controls over it. None when the
// handle names no window.
std::unique_ptr<Bitmap> capture_window(WindowHandle handle, CapturePixels pixels = CapturePixels::Painted);

// The pixels the platform holds for the window's outer rectangle right now, as the display shows
// them: nothing is painted for the capture, so a paint that has not happened yet does not show.
// None when the handle names no window or the desktop cannot give them back.
std::unique_ptr<Bitmap> held_window_pixels(WindowHandle handle);

}  // namespace platform
