#pragma once
// Fonts of standard controls: giving a control a font (nothing: the default GUI font) and measuring
// text in a font without a window.

#include "platform/device_context.h"
#include "platform/log_font.h"
#include "platform/window_handle.h"

#include <optional>
#include <string_view>

namespace platform {

// The control's font from now on, redrawn at once; nothing gives the default GUI font.
void set_control_font(WindowHandle control, const std::optional<LogFont>& font);

// Width and line height of one line of GBK text in the font (nothing: the default GUI font).
Size measure_text_in_font(const std::optional<LogFont>& font, std::string_view gbk);

}  // namespace platform
