// Geometry, Z order and parents, showing and enabling, focus and activation: the system's own
// window manager does the work; this file speaks the runtime's handles.
//
//   Geometry ............ frame insets, rectangles, moving, centring
//   Z order and parents . set_window_pos, set_parent, children, top-level windows
//   Showing ............. show, enable, states
//   Focus ............... focus and activation

#include "platform/win32/native_window_internal_win32.h"

#include "platform/win32/native_window_win32.h"

namespace platform {

namespace {

Rect rect_from_native(const RECT& rect)
{
    return Rect{rect.left, rect.top, rect.right, rect.bottom};
}

bool is_child(HWND hwnd)
{
    return GetWindowLongW(hwnd, GWL_STYLE) & WS_CHILD;
}

}  // namespace

// ---- Geometry ---------------------------------------------------------------------------------

FrameInsets frame_insets(std::uint32_t style, std::uint32_t ex_style, bool top_level)
{
    // The system's own frames: a top-level window's decorations come from the desktop's metrics,
    // a child's borders and edges from the style bits.
    if (!top_level)
        style = (style | WS_CHILD) & ~WS_POPUP;
    RECT rect{0, 0, 0, 0};
    AdjustWindowRectEx(&rect, style, FALSE, ex_style);
    return FrameInsets{-rect.left, -rect.top, rect.right, rect.bottom};
}

Rect window_rect(WindowHandle handle)
{
    HWND hwnd = native_window_handle(handle);
    RECT rect{};
    if (!hwnd || !GetWindowRect(hwnd, &rect))
        return {};
    return rect_from_native(rect);
}

Rect client_rect(WindowHandle handle)
{
    HWND hwnd = native_window_handle(handle);
    RECT rect{};
    if (!hwnd || !GetClientRect(hwnd, &rect))
        return {};
    return rect_from_native(rect);
}

Rect window_rect_in_parent(WindowHandle handle)
{
    HWND hwnd = native_window_handle(handle);
    RECT rect{};
    if (!hwnd || !GetWindowRect(hwnd, &rect))
        return {};
    if (is_child(hwnd))
        MapWindowPoints(HWND_DESKTOP, GetParent(hwnd), reinterpret_cast<POINT*>(&rect), 2);
    return rect_from_native(rect);
}

Point client_to_screen(WindowHandle handle, Point point)
{
    HWND hwnd = native_window_handle(handle);
    POINT native{point.x, point.y};
    if (!hwnd || !ClientToScreen(hwnd, &native))
        return point;
    return Point{native.x, native.y};
}

Point screen_to_client(WindowHandle handle, Point point)
{
    HWND hwnd = native_window_handle(handle);
    POINT native{point.x, point.y};
    if (!hwnd || !ScreenToClient(hwnd, &native))
        return point;
    return Point{native.x, native.y};
}

void move_window(WindowHandle handle, int x, int y, int width, int height, Repaint repaint)
{
    std::shared_ptr<NativeWindow> window = find_window(handle);
    if (!window || !window->hwnd || window->destroying)
        return;
    MoveWindow(window->hwnd, x, y, width, height, repaint == Repaint::Yes);
}

void centre_window_on_screen(WindowHandle handle)
{
    HWND hwnd = native_window_handle(handle);
    RECT outer{};
    if (!hwnd || !GetWindowRect(hwnd, &outer))
        return;
    RECT area{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
    int width = outer.right - outer.left;
    int height = outer.bottom - outer.top;
    int x = area.left + ((area.right - area.left) - width) / 2;
    int y = area.top + ((area.bottom - area.top) - height) / 2;
    SetWindowPos(hwnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// ---- Z order and parents ----------------------------------------------------------------------

void set_window_pos(WindowHandle handle, WindowHandle insert_after, int x, int y, int width, int height,
                    std::uint32_t flags)
{
    std::shared_ptr<NativeWindow> window = find_window(handle);
    if (!window || !window->hwnd || window->destroying)
        return;
    HWND after = nullptr;
    switch (insert_after) {
    case kInsertAtTop:
        after = HWND_TOP;
        break;
    case kInsertAtBottom:
        after = HWND_BOTTOM;
        break;
    case kInsertTopmost:
        after = HWND_TOPMOST;
        break;
    case kInsertNotTopmost:
        after = HWND_NOTOPMOST;
        break;
    default:
        after = native_window_handle(insert_after);
        // Below a window that is gone or is no sibling: the order stays.
        if (!after || parent_window(insert_after) != parent_window(handle))
            flags |= SWP_NOZORDER;
        break;
    }
    // A hidden window is never activated (Wine keeps its Z order when asked to).
    if (!IsWindowVisible(window->hwnd))
        flags |= SWP_NOACTIVATE;
    // The flags are the system's own values.
    SetWindowPos(window->hwnd, after, x, y, width, height, flags);
}

WindowHandle parent_window(WindowHandle handle)
{
    HWND hwnd = native_window_handle(handle);
    if (!hwnd || !is_child(hwnd))
        return 0;
    return window_from_native(GetParent(hwnd));
}

WindowHandle set_parent(WindowHandle handle, WindowHandle new_parent)
{
    std::shared_ptr<NativeWindow> window = find_window(handle);
    if (!window || !window->hwnd || handle == new_parent)
        return 0;
    HWND parent_hwnd = new_parent ? native_window_handle(new_parent) : nullptr;
    if (new_parent && !parent_hwnd)
        return 0;
    // A window cannot become a child of its own descendant.
    for (WindowHandle up = new_parent; up; up = parent_window(up)) {
        if (up == handle)
            return 0;
    }
    WindowHandle previous = parent_window(handle);
    Rect rect = window_rect_in_parent(handle);
    auto style = static_cast<std::uint32_t>(GetWindowLongW(window->hwnd, GWL_STYLE));
    // The system expects the child bit to match before the parent changes.
    style = parent_hwnd ? ((style | WS_CHILD) & ~WS_POPUP) : ((style & ~WS_CHILD) | WS_POPUP);
    SetWindowLongW(window->hwnd, GWL_STYLE, static_cast<LONG>(style));
    SetParent(window->hwnd, parent_hwnd);
    if (parent_hwnd)
        SetWindowLongPtrW(window->hwnd, GWLP_ID, window->id);
    // The position numbers stay; they are now relative to the new parent.
    SetWindowPos(window->hwnd, HWND_TOP, rect.left, rect.top, rect.width(), rect.height(),
                 SWP_NOACTIVATE | SWP_FRAMECHANGED);
    return previous;
}

WindowHandle owner_window(WindowHandle handle)
{
    HWND hwnd = native_window_handle(handle);
    if (!hwnd || is_child(hwnd))
        return 0;
    return window_from_native(GetWindow(hwnd, GW_OWNER));
}

std::vector<WindowHandle> child_windows(WindowHandle handle)
{
    std::vector<WindowHandle> children;
    HWND hwnd = native_window_handle(handle);
    if (!hwnd)
        return children;
    for (HWND child = GetWindow(hwnd, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (WindowHandle child_handle = window_from_native(child))
            children.push_back(child_handle);
    }
    return children;
}

std::vector<WindowHandle> top_level_windows()
{
    std::vector<WindowHandle> order;
    for (HWND hwnd = GetTopWindow(nullptr); hwnd; hwnd = GetWindow(hwnd, GW_HWNDNEXT)) {
        if (WindowHandle handle = window_from_native(hwnd))
            order.push_back(handle);
    }
    return order;
}

bool is_descendant(WindowHandle ancestor, WindowHandle window)
{
    HWND ancestor_hwnd = native_window_handle(ancestor);
    HWND hwnd = native_window_handle(window);
    return ancestor_hwnd && hwnd && IsChild(ancestor_hwnd, hwnd);
}

WindowHandle top_level_ancestor(WindowHandle handle)
{
    if (!is_window(handle))
        return 0;
    for (WindowHandle up = parent_window(handle); up; up = parent_window(up))
        handle = up;
    return handle;
}

// ---- Showing ----------------------------------------------------------------------------------

bool show_window(WindowHandle handle, ShowCommand command)
{
    std::shared_ptr<NativeWindow> window = find_window(handle);
    if (!window || !window->hwnd || window->destroying)
        return false;
    bool was_visible = GetWindowLongW(window->hwnd, GWL_STYLE) & WS_VISIBLE;
    // The commands are the system's own values.
    ShowWindow(window->hwnd, static_cast<int>(command));
    return was_visible;
}

bool enable_window(WindowHandle handle, bool enable)
{
    HWND hwnd = native_window_handle(handle);
    if (!hwnd)
        return false;
    return EnableWindow(hwnd, enable ? TRUE : FALSE) != 0;
}

bool is_visible(WindowHandle handle)
{
    HWND hwnd = native_window_handle(handle);
    return hwnd && IsWindowVisible(hwnd);
}

bool is_enabled(WindowHandle handle)
{
    HWND hwnd = native_window_handle(handle);
    return hwnd && !(GetWindowLongW(hwnd, GWL_STYLE) & WS_DISABLED);
}

bool is_minimized(WindowHandle handle)
{
    HWND hwnd = native_window_handle(handle);
    return hwnd && IsIconic(hwnd);
}

bool is_maximized(WindowHandle handle)
{
    HWND hwnd = native_window_handle(handle);
    return hwnd && IsZoomed(hwnd);
}

// ---- Focus ------------------------------------------------------------------------------------

WindowHandle focus_window()
{
    return control_of_hwnd(GetFocus());
}

WindowHandle set_focus(WindowHandle handle)
{
    WindowHandle previous = focus_window();
    if (handle == 0) {
        SetFocus(nullptr);
        return previous;
    }
    std::shared_ptr<NativeWindow> window = find_window(handle);
    if (!window || !window->hwnd || window->destroying)
        return previous;
    HWND top = GetAncestor(window->hwnd, GA_ROOT);
    if (GetActiveWindow() != top && IsWindowVisible(top))
        SetActiveWindow(top);
    SetFocus(window->hwnd);
    return previous;
}

WindowHandle active_window()
{
    WindowHandle window = control_of_hwnd(GetActiveWindow());
    return window ? top_level_ancestor(window) : 0;
}

bool set_active_window(WindowHandle handle)
{
    HWND hwnd = native_window_handle(top_level_ancestor(handle));
    if (!hwnd || !IsWindowVisible(hwnd))
        return false;
    SetWindowPos(hwnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    SetForegroundWindow(hwnd);
    SetActiveWindow(hwnd);
    return true;
}

}  // namespace platform
