// Creation and destruction of native windows, and the attributes they are created with: text,
// styles, identifier and user data.

#include "platform/win32/native_window_internal_win32.h"

namespace platform {

namespace {

constexpr std::uint32_t kStateBits = WS_VISIBLE | WS_DISABLED | WS_MINIMIZE | WS_MAXIMIZE;

ShowCommand initial_show_command(std::uint32_t style)
{
    if (style & WS_MAXIMIZE)
        return ShowCommand::Maximized;
    if (style & WS_MINIMIZE)
        return ShowCommand::Minimized;
    return ShowCommand::Show;
}

}  // namespace

WindowHandle create_window(const CreateParams& params)
{
    auto found_class = classes().find(params.class_name);
    if (found_class == classes().end())
        return 0;
    const std::shared_ptr<const WindowClass>& window_class = found_class->second;
    const bool child = params.style & WS_CHILD;
    HWND parent_hwnd = nullptr;
    if (child) {
        std::shared_ptr<NativeWindow> parent = find_window(params.parent);
        if (!parent || parent->destroying)
            return 0;
        parent_hwnd = parent->hwnd;
    } else if (WindowHandle owner_handle = params.owner ? params.owner : params.parent) {
        // For a top-level window a parent given is its owner, and the owner is always top-level.
        std::shared_ptr<NativeWindow> owner = find_window(owner_handle);
        if (!owner || owner->destroying)
            return 0;
        parent_hwnd = GetAncestor(owner->hwnd, GA_ROOT);
    }

    auto window = std::make_shared<NativeWindow>();
    window->handle = next_window_handle();
    window->window_class = window_class;
    window->text = params.text;
    window->id = params.id;
    window->ex_style = params.ex_style;
    windows()[window->handle] = window;

    // Shown at the end, after WM_CREATE and the first WM_SIZE and WM_MOVE.
    DWORD style = params.style & ~(WS_VISIBLE | WS_MINIMIZE | WS_MAXIMIZE);
    std::wstring text = wide_from_gbk(params.text);
    auto menu_or_id = child ? reinterpret_cast<HMENU>(static_cast<INT_PTR>(params.id)) : nullptr;
    HWND hwnd = nullptr;
    if (window_class->builtin) {
        hwnd =
            CreateWindowExW(params.ex_style, window_class->system_name.c_str(), text.c_str(), style, params.x, params.y,
                            params.width, params.height, parent_hwnd, menu_or_id, module_instance(), nullptr);
        if (!hwnd) {
            windows().erase(window->handle);
            return 0;
        }
        window->hwnd = hwnd;
        handles_of_hwnds()[hwnd] = window->handle;
        window->system_procedure = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(window_procedure)));
        if (window_class->prepare)
            window_class->prepare(*window, params);
        Message create{WM_CREATE, 0, reinterpret_cast<std::intptr_t>(&params), 0};
        if (call_window_procedure(window, create) == -1) {
            window->destroy_sent = true;
            Message destroy{WM_DESTROY, 0, 0, 0};
            call_window_procedure(window, destroy);
            destroy_window(window->handle);
            return 0;
        }
    } else {
        begin_making_window(window, &params);
        hwnd =
            CreateWindowExW(params.ex_style, window_class->system_name.c_str(), text.c_str(), style, params.x, params.y,
                            params.width, params.height, parent_hwnd, menu_or_id, module_instance(), nullptr);
        end_making_window();
        if (!hwnd) {
            // Refused in WM_CREATE: the system has destroyed it already.
            if (window->hwnd)
                forget_window(window->hwnd);
            windows().erase(window->handle);
            return 0;
        }
    }
    if (!is_window(window->handle))
        return 0;
    window->created = true;
    if (child) {
        // A new child goes on top of its siblings (the system puts it at the bottom).
        SetWindowPos(hwnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOREDRAW);
    } else {
        give_default_icon(hwnd);
    }
    if (params.style & WS_VISIBLE)
        show_window(window->handle, initial_show_command(params.style));
    return is_window(window->handle) ? window->handle : 0;
}

bool destroy_window(WindowHandle handle)
{
    std::shared_ptr<NativeWindow> window = find_window(handle);
    if (!window || window->destroying || !window->hwnd)
        return false;
    // The system destroys owned windows first, sends WM_DESTROY parent first and WM_NCDESTROY
    // children first; each window leaves the registry with its WM_NCDESTROY.
    DestroyWindow(window->hwnd);
    if (is_window(handle))
        forget_window(window->hwnd);
    return true;
}

bool is_window(WindowHandle handle)
{
    return windows().count(handle) != 0;
}

std::string window_class_name(WindowHandle handle)
{
    std::shared_ptr<NativeWindow> window = find_window(handle);
    return window ? window->window_class->name : std::string();
}

std::uint32_t window_style(WindowHandle handle)
{
    HWND hwnd = native_window_handle(handle);
    return hwnd ? static_cast<std::uint32_t>(GetWindowLongW(hwnd, GWL_STYLE)) : 0;
}

std::uint32_t window_ex_style(WindowHandle handle)
{
    std::shared_ptr<NativeWindow> window = find_window(handle);
    if (!window || !window->hwnd)
        return 0;
    // Whether a window is topmost is the system's to say (set_window_pos changes it too).
    auto actual = static_cast<std::uint32_t>(GetWindowLongW(window->hwnd, GWL_EXSTYLE));
    return (window->ex_style & ~WS_EX_TOPMOST) | (actual & WS_EX_TOPMOST);
}

namespace {

void apply_frame_change(HWND hwnd)
{
    SetWindowPos(hwnd, nullptr, 0, 0, 0, 0,
                 SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOOWNERZORDER);
    RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME);
}

}  // namespace

void set_window_style(WindowHandle handle, std::uint32_t style)
{
    std::shared_ptr<NativeWindow> window = find_window(handle);
    if (!window || !window->hwnd)
        return;
    auto old_style = static_cast<std::uint32_t>(GetWindowLongW(window->hwnd, GWL_STYLE));
    // Whether a window is a child is fixed at creation (set_parent changes it).
    std::uint32_t kept = kStateBits | WS_CHILD;
    style = (style & ~kept) | (old_style & kept);
    if (style == old_style)
        return;
    SetWindowLongW(window->hwnd, GWL_STYLE, static_cast<LONG>(style));
    if (window->window_class->style_changed)
        window->window_class->style_changed(*window, old_style, style);
    apply_frame_change(window->hwnd);
}

void set_window_ex_style(WindowHandle handle, std::uint32_t ex_style)
{
    std::shared_ptr<NativeWindow> window = find_window(handle);
    if (!window || !window->hwnd)
        return;
    std::uint32_t old_ex = window_ex_style(handle);
    if (old_ex == ex_style)
        return;
    window->ex_style = ex_style;
    SetWindowLongW(window->hwnd, GWL_EXSTYLE, static_cast<LONG>(ex_style));
    // The system takes the topmost bit from its Z order calls only.
    if ((old_ex ^ ex_style) & WS_EX_TOPMOST && !(GetWindowLongW(window->hwnd, GWL_STYLE) & WS_CHILD)) {
        SetWindowPos(window->hwnd, (ex_style & WS_EX_TOPMOST) ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
    apply_frame_change(window->hwnd);
}

int window_id(WindowHandle handle)
{
    std::shared_ptr<NativeWindow> window = find_window(handle);
    return window ? window->id : 0;
}

void set_window_id(WindowHandle handle, int id)
{
    std::shared_ptr<NativeWindow> window = find_window(handle);
    if (!window)
        return;
    window->id = id;
    // A child's id is what its notifications carry; a top-level window's slot is its menu.
    if (GetWindowLongW(window->hwnd, GWL_STYLE) & WS_CHILD)
        SetWindowLongPtrW(window->hwnd, GWLP_ID, id);
}

std::intptr_t window_user_data(WindowHandle handle)
{
    std::shared_ptr<NativeWindow> window = find_window(handle);
    return window ? window->user_data : 0;
}

void set_window_user_data(WindowHandle handle, std::intptr_t data)
{
    if (std::shared_ptr<NativeWindow> window = find_window(handle))
        window->user_data = data;
}

}  // namespace platform
