#pragma once
// Fonts made by the system from a LOGFONT as it is stored.

#include "platform/win32/win32.h"

namespace platform {

// The font for `font`, made once and kept for the life of the process (the same description gives
// the same handle). Never nullptr: a face the system cannot make falls back to the default GUI font.
HFONT font_handle(const LogFont& font);

}  // namespace platform
