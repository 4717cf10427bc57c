#pragma once
// Fonts: LOGFONT descriptions to Qt fonts and back, the face-name mapping to installed fonts, and
// the default GUI font.

#include "platform/log_font.h"

#include <QFont>

namespace platform {

// "宋体" maps to a Song-style CJK serif, "黑体" to a CJK sans; other names are used as they are.
QFont qt_font_from_log_font(const LogFont& font);
LogFont log_font_from_qt_font(const QFont& font);

// The default GUI font (default_gui_log_font(), in log_font.h) as a Qt font.
QFont default_gui_font();

// Lets go of the fonts kept by qt_font_from_log_font, when the application object goes.
void forget_converted_fonts();

}  // namespace platform
