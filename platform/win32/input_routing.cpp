// The system's input messages to the runtime's, through the application-wide input filter.
//
// Every keyboard, mouse and character message a window of ours (or a part of a standard control)
// receives goes to the input filter first, which may swallow it or change a character; then to the
// runtime's procedure of the window; then, when that asks for the default handling, to the system's
// procedure as the filter left it. Characters travel as the runtime's character codes (GBK bytes),
// not as the system's UTF-16 units.

#include "platform/win32/native_window_internal_win32.h"

#include "platform/text_encoding.h"

#include <windowsx.h>

#include <algorithm>
#include <utility>
#include <vector>

namespace platform {

namespace {

InputFilter g_filter;
std::uint64_t g_idle_ending_inputs = 0;
// A key press the filter swallowed makes no characters (the loop has translated it already).
bool g_drop_characters = false;
// The first half of a character outside the basic plane, until its second half arrives.
wchar_t g_high_surrogate = 0;

struct InputInFlight {
    WindowHandle handle = 0;
    std::uint32_t id = 0;
    HWND hwnd = nullptr;
    WNDPROC system_procedure = nullptr;
    LPARAM lparam = 0;  // as the system gave it (a part's own coordinates)
    bool passed_on = false;
};
std::vector<InputInFlight> g_in_flight;

bool is_mouse_message(UINT id)
{
    return (id >= WM_MOUSEMOVE && id <= WM_MBUTTONDBLCLK) || id == WM_MOUSEWHEEL;
}

bool is_character_message(UINT id)
{
    return id == WM_CHAR || id == WM_SYSCHAR;
}

LRESULT call(WNDPROC procedure, HWND hwnd, UINT id, WPARAM wparam, LPARAM lparam)
{
    if (!procedure)
        return DefWindowProcW(hwnd, id, wparam, lparam);
    return CallWindowProcW(procedure, hwnd, id, wparam, lparam);
}

// While an input method's text is committed to a system edit field, the characters the runtime
// lets through are gathered here and reach the field together.
HWND g_commit_target = nullptr;
std::wstring g_committed;

// Gives the system's procedure a character message in its own form: one message per UTF-16 unit.
LRESULT pass_character(WNDPROC procedure, HWND hwnd, UINT id, std::uintptr_t code, LPARAM lparam)
{
    if (code == 0)
        return 0;
    std::u16string units = utf16_from_gbk(gbk_from_char_code(static_cast<std::uint32_t>(code)));
    if (g_commit_target && hwnd == g_commit_target && id == WM_CHAR) {
        g_committed.append(units.begin(), units.end());
        return 0;
    }
    LRESULT result = 0;
    for (char16_t unit : units)
        result = call(procedure, hwnd, id, unit, lparam);
    return result;
}

// A multi-line edit field takes Tab as a character; every other standard control passes the
// focus on with it, as in a dialog.
bool wants_tab(const NativeWindow& window)
{
    return window.window_class->name == kEditClassName &&
           (GetWindowLongW(window.hwnd, GWL_STYLE) & EditStyle::MultiLine);
}

// The control character Ctrl+A types.
constexpr std::uintptr_t kSelectAllCharacter = 0x01;

bool is_system_edit_field(HWND hwnd)
{
    wchar_t class_name[8]{};
    return GetClassNameW(hwnd, class_name, 8) > 0 && _wcsicmp(class_name, L"Edit") == 0;
}

LRESULT move_focus_by_tab(const NativeWindow& window, bool backwards)
{
    // Tab order is the order the windows were made in: bottom of the Z order first.
    std::vector<WindowHandle> order = child_windows(parent_window(window.handle));
    if (!backwards)
        std::reverse(order.begin(), order.end());
    auto here = std::find(order.begin(), order.end(), window.handle);
    if (here == order.end())
        return 0;
    std::rotate(order.begin(), here, order.end());
    for (auto next = order.begin() + 1; next != order.end(); ++next) {
        if (!(window_style(*next) & WS_TABSTOP) || !is_visible(*next) || !is_enabled(*next))
            continue;
        set_focus(*next);
        // A field entered with Tab has its whole text selected.
        if (is_edit_control(*next))
            edit_set_selection(*next, 0, -1);
        else if (combo_has_edit(*next))
            combo_set_edit_selection(*next, 0, -1);
        break;
    }
    return 0;
}

}  // namespace

std::wstring wide_from_gbk(const std::string& gbk)
{
    std::u16string text = utf16_from_gbk(gbk);
    return std::wstring(text.begin(), text.end());
}

std::string gbk_from_wide(const wchar_t* text, std::size_t length)
{
    std::u16string units(length, u'\0');
    for (std::size_t i = 0; i < length; ++i)
        units[i] = static_cast<char16_t>(text[i]);
    return gbk_from_utf16(units);
}

void begin_text_commit(HWND edit)
{
    g_commit_target = edit;
    g_committed.clear();
}

std::wstring end_text_commit()
{
    g_commit_target = nullptr;
    return std::exchange(g_committed, std::wstring());
}

InputFilter set_input_filter(InputFilter filter)
{
    InputFilter previous = std::move(g_filter);
    g_filter = std::move(filter);
    return previous;
}

std::uint32_t current_key_state()
{
    std::uint32_t state = 0;
    if (GetKeyState(VK_CONTROL) & 0x8000)
        state |= KeyState::Ctrl;
    if (GetKeyState(VK_SHIFT) & 0x8000)
        state |= KeyState::Shift;
    if (GetKeyState(VK_MENU) & 0x8000)
        state |= KeyState::Alt;
    return state;
}

std::uint64_t idle_ending_input_count()
{
    return g_idle_ending_inputs;
}

void note_posted_dispatch()
{
    ++g_idle_ending_inputs;
}

LRESULT route_input(const std::shared_ptr<NativeWindow>& window, HWND hwnd, WNDPROC system_procedure, UINT id,
                    WPARAM wparam, LPARAM lparam)
{
    Message message{id, wparam, lparam, current_key_state()};
    if (is_character_message(id)) {
        if (g_drop_characters)
            return 0;
        auto unit = static_cast<wchar_t>(wparam & 0xFFFF);
        if (IS_HIGH_SURROGATE(unit)) {
            g_high_surrogate = unit;
            return 0;
        }
        std::wstring character;
        if (IS_LOW_SURROGATE(unit) && g_high_surrogate)
            character.push_back(g_high_surrogate);
        g_high_surrogate = 0;
        character.push_back(unit);
        // Ctrl+Backspace's delete character is no character.
        if (unit == 0x7F)
            return call(system_procedure, hwnd, id, wparam, lparam);
        message.wparam = gbk_char_code(gbk_from_wide(character.data(), character.size()));
    } else if (is_mouse_message(id)) {
        POINT point{GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam)};
        // The wheel's position is on the screen; every position is the control's client position.
        if (id == WM_MOUSEWHEEL)
            ScreenToClient(window->hwnd, &point);
        else if (hwnd != window->hwnd)
            MapWindowPoints(hwnd, window->hwnd, &point, 1);
        message.lparam = make_lparam(point.x, point.y);
    }
    if (id != WM_MOUSEMOVE)
        ++g_idle_ending_inputs;
    if (g_filter) {
        // The filter may replace itself while it runs.
        InputFilter filter = g_filter;
        if (filter(window->handle, message) == FilterVerdict::Swallow) {
            if (id == WM_KEYDOWN || id == WM_SYSKEYDOWN)
                g_drop_characters = true;
            return 0;
        }
    }
    // Posted key messages may bring the release before the translated characters: only the next
    // press ends the characters of a swallowed one.
    if (id == WM_KEYDOWN || id == WM_SYSKEYDOWN)
        g_drop_characters = false;
    if (!is_window(window->handle) || window->destroying)
        return 0;
    g_in_flight.push_back(InputInFlight{window->handle, message.id, hwnd, system_procedure, lparam, false});
    std::intptr_t result = call_window_procedure(window, message);
    g_in_flight.pop_back();
    return result;
}

std::intptr_t default_input_handling(const NativeWindow& window, Message& message)
{
    HWND hwnd = window.hwnd;
    WNDPROC procedure = window.system_procedure;
    LPARAM lparam = message.lparam;
    bool from_system = false;
    if (!g_in_flight.empty()) {
        InputInFlight& in_flight = g_in_flight.back();
        if (!in_flight.passed_on && in_flight.handle == window.handle && in_flight.id == message.id) {
            in_flight.passed_on = true;
            hwnd = in_flight.hwnd;
            procedure = in_flight.system_procedure;
            lparam = in_flight.lparam;
            from_system = true;
        }
    }
    if (!window.window_class->builtin) {
        // Our own windows have no menu to enter and nothing to beep about; Alt+F4 closes.
        if (message.id == WM_SYSKEYDOWN && message.wparam == VK_F4 && (message.key_state & KeyState::Alt))
            send_message(top_level_ancestor(window.handle), WM_CLOSE);
        return 0;
    }
    if (message.id == WM_KEYDOWN && message.wparam == VK_TAB && !wants_tab(window))
        return move_focus_by_tab(window, message.key_state & KeyState::Shift);
    if (message.id == WM_CHAR && message.wparam == '\t' && !wants_tab(window))
        return 0;
    // Ctrl+A selects the whole text of an edit field, as it does on the Linux build; the system's
    // own field without the newer common controls takes its control character for nothing.
    if (message.id == WM_CHAR && message.wparam == kSelectAllCharacter && is_system_edit_field(hwnd))
        return call(procedure, hwnd, EM_SETSEL, 0, -1);
    if (is_character_message(message.id))
        return pass_character(procedure, hwnd, message.id, message.wparam, lparam);
    if (message.id == WM_MOUSEWHEEL && !from_system) {
        // Made by the runtime with a client position: the system's wheel message has a screen one.
        POINT point{signed_low_word(lparam), signed_high_word(lparam)};
        ClientToScreen(hwnd, &point);
        lparam = MAKELPARAM(point.x, point.y);
    }
    return call(procedure, hwnd, message.id, message.wparam, lparam);
}

}  // namespace platform
