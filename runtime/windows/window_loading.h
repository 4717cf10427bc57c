#pragma once
// Loading stored windows: creating a window and its components from the stored units, showing it,
// and what happens when its native window is gone. The message loop that keeps the program alive
// while a window exists is in message_loop.cpp.

#include "platform/window_handle.h"
#include "runtime/boundary/values.h"

#include <cstddef>

namespace runtime {

struct WindowEntry;
namespace components {
class WindowObject;
}

// The load-window entry: loads the window as the start window; reports "载入启动窗口失败" when the
// identifier names no stored window or the window cannot be created.
void load_start_window(WindowId window);

// Creates the window and its components (or, when it is already on screen and `new_instance` is
// false, restores or activates it). Returns whether the window exists afterwards.
enum class NewInstance { No, Yes };
enum class Modal { No, Yes };
bool create_window(WindowEntry& entry, NewInstance new_instance, Modal modal, platform::WindowHandle owner);

// Puts the native window of unit `index` (a component) in its stacking place: directly below the
// nearest earlier unit with the same parent, or at the top when there is none.
void restore_z_place(WindowEntry& entry, std::size_t index);

// Called by the window object once its native window is gone: cursors destroyed, the pristine
// description swapped back, the quit message posted after the last window, the object deleted.
void window_destroyed(components::WindowObject& window);

// Destroys every window still open (the end-of-program closer).
void destroy_remaining_windows();

// Returns when no window of the program exists any more, or at once when none is loaded.
void run_message_loop();

// The quit code of the quit message that ended the loop (0 until then).
int quit_code();

}  // namespace runtime
