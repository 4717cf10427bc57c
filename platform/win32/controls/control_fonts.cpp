// Fonts of the standard controls: the system's fonts made from the stored LOGFONT.

#include "platform/win32/native_window_internal_win32.h"

#include "platform/win32/fonts_win32.h"

namespace platform {

HFONT control_font(const LogFont* font)
{
    return font_handle(font ? *font : default_gui_log_font());
}

void set_control_font(WindowHandle control, const std::optional<LogFont>& font)
{
    std::shared_ptr<NativeWindow> window = find_window(control);
    if (!window || !window->hwnd)
        return;
    // The system's controls hand the font on to their parts (a combo box's field and list).
    HFONT handle = control_font(font ? &*font : nullptr);
    RECT before{};
    GetWindowRect(window->hwnd, &before);
    call_system_procedure(*window, WM_SETFONT, reinterpret_cast<WPARAM>(handle), TRUE);
    // A drop-down combo box sizes itself to the new font: it keeps its height.
    if (window->window_class->system_name == L"COMBOBOX")
        fit_combo_field_height(*window, before.bottom - before.top);
    InvalidateRect(window->hwnd, nullptr, TRUE);
}

Size measure_text_in_font(const std::optional<LogFont>& font, std::string_view gbk)
{
    std::wstring text = wide_from_gbk(std::string(gbk));
    HDC dc = CreateCompatibleDC(nullptr);
    if (!dc)
        return {};
    HGDIOBJ previous = SelectObject(dc, control_font(font ? &*font : nullptr));
    SIZE extent{};
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &extent);
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    SelectObject(dc, previous);
    DeleteDC(dc);
    return Size{extent.cx, metrics.tmHeight};
}

}  // namespace platform
