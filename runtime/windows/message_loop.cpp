// The message loop with its idle phase: the idle callbacks of components, then the idle events
// (event 7) of the loaded windows.

#include "platform/message_loop.h"
#include "platform/native_window.h"
#include "runtime/components/component.h"
#include "runtime/components/window_kind.h"
#include "runtime/windows/window_loading.h"
#include "runtime/windows/window_system.h"
#include "runtime/windows/window_table.h"

#include <algorithm>
#include <chrono>
#include <vector>

namespace runtime {
namespace {

struct IdleCallback {
    platform::WindowHandle window = 0;
    components::IdleRoutine routine = nullptr;
    std::intptr_t argument = 0;
};

struct LoopState {
    std::vector<IdleCallback> idle_callbacks;
    std::chrono::steady_clock::time_point idle_since;
    std::vector<WindowId> declined;  // windows that wanted no more idle events in this period
    int quit_code = 0;
};

LoopState& loop_state()
{
    static LoopState state;
    return state;
}

void run_idle_callbacks()
{
    std::vector<IdleCallback>& callbacks = loop_state().idle_callbacks;
    for (std::size_t index = callbacks.size(); index-- > 0;) {
        if (index >= callbacks.size())
            continue;  // a routine removed entries behind it
        IdleCallback callback = callbacks[index];
        if (platform::is_window(callback.window))
            callback.routine(callback.argument);
        else
            callbacks.erase(callbacks.begin() + static_cast<std::ptrdiff_t>(index));
    }
}

// Count 0 begins an idle period, count 1 does nothing more, later counts raise event 7 of every
// window that has not declined. Returns whether more idle processing is wanted.
bool raise_idle_events(int idle_count)
{
    LoopState& state = loop_state();
    if (idle_count == 0) {
        state.idle_since = std::chrono::steady_clock::now();
        state.declined.clear();
        return true;
    }
    if (idle_count == 1)
        return true;
    auto elapsed =
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - state.idle_since);
    bool wanted = false;
    for (const WindowEntry& entry : window_table().entries()) {
        if (!window_is_live(entry))
            continue;
        WindowId id = entry.unit.id;
        if (std::find(state.declined.begin(), state.declined.end(), id) != state.declined.end())
            continue;
        components::EventRecord record{id, 0, components::WindowEvent::Idle};
        record.argument_count = 1;
        record.arguments[0] = static_cast<std::int32_t>(elapsed.count());
        components::raise_event(record);
        if (record.result_present && record.result != 0)
            wanted = true;
        else
            state.declined.push_back(id);
    }
    return wanted;
}

bool idle_step(int idle_count)
{
    run_idle_callbacks();
    return raise_idle_events(idle_count);
}

}  // namespace

void run_message_loop()
{
    set_message_loop_running(true);
    if (!any_window_live())
        return;
    loop_state().quit_code = platform::run_message_loop(idle_step);
}

int quit_code()
{
    return loop_state().quit_code;
}

}  // namespace runtime

namespace runtime::components {

void add_idle_callback(platform::WindowHandle window, IdleRoutine routine, std::intptr_t argument)
{
    if (!routine || !platform::is_window(window))
        return;
    std::vector<runtime::IdleCallback>& callbacks = runtime::loop_state().idle_callbacks;
    for (const auto& callback : callbacks) {
        if (callback.window == window)
            return;
    }
    callbacks.push_back({window, routine, argument});
}

void remove_idle_callback(platform::WindowHandle window)
{
    std::vector<runtime::IdleCallback>& callbacks = runtime::loop_state().idle_callbacks;
    std::erase_if(callbacks, [window](const auto& callback) { return callback.window == window; });
}

}  // namespace runtime::components
