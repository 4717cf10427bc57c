// The "BUTTON" class: the system's own push buttons and group boxes.

#include "platform/win32/native_window_internal_win32.h"

#include "platform/win32/device_context_win32.h"

namespace platform {

namespace {

void prepare_button(NativeWindow& window, const CreateParams&)
{
    call_system_procedure(window, WM_SETFONT, reinterpret_cast<WPARAM>(control_font(nullptr)), FALSE);
}

bool is_group_box(const NativeWindow& window)
{
    return (GetWindowLongW(window.hwnd, GWL_STYLE) & BS_TYPEMASK) == BS_GROUPBOX;
}

// A group box lets what lies beneath show through its inside; it sends itself WM_ERASEBKGND first
// so that its owner (a subclass) can paint that.
void erase_group_box(NativeWindow& window, HDC target)
{
    if (!is_group_box(window))
        return;
    HDC dc = target ? target : GetDC(window.hwnd);
    if (!dc)
        return;
    RECT client{};
    GetClientRect(window.hwnd, &client);
    std::unique_ptr<DeviceContext> context = device_context_on(dc, client.right, client.bottom);
    send_message(window.handle, WM_ERASEBKGND, reinterpret_cast<std::uintptr_t>(context.get()));
    context.reset();
    if (!target)
        ReleaseDC(window.hwnd, dc);
}

std::intptr_t button_procedure(WindowHandle handle, Message& message)
{
    if (message.id == BM_SETIMAGE) {
        // FIXME: pictures on buttons need the bitmap's and icon's system handles; until then the
        // platform's picture is not handed to the system's control, which would take it for one.
        return 0;
    }
    // A disabled button is not clicked, by program or otherwise.
    if (message.id == BM_CLICK && !is_enabled(handle))
        return 0;
    return default_window_procedure(handle, message);
}

}  // namespace

bool register_button_class()
{
    if (is_window_class_registered(kButtonClassName))
        return true;
    WindowClass button;
    button.name = kButtonClassName;
    button.system_name = L"BUTTON";
    button.info.style = CS_DBLCLKS;
    button.info.background = Brush::system(15);  // the button face
    button.info.procedure = &button_procedure;
    button.prepare = &prepare_button;
    button.before_paint = &erase_group_box;
    return register_builtin_window_class(std::move(button));
}

}  // namespace platform
