#pragma once
// The application-wide input filter: one callback that sees every keyboard and mouse message aimed
// at any native window before the window's procedure does.

#include "platform/messages.h"
#include "platform/window_handle.h"

#include <functional>

namespace platform {

enum class FilterVerdict {
    Pass,     // the window gets the message (with any change the filter made)
    Swallow,  // nobody gets it, and the platform does nothing with it
};

// Called with the target window and the message: WM_KEYDOWN, WM_KEYUP, WM_SYSKEYDOWN,
// WM_SYSKEYUP, WM_CHAR, WM_SYSCHAR, WM_MOUSEMOVE, button downs and ups, double clicks and
// WM_MOUSEWHEEL. For a character message the filter may replace message.wparam.
using InputFilter = std::function<FilterVerdict(WindowHandle target, Message& message)>;

// Installs the filter (empty: none) and returns the one installed before.
InputFilter set_input_filter(InputFilter filter);

}  // namespace platform
