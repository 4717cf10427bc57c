#pragma once
// Native windows as Windows knows them: the platform's small handles and the system's HWNDs.

#include "platform/win32/win32.h"

namespace platform {

// The system's window behind a handle; nullptr when the handle names no live window.
HWND native_window_handle(WindowHandle handle);
// The handle of one of our windows; 0 for a window the platform did not make.
WindowHandle window_from_native(HWND hwnd);

}  // namespace platform
