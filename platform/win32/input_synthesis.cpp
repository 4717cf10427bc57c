// Synthetic input: the system's input messages sent straight to the window (or to the part of a
// standard control under the point), with the keyboard state they would have had. Nothing goes
// through the desktop's input queue, so the input arrives whether or not the window is in the
// foreground, and before the call returns.

#include "platform/input_synthesis.h"

#include "platform/win32/native_window_internal_win32.h"

#include "platform/text_encoding.h"

#include <array>

namespace platform {

namespace {

// Buttons held during synthetic input, as real input reports them.
std::uintptr_t g_buttons_held = 0;

// The thread's keyboard state as the input would have it (modifiers and mouse buttons held), for
// the time one message is handled; the system's controls ask it for Shift and Ctrl.
class KeyboardStateScope {
public:
    explicit KeyboardStateScope(std::uint32_t key_state)
    {
        m_saved_valid = GetKeyboardState(m_saved.data()) != 0;
        std::array<BYTE, 256> state = m_saved;
        auto set = [&state](int key, bool down) { state[key] = down ? 0x80 : 0; };
        set(VK_CONTROL, key_state & KeyState::Ctrl);
        set(VK_LCONTROL, key_state & KeyState::Ctrl);
        set(VK_SHIFT, key_state & KeyState::Shift);
        set(VK_LSHIFT, key_state & KeyState::Shift);
        set(VK_MENU, key_state & KeyState::Alt);
        set(VK_LMENU, key_state & KeyState::Alt);
        set(VK_LBUTTON, g_buttons_held & MK_LBUTTON);
        set(VK_RBUTTON, g_buttons_held & MK_RBUTTON);
        set(VK_MBUTTON, g_buttons_held & MK_MBUTTON);
        SetKeyboardState(state.data());
    }
    ~KeyboardStateScope()
    {
        if (m_saved_valid)
            SetKeyboardState(m_saved.data());
    }
    KeyboardStateScope(const KeyboardStateScope&) = delete;
    KeyboardStateScope& operator=(const KeyboardStateScope&) = delete;

private:
    std::array<BYTE, 256> m_saved{};
    bool m_saved_valid = false;
};

std::uintptr_t button_bit(MouseButton button)
{
    switch (button) {
    case MouseButton::Left:
        return MK_LBUTTON;
    case MouseButton::Right:
        return MK_RBUTTON;
    case MouseButton::Middle:
        return MK_MBUTTON;
    }
    return MK_LBUTTON;
}

UINT button_message(MouseButton button, int which)  // which: 0 down, 1 up, 2 double click
{
    static constexpr UINT kMessages[3][3] = {{WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK},
                                             {WM_RBUTTONDOWN, WM_RBUTTONUP, WM_RBUTTONDBLCLK},
                                             {WM_MBUTTONDOWN, WM_MBUTTONUP, WM_MBUTTONDBLCLK}};
    return kMessages[static_cast<int>(button)][which];
}

struct Target {
    HWND hwnd = nullptr;
    POINT position{};
};

// The window, or the part of a standard control under the point, and the point in its client area.
Target mouse_target(WindowHandle handle, Point position)
{
    HWND hwnd = native_window_handle(handle);
    // A disabled window takes no input.
    if (!hwnd || !IsWindowEnabled(hwnd))
        return {};
    Target target{hwnd, POINT{position.x, position.y}};
    HWND part = ChildWindowFromPointEx(hwnd, target.position, CWP_SKIPINVISIBLE | CWP_SKIPTRANSPARENT);
    if (part && part != hwnd && control_of_hwnd(part) == handle && !window_from_native(part)) {
        MapWindowPoints(hwnd, part, &target.position, 1);
        target.hwnd = part;
    }
    return target;
}

std::uintptr_t mouse_key_bits(std::uint32_t key_state)
{
    std::uintptr_t bits = g_buttons_held;
    if (key_state & KeyState::Shift)
        bits |= MK_SHIFT;
    if (key_state & KeyState::Ctrl)
        bits |= MK_CONTROL;
    return bits;
}

void send_mouse(WindowHandle handle, Point position, UINT id, std::uint32_t key_state)
{
    Target target = mouse_target(handle, position);
    if (!target.hwnd)
        return;
    KeyboardStateScope keyboard(key_state);
    SendMessageW(target.hwnd, id, mouse_key_bits(key_state), MAKELPARAM(target.position.x, target.position.y));
}

// The window that takes the keys: the given one (its field, for a control whose field has the
// focus), or else the focus window.
HWND key_target(WindowHandle handle)
{
    HWND focus = GetFocus();
    if (handle == 0)
        return focus;
    HWND hwnd = native_window_handle(handle);
    if (hwnd && focus && focus != hwnd && control_of_hwnd(focus) == handle)
        return focus;
    return hwnd;
}

void send_key(WindowHandle handle, bool press, int virtual_key, std::uint32_t key_state)
{
    HWND target = key_target(handle);
    if (!target || !IsWindowEnabled(target))
        return;
    bool alt = key_state & KeyState::Alt;
    bool system = alt || virtual_key == VK_F10 || virtual_key == VK_MENU;
    UINT id = press ? (system ? WM_SYSKEYDOWN : WM_KEYDOWN) : (system ? WM_SYSKEYUP : WM_KEYUP);
    // Repeat count 1, the scan code, bit 29 Alt held, bit 30 the previous state, bit 31 the transition.
    UINT scan_code = MapVirtualKeyW(static_cast<UINT>(virtual_key), MAPVK_VK_TO_VSC);
    auto flags = static_cast<DWORD>(1 | (scan_code & 0xFF) << 16);
    if (alt)
        flags |= 1u << 29;
    if (!press)
        flags |= 1u << 30 | 1u << 31;
    KeyboardStateScope keyboard(key_state);
    SendMessageW(target, id, static_cast<WPARAM>(virtual_key), static_cast<LPARAM>(flags));
    if (!press || !IsWindow(target))
        return;
    if (wchar_t character = text_of_key(virtual_key, key_state))
        SendMessageW(target, alt ? WM_SYSCHAR : WM_CHAR, character, static_cast<LPARAM>(flags));
}

}  // namespace

void synthesize_mouse_press(WindowHandle window, Point position, MouseButton button, std::uint32_t key_state)
{
    g_buttons_held |= button_bit(button);
    send_mouse(window, position, button_message(button, 0), key_state);
}

void synthesize_mouse_release(WindowHandle window, Point position, MouseButton button, std::uint32_t key_state)
{
    g_buttons_held &= ~button_bit(button);
    send_mouse(window, position, button_message(button, 1), key_state);
}

void synthesize_mouse_move(WindowHandle window, Point position, std::uint32_t key_state)
{
    send_mouse(window, position, WM_MOUSEMOVE, key_state);
}

void synthesize_click(WindowHandle window, Point position, MouseButton button, std::uint32_t key_state)
{
    synthesize_mouse_press(window, position, button, key_state);
    synthesize_mouse_release(window, position, button, key_state);
}

void synthesize_double_click(WindowHandle window, Point position, MouseButton button, std::uint32_t key_state)
{
    synthesize_click(window, position, button, key_state);
    g_buttons_held |= button_bit(button);
    // Without the double-click class style a quick second press is just a press.
    Target target = mouse_target(window, position);
    bool doubles = target.hwnd && (GetClassLongW(target.hwnd, GCL_STYLE) & CS_DBLCLKS);
    send_mouse(window, position, button_message(button, doubles ? 2 : 0), key_state);
    synthesize_mouse_release(window, position, button, key_state);
}

void synthesize_wheel(WindowHandle window, Point position, int delta, std::uint32_t key_state)
{
    Target target = mouse_target(window, position);
    if (!target.hwnd)
        return;
    // The wheel's position is on the screen.
    POINT screen = target.position;
    ClientToScreen(target.hwnd, &screen);
    KeyboardStateScope keyboard(key_state);
    WPARAM wparam = mouse_key_bits(key_state) | static_cast<WPARAM>(static_cast<std::uint16_t>(delta)) << 16;
    SendMessageW(target.hwnd, WM_MOUSEWHEEL, wparam, MAKELPARAM(screen.x, screen.y));
}

void synthesize_key_press(WindowHandle window, int virtual_key, std::uint32_t key_state)
{
    send_key(window, true, virtual_key, key_state);
}

void synthesize_key_release(WindowHandle window, int virtual_key, std::uint32_t key_state)
{
    send_key(window, false, virtual_key, key_state);
}

void synthesize_key_stroke(WindowHandle window, int virtual_key, std::uint32_t key_state)
{
    synthesize_key_press(window, virtual_key, key_state);
    synthesize_key_release(window, virtual_key, key_state);
}

void synthesize_text_input(WindowHandle window, std::string_view gbk)
{
    HWND target = key_target(window);
    if (!target)
        return;
    std::u16string text = utf16_from_gbk(gbk);
    // An input method hands an edit field its text at once: one change, as typed characters would
    // make one each. Read-only and digits-only fields take characters one by one (and refuse them).
    wchar_t class_name[16]{};
    GetClassNameW(target, class_name, 16);
    auto style = static_cast<std::uint32_t>(GetWindowLongW(target, GWL_STYLE));
    bool commit = _wcsicmp(class_name, L"Edit") == 0 && !(style & (ES_READONLY | ES_NUMBER));
    if (commit)
        begin_text_commit(target);
    for (char16_t unit : text) {
        if (!IsWindow(target))
            break;
        SendMessageW(target, WM_CHAR, unit, 1);
    }
    if (!commit)
        return;
    std::wstring passed = end_text_commit();
    if (!passed.empty() && IsWindow(target))
        SendMessageW(target, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(passed.c_str()));
}

}  // namespace platform
