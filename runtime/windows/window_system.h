#pragma once
// The state the window system keeps besides the window table: the hidden owner window, the load
// nesting count, whether the message loop runs, and the questions every part asks of a loaded
// window (its window object, whether its native window is live).

#include "platform/window_handle.h"
#include "runtime/boundary/values.h"

#include <cstdint>

namespace runtime {

struct WindowEntry;
namespace form {
class UnitRecord;
}
namespace components {
class Component;
class WindowObject;
}  // namespace components

// Class of the hidden owner window.
inline constexpr const char* kHiddenOwnerClass = "_Kestrin_HideOwner";

// Makes the hidden owner window once (a tool window with an empty title, no style, 0 x 0); later
// calls return the one made. Top-level windows not shown in the task bar are owned by it.
platform::WindowHandle create_hidden_owner_window();
platform::WindowHandle hidden_owner_window();

// The program header's format version; 3 when no header was adopted.
std::uint32_t header_format_version();

// Raised while a window is being loaded; no event is dispatched while it is 1 or more.
int load_nesting_count();
// Processes what waits in the queue (a quit message stays queued), then raises the count.
void begin_load();
// Processes what waits in the queue, then lowers the count when it is above 0.
void end_load();

bool message_loop_running();
void set_message_loop_running(bool running);

// The component object in a unit record's object slot (null when the window is not loaded).
components::Component* component_of(const form::UnitRecord& record);
// The window object of a window entry (entry 0's object), or null.
components::WindowObject* window_object(const WindowEntry& entry);
// Whether the entry's window object exists with a live native window.
bool window_is_live(const WindowEntry& entry);
bool any_window_live();

}  // namespace runtime
