// The "EDIT" class: the system's own edit control, its limits, password character and selection.
// Positions are the control's own: UTF-16 units of the text.

#include "platform/win32/native_window_internal_win32.h"

#include <algorithm>

namespace platform {

namespace {

// The system's ceiling for a single-line field, used for "the platform's maximum".
constexpr int kMaximumTextLimit = 0x7FFFFFFE;

void prepare_edit(NativeWindow& window, const CreateParams&)
{
    call_system_procedure(window, WM_SETFONT, reinterpret_cast<WPARAM>(control_font(nullptr)), FALSE);
    // The system's default limit is far below its maximum; the runtime expects the maximum.
    call_system_procedure(window, EM_SETLIMITTEXT, 0, 0);
}

void edit_style_changed(NativeWindow& window, std::uint32_t old_style, std::uint32_t new_style)
{
    // The control reads these from its messages, not from the style bits.
    if ((old_style ^ new_style) & EditStyle::ReadOnly)
        call_system_procedure(window, EM_SETREADONLY, (new_style & EditStyle::ReadOnly) ? TRUE : FALSE, 0);
    if ((old_style ^ new_style) & EditStyle::Password && !(new_style & EditStyle::MultiLine))
        call_system_procedure(window, EM_SETPASSWORDCHAR, (new_style & EditStyle::Password) ? L'*' : 0, 0);
}

std::shared_ptr<NativeWindow> edit_window(WindowHandle handle)
{
    std::shared_ptr<NativeWindow> window = find_window(handle);
    if (!window || window->window_class->system_name != L"EDIT")
        return nullptr;
    return window;
}

}  // namespace

void register_edit_class()
{
    if (is_window_class_registered(kEditClassName))
        return;
    WindowClass edit;
    edit.name = kEditClassName;
    edit.system_name = L"EDIT";
    edit.info.style = CS_DBLCLKS;
    edit.info.background = Brush::system(5);  // the window colour
    edit.prepare = &prepare_edit;
    edit.style_changed = &edit_style_changed;
    register_builtin_window_class(std::move(edit));
}

bool is_edit_control(WindowHandle handle)
{
    return edit_window(handle) != nullptr;
}

void edit_set_text_limit(WindowHandle edit, int characters)
{
    if (std::shared_ptr<NativeWindow> window = edit_window(edit))
        call_system_procedure(*window, EM_SETLIMITTEXT, characters <= 0 ? 0 : static_cast<WPARAM>(characters), 0);
}

int edit_text_limit(WindowHandle edit)
{
    std::shared_ptr<NativeWindow> window = edit_window(edit);
    if (!window)
        return 0;
    // A multi-line field's maximum is all bits set.
    auto limit = static_cast<std::uint32_t>(call_system_procedure(*window, EM_GETLIMITTEXT, 0, 0));
    return static_cast<int>(std::min<std::uint32_t>(limit, kMaximumTextLimit));
}

void edit_set_password_character(WindowHandle edit, std::uint32_t character_code)
{
    std::shared_ptr<NativeWindow> window = edit_window(edit);
    if (!window || (GetWindowLongW(window->hwnd, GWL_STYLE) & EditStyle::MultiLine))
        return;
    std::u16string character = utf16_from_gbk(gbk_from_char_code(character_code));
    wchar_t unit = (character_code == 0 || character.empty()) ? 0 : static_cast<wchar_t>(character.front());
    call_system_procedure(*window, EM_SETPASSWORDCHAR, unit, 0);
    InvalidateRect(window->hwnd, nullptr, TRUE);
}

std::uint32_t edit_password_character(WindowHandle edit)
{
    std::shared_ptr<NativeWindow> window = edit_window(edit);
    if (!window)
        return 0;
    auto unit = static_cast<wchar_t>(call_system_procedure(*window, EM_GETPASSWORDCHAR, 0, 0));
    if (unit == 0)
        return 0;
    return gbk_char_code(gbk_from_wide(&unit, 1));
}

void edit_set_read_only(WindowHandle edit, bool read_only)
{
    // The control keeps its read-only style bit itself.
    if (std::shared_ptr<NativeWindow> window = edit_window(edit))
        call_system_procedure(*window, EM_SETREADONLY, read_only ? TRUE : FALSE, 0);
}

void edit_set_selection(WindowHandle edit, int start, int end)
{
    std::shared_ptr<NativeWindow> window = edit_window(edit);
    if (!window)
        return;
    if (start < 0) {
        // Removes the selection and keeps the caret.
        DWORD caret = 0;
        call_system_procedure(*window, EM_GETSEL, 0, reinterpret_cast<LPARAM>(&caret));
        call_system_procedure(*window, EM_SETSEL, caret, static_cast<LPARAM>(caret));
        return;
    }
    auto length = static_cast<int>(call_system_procedure(*window, WM_GETTEXTLENGTH, 0, 0));
    start = std::min(start, length);
    end = (end < 0 || end > length) ? length : end;
    call_system_procedure(*window, EM_SETSEL, static_cast<WPARAM>(start), end);
}

TextRange edit_selection(WindowHandle edit)
{
    std::shared_ptr<NativeWindow> window = edit_window(edit);
    if (!window)
        return {};
    DWORD start = 0;
    DWORD end = 0;
    call_system_procedure(*window, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    return TextRange{static_cast<int>(start), static_cast<int>(end)};
}

std::string edit_selected_text(WindowHandle edit)
{
    std::shared_ptr<NativeWindow> window = edit_window(edit);
    if (!window)
        return {};
    TextRange range = edit_selection(edit);
    std::wstring text = system_control_text(*window);
    auto start = static_cast<std::size_t>(std::clamp(range.start, 0, static_cast<int>(text.size())));
    auto end = static_cast<std::size_t>(std::clamp(range.end, static_cast<int>(start), static_cast<int>(text.size())));
    return gbk_from_wide(text.data() + start, end - start);
}

void edit_replace_selection(WindowHandle edit, std::string_view gbk)
{
    std::shared_ptr<NativeWindow> window = edit_window(edit);
    if (!window)
        return;
    std::wstring text = wide_from_gbk(std::string(gbk));
    call_system_procedure(*window, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(text.c_str()));
}

void edit_scroll_caret(WindowHandle edit)
{
    if (std::shared_ptr<NativeWindow> window = edit_window(edit))
        call_system_procedure(*window, EM_SCROLLCARET, 0, 0);
}

int edit_text_length(WindowHandle edit)
{
    std::shared_ptr<NativeWindow> window = edit_window(edit);
    return window ? static_cast<int>(call_system_procedure(*window, WM_GETTEXTLENGTH, 0, 0)) : 0;
}

}  // namespace platform
