#include "platform/key_codes.h"

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

}  // namespace

char16_t plain_key_text(int virtual_key, bool shift)
{
    if (virtual_key >= 'A' && virtual_key <= 'Z')
        return static_cast<char16_t>(shift ? virtual_key : virtual_key - 'A' + 'a');
    if (virtual_key >= '0' && virtual_key <= '9')
        return static_cast<char16_t>(shift ? kShiftedDigitText[virtual_key - '0'] : virtual_key);
    if (virtual_key >= VK_NUMPAD0 && virtual_key <= VK_NUMPAD0 + 9)
        return static_cast<char16_t>('0' + virtual_key - VK_NUMPAD0);
    switch (virtual_key) {
    case VK_SPACE:
        return u' ';
    case VK_RETURN:
        return u'\r';
    case VK_TAB:
        return u'\t';
    case VK_BACK:
        return 8;
    case VK_ESCAPE:
        return 27;
    default:
        break;
    }
    for (const OemText& oem : kOemText) {
        if (oem.virtual_key == virtual_key)
            return static_cast<char16_t>(shift ? oem.shifted : oem.plain);
    }
    return 0;
}

}  // namespace platform
