// The "COMBOBOX" class: the system's own combo box. Its field and list are parts of the control:
// their input and focus reach the runtime as the combo box's.

#include "platform/win32/native_window_internal_win32.h"

#include <algorithm>

namespace platform {

namespace {

std::shared_ptr<NativeWindow> combo_window(WindowHandle handle)
{
    std::shared_ptr<NativeWindow> window = find_window(handle);
    if (!window || window->window_class->system_name != L"COMBOBOX")
        return nullptr;
    return window;
}

std::uint32_t combo_type(const NativeWindow& window)
{
    return static_cast<std::uint32_t>(GetWindowLongW(window.hwnd, GWL_STYLE)) & ComboStyle::TypeMask;
}

COMBOBOXINFO parts_of(const NativeWindow& window)
{
    COMBOBOXINFO info{};
    info.cbSize = sizeof info;
    GetComboBoxInfo(window.hwnd, &info);
    return info;
}

}  // namespace

// The system sizes a drop-down combo box's field from its font and takes the height it is given as
// the room for the dropped list. The window keeps the height it was made with: the field grows or
// shrinks to it.
void fit_combo_field_height(NativeWindow& window, int wanted)
{
    if (combo_type(window) == ComboStyle::Simple || wanted <= 0)
        return;
    // The field's height as set and as read back may differ by a constant (they do on Wine): only
    // what we set is trusted, corrected by the window height it gives.
    int field = static_cast<int>(call_system_procedure(window, CB_GETITEMHEIGHT, static_cast<WPARAM>(-1), 0));
    for (int attempt = 0; attempt < 3; ++attempt) {
        field = std::clamp(field, 1, 255);
        call_system_procedure(window, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), field);
        RECT rect{};
        GetWindowRect(window.hwnd, &rect);
        int difference = wanted - (rect.bottom - rect.top);
        if (difference == 0)
            return;
        field += difference;
    }
}

namespace {

void prepare_combo(NativeWindow& window, const CreateParams& params)
{
    call_system_procedure(window, WM_SETFONT, reinterpret_cast<WPARAM>(control_font(nullptr)), FALSE);
    COMBOBOXINFO parts = parts_of(window);
    if (parts.hwndItem && parts.hwndItem != window.hwnd)
        adopt_control_part(window.handle, parts.hwndItem);
    if (parts.hwndList)
        adopt_control_part(window.handle, parts.hwndList);
    fit_combo_field_height(window, params.height);
}

}  // namespace

void register_combo_class()
{
    if (is_window_class_registered(kComboClassName))
        return;
    WindowClass combo;
    combo.name = kComboClassName;
    combo.system_name = L"COMBOBOX";
    combo.info.style = CS_DBLCLKS;
    combo.info.background = Brush::system(5);  // the window colour
    combo.prepare = &prepare_combo;
    register_builtin_window_class(std::move(combo));
}

bool is_combo_control(WindowHandle handle)
{
    return combo_window(handle) != nullptr;
}

bool combo_has_edit(WindowHandle combo)
{
    std::shared_ptr<NativeWindow> window = combo_window(combo);
    return window && combo_type(*window) != ComboStyle::DropDownList;
}

int combo_add_item(WindowHandle combo, std::string_view gbk)
{
    std::shared_ptr<NativeWindow> window = combo_window(combo);
    if (!window)
        return -1;
    std::wstring text = wide_from_gbk(std::string(gbk));
    auto index =
        static_cast<int>(call_system_procedure(*window, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str())));
    return index < 0 ? -1 : index;
}

int combo_item_count(WindowHandle combo)
{
    std::shared_ptr<NativeWindow> window = combo_window(combo);
    return window ? std::max(0, static_cast<int>(call_system_procedure(*window, CB_GETCOUNT, 0, 0))) : 0;
}

std::string combo_item_text(WindowHandle combo, int index)
{
    std::shared_ptr<NativeWindow> window = combo_window(combo);
    if (!window || index < 0 || index >= combo_item_count(combo))
        return {};
    auto length = static_cast<int>(call_system_procedure(*window, CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0));
    if (length <= 0)
        return {};
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    auto copied = static_cast<int>(call_system_procedure(*window, CB_GETLBTEXT, static_cast<WPARAM>(index),
                                                         reinterpret_cast<LPARAM>(text.data())));
    return gbk_from_wide(text.data(), static_cast<std::size_t>(std::clamp(copied, 0, length)));
}

void combo_clear_items(WindowHandle combo)
{
    if (std::shared_ptr<NativeWindow> window = combo_window(combo))
        call_system_procedure(*window, CB_RESETCONTENT, 0, 0);
}

void combo_set_item_data(WindowHandle combo, int index, std::uint32_t data)
{
    if (std::shared_ptr<NativeWindow> window = combo_window(combo); window && index >= 0)
        call_system_procedure(*window, CB_SETITEMDATA, static_cast<WPARAM>(index), static_cast<LPARAM>(data));
}

std::uint32_t combo_item_data(WindowHandle combo, int index)
{
    std::shared_ptr<NativeWindow> window = combo_window(combo);
    if (!window || index < 0 || index >= combo_item_count(combo))
        return 0;
    return static_cast<std::uint32_t>(call_system_procedure(*window, CB_GETITEMDATA, static_cast<WPARAM>(index), 0));
}

bool combo_set_current_selection(WindowHandle combo, int index)
{
    std::shared_ptr<NativeWindow> window = combo_window(combo);
    if (!window)
        return false;
    bool in_range = index >= -1 && index < combo_item_count(combo);
    call_system_procedure(*window, CB_SETCURSEL, static_cast<WPARAM>(in_range ? index : -1), 0);
    return in_range;
}

int combo_current_selection(WindowHandle combo)
{
    std::shared_ptr<NativeWindow> window = combo_window(combo);
    return window ? static_cast<int>(call_system_procedure(*window, CB_GETCURSEL, 0, 0)) : -1;
}

void combo_set_text_limit(WindowHandle combo, int characters)
{
    if (std::shared_ptr<NativeWindow> window = combo_window(combo))
        call_system_procedure(*window, CB_LIMITTEXT, characters <= 0 ? 0 : static_cast<WPARAM>(characters), 0);
}

void combo_set_edit_selection(WindowHandle combo, int start, int end)
{
    std::shared_ptr<NativeWindow> window = combo_window(combo);
    if (!window || !combo_has_edit(combo))
        return;
    COMBOBOXINFO parts = parts_of(*window);
    if (!parts.hwndItem || parts.hwndItem == window->hwnd)
        return;
    // The field itself takes positions beyond the 16 bits the combo box's message has room for.
    if (start < 0) {
        DWORD caret = 0;
        SendMessageW(parts.hwndItem, EM_GETSEL, 0, reinterpret_cast<LPARAM>(&caret));
        SendMessageW(parts.hwndItem, EM_SETSEL, caret, static_cast<LPARAM>(caret));
        return;
    }
    SendMessageW(parts.hwndItem, EM_SETSEL, static_cast<WPARAM>(start), end);
}

TextRange combo_edit_selection(WindowHandle combo)
{
    std::shared_ptr<NativeWindow> window = combo_window(combo);
    if (!window || !combo_has_edit(combo))
        return {};
    DWORD start = 0;
    DWORD end = 0;
    call_system_procedure(*window, CB_GETEDITSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    return TextRange{static_cast<int>(start), static_cast<int>(end)};
}

std::string combo_edit_selected_text(WindowHandle combo)
{
    std::shared_ptr<NativeWindow> window = combo_window(combo);
    if (!window || !combo_has_edit(combo))
        return {};
    TextRange range = combo_edit_selection(combo);
    std::wstring text = system_control_text(*window);
    auto start = static_cast<std::size_t>(std::clamp(range.start, 0, static_cast<int>(text.size())));
    auto end = static_cast<std::size_t>(std::clamp(range.end, static_cast<int>(start), static_cast<int>(text.size())));
    return gbk_from_wide(text.data() + start, end - start);
}

void combo_set_item_height(WindowHandle combo, int height)
{
    std::shared_ptr<NativeWindow> window = combo_window(combo);
    if (!window)
        return;
    RECT before{};
    GetWindowRect(window->hwnd, &before);
    call_system_procedure(*window, CB_SETITEMHEIGHT, 0, std::clamp(height, 1, 255));
    // The list's items are not the field: the window keeps its height.
    fit_combo_field_height(*window, before.bottom - before.top);
}

int combo_item_height(WindowHandle combo)
{
    std::shared_ptr<NativeWindow> window = combo_window(combo);
    return window ? static_cast<int>(call_system_procedure(*window, CB_GETITEMHEIGHT, 0, 0)) : 0;
}

void combo_set_drop_down_height(WindowHandle combo, int height)
{
    std::shared_ptr<NativeWindow> window = combo_window(combo);
    if (!window || combo_type(*window) == ComboStyle::Simple)
        return;
    RECT rect{};
    GetWindowRect(window->hwnd, &rect);
    int field = rect.bottom - rect.top;
    // The height given to a drop-down combo box is the room for its dropped list.
    SetWindowPos(window->hwnd, nullptr, 0, 0, rect.right - rect.left, std::max(height, field),
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    // The system sizes the window to its field again (from the font, not the height it was made
    // with): the window keeps its height.
    fit_combo_field_height(*window, field);
}

void combo_show_drop_down(WindowHandle combo, bool show)
{
    std::shared_ptr<NativeWindow> window = combo_window(combo);
    if (window && combo_type(*window) != ComboStyle::Simple)
        call_system_procedure(*window, CB_SHOWDROPDOWN, show ? TRUE : FALSE, 0);
}

bool combo_dropped(WindowHandle combo)
{
    std::shared_ptr<NativeWindow> window = combo_window(combo);
    return window && call_system_procedure(*window, CB_GETDROPPEDSTATE, 0, 0) != 0;
}

bool click_combo_list_item(WindowHandle combo, int index, bool double_click)
{
    std::shared_ptr<NativeWindow> window = combo_window(combo);
    if (!window || index < 0 || index >= combo_item_count(combo))
        return false;
    HWND list = parts_of(*window).hwndList;
    if (!list || !IsWindowVisible(list))
        return false;
    SendMessageW(list, LB_SETTOPINDEX, static_cast<WPARAM>(index), 0);
    RECT item{};
    if (SendMessageW(list, LB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item)) == LB_ERR)
        return false;
    LPARAM position = MAKELPARAM((item.left + item.right) / 2, (item.top + item.bottom) / 2);
    // As the mouse does: over the item, press, release (and again for a double click).
    SendMessageW(list, WM_MOUSEMOVE, 0, position);
    auto press = [&](UINT id) {
        if (IsWindow(list) && IsWindowVisible(list))
            SendMessageW(list, id, MK_LBUTTON, position);
    };
    press(WM_LBUTTONDOWN);
    press(WM_LBUTTONUP);
    if (double_click) {
        press(WM_LBUTTONDBLCLK);
        press(WM_LBUTTONUP);
    }
    return true;
}

}  // namespace platform
