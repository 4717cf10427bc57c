// Screen capture on GDI: the platform's top-level windows that reach into the rectangle, from the
// bottom of the Z order up, each copied from its window DC. Each top-level window keeps its own
// surface with its controls drawn on it, so a window partly covered by another still gives all of
// its pixels, and the picture is the same whatever else the desktop shows.

#include "platform/screen_capture.h"

#include "platform/system_colours.h"
#include "platform/win32/graphics_win32.h"
#include "platform/win32/native_window_win32.h"

#include <algorithm>
#include <vector>

namespace platform {
namespace {

// A capture larger than this is refused rather than risking the memory of the whole machine.
constexpr std::uint64_t kMaxCaptureBytes = std::uint64_t{512} * 1024 * 1024;

Rect intersection(const Rect& a, const Rect& b)
{
    Rect result{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
                std::min(a.bottom, b.bottom)};
    return result.empty() ? Rect{} : result;
}

Rect outer_rect(HWND hwnd)
{
    RECT rect{};
    if (!GetWindowRect(hwnd, &rect))
        return {};
    return rect_from_native(rect);
}

// Copies the part of the window's outer rectangle inside `area` (screen coordinates) onto `target`,
// whose top-left corner is `origin` on the screen.
void copy_window(HWND hwnd, const Rect& area, HDC target, Point origin)
{
    Rect outer = outer_rect(hwnd);
    Rect part = intersection(outer, area);
    if (part.empty())
        return;
    HDC window_dc = GetWindowDC(hwnd);
    if (!window_dc)
        return;
    BitBlt(target, part.left - origin.x, part.top - origin.y, part.width(), part.height(), window_dc,
           part.left - outer.left, part.top - outer.top, SRCCOPY);
    ReleaseDC(hwnd, window_dc);
}

std::unique_ptr<Bitmap> new_capture(const Rect& rect)
{
    if (rect.empty() ||
        static_cast<std::uint64_t>(rect.width()) * static_cast<std::uint64_t>(rect.height()) * 4 > kMaxCaptureBytes)
        return nullptr;
    return filled_bitmap(rect.width(), rect.height(), system_colour(SystemColour::Desktop));
}

}  // namespace

Rect primary_screen_rect()
{
    return Rect{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
}

// Each window's surface holds what the display shows of it, so both kinds of capture copy it.
std::unique_ptr<Bitmap> capture_screen_rect(const Rect& rect, CapturePixels)
{
    std::unique_ptr<Bitmap> capture = new_capture(rect);
    if (!capture)
        return nullptr;
    std::unique_ptr<DeviceContext> context = bitmap_device_context(*capture);
    if (!context)
        return nullptr;
    HDC target = native_device_context(*context);
    std::vector<WindowHandle> windows = top_level_windows();  // top first
    for (auto it = windows.rbegin(); it != windows.rend(); ++it) {
        HWND hwnd = native_window_handle(*it);
        if (!hwnd || !IsWindowVisible(hwnd) || IsIconic(hwnd) || intersection(outer_rect(hwnd), rect).empty())
            continue;
        // What is waiting to be painted is painted first: the capture shows the windows as they are.
        RedrawWindow(hwnd, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
        copy_window(hwnd, rect, target, Point{rect.left, rect.top});
    }
    context.reset();
    return capture;
}

std::unique_ptr<Bitmap> capture_window(WindowHandle handle, CapturePixels pixels)
{
    HWND hwnd = native_window_handle(handle);
    if (!hwnd || !IsWindow(hwnd))
        return nullptr;
    return capture_screen_rect(outer_rect(hwnd), pixels);
}

std::unique_ptr<Bitmap> held_window_pixels(WindowHandle handle)
{
    HWND hwnd = native_window_handle(handle);
    if (!hwnd || !IsWindow(hwnd) || !IsWindowVisible(hwnd))
        return nullptr;
    Rect outer = outer_rect(hwnd);
    std::unique_ptr<Bitmap> held = new_capture(outer);
    if (!held)
        return nullptr;
    std::unique_ptr<DeviceContext> context = bitmap_device_context(*held);
    if (!context)
        return nullptr;
    // Nothing is painted: the pixels are the ones the window's surface holds now.
    copy_window(hwnd, outer, native_device_context(*context), Point{outer.left, outer.top});
    context.reset();
    return held;
}

}  // namespace platform
