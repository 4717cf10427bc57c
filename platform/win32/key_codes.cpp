// The text a key makes on a plain keyboard layout, for synthetic key presses: the system's layout
// of the machine the tests run on must not change what a test types.

#include "platform/win32/native_window_internal_win32.h"

#include <array>

namespace platform {

namespace {

constexpr char kShiftedDigitText[] = ")!@#$%^&*(";

struct OemText {
    int virtual_key;
    char plain;
    char shifted;
};

constexpr std::array<OemText, 11> kOemText = {{
    {VK_OEM_1, ';', ':'},
    {VK_OEM_PLUS, '=', '+'},
    {VK_OEM_COMMA, ',', '<'},
    {VK_OEM_MINUS, '-', '_'},
    {VK_OEM_PERIOD, '.', '>'},
    {VK_OEM_2, '/', '?'},
    {VK_OEM_3, '`', '~'},
    {VK_OEM_4, '[', '{'},
    {VK_OEM_5, '\\', '|'},
    {VK_OEM_6, ']', '}'},
    {VK_OEM_7, '\'', '"'},
}};

wchar_t plain_text_of_key(int virtual_key, bool shift)
{
    if (virtual_key >= 'A' && virtual_key <= 'Z')
        return static_cast<wchar_t>(shift ? virtual_key : virtual_key - 'A' + 'a');
    if (virtual_key >= '0' && virtual_key <= '9')
        return static_cast<wchar_t>(shift ? kShiftedDigitText[virtual_key - '0'] : virtual_key);
    if (virtual_key >= VK_NUMPAD0 && virtual_key <= VK_NUMPAD0 + 9)
        return static_cast<wchar_t>('0' + virtual_key - VK_NUMPAD0);
    switch (virtual_key) {
    case VK_SPACE:
        return L' ';
    case VK_RETURN:
        return L'\r';
    case VK_TAB:
        return L'\t';
    case VK_BACK:
        return 8;
    case VK_ESCAPE:
        return 27;
    default:
        break;
    }
    for (const OemText& oem : kOemText) {
        if (oem.virtual_key == virtual_key)
            return static_cast<wchar_t>(shift ? oem.shifted : oem.plain);
    }
    return 0;
}

}  // namespace

wchar_t text_of_key(int virtual_key, std::uint32_t key_state)
{
    // Keys typed with Ctrl or Alt held make no text, except the control characters of Ctrl+letter.
    if (key_state & KeyState::Alt)
        return 0;
    if (key_state & KeyState::Ctrl)
        return (virtual_key >= 'A' && virtual_key <= 'Z') ? static_cast<wchar_t>(virtual_key - 'A' + 1) : 0;
    return plain_text_of_key(virtual_key, key_state & KeyState::Shift);
}

}  // namespace platform
