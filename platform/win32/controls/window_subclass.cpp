// Subclassing one window: the runtime's procedure in front of the one the window had.

#include "platform/controls/subclassed_class.h"
#include "platform/win32/native_window_internal_win32.h"

namespace platform {

bool subclass_window(WindowHandle handle, SubclassProcedure procedure)
{
    std::shared_ptr<NativeWindow> window = find_window(handle);
    if (!window || !procedure)
        return false;
    window->window_class = class_with_procedure_in_front(window->window_class, std::move(procedure));
    return true;
}

}  // namespace platform
