#pragma once
// Windows' own headers, for the Win32 implementation of the platform only.
//
// The platform's interface names its message, style, key and colour constants as Windows does, and
// <windows.h> defines the same names as macros. Every interface header is therefore read here
// first, before the macros exist; code after this include uses the macros, whose values are the
// same as the interface's constants.
#include "platform/application.h"
#include "platform/cursors.h"
#include "platform/device_context.h"
#include "platform/dialogs.h"
#include "platform/graphics.h"
#include "platform/input_filter.h"
#include "platform/input_synthesis.h"
#include "platform/key_codes.h"
#include "platform/log_font.h"
#include "platform/message_loop.h"
#include "platform/messages.h"
#include "platform/native_window.h"
#include "platform/region.h"
#include "platform/screen_capture.h"
#include "platform/system_colours.h"
#include "platform/text_encoding.h"
#include "platform/window_handle.h"
#include "platform/window_styles.h"

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef UNICODE
#define UNICODE
#endif
#ifndef _UNICODE
#define _UNICODE
#endif
#include <windows.h>
