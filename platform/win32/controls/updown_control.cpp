// The "msctls_updown32" class: the system's own up-down control. Its presses reach the runtime as
// kUpDownPressed (see the window procedure's WM_NOTIFY); its own position never moves, so that the
// up arrow always steps up, whatever range the target keeps.

#include "platform/win32/native_window_internal_win32.h"

#include <commctrl.h>

namespace platform {

namespace {

struct UpDownState final : ControlState {
    WindowHandle target = 0;
    UpDownRange range;
};

// The system's range and position, with room to step both ways from the middle.
constexpr int kSystemLower = 0;
constexpr int kSystemUpper = 100;
constexpr int kSystemPosition = 50;

void prepare_updown(NativeWindow& window, const CreateParams&)
{
    window.control = std::make_unique<UpDownState>();
    call_system_procedure(window, UDM_SETRANGE32, kSystemLower, kSystemUpper);
    call_system_procedure(window, UDM_SETPOS32, 0, kSystemPosition);
}

UpDownState* state_of(WindowHandle handle)
{
    std::shared_ptr<NativeWindow> window = find_window(handle);
    if (!window || window->window_class->system_name != UPDOWN_CLASSW)
        return nullptr;
    return static_cast<UpDownState*>(window->control.get());
}

}  // namespace

void register_updown_class()
{
    if (is_window_class_registered(kUpDownClassName))
        return;
    WindowClass updown;
    updown.name = kUpDownClassName;
    updown.system_name = UPDOWN_CLASSW;
    updown.info.background = Brush::system(15);  // the button face
    updown.prepare = &prepare_updown;
    register_builtin_window_class(std::move(updown));
}

bool is_updown_control(WindowHandle handle)
{
    return state_of(handle) != nullptr;
}

void updown_set_target(WindowHandle updown, WindowHandle target)
{
    if (UpDownState* state = state_of(updown))
        state->target = target;
}

WindowHandle updown_target(WindowHandle updown)
{
    UpDownState* state = state_of(updown);
    if (!state)
        return 0;
    return state->target ? state->target : parent_window(updown);
}

void updown_set_range(WindowHandle updown, int lower, int upper)
{
    if (UpDownState* state = state_of(updown))
        state->range = UpDownRange{lower, upper};
}

UpDownRange updown_range(WindowHandle updown)
{
    UpDownState* state = state_of(updown);
    return state ? state->range : UpDownRange{};
}

Point updown_arrow_point(WindowHandle updown, UpDownArrow arrow)
{
    Rect client = client_rect(updown);
    int half = client.height() / 2;
    int middle_x = client.width() / 2;
    return arrow == UpDownArrow::Up ? Point{middle_x, half / 2} : Point{middle_x, half + (client.height() - half) / 2};
}

}  // namespace platform
