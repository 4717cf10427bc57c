#include "runtime/windows/window_system.h"

#include "platform/message_loop.h"
#include "platform/native_window.h"
#include "runtime/boundary/program_state.h"
#include "runtime/components/window_kind.h"
#include "runtime/windows/window_table.h"

namespace runtime {
namespace {

struct WindowSystemState {
    platform::WindowHandle hidden_owner = 0;
    int load_nesting = 0;
    bool loop_running = false;
};

WindowSystemState& state()
{
    static WindowSystemState system;
    return system;
}

}  // namespace

platform::WindowHandle create_hidden_owner_window()
{
    WindowSystemState& system = state();
    if (system.hidden_owner && platform::is_window(system.hidden_owner))
        return system.hidden_owner;
    if (!platform::is_window_class_registered(kHiddenOwnerClass))
        platform::register_window_class(kHiddenOwnerClass,
                                        platform::ClassInfo{0, 0, platform::Brush::null_brush(), {}});
    platform::CreateParams params;
    params.class_name = kHiddenOwnerClass;
    params.ex_style = platform::WS_EX_TOOLWINDOW;
    system.hidden_owner = platform::create_window(params);
    return system.hidden_owner;
}

platform::WindowHandle hidden_owner_window()
{
    return state().hidden_owner;
}

std::uint32_t header_format_version()
{
    const ProgramHeader* header = program_state().header;
    return header ? static_cast<std::uint32_t>(header->format_version) : 3;
}

int load_nesting_count()
{
    return state().load_nesting;
}

void begin_load()
{
    platform::process_waiting_messages();
    ++state().load_nesting;
}

void end_load()
{
    platform::process_waiting_messages();
    if (state().load_nesting > 0)
        --state().load_nesting;
}

bool message_loop_running()
{
    return state().loop_running;
}

void set_message_loop_running(bool running)
{
    state().loop_running = running;
}

components::Component* component_of(const form::UnitRecord& record)
{
    return static_cast<components::Component*>(record.object());
}

components::WindowObject* window_object(const WindowEntry& entry)
{
    if (entry.unit.units.empty())
        return nullptr;
    return dynamic_cast<components::WindowObject*>(component_of(entry.unit.units.record(0)));
}

bool window_is_live(const WindowEntry& entry)
{
    const components::WindowObject* window = window_object(entry);
    return window && platform::is_window(window->handle());
}

bool any_window_live()
{
    for (const WindowEntry& entry : window_table().entries()) {
        if (window_is_live(entry))
            return true;
    }
    return false;
}

}  // namespace runtime
