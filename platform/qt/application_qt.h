#pragma once
// Inside the platform only: the filter between Qt's messages and the user.

#include <QtGlobal>

namespace platform {

// Installs the filter in front of the message handler installed now (Qt's default one when none
// is). Qt's platform plugins report the window-system features they lack ("This plugin does not
// support raise()", "... grabbing the keyboard") as warnings; the offscreen platform lacks most of
// them, and nothing here depends on them, so the filter drops these notices and passes every other
// message on unchanged. Returns the handler it passes to.
QtMessageHandler install_platform_notice_filter();

}  // namespace platform
