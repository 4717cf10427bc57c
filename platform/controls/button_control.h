#pragma once
// The standard "BUTTON" class: push buttons (default push style, caption alignment, multi-line
// captions, bitmap and icon buttons) and group boxes (a frame with a title). A click by mouse or by
// the Space key sends BN_CLICKED to the parent (WM_COMMAND); the colours are asked from the parent
// (WM_CTLCOLORBTN for a push button, WM_CTLCOLORSTATIC for a group box). A group box sends itself
// WM_ERASEBKGND before it draws its frame and title.
//
// Messages the class understands beyond the common ones:
//   WM_SETFONT   wparam: const LogFont* (copied; null: the default GUI font); lparam: 1 to redraw
//   BM_SETIMAGE  wparam: ButtonImage::Bitmap or ::Icon; lparam: const Bitmap* / const Icon*, owned
//                by the sender, who keeps it alive until it sets another image or destroys the
//                window; null removes the image. Shown when the style has BS_BITMAP or BS_ICON.
//   BM_CLICK     presses and releases the button as a click does (BN_CLICKED follows).
// Style changes (default push, alignment) made with set_window_style show at the next repaint.

#include "platform/messages.h"
#include "platform/window_handle.h"

#include <cstdint>

namespace platform {

inline constexpr char kButtonClassName[] = "BUTTON";

// Button styles.
inline constexpr std::uint32_t BS_PUSHBUTTON = 0x0000;
inline constexpr std::uint32_t BS_DEFPUSHBUTTON = 0x0001;
inline constexpr std::uint32_t BS_GROUPBOX = 0x0007;
inline constexpr std::uint32_t BS_TYPEMASK = 0x000F;
inline constexpr std::uint32_t BS_ICON = 0x0040;
inline constexpr std::uint32_t BS_BITMAP = 0x0080;
inline constexpr std::uint32_t BS_LEFT = 0x0100;
inline constexpr std::uint32_t BS_RIGHT = 0x0200;
inline constexpr std::uint32_t BS_CENTER = 0x0300;
inline constexpr std::uint32_t BS_HORIZONTAL_MASK = 0x0300;
inline constexpr std::uint32_t BS_TOP = 0x0400;
inline constexpr std::uint32_t BS_BOTTOM = 0x0800;
inline constexpr std::uint32_t BS_VCENTER = 0x0C00;
inline constexpr std::uint32_t BS_VERTICAL_MASK = 0x0C00;
inline constexpr std::uint32_t BS_MULTILINE = 0x2000;

// Notification codes (high word of WM_COMMAND's wparam).
inline constexpr int BN_CLICKED = 0;

// Messages.
inline constexpr std::uint32_t BM_CLICK = 0x00F5;
inline constexpr std::uint32_t BM_SETIMAGE = 0x00F7;

namespace ButtonImage {
inline constexpr std::uintptr_t Bitmap = 0;
inline constexpr std::uintptr_t Icon = 1;
}  // namespace ButtonImage

// Registers the class once per process; later calls only report that it exists.
bool register_button_class();

}  // namespace platform
