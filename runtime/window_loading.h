#pragma once
// Loading stored windows and running the message loop.

#include "runtime/values.h"

namespace runtime {

// The load-window entry: loads the window as the start window; reports "载入启动窗口失败" when the
// identifier names no stored window or the window cannot be created.
void load_start_window(WindowId window);

// Returns when no window of the program exists any more, or at once when none is loaded.
void run_message_loop();

// The quit code of the quit message that ended the loop (0 until then).
int quit_code();

}  // namespace runtime
