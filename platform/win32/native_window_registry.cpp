// The registry of native windows and the one window procedure behind all of them.
//
//   Registry ........... classes, handles <-> HWNDs, control parts
//   Window procedure ... the system's messages turned into the runtime's and back
//   Default procedure .. what the platform does with a message the runtime passed on

#include "platform/win32/native_window_internal_win32.h"

#include "platform/controls/updown_control.h"
#include "platform/win32/cursors_win32.h"
#include "platform/win32/device_context_win32.h"
#include "platform/win32/native_window_win32.h"

#include <commctrl.h>

#include <algorithm>
#include <vector>

namespace platform {

// ---- Registry ---------------------------------------------------------------------------------

std::unordered_map<std::string, std::shared_ptr<const WindowClass>>& classes()
{
    static std::unordered_map<std::string, std::shared_ptr<const WindowClass>> table;
    return table;
}

std::unordered_map<WindowHandle, std::shared_ptr<NativeWindow>>& windows()
{
    static std::unordered_map<WindowHandle, std::shared_ptr<NativeWindow>> table;
    return table;
}

std::unordered_map<HWND, WindowHandle>& handles_of_hwnds()
{
    static std::unordered_map<HWND, WindowHandle> table;
    return table;
}

std::unordered_map<HWND, ControlPart>& control_parts()
{
    static std::unordered_map<HWND, ControlPart> table;
    return table;
}

namespace {

// Handles start above the special insert-after values of set_window_pos and are never reused.
WindowHandle g_next_handle = 16;

// The system's message the runtime's procedure is answering, so that the default procedure can
// pass it on to the system as it came.
struct SystemMessage {
    WindowHandle handle = 0;
    std::uint32_t runtime_id = 0;
    UINT id = 0;
    WPARAM wparam = 0;
    LPARAM lparam = 0;
    bool passed_on = false;
};
std::vector<SystemMessage> g_system_messages;

class SystemMessageScope {
public:
    SystemMessageScope(WindowHandle handle, std::uint32_t runtime_id, UINT id, WPARAM wparam, LPARAM lparam)
    {
        g_system_messages.push_back(SystemMessage{handle, runtime_id, id, wparam, lparam, false});
    }
    ~SystemMessageScope() { g_system_messages.pop_back(); }
    SystemMessageScope(const SystemMessageScope&) = delete;
    SystemMessageScope& operator=(const SystemMessageScope&) = delete;
};

// The system's message behind `message`, once.
SystemMessage* system_message_behind(WindowHandle handle, const Message& message)
{
    if (g_system_messages.empty())
        return nullptr;
    SystemMessage& top = g_system_messages.back();
    if (top.passed_on || top.handle != handle || top.runtime_id != message.id)
        return nullptr;
    top.passed_on = true;
    return &top;
}

}  // namespace

WindowHandle next_window_handle()
{
    return g_next_handle++;
}

HINSTANCE module_instance()
{
    return GetModuleHandleW(nullptr);
}

std::shared_ptr<NativeWindow> find_window(WindowHandle handle)
{
    auto found = windows().find(handle);
    return found == windows().end() ? nullptr : found->second;
}

std::shared_ptr<NativeWindow> window_of_hwnd(HWND hwnd)
{
    auto found = handles_of_hwnds().find(hwnd);
    return found == handles_of_hwnds().end() ? nullptr : find_window(found->second);
}

WindowHandle control_of_hwnd(HWND hwnd)
{
    if (!hwnd)
        return 0;
    auto found = handles_of_hwnds().find(hwnd);
    if (found != handles_of_hwnds().end())
        return found->second;
    auto part = control_parts().find(hwnd);
    return part == control_parts().end() ? 0 : part->second.control;
}

HWND native_window_handle(WindowHandle handle)
{
    std::shared_ptr<NativeWindow> window = find_window(handle);
    return window ? window->hwnd : nullptr;
}

WindowHandle window_from_native(HWND hwnd)
{
    auto found = handles_of_hwnds().find(hwnd);
    return found == handles_of_hwnds().end() ? 0 : found->second;
}

bool register_window_class(const std::string& name, ClassInfo info)
{
    if (name.empty() || classes().count(name))
        return false;
    auto window_class = std::make_shared<WindowClass>();
    window_class->name = name;
    window_class->system_name = L"certmaker:" + wide_from_gbk(name);
    WNDCLASSEXW system_class{};
    system_class.cbSize = sizeof system_class;
    system_class.style = info.style & (CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS | CS_OWNDC | CS_PARENTDC);
    system_class.lpfnWndProc = window_procedure;
    system_class.hInstance = module_instance();
    HCURSOR class_cursor = native_cursor(info.cursor);
    system_class.hCursor = class_cursor ? class_cursor : LoadCursorW(nullptr, IDC_ARROW);
    system_class.lpszClassName = window_class->system_name.c_str();
    // The background is erased through WM_ERASEBKGND with the class's Brush, not by the system.
    if (!RegisterClassExW(&system_class))
        return false;
    window_class->info = std::move(info);
    classes()[name] = std::move(window_class);
    return true;
}

bool register_builtin_window_class(WindowClass window_class)
{
    if (window_class.name.empty() || classes().count(window_class.name))
        return false;
    window_class.builtin = true;
    std::string name = window_class.name;
    classes()[name] = std::make_shared<WindowClass>(std::move(window_class));
    return true;
}

bool is_window_class_registered(const std::string& name)
{
    return classes().count(name) != 0;
}

void adopt_control_part(WindowHandle control, HWND part)
{
    if (!part || control_parts().count(part) || handles_of_hwnds().count(part))
        return;
    auto previous = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(part, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(control_part_procedure)));
    control_parts()[part] = ControlPart{control, previous};
}

std::intptr_t call_window_procedure(const std::shared_ptr<NativeWindow>& window, Message& message)
{
    if (!window)
        return 0;
    // The class object stays alive while its procedure runs, even if the window is subclassed.
    std::shared_ptr<const WindowClass> window_class = window->window_class;
    const WindowProcedure& procedure = window_class->info.procedure;
    if (procedure)
        return procedure(window->handle, message);
    return default_window_procedure(window->handle, message);
}

LRESULT call_system_procedure(const NativeWindow& window, UINT id, WPARAM wparam, LPARAM lparam)
{
    if (!window.hwnd)
        return 0;
    if (!window.system_procedure)
        return DefWindowProcW(window.hwnd, id, wparam, lparam);
    return CallWindowProcW(window.system_procedure, window.hwnd, id, wparam, lparam);
}

std::wstring system_control_text(const NativeWindow& window)
{
    auto length = static_cast<int>(call_system_procedure(window, WM_GETTEXTLENGTH, 0, 0));
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    auto copied = static_cast<int>(call_system_procedure(window, WM_GETTEXT, static_cast<WPARAM>(length) + 1,
                                                         reinterpret_cast<LPARAM>(text.data())));
    text.resize(static_cast<std::size_t>(std::clamp(copied, 0, length)));
    return text;
}

void forget_window(HWND hwnd)
{
    auto found = handles_of_hwnds().find(hwnd);
    if (found == handles_of_hwnds().end())
        return;
    WindowHandle handle = found->second;
    handles_of_hwnds().erase(found);
    for (auto part = control_parts().begin(); part != control_parts().end();) {
        if (part->second.control != handle) {
            ++part;
            continue;
        }
        // A part that outlives its control (a dropped list) goes back to its own procedure.
        if (IsWindow(part->first))
            SetWindowLongPtrW(part->first, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(part->second.system_procedure));
        part = control_parts().erase(part);
    }
    windows().erase(handle);
}

void destroy_all_windows()
{
    std::vector<WindowHandle> top_level;
    for (const auto& [handle, window] : windows()) {
        if (!(GetWindowLongW(window->hwnd, GWL_STYLE) & WS_CHILD))
            top_level.push_back(handle);
    }
    for (WindowHandle handle : top_level)
        destroy_window(handle);
    while (!windows().empty())
        destroy_window(windows().begin()->first);
}

// ---- Window procedure -------------------------------------------------------------------------

namespace {

// The window CreateWindowExW is making, until its first message binds it to its HWND.
std::shared_ptr<NativeWindow> g_window_being_made;
const CreateParams* g_params_being_made = nullptr;

std::intptr_t route(const std::shared_ptr<NativeWindow>& window, UINT id, WPARAM wparam, LPARAM lparam, Message message)
{
    SystemMessageScope scope(window->handle, message.id, id, wparam, lparam);
    return call_window_procedure(window, message);
}

Size client_size(HWND hwnd)
{
    RECT rect{};
    GetClientRect(hwnd, &rect);
    return Size{rect.right - rect.left, rect.bottom - rect.top};
}

Region region_of(HRGN region)
{
    Region result;
    DWORD size = GetRegionData(region, 0, nullptr);
    if (size == 0)
        return result;
    std::vector<unsigned char> bytes(size);
    auto* data = reinterpret_cast<RGNDATA*>(bytes.data());
    if (GetRegionData(region, size, data) == 0)
        return result;
    const auto* rects = reinterpret_cast<const RECT*>(data->Buffer);
    for (DWORD i = 0; i < data->rdh.nCount; ++i)
        result = result.united(Region(Rect{rects[i].left, rects[i].top, rects[i].right, rects[i].bottom}));
    return result;
}

long g_client_paints = 0;

LRESULT paint(const std::shared_ptr<NativeWindow>& window)
{
    HRGN update = CreateRectRgn(0, 0, 0, 0);
    GetUpdateRgn(window->hwnd, update, FALSE);
    Region region = region_of(update);
    DeleteObject(update);
    PAINTSTRUCT paint_struct{};
    HDC dc = BeginPaint(window->hwnd, &paint_struct);
    if (!dc)
        return 0;
    Rect bounds{paint_struct.rcPaint.left, paint_struct.rcPaint.top, paint_struct.rcPaint.right,
                paint_struct.rcPaint.bottom};
    if (region.empty())
        region = Region(bounds);
    if (!window->destroying) {
        Size size = client_size(window->hwnd);
        std::unique_ptr<DeviceContext> context = device_context_on(dc, size.width, size.height);
        PaintRequest request{context.get(), region.bounding_rect(), region};
        ++g_client_paints;
        Message message{WM_PAINT, 0, reinterpret_cast<std::intptr_t>(&request), 0};
        call_window_procedure(window, message);
    }
    EndPaint(window->hwnd, &paint_struct);
    return 0;
}

LRESULT erase_background(const std::shared_ptr<NativeWindow>& window, WPARAM wparam, LPARAM lparam)
{
    Size size = client_size(window->hwnd);
    std::unique_ptr<DeviceContext> context = device_context_on(reinterpret_cast<HDC>(wparam), size.width, size.height);
    Message message{WM_ERASEBKGND, reinterpret_cast<std::uintptr_t>(context.get()), 0, 0};
    return route(window, WM_ERASEBKGND, wparam, lparam, message);
}

// The runtime's focus messages name the window on the other side of the change; a change between a
// control and its own parts is no change to the runtime.
bool focus_moves_within(WindowHandle control, HWND other)
{
    return other && control_of_hwnd(other) == control;
}

std::optional<LRESULT> updown_press(const NativeWindow& parent, const NMHDR* header)
{
    if (!header || header->code != static_cast<UINT>(UDN_DELTAPOS))
        return std::nullopt;
    WindowHandle updown = window_from_native(header->hwndFrom);
    if (!updown || !is_updown_control(updown))
        return std::nullopt;
    const auto* change = reinterpret_cast<const NMUPDOWN*>(header);
    // The control's own position never moves: the target keeps the value.
    int step = change->iDelta > 0 ? 1 : -1;
    WindowHandle target = updown_target(updown);
    if (!target)
        target = parent.handle;
    send_message(target, kUpDownPressed, static_cast<std::uintptr_t>(step), updown);
    return 1;
}

// The cursor set on a window shows wherever the pointer is over it, its border and a control's
// parts included, but not on a top-level window's frame and caption, which keep the system's sizing
// cursors and arrow. Without one (and over a child, whose request passes up to its parents) the
// system shows the class cursor of the window under the pointer: a parent's cursor never shows
// over its children.
bool show_own_cursor(const NativeWindow& window, HWND pointed, int hit)
{
    if (control_of_hwnd(pointed) != window.handle)
        return false;
    const bool child = (GetWindowLongW(window.hwnd, GWL_STYLE) & WS_CHILD) != 0;
    const bool over = hit == HTCLIENT || (child && (hit == HTBORDER || hit == HTVSCROLL || hit == HTHSCROLL));
    HCURSOR cursor = over ? native_cursor(window_cursor(window.handle)) : nullptr;
    if (!cursor)
        return false;
    SetCursor(cursor);
    return true;
}

LRESULT dispatch(const std::shared_ptr<NativeWindow>& window, HWND hwnd, UINT id, WPARAM wparam, LPARAM lparam)
{
    const bool builtin = window->window_class->builtin;
    if (is_input_message(id))
        return route_input(window, hwnd, window->system_procedure, id, wparam, lparam);
    switch (id) {
    case WM_CREATE: {
        if (builtin || !g_params_being_made)
            return call_system_procedure(*window, id, wparam, lparam);
        Message message{WM_CREATE, 0, reinterpret_cast<std::intptr_t>(g_params_being_made), 0};
        if (call_window_procedure(window, message) != -1)
            return 0;
        // A refused window is taken down with its destroy messages, whichever of them the system
        // sends itself.
        window->destroy_sent = true;
        Message destroy{WM_DESTROY, 0, 0, 0};
        call_window_procedure(window, destroy);
        return -1;
    }
    case WM_DESTROY: {
        // The system's control cleans up whatever the runtime's procedure does.
        Message message{id, 0, 0, 0};
        if (!window->destroy_sent) {
            window->destroy_sent = true;
            call_window_procedure(window, message);
        }
        return call_system_procedure(*window, id, wparam, lparam);
    }
    case WM_CLOSE:
    case WM_ENABLE:
    case WM_MOVE:
    case WM_SIZE:
        return route(window, id, wparam, lparam, Message{id, wparam, lparam, 0});
    case WM_NCDESTROY: {
        window->destroying = true;
        Message message{id, 0, 0, 0};
        call_window_procedure(window, message);
        LRESULT result = call_system_procedure(*window, id, wparam, lparam);
        forget_window(hwnd);
        return result;
    }
    case WM_SHOWWINDOW:
        // Only the window's own showing and hiding, not a parent's minimizing.
        if (lparam != 0)
            return call_system_procedure(*window, id, wparam, lparam);
        return route(window, id, wparam, lparam, Message{id, wparam ? 1u : 0u, 0, 0});
    case WM_ACTIVATE: {
        std::uintptr_t state = LOWORD(wparam) == WA_INACTIVE ? WA_INACTIVE : WA_ACTIVE;
        WindowHandle other = control_of_hwnd(reinterpret_cast<HWND>(lparam));
        return route(window, id, wparam, lparam, Message{id, state, other, 0});
    }
    case WM_SETFOCUS:
    case WM_KILLFOCUS: {
        auto other = reinterpret_cast<HWND>(wparam);
        if (focus_moves_within(window->handle, other))
            return call_system_procedure(*window, id, wparam, lparam);
        Message message{id, static_cast<std::uintptr_t>(control_of_hwnd(other)), 0, 0};
        return route(window, id, wparam, lparam, message);
    }
    case WM_SETTEXT: {
        std::string gbk = lparam ? gbk_from_wide(reinterpret_cast<const wchar_t*>(lparam),
                                                 wcslen(reinterpret_cast<const wchar_t*>(lparam)))
                                 : std::string();
        return route(window, id, wparam, lparam, Message{id, 0, reinterpret_cast<std::intptr_t>(gbk.c_str()), 0});
    }
    case WM_PAINT:
        if (builtin) {
            if (window->window_class->before_paint)
                window->window_class->before_paint(*window, nullptr);
            return call_system_procedure(*window, id, wparam, lparam);
        }
        return paint(window);
    case WM_PRINTCLIENT:
        // A picture of the window taken by asking it to paint on another device context.
        if (builtin && window->window_class->before_paint)
            window->window_class->before_paint(*window, reinterpret_cast<HDC>(wparam));
        return call_system_procedure(*window, id, wparam, lparam);
    case WM_ERASEBKGND:
        return erase_background(window, wparam, lparam);
    case WM_COMMAND: {
        auto child = reinterpret_cast<HWND>(lparam);
        WindowHandle control = control_of_hwnd(child);
        // A part telling its own control (a combo box's field): the control's business.
        if ((child && !control) || (control == window->handle && child != hwnd))
            return call_system_procedure(*window, id, wparam, lparam);
        // The system's edit and combo box controls keep telling the window they were made under
        // after they move to another parent (the runtime makes every control under the window,
        // then places it in its stored parent): the notification goes to the parent they have now.
        if (HWND parent = child ? GetParent(child) : nullptr; parent && parent != hwnd && window_of_hwnd(parent))
            return SendMessageW(parent, id, wparam, lparam);
        return route(window, id, wparam, lparam, Message{id, wparam, control, 0});
    }
    case WM_NOTIFY:
        if (std::optional<LRESULT> answer = updown_press(*window, reinterpret_cast<const NMHDR*>(lparam)))
            return *answer;
        return call_system_procedure(*window, id, wparam, lparam);
    case WM_VSCROLL:
        // An up-down control reports its presses through WM_NOTIFY (above); its scroll message is
        // not the runtime's.
        if (lparam && is_updown_control(window_from_native(reinterpret_cast<HWND>(lparam))))
            return 0;
        return call_system_procedure(*window, id, wparam, lparam);
    case WM_TIMER:
        if (lparam != 0 || !window->timers.count(static_cast<int>(wparam)))
            return call_system_procedure(*window, id, wparam, lparam);
        return route(window, id, wparam, lparam, Message{id, wparam, 0, 0});
    case WM_SETCURSOR:
        if (show_own_cursor(*window, reinterpret_cast<HWND>(wparam), static_cast<short>(LOWORD(lparam))))
            return TRUE;
        return call_system_procedure(*window, id, wparam, lparam);
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORSTATIC:
        return answer_control_colours(*window, id, reinterpret_cast<HDC>(wparam), reinterpret_cast<HWND>(lparam));
    default:
        // Private messages someone posted with the system's own call pass through as they are.
        if (id >= WM_APP && id < 0xC000)
            return route(window, id, wparam, lparam, Message{id, wparam, lparam, 0});
        return call_system_procedure(*window, id, wparam, lparam);
    }
}

}  // namespace

// Called inside create_window around CreateWindowExW.
void begin_making_window(const std::shared_ptr<NativeWindow>& window, const CreateParams* params)
{
    g_window_being_made = window;
    g_params_being_made = params;
}

void end_making_window()
{
    g_window_being_made.reset();
    g_params_being_made = nullptr;
}

LRESULT CALLBACK window_procedure(HWND hwnd, UINT id, WPARAM wparam, LPARAM lparam)
{
    std::shared_ptr<NativeWindow> window = window_of_hwnd(hwnd);
    if (!window && g_window_being_made && !g_window_being_made->hwnd) {
        window = g_window_being_made;
        window->hwnd = hwnd;
        handles_of_hwnds()[hwnd] = window->handle;
    }
    if (!window)
        return DefWindowProcW(hwnd, id, wparam, lparam);
    return dispatch(window, hwnd, id, wparam, lparam);
}

LRESULT CALLBACK control_part_procedure(HWND hwnd, UINT id, WPARAM wparam, LPARAM lparam)
{
    auto found = control_parts().find(hwnd);
    if (found == control_parts().end())
        return DefWindowProcW(hwnd, id, wparam, lparam);
    ControlPart part = found->second;
    std::shared_ptr<NativeWindow> control = find_window(part.control);
    if (control && !control->destroying) {
        if (is_input_message(id))
            return route_input(control, hwnd, part.system_procedure, id, wparam, lparam);
        if (id == WM_SETFOCUS || id == WM_KILLFOCUS) {
            auto other = reinterpret_cast<HWND>(wparam);
            if (!focus_moves_within(control->handle, other)) {
                Message message{id, static_cast<std::uintptr_t>(control_of_hwnd(other)), 0, 0};
                call_window_procedure(control, message);
            }
        }
    }
    if (id == WM_NCDESTROY)
        control_parts().erase(hwnd);
    return CallWindowProcW(part.system_procedure, hwnd, id, wparam, lparam);
}

// ---- Default procedure ------------------------------------------------------------------------

namespace {

bool in_runtime_vocabulary(std::uint32_t id)
{
    switch (id) {
    case WM_CREATE:
    case WM_DESTROY:
    case WM_NCDESTROY:
    case WM_MOVE:
    case WM_SIZE:
    case WM_ACTIVATE:
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_ENABLE:
    case WM_SETTEXT:
    case WM_GETTEXT:
    case WM_PAINT:
    case WM_CLOSE:
    case WM_ERASEBKGND:
    case WM_SHOWWINDOW:
    case WM_SETFONT:
    case WM_COMMAND:
    case WM_TIMER:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORSTATIC:
        return true;
    default:
        return is_input_message(id) || id == kUpDownPressed;
    }
}

}  // namespace

std::intptr_t default_window_procedure(WindowHandle handle, Message& message)
{
    std::shared_ptr<NativeWindow> window = find_window(handle);
    if (!window)
        return 0;
    if (is_input_message(message.id))
        return default_input_handling(*window, message);
    const bool builtin = window->window_class->builtin;
    SystemMessage* system = system_message_behind(handle, message);
    switch (message.id) {
    case WM_ERASEBKGND: {
        if (system && builtin)
            return call_system_procedure(*window, system->id, system->wparam, system->lparam);
        std::optional<Colour> colour = window->window_class->info.background.resolve();
        auto* context = reinterpret_cast<DeviceContext*>(message.wparam);
        if (!colour || !context)
            return 0;
        Size size = client_size(window->hwnd);
        context->fill_rect(Rect{0, 0, size.width, size.height}, *colour);
        return 1;
    }
    case WM_CLOSE:
        destroy_window(handle);
        return 0;
    case WM_SETTEXT: {
        const char* text = reinterpret_cast<const char*>(message.lparam);
        window->text = text ? text : "";
        std::wstring wide = wide_from_gbk(window->text);
        LRESULT result = call_system_procedure(*window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(wide.c_str()));
        InvalidateRect(window->hwnd, nullptr, TRUE);
        return builtin ? result : 1;
    }
    case WM_GETTEXT: {
        auto* text = reinterpret_cast<std::string*>(message.lparam);
        if (!text)
            return 0;
        if (builtin) {
            auto length = static_cast<std::size_t>(call_system_procedure(*window, WM_GETTEXTLENGTH, 0, 0));
            std::wstring wide(length + 1, L'\0');
            auto copied = static_cast<std::size_t>(
                call_system_procedure(*window, WM_GETTEXT, length + 1, reinterpret_cast<LPARAM>(wide.data())));
            *text = gbk_from_wide(wide.data(), std::min(copied, length));
        } else {
            *text = window->text;
        }
        return static_cast<std::intptr_t>(text->size());
    }
    case WM_SETFONT:
        if (system)
            return call_system_procedure(*window, system->id, system->wparam, system->lparam);
        if (!builtin)
            return 0;
        if (window->window_class->system_name == L"COMBOBOX") {
            // A drop-down combo box sizes itself to the new font: it keeps its height.
            RECT before{};
            GetWindowRect(window->hwnd, &before);
            std::intptr_t result = call_system_procedure(
                *window, WM_SETFONT,
                reinterpret_cast<WPARAM>(control_font(reinterpret_cast<const LogFont*>(message.wparam))),
                message.lparam);
            fit_combo_field_height(*window, before.bottom - before.top);
            return result;
        }
        return call_system_procedure(
            *window, WM_SETFONT,
            reinterpret_cast<WPARAM>(control_font(reinterpret_cast<const LogFont*>(message.wparam))), message.lparam);
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORSTATIC:
        return default_control_colours(message);
    case WM_ACTIVATE:
        // An activated window takes the focus unless it is already inside it.
        if (message.wparam != WA_INACTIVE && !IsIconic(window->hwnd)) {
            WindowHandle focus = focus_window();
            if (!focus || top_level_ancestor(focus) != handle)
                set_focus(handle);
        }
        return 0;
    default:
        if (system)
            return call_system_procedure(*window, system->id, system->wparam, system->lparam);
        // The control's own messages (BM_CLICK, ...) go to the control as they are.
        if (builtin && !in_runtime_vocabulary(message.id))
            return call_system_procedure(*window, message.id, message.wparam, message.lparam);
        return 0;
    }
}

void update_all_windows()
{
    for (WindowHandle handle : top_level_windows()) {
        if (HWND hwnd = native_window_handle(handle))
            RedrawWindow(hwnd, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    }
}

long client_paints()
{
    return g_client_paints;
}

}  // namespace platform
