// The text a key makes on a plain keyboard layout, for synthetic key presses: the system's layout
// of the machine the tests run on must not change what a test types.

#include "platform/win32/native_window_internal_win32.h"

namespace platform {

wchar_t text_of_key(int virtual_key, std::uint32_t key_state)
{
    // Keys typed with Ctrl or Alt held make no text, except the control characters of Ctrl+letter.
    if (key_state & KeyState::Alt)
        return 0;
    if (key_state & KeyState::Ctrl)
        return (virtual_key >= 'A' && virtual_key <= 'Z') ? static_cast<wchar_t>(virtual_key - 'A' + 1) : 0;
    return static_cast<wchar_t>(plain_key_text(virtual_key, (key_state & KeyState::Shift) != 0));
}

}  // namespace platform
