// Until the common dialog kind provides its own, opening a dialog reports "not confirmed".

#include "runtime/components/common_dialog_operations.h"

namespace runtime::components {

__attribute__((weak)) int open_common_dialog(Component*)
{
    return 0;
}

}  // namespace runtime::components
