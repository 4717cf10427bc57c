// Painting (invalidation, update, redraw), messages sent to windows, notifications and control
// colours, and timers.

#include "platform/win32/native_window_internal_win32.h"

#include "platform/win32/native_window_win32.h"

#include <algorithm>
#include <map>
#include <vector>

namespace platform {

// ---- Painting ---------------------------------------------------------------------------------

void invalidate(WindowHandle handle, std::optional<Rect> rect, Erase erase)
{
    HWND hwnd = native_window_handle(handle);
    if (!hwnd)
        return;
    if (!rect) {
        InvalidateRect(hwnd, nullptr, erase == Erase::Yes);
        return;
    }
    RECT native{rect->left, rect->top, rect->right, rect->bottom};
    InvalidateRect(hwnd, &native, erase == Erase::Yes);
}

void invalidate_region(WindowHandle handle, const Region& region, Erase erase)
{
    HWND hwnd = native_window_handle(handle);
    if (!hwnd || region.empty())
        return;
    HRGN native = CreateRectRgn(0, 0, 0, 0);
    for (const Rect& rect : region.rects()) {
        HRGN part = CreateRectRgn(rect.left, rect.top, rect.right, rect.bottom);
        CombineRgn(native, native, part, RGN_OR);
        DeleteObject(part);
    }
    InvalidateRgn(hwnd, native, erase == Erase::Yes);
    DeleteObject(native);
}

namespace {

// The window's pending painting, then its children's from the bottom of the Z order up. The system's
// own update paints the topmost child first, so a sibling beneath would paint over a transparent
// label that was just drawn above it.
void update_back_to_front(HWND hwnd)
{
    RedrawWindow(hwnd, nullptr, nullptr, RDW_UPDATENOW | RDW_NOCHILDREN);
    std::vector<HWND> children;
    for (HWND child = GetWindow(hwnd, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        children.push_back(child);
    for (auto child = children.rbegin(); child != children.rend(); ++child) {
        if (IsWindow(*child) && IsWindowVisible(*child))
            update_back_to_front(*child);
    }
}

}  // namespace

void update_window(WindowHandle handle)
{
    if (HWND hwnd = native_window_handle(handle))
        update_back_to_front(hwnd);
}

void redraw_window(WindowHandle handle, std::optional<Rect> rect, std::uint32_t flags)
{
    HWND hwnd = native_window_handle(handle);
    if (!hwnd)
        return;
    // The flags are the system's own values.
    if (!rect) {
        RedrawWindow(hwnd, nullptr, nullptr, flags);
        return;
    }
    RECT native{rect->left, rect->top, rect->right, rect->bottom};
    RedrawWindow(hwnd, &native, nullptr, flags);
}

// ---- Messages ---------------------------------------------------------------------------------

std::intptr_t send_message(WindowHandle handle, Message message)
{
    std::shared_ptr<NativeWindow> window = find_window(handle);
    if (!window)
        return 0;
    return call_window_procedure(window, message);
}

HBRUSH solid_brush(Colour colour)
{
    // Few colours are ever asked for; the brushes live as long as the process.
    static std::map<Colour, HBRUSH> brushes;
    auto found = brushes.find(colour);
    if (found != brushes.end())
        return found->second;
    HBRUSH brush = CreateSolidBrush(colour & 0xFFFFFF);
    brushes[colour] = brush;
    return brush;
}

LRESULT answer_control_colours(const NativeWindow& window, UINT id, HDC dc, HWND child)
{
    WindowHandle control = control_of_hwnd(child);
    if (!control)
        return call_system_procedure(window, id, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(child));
    // A control's own part (a combo box's field or list) paints in the colours the control's
    // parent gives the control; a child control asks this window.
    ControlColours colours = query_control_colours(control, id);
    SetTextColor(dc, colours.text & 0xFFFFFF);
    SetBkColor(dc, colours.text_background & 0xFFFFFF);
    // A group box has erased its inside through its own procedure already (see the button class);
    // the system's group box would fill it again with this brush.
    if (window_class_name(control) == kButtonClassName &&
        (GetWindowLongW(child, GWL_STYLE) & BS_TYPEMASK) == BS_GROUPBOX)
        return reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH));
    return reinterpret_cast<LRESULT>(solid_brush(colours.brush));
}

// ---- Timers -----------------------------------------------------------------------------------

bool set_timer(WindowHandle handle, int id, int milliseconds)
{
    std::shared_ptr<NativeWindow> window = find_window(handle);
    if (!window || !window->hwnd || window->destroying)
        return false;
    // Setting an id again restarts it; the system's timers end with their window.
    if (!SetTimer(window->hwnd, static_cast<UINT_PTR>(id), static_cast<UINT>(std::max(milliseconds, 1)), nullptr))
        return false;
    window->timers.insert(id);
    return true;
}

bool kill_timer(WindowHandle handle, int id)
{
    std::shared_ptr<NativeWindow> window = find_window(handle);
    if (!window || !window->hwnd || !window->timers.count(id))
        return false;
    KillTimer(window->hwnd, static_cast<UINT_PTR>(id));
    window->timers.erase(id);
    return true;
}

}  // namespace platform
