#pragma once
// The common dialog kind's one command: open the dialog the control is set up for.

#include "runtime/components/component.h"

namespace runtime::components {

// Shows the dialog of a common dialog control (a live component of that kind). Returns 1 when the
// user confirmed, else 0. Implemented by the common dialog kind.
int open_common_dialog(Component* component);

}  // namespace runtime::components
