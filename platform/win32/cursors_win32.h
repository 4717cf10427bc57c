#pragma once
// Inside the Win32 platform only: cursor handles to the system's cursors.

#include "platform/win32/win32.h"

namespace platform {

// The system's cursor behind a handle; nullptr for a handle that names none.
HCURSOR native_cursor(CursorHandle cursor);

}  // namespace platform
