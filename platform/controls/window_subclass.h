#pragma once
// Per-window subclassing: a window procedure put in front of the one a window got from its class,
// for this one window only. The runtime's kinds use it on the platform's standard controls to see
// their messages first (focus, erasing, reflected notifications) and pass the rest on.

#include "platform/native_window.h"

#include <cstdint>
#include <functional>

namespace platform {

// `previous` is the procedure the window had before (its class's, or an earlier subclass's).
using SubclassProcedure = std::function<std::intptr_t(WindowHandle, Message&, const WindowProcedure& previous)>;

// False when the handle is not a window.
bool subclass_window(WindowHandle handle, SubclassProcedure procedure);

}  // namespace platform
