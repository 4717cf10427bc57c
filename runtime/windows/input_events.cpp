#include "runtime/windows/input_events.h"

#include "platform/native_window.h"
#include "runtime/components/component.h"
#include "runtime/components/window_kind.h"
#include "runtime/windows/keyboard_handling.h"
#include "runtime/windows/window_system.h"
#include "runtime/windows/window_table.h"

#include <optional>

namespace runtime {
namespace {

using namespace components::CommonEvent;

// The loaded window a native window belongs to.
const WindowEntry* window_entry_of(platform::WindowHandle target)
{
    platform::WindowHandle top = platform::top_level_ancestor(target);
    for (const WindowEntry& entry : window_table().entries()) {
        const components::WindowObject* window = window_object(entry);
        if (window && window->handle() == top && platform::is_window(top))
            return &entry;
    }
    return nullptr;
}

std::int32_t unsigned_low(std::intptr_t value)
{
    return static_cast<std::int32_t>(value & 0xFFFF);
}

std::int32_t unsigned_high(std::intptr_t value)
{
    return static_cast<std::int32_t>((value >> 16) & 0xFFFF);
}

// The event of an input message, with its arguments; nothing for messages that raise none.
std::optional<components::EventRecord> event_of(const platform::Message& message)
{
    using namespace platform;
    components::EventRecord record;
    auto mouse = [&](int event) {
        record.event = event;
        record.argument_count = 3;
        record.arguments[0] = unsigned_low(message.lparam);
        record.arguments[1] = unsigned_high(message.lparam);
        record.arguments[2] = static_cast<std::int32_t>(message.key_state);
    };
    auto key = [&](int event) {
        record.event = event;
        record.argument_count = 2;
        record.arguments[0] = static_cast<std::int32_t>(message.wparam);
        record.arguments[1] = static_cast<std::int32_t>(message.key_state);
    };
    switch (message.id) {
    case WM_LBUTTONDOWN:
        mouse(LeftDown);
        break;
    case WM_LBUTTONUP:
        mouse(LeftUp);
        break;
    case WM_LBUTTONDBLCLK:
        mouse(LeftDoubleClick);
        break;
    case WM_RBUTTONDOWN:
        mouse(RightDown);
        break;
    case WM_RBUTTONUP:
        mouse(RightUp);
        break;
    case WM_MOUSEMOVE:
        mouse(MouseMove);
        break;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
        key(KeyDown);
        break;
    case WM_KEYUP:
    case WM_SYSKEYUP:
        key(KeyUp);
        break;
    case WM_CHAR:
        record.event = Character;
        record.argument_count = 1;
        record.arguments[0] = static_cast<std::int32_t>(message.wparam);
        break;
    case WM_MOUSEWHEEL:
        record.event = Wheel;
        record.argument_count = 2;
        record.arguments[0] = signed_high_word(static_cast<std::intptr_t>(message.wparam)) / kWheelDelta;
        record.arguments[1] = static_cast<std::int32_t>(message.key_state);
        break;
    default:
        return std::nullopt;
    }
    return record;
}

}  // namespace

platform::FilterVerdict filter_input(platform::WindowHandle target, platform::Message& message)
{
    std::optional<components::EventRecord> record = event_of(message);
    if (!record)
        return platform::FilterVerdict::Pass;
    const WindowEntry* entry = window_entry_of(target);
    if (!entry)
        return platform::FilterVerdict::Pass;
    std::optional<ControlId> unit = components::unit_of_native_window(entry->unit.id, target);
    if (!unit)
        return platform::FilterVerdict::Pass;
    WindowId window = entry->unit.id;
    record->window = window;
    record->control = *unit;
    bool handled = components::raise_event(*record);
    if (handled && components::cancelled_by_handler(*record))
        return platform::FilterVerdict::Swallow;
    if (handled && record->result_present && message.id == platform::WM_CHAR)
        message.wparam = static_cast<std::uint32_t>(record->result);
    // The unit's own event comes first; what is left of a key press is the window's to handle.
    if (handle_window_key(window, *unit, message) == KeyHandled::Yes)
        return platform::FilterVerdict::Swallow;
    return platform::FilterVerdict::Pass;
}

void install_input_filter()
{
    static bool installed = false;
    if (installed)
        return;
    installed = true;
    platform::set_input_filter(filter_input);
}

}  // namespace runtime
