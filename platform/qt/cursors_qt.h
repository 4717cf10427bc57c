#pragma once
// Inside the platform only: cursor handles to Qt cursors.

#include "platform/cursors.h"

#include <QCursor>

#include <optional>

namespace platform {

std::optional<QCursor> qt_cursor(CursorHandle cursor);

}  // namespace platform
