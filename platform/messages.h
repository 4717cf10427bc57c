#pragma once
// Messages to native windows: the struct a window procedure receives, the message numbers (classic
// values, so that private messages from 0x8000 up pass through untouched), and the records that
// some messages point to.

#include "platform/device_context.h"
#include "platform/region.h"
#include "platform/window_handle.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace platform {

// Modifier keys held when an input message was made: bit 0 Ctrl, bit 1 Shift, bit 2 Alt.
namespace KeyState {
inline constexpr std::uint32_t Ctrl = 0x1;
inline constexpr std::uint32_t Shift = 0x2;
inline constexpr std::uint32_t Alt = 0x4;
}  // namespace KeyState

struct Message {
    std::uint32_t id = 0;
    std::uintptr_t wparam = 0;
    std::intptr_t lparam = 0;
    std::uint32_t key_state = 0;  // input messages: KeyState bits at the time of the input
};

// ---- Message numbers --------------------------------------------------------------------------
inline constexpr std::uint32_t WM_NULL = 0x0000;
inline constexpr std::uint32_t WM_CREATE = 0x0001;  // lparam: const CreateParams*; return -1 to refuse
inline constexpr std::uint32_t WM_DESTROY = 0x0002;
inline constexpr std::uint32_t WM_MOVE = 0x0003;       // lparam: client origin in parent client coordinates
inline constexpr std::uint32_t WM_SIZE = 0x0005;       // wparam: SIZE_*; lparam: client width, height
inline constexpr std::uint32_t WM_ACTIVATE = 0x0006;   // wparam: WA_*; lparam: the other window
inline constexpr std::uint32_t WM_SETFOCUS = 0x0007;   // wparam: the window that lost the focus
inline constexpr std::uint32_t WM_KILLFOCUS = 0x0008;  // wparam: the window that gets the focus
inline constexpr std::uint32_t WM_ENABLE = 0x000A;
inline constexpr std::uint32_t WM_SETTEXT = 0x000C;  // lparam: const char* GBK text, zero-terminated
inline constexpr std::uint32_t WM_GETTEXT = 0x000D;  // lparam: std::string* to fill with the GBK text
inline constexpr std::uint32_t WM_PAINT = 0x000F;    // lparam: PaintRequest*
inline constexpr std::uint32_t WM_CLOSE = 0x0010;
inline constexpr std::uint32_t WM_QUIT = 0x0012;        // wparam: quit code
inline constexpr std::uint32_t WM_ERASEBKGND = 0x0014;  // wparam: DeviceContext*; return nonzero when erased
inline constexpr std::uint32_t WM_SHOWWINDOW = 0x0018;  // wparam: 1 shown, 0 hidden
inline constexpr std::uint32_t WM_SETFONT = 0x0030;
inline constexpr std::uint32_t WM_NCDESTROY = 0x0082;
inline constexpr std::uint32_t WM_KEYDOWN = 0x0100;  // wparam: virtual key code; lparam: repeat, flags
inline constexpr std::uint32_t WM_KEYUP = 0x0101;
inline constexpr std::uint32_t WM_CHAR = 0x0102;  // wparam: character code (see below)
inline constexpr std::uint32_t WM_SYSKEYDOWN = 0x0104;
inline constexpr std::uint32_t WM_SYSKEYUP = 0x0105;
inline constexpr std::uint32_t WM_SYSCHAR = 0x0106;
inline constexpr std::uint32_t WM_COMMAND = 0x0111;       // wparam: child id | code << 16; lparam: child
inline constexpr std::uint32_t WM_TIMER = 0x0113;         // wparam: timer id
inline constexpr std::uint32_t WM_CTLCOLOREDIT = 0x0133;  // wparam: ControlColours*; lparam: child
inline constexpr std::uint32_t WM_CTLCOLORLISTBOX = 0x0134;
inline constexpr std::uint32_t WM_CTLCOLORBTN = 0x0135;
inline constexpr std::uint32_t WM_CTLCOLORSTATIC = 0x0138;
inline constexpr std::uint32_t WM_MOUSEMOVE = 0x0200;  // wparam: MK_* bits; lparam: client x, y
inline constexpr std::uint32_t WM_LBUTTONDOWN = 0x0201;
inline constexpr std::uint32_t WM_LBUTTONUP = 0x0202;
inline constexpr std::uint32_t WM_LBUTTONDBLCLK = 0x0203;
inline constexpr std::uint32_t WM_RBUTTONDOWN = 0x0204;
inline constexpr std::uint32_t WM_RBUTTONUP = 0x0205;
inline constexpr std::uint32_t WM_RBUTTONDBLCLK = 0x0206;
inline constexpr std::uint32_t WM_MBUTTONDOWN = 0x0207;
inline constexpr std::uint32_t WM_MBUTTONUP = 0x0208;
inline constexpr std::uint32_t WM_MOUSEWHEEL = 0x020A;  // wparam: MK_* | signed delta << 16; lparam: client x, y
inline constexpr std::uint32_t WM_USER = 0x0400;
inline constexpr std::uint32_t WM_APP = 0x8000;  // private messages from here up pass through untouched

// WM_SIZE kinds.
inline constexpr std::uintptr_t SIZE_RESTORED = 0;
inline constexpr std::uintptr_t SIZE_MINIMIZED = 1;
inline constexpr std::uintptr_t SIZE_MAXIMIZED = 2;

// WM_ACTIVATE states.
inline constexpr std::uintptr_t WA_INACTIVE = 0;
inline constexpr std::uintptr_t WA_ACTIVE = 1;

// Mouse-message key bits in wparam.
inline constexpr std::uintptr_t MK_LBUTTON = 0x0001;
inline constexpr std::uintptr_t MK_RBUTTON = 0x0002;
inline constexpr std::uintptr_t MK_SHIFT = 0x0004;
inline constexpr std::uintptr_t MK_CONTROL = 0x0008;
inline constexpr std::uintptr_t MK_MBUTTON = 0x0010;

inline constexpr int kWheelDelta = 120;  // one notch of the mouse wheel

// ---- Packing helpers --------------------------------------------------------------------------
inline std::intptr_t make_lparam(int low, int high)
{
    return static_cast<std::intptr_t>((static_cast<std::uint32_t>(low) & 0xFFFF) |
                                      ((static_cast<std::uint32_t>(high) & 0xFFFF) << 16));
}
inline std::uintptr_t make_wparam(int low, int high)
{
    return static_cast<std::uintptr_t>(make_lparam(low, high)) & 0xFFFFFFFFu;
}
inline int low_word(std::uintptr_t value)
{
    return static_cast<int>(value & 0xFFFF);
}
inline int high_word(std::uintptr_t value)
{
    return static_cast<int>((value >> 16) & 0xFFFF);
}
// The signed coordinates of a mouse message's lparam.
inline int signed_low_word(std::intptr_t value)
{
    return static_cast<std::int16_t>(value & 0xFFFF);
}
inline int signed_high_word(std::intptr_t value)
{
    return static_cast<std::int16_t>((value >> 16) & 0xFFFF);
}

// ---- Records that messages point to -----------------------------------------------------------

// WM_PAINT: the surface to paint on, already clipped to the area to update (client coordinates).
struct PaintRequest {
    DeviceContext* context = nullptr;
    Rect update_rect;  // bounding rectangle of update_region
    Region update_region;
};

// WM_CTLCOLOR*: the parent (or whoever it asks) fills in the colours a child control paints with;
// a nonzero result means the colours were set.
struct ControlColours {
    Colour text = 0;
    Colour text_background = 0xFFFFFF;
    Colour brush = 0xFFFFFF;
};

// The default answer to WM_CTLCOLOR*: the system's colours, for an edit field or list on the
// window colour, for the other controls on the button face.
std::intptr_t default_control_colours(const Message& message);

// Character codes of WM_CHAR: a single-byte character is its byte; a multibyte character is its
// bytes in order, most significant first (lead << 8 | trail, or the four bytes of a four-byte one).
std::uint32_t gbk_char_code(std::string_view gbk_character);
std::string gbk_from_char_code(std::uint32_t code);

// Keyboard and mouse messages: the ones the input filter sees.
bool is_input_message(std::uint32_t id);

}  // namespace platform
