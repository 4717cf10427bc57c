#pragma once
// Mouse cursors: the system's stock cursors by their classic ids, and cursors set on windows.

#include "platform/window_handle.h"

#include <cstddef>
#include <cstdint>

namespace platform {

namespace StockCursor {
inline constexpr int Arrow = 32512;
inline constexpr int TextBeam = 32513;
inline constexpr int Wait = 32514;
inline constexpr int Cross = 32515;
inline constexpr int UpArrow = 32516;
inline constexpr int SizeNorthWestSouthEast = 32642;
inline constexpr int SizeNorthEastSouthWest = 32643;
inline constexpr int SizeWestEast = 32644;
inline constexpr int SizeNorthSouth = 32645;
inline constexpr int SizeAll = 32646;
inline constexpr int No = 32648;
inline constexpr int Hand = 32649;
inline constexpr int AppStarting = 32650;
inline constexpr int Help = 32651;
}  // namespace StockCursor

// The cursor of a stock id (the same handle every time); 0 for an id that is not a stock cursor.
CursorHandle load_stock_cursor(int id);
// A cursor from the bytes of a cursor file (its first image and hot spot); 0 when they do not
// hold one. Each call makes a new cursor.
CursorHandle cursor_from_file_bytes(const std::uint8_t* bytes, std::size_t size);
// Destroys a cursor made from file bytes; stock cursors stay.
void destroy_cursor(CursorHandle cursor);
bool is_cursor(CursorHandle cursor);

// The cursor shown over the window (0: its class cursor).
void set_window_cursor(WindowHandle window, CursorHandle cursor);
CursorHandle window_cursor(WindowHandle window);

}  // namespace platform
