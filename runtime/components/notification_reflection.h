#pragma once
// Notifications of a standard control go to its parent (WM_COMMAND, WM_CTLCOLOR*). Every container
// of the runtime (the window, the group box, the picture box) passes them back to the control that
// sent them, as the same message with kReflectedMessageBase added, so that the control's own kind
// turns them into events and answers its colours whatever its parent is.

#include "platform/messages.h"
#include "platform/window_handle.h"

#include <cstdint>
#include <optional>

namespace runtime::components {

inline constexpr std::uint32_t kReflectedMessageBase = 0x2000;
inline constexpr std::uint32_t kReflectedCommand = kReflectedMessageBase + platform::WM_COMMAND;
inline constexpr std::uint32_t kReflectedControlColourButton = kReflectedMessageBase + platform::WM_CTLCOLORBTN;
inline constexpr std::uint32_t kReflectedControlColourStatic = kReflectedMessageBase + platform::WM_CTLCOLORSTATIC;
inline constexpr std::uint32_t kReflectedControlColourEdit = kReflectedMessageBase + platform::WM_CTLCOLOREDIT;
inline constexpr std::uint32_t kReflectedControlColourListBox = kReflectedMessageBase + platform::WM_CTLCOLORLISTBOX;

// Called by a container's window procedure with a message it received. For a child's notification
// (WM_COMMAND from a child control) the result is the child's answer; for a colour query
// (WM_CTLCOLOR*) it is the child's nonzero answer, or nothing when the child left the colours to
// the default. Any other message, or one that names no child of `parent`: nothing.
std::optional<std::intptr_t> reflect_to_child(platform::WindowHandle parent, platform::Message& message);

}  // namespace runtime::components
