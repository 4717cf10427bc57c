#pragma once
// Mouse and keyboard events shared by every kind: the application-wide input filter turns each
// input message aimed at a loaded window, or at a native window inside one, into an event of the
// unit it belongs to. A false result keeps the message from the window; for a character, any
// other result replaces the character. A key press that its event lets through then goes to the
// window's keyboard handling (Enter, mnemonics), which may keep it from the control.

#include "platform/input_filter.h"

namespace runtime {

// Installs the filter once; later calls do nothing.
void install_input_filter();

// The filter itself (exposed for tests that feed it messages directly).
platform::FilterVerdict filter_input(platform::WindowHandle target, platform::Message& message);

}  // namespace runtime
