// The main window's own handlers.

#include "app/handlers.h"
#include "app/main_window.h"
#include "app/runtime_link.h"

namespace app {

HandlerResult on_creation_complete(const std::int32_t*, int)
{
    return {};
}

// The program never shows a notification-area icon, but the stored window wires its event: show
// the window again in its normal state.
HandlerResult on_tray_icon(const std::int32_t*, int)
{
    set_integer(control::Window, property::Visible, 1);
    set_integer(control::Window, property::WindowPlacement, 0);
    return {};
}

}  // namespace app
