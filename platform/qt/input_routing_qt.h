#pragma once
// Inside the platform only: turning Qt's input events into window messages. Every keyboard, mouse,
// wheel, input-method and focus event aimed at a widget of a native window passes here first.

#include "platform/input_filter.h"

#include <QEvent>
#include <QObject>

namespace platform {

// Installs the application-wide event filter (once) / removes it.
void install_input_routing();
void remove_input_routing();

// The window that has the keyboard focus as the focus messages told it.
WindowHandle tracked_focus();
// Forgets a destroyed window in the focus bookkeeping.
void forget_focus(WindowHandle handle);

// Counts input messages that end an idle period (all but mouse moves); the loop compares it.
std::uint64_t idle_ending_input_count();

// Marks, during a window procedure's input message, that the default handling was asked for.
void note_default_input_handling();

}  // namespace platform
