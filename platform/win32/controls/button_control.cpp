// The "BUTTON" class: the system's own push buttons and group boxes.

#include "platform/win32/native_window_internal_win32.h"

#include "platform/win32/device_context_win32.h"
#include "platform/win32/graphics_win32.h"

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

// The pictures a button was sent, and the system's icon made for the icon; the system's control
// draws them (placed by the alignment styles) when the style asks for one.
struct ButtonImages final : ControlState {
    const Bitmap* bitmap = nullptr;
    const Icon* icon = nullptr;
    HICON system_icon = nullptr;

    ButtonImages() = default;
    ButtonImages(const ButtonImages&) = delete;
    ButtonImages& operator=(const ButtonImages&) = delete;
    ~ButtonImages() override
    {
        if (system_icon)
            DestroyIcon(system_icon);
    }
};

// Hands the picture to the system's control: a bitmap as its DIB section (the sender keeps it alive
// while it is shown), an icon as a system icon of its own. Answers the picture it replaces.
std::intptr_t set_image(NativeWindow& window, std::uintptr_t type, std::intptr_t image)
{
    if (!window.control)
        window.control = std::make_unique<ButtonImages>();
    auto* images = dynamic_cast<ButtonImages*>(window.control.get());
    if (!images)
        return 0;
    if (type == ButtonImage::Icon) {
        const Icon* previous = images->icon;
        images->icon = reinterpret_cast<const Icon*>(image);
        HICON made = images->icon ? system_icon(*images->icon) : nullptr;
        call_system_procedure(window, BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(made));
        if (images->system_icon)
            DestroyIcon(images->system_icon);
        images->system_icon = made;
        return reinterpret_cast<std::intptr_t>(previous);
    }
    const Bitmap* previous = images->bitmap;
    images->bitmap = reinterpret_cast<const Bitmap*>(image);
    HBITMAP shown = images->bitmap ? images->bitmap->impl().dib.bitmap : nullptr;
    call_system_procedure(window, BM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(shown));
    return reinterpret_cast<std::intptr_t>(previous);
}

std::intptr_t button_procedure(WindowHandle handle, Message& message)
{
    if (message.id == BM_SETIMAGE) {
        std::shared_ptr<NativeWindow> window = find_window(handle);
        return window ? set_image(*window, message.wparam, message.lparam) : 0;
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
