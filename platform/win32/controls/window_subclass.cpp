// Subclassing one window: the runtime's procedure in front of the one the window had.

#include "platform/win32/native_window_internal_win32.h"

namespace platform {

bool subclass_window(WindowHandle handle, SubclassProcedure procedure)
{
    std::shared_ptr<NativeWindow> window = find_window(handle);
    if (!window || !procedure)
        return false;
    // The window gets a private copy of its class whose procedure runs the new one first. The
    // previous class object is kept alive by the wrapper: one of its procedures may be running.
    std::shared_ptr<const WindowClass> previous_class = window->window_class;
    WindowProcedure previous = previous_class->info.procedure;
    if (!previous)
        previous = default_window_procedure;
    auto own_class = std::make_shared<WindowClass>(*previous_class);
    own_class->info.procedure = [procedure = std::move(procedure), previous = std::move(previous),
                                 previous_class](WindowHandle target, Message& message) {
        return procedure(target, message, previous);
    };
    window->window_class = std::move(own_class);
    return true;
}

}  // namespace platform
