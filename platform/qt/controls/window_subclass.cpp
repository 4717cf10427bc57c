#include "platform/controls/window_subclass.h"

#include "platform/controls/subclassed_class.h"
#include "platform/qt/native_window_qt.h"

#include <memory>

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
