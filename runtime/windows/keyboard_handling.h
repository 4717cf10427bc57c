#pragma once
// The window's own keyboard handling, after a key-down message has raised its -9 event: Enter
// activates the window's default push button, and a mnemonic letter presses the button whose caption
// marks it or moves the focus onward from the label or group box that marks it.

#include "platform/messages.h"
#include "runtime/boundary/values.h"

namespace runtime {

enum class KeyHandled { No, Yes };

// `focused` is the unit the key-down message was raised for (the window's own unit when the window
// itself has the focus). Yes when the key did something: the message then goes no further.
KeyHandled handle_window_key(WindowId window, ControlId focused, const platform::Message& message);

}  // namespace runtime
