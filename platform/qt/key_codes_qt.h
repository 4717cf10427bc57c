#pragma once
// Inside the platform only: Qt keys to virtual key codes and back.

#include "platform/key_codes.h"

#include <QString>
#include <Qt>

namespace platform {

// 0 when the key has no virtual key code.
int virtual_key_from_qt(int qt_key, Qt::KeyboardModifiers modifiers);
int qt_key_from_virtual_key(int virtual_key);
// The text a key press produces on a plain keyboard layout (empty for keys without text).
QString text_of_virtual_key(int virtual_key, bool shift);

}  // namespace platform
