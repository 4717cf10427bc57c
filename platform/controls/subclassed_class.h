#pragma once
// What subclassing does to a window's class, the same on every backend (each keeps its own
// WindowClass record beside the window).

#include "platform/controls/window_subclass.h"

#include <memory>
#include <utility>

namespace platform {

// A private copy of the window's class whose procedure runs `procedure` in front of the class's
// own (or the default one). The copy keeps the previous class object alive: one of its procedures
// may be running.
template <typename Class>
std::shared_ptr<const Class> class_with_procedure_in_front(std::shared_ptr<const Class> previous_class,
                                                           SubclassProcedure procedure)
{
    WindowProcedure previous = previous_class->info.procedure;
    if (!previous)
        previous = default_window_procedure;
    auto own_class = std::make_shared<Class>(*previous_class);
    own_class->info.procedure = [procedure = std::move(procedure), previous = std::move(previous),
                                 previous_class](WindowHandle target, Message& message) {
        return procedure(target, message, previous);
    };
    return own_class;
}

}  // namespace platform
