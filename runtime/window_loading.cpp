#include "runtime/window_loading.h"

#include "runtime/diagnostics/error_report.h"
#include "runtime/diagnostics/messages.h"

namespace runtime {

// FIXME: window creation from the stored description arrives with the component model; until then
// no window can be created and loading the start window fails the way the program reports it.
void load_start_window(WindowId window)
{
    report_runtime_error(messages::start_window_failed(), 0, window, 0);
}

void run_message_loop()
{
}

int quit_code()
{
    return 0;
}

}  // namespace runtime
