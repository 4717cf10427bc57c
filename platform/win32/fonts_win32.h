#pragma once
// Fonts made by the system from a LOGFONT as it is stored.

#include "platform/win32/win32.h"

#include <string>

namespace platform {

// The font for `font`, made once and kept for the life of the process (the same description gives
// the same handle). Never nullptr: a face the system cannot make falls back to the default GUI font.
HFONT font_handle(const LogFont& font);

// The face the system is asked for a stored face name: the name itself when the system has it,
// else the installed face it maps to ("宋体" to a CJK serif, "黑体" to a CJK sans).
std::wstring installed_face_name(const std::wstring& stored);
// The reverse, for a face the user chose: a face that stands in for a missing one gives that name.
std::wstring stored_face_name(const std::wstring& installed);

}  // namespace platform
