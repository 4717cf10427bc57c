#pragma once
// Style bits, show commands and positioning flags of native windows, with their classic values:
// stored property blocks and the runtime's kinds use these numbers.

#include <cstdint>

namespace platform {

// Window styles.
inline constexpr std::uint32_t WS_OVERLAPPED = 0x00000000;
inline constexpr std::uint32_t WS_POPUP = 0x80000000;
inline constexpr std::uint32_t WS_CHILD = 0x40000000;
inline constexpr std::uint32_t WS_MINIMIZE = 0x20000000;
inline constexpr std::uint32_t WS_VISIBLE = 0x10000000;
inline constexpr std::uint32_t WS_DISABLED = 0x08000000;
inline constexpr std::uint32_t WS_CLIPSIBLINGS = 0x04000000;
inline constexpr std::uint32_t WS_CLIPCHILDREN = 0x02000000;
inline constexpr std::uint32_t WS_MAXIMIZE = 0x01000000;
inline constexpr std::uint32_t WS_CAPTION = 0x00C00000;  // border and dialog frame together
inline constexpr std::uint32_t WS_BORDER = 0x00800000;
inline constexpr std::uint32_t WS_DLGFRAME = 0x00400000;
inline constexpr std::uint32_t WS_VSCROLL = 0x00200000;
inline constexpr std::uint32_t WS_HSCROLL = 0x00100000;
inline constexpr std::uint32_t WS_SYSMENU = 0x00080000;
inline constexpr std::uint32_t WS_THICKFRAME = 0x00040000;
inline constexpr std::uint32_t WS_GROUP = 0x00020000;
inline constexpr std::uint32_t WS_TABSTOP = 0x00010000;
inline constexpr std::uint32_t WS_MINIMIZEBOX = 0x00020000;
inline constexpr std::uint32_t WS_MAXIMIZEBOX = 0x00010000;
inline constexpr std::uint32_t WS_OVERLAPPEDWINDOW =
    WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;

// Extended window styles.
inline constexpr std::uint32_t WS_EX_DLGMODALFRAME = 0x00000001;
inline constexpr std::uint32_t WS_EX_TOPMOST = 0x00000008;
inline constexpr std::uint32_t WS_EX_TRANSPARENT = 0x00000020;
inline constexpr std::uint32_t WS_EX_TOOLWINDOW = 0x00000080;
inline constexpr std::uint32_t WS_EX_WINDOWEDGE = 0x00000100;
inline constexpr std::uint32_t WS_EX_CLIENTEDGE = 0x00000200;
inline constexpr std::uint32_t WS_EX_APPWINDOW = 0x00040000;
inline constexpr std::uint32_t WS_EX_STATICEDGE = 0x00020000;

// Class styles.
inline constexpr std::uint32_t CS_VREDRAW = 0x0001;
inline constexpr std::uint32_t CS_HREDRAW = 0x0002;
inline constexpr std::uint32_t CS_DBLCLKS = 0x0008;  // double clicks arrive as double-click messages
inline constexpr std::uint32_t CS_OWNDC = 0x0020;
inline constexpr std::uint32_t CS_PARENTDC = 0x0080;

// Show commands.
enum class ShowCommand {
    Hide = 0,
    Normal = 1,
    Minimized = 2,  // shown minimized and activated
    Maximized = 3,
    NoActivate = 4,  // shown in its normal place without activation
    Show = 5,
    Minimize = 6,
    MinimizedNoActivate = 7,
    ShowNoActivate = 8,  // shown in its current state without activation
    Restore = 9,
};

// Flags of set_window_pos.
namespace WindowPosFlag {
inline constexpr std::uint32_t NoSize = 0x0001;
inline constexpr std::uint32_t NoMove = 0x0002;
inline constexpr std::uint32_t NoZOrder = 0x0004;
inline constexpr std::uint32_t NoRedraw = 0x0008;
inline constexpr std::uint32_t NoActivate = 0x0010;
inline constexpr std::uint32_t FrameChanged = 0x0020;
inline constexpr std::uint32_t ShowWindow = 0x0040;
inline constexpr std::uint32_t HideWindow = 0x0080;
}  // namespace WindowPosFlag

// Where set_window_pos puts a window in the Z order, besides "directly below this window".
inline constexpr std::int32_t kInsertAtTop = 0;
inline constexpr std::int32_t kInsertAtBottom = 1;
inline constexpr std::int32_t kInsertTopmost = -1;
inline constexpr std::int32_t kInsertNotTopmost = -2;

// Flags of redraw_window.
namespace RedrawFlag {
inline constexpr std::uint32_t Invalidate = 0x0001;
inline constexpr std::uint32_t Erase = 0x0004;
inline constexpr std::uint32_t Frame = 0x0400;
inline constexpr std::uint32_t UpdateNow = 0x0100;
inline constexpr std::uint32_t EraseNow = 0x0200;
inline constexpr std::uint32_t AllChildren = 0x0080;
inline constexpr std::uint32_t NoChildren = 0x0040;
}  // namespace RedrawFlag

}  // namespace platform
