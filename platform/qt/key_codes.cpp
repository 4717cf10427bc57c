#include "platform/qt/key_codes_qt.h"

#include <array>
#include <utility>

namespace platform {
namespace {

struct KeyPair {
    int qt_key;
    int virtual_key;
};

// Keys whose codes do not follow from a range.
constexpr std::array<KeyPair, 41> kKeys = {{
    {Qt::Key_Backspace, VK_BACK},    {Qt::Key_Tab, VK_TAB},
    {Qt::Key_Backtab, VK_TAB},       {Qt::Key_Return, VK_RETURN},
    {Qt::Key_Enter, VK_RETURN},      {Qt::Key_Shift, VK_SHIFT},
    {Qt::Key_Control, VK_CONTROL},   {Qt::Key_Alt, VK_MENU},
    {Qt::Key_Pause, VK_PAUSE},       {Qt::Key_CapsLock, VK_CAPITAL},
    {Qt::Key_Escape, VK_ESCAPE},     {Qt::Key_Space, VK_SPACE},
    {Qt::Key_PageUp, VK_PRIOR},      {Qt::Key_PageDown, VK_NEXT},
    {Qt::Key_End, VK_END},           {Qt::Key_Home, VK_HOME},
    {Qt::Key_Left, VK_LEFT},         {Qt::Key_Up, VK_UP},
    {Qt::Key_Right, VK_RIGHT},       {Qt::Key_Down, VK_DOWN},
    {Qt::Key_Insert, VK_INSERT},     {Qt::Key_Delete, VK_DELETE},
    {Qt::Key_NumLock, VK_NUMLOCK},   {Qt::Key_ScrollLock, VK_SCROLL},
    {Qt::Key_Semicolon, VK_OEM_1},   {Qt::Key_Colon, VK_OEM_1},
    {Qt::Key_Equal, VK_OEM_PLUS},    {Qt::Key_Plus, VK_OEM_PLUS},
    {Qt::Key_Comma, VK_OEM_COMMA},   {Qt::Key_Less, VK_OEM_COMMA},
    {Qt::Key_Minus, VK_OEM_MINUS},   {Qt::Key_Underscore, VK_OEM_MINUS},
    {Qt::Key_Period, VK_OEM_PERIOD}, {Qt::Key_Greater, VK_OEM_PERIOD},
    {Qt::Key_Slash, VK_OEM_2},       {Qt::Key_Question, VK_OEM_2},
    {Qt::Key_QuoteLeft, VK_OEM_3},   {Qt::Key_BracketLeft, VK_OEM_4},
    {Qt::Key_Backslash, VK_OEM_5},   {Qt::Key_BracketRight, VK_OEM_6},
    {Qt::Key_Apostrophe, VK_OEM_7},
}};

// Shifted digits on a plain layout, in the order of the digit keys 0..9.
constexpr std::array<int, 10> kShiftedDigits = {
    Qt::Key_ParenRight, Qt::Key_Exclam,      Qt::Key_At,        Qt::Key_NumberSign, Qt::Key_Dollar,
    Qt::Key_Percent,    Qt::Key_AsciiCircum, Qt::Key_Ampersand, Qt::Key_Asterisk,   Qt::Key_ParenLeft,
};

}  // namespace

int virtual_key_from_qt(int qt_key, Qt::KeyboardModifiers modifiers)
{
    if (modifiers & Qt::KeypadModifier) {
        if (qt_key >= Qt::Key_0 && qt_key <= Qt::Key_9)
            return VK_NUMPAD0 + (qt_key - Qt::Key_0);
        switch (qt_key) {
        case Qt::Key_Asterisk:
            return VK_MULTIPLY;
        case Qt::Key_Plus:
            return VK_ADD;
        case Qt::Key_Minus:
            return VK_SUBTRACT;
        case Qt::Key_Period:
            return VK_DECIMAL;
        case Qt::Key_Slash:
            return VK_DIVIDE;
        default:
            break;
        }
    }
    if (qt_key >= Qt::Key_A && qt_key <= Qt::Key_Z)
        return 'A' + (qt_key - Qt::Key_A);
    if (qt_key >= Qt::Key_0 && qt_key <= Qt::Key_9)
        return '0' + (qt_key - Qt::Key_0);
    if (qt_key >= Qt::Key_F1 && qt_key <= Qt::Key_F24)
        return VK_F1 + (qt_key - Qt::Key_F1);
    for (std::size_t digit = 0; digit < kShiftedDigits.size(); ++digit) {
        if (kShiftedDigits[digit] == qt_key)
            return '0' + static_cast<int>(digit);
    }
    for (const KeyPair& pair : kKeys) {
        if (pair.qt_key == qt_key)
            return pair.virtual_key;
    }
    return 0;
}

int qt_key_from_virtual_key(int virtual_key)
{
    if (virtual_key >= 'A' && virtual_key <= 'Z')
        return Qt::Key_A + (virtual_key - 'A');
    if (virtual_key >= '0' && virtual_key <= '9')
        return Qt::Key_0 + (virtual_key - '0');
    if (virtual_key >= VK_NUMPAD0 && virtual_key <= VK_NUMPAD0 + 9)
        return Qt::Key_0 + (virtual_key - VK_NUMPAD0);
    if (virtual_key >= VK_F1 && virtual_key <= VK_F24)
        return Qt::Key_F1 + (virtual_key - VK_F1);
    for (const KeyPair& pair : kKeys) {
        if (pair.virtual_key == virtual_key)
            return pair.qt_key;
    }
    return Qt::Key_unknown;
}

QString text_of_virtual_key(int virtual_key, bool shift)
{
    char16_t text = plain_key_text(virtual_key, shift);
    return text ? QString(QChar(text)) : QString();
}

}  // namespace platform
