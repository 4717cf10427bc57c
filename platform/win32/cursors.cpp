// Cursors on the system's own: stock cursors loaded by id, cursors from file bytes made by the
// system from the file's first image, and the cursor set on each window.

#include "platform/win32/cursors_win32.h"

#include "platform/win32/native_window_win32.h"

#include <map>
#include <vector>

namespace platform {
namespace {

struct CursorRecord {
    HCURSOR cursor = nullptr;
    bool stock = false;
};

std::map<CursorHandle, CursorRecord>& cursors()
{
    static std::map<CursorHandle, CursorRecord> table;
    return table;
}

std::map<WindowHandle, CursorHandle>& window_cursors()
{
    static std::map<WindowHandle, CursorHandle> table;
    return table;
}

// Stock ids are below this; cursors from files count up from it.
CursorHandle g_next_cursor = 0x10000;

bool is_stock_id(int id)
{
    switch (id) {
    case StockCursor::Arrow:
    case StockCursor::TextBeam:
    case StockCursor::Wait:
    case StockCursor::Cross:
    case StockCursor::UpArrow:
    case StockCursor::SizeNorthWestSouthEast:
    case StockCursor::SizeNorthEastSouthWest:
    case StockCursor::SizeWestEast:
    case StockCursor::SizeNorthSouth:
    case StockCursor::SizeAll:
    case StockCursor::No:
    case StockCursor::Hand:
    case StockCursor::AppStarting:
    case StockCursor::Help:
        return true;
    default:
        return false;
    }
}

std::uint32_t read_u16(const std::uint8_t* bytes)
{
    return static_cast<std::uint32_t>(bytes[0]) | (static_cast<std::uint32_t>(bytes[1]) << 8);
}

std::uint32_t read_u32(const std::uint8_t* bytes)
{
    return read_u16(bytes) | (read_u16(bytes + 2) << 16);
}

}  // namespace

CursorHandle load_stock_cursor(int id)
{
    if (!is_stock_id(id))
        return 0;
    // Stock cursors keep their id as their handle.
    auto [entry, added] = cursors().try_emplace(id);
    if (added) {
        entry->second.cursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(id));
        entry->second.stock = true;
    }
    return id;
}

CursorHandle cursor_from_file_bytes(const std::uint8_t* bytes, std::size_t size)
{
    // Directory: reserved 0, type 2 (cursor) or 1 (icon), image count; then 16-byte entries: width,
    // height, colours, reserved, the hot spot (an icon's planes and bit count), image size, offset.
    constexpr std::size_t kDirectorySize = 6;
    constexpr std::size_t kEntrySize = 16;
    if (!bytes || size < kDirectorySize + kEntrySize)
        return 0;
    std::uint32_t type = read_u16(bytes + 2);
    std::uint32_t count = read_u16(bytes + 4);
    if (read_u16(bytes) != 0 || (type != 1 && type != 2) || count == 0)
        return 0;
    const std::uint8_t* entry = bytes + kDirectorySize;
    std::uint32_t image_size = read_u32(entry + 8);
    std::uint32_t offset = read_u32(entry + 12);
    if (image_size == 0 || offset > size || image_size > size - offset)
        return 0;
    int width = entry[0] ? entry[0] : 256;
    int height = entry[1] ? entry[1] : 256;
    // An icon's hot spot is its centre.
    std::uint32_t hot_x = type == 2 ? read_u16(entry + 4) : static_cast<std::uint32_t>(width / 2);
    std::uint32_t hot_y = type == 2 ? read_u16(entry + 6) : static_cast<std::uint32_t>(height / 2);
    // The system takes a cursor image as a resource holds it: the hot spot, then the image.
    std::vector<std::uint8_t> resource(4 + image_size);
    resource[0] = static_cast<std::uint8_t>(hot_x);
    resource[1] = static_cast<std::uint8_t>(hot_x >> 8);
    resource[2] = static_cast<std::uint8_t>(hot_y);
    resource[3] = static_cast<std::uint8_t>(hot_y >> 8);
    std::copy(bytes + offset, bytes + offset + image_size, resource.begin() + 4);
    HICON made = CreateIconFromResourceEx(resource.data(), static_cast<DWORD>(resource.size()), FALSE, 0x00030000, 0, 0,
                                          LR_DEFAULTCOLOR);
    if (!made)
        return 0;
    CursorHandle handle = g_next_cursor++;
    cursors()[handle] = CursorRecord{made, false};
    return handle;
}

void destroy_cursor(CursorHandle cursor)
{
    auto found = cursors().find(cursor);
    if (found == cursors().end() || found->second.stock)
        return;
    DestroyCursor(found->second.cursor);
    cursors().erase(found);
}

bool is_cursor(CursorHandle cursor)
{
    return cursors().count(cursor) != 0;
}

HCURSOR native_cursor(CursorHandle cursor)
{
    auto found = cursors().find(cursor);
    return found == cursors().end() ? nullptr : found->second.cursor;
}

void set_window_cursor(WindowHandle window, CursorHandle cursor)
{
    HWND hwnd = native_window_handle(window);
    if (!hwnd)
        return;
    if (cursor)
        window_cursors()[window] = cursor;
    else
        window_cursors().erase(window);
    // The window's WM_SETCURSOR shows it from now on; when the pointer is over the window (or one
    // of its parts) the system is asked as a move of the pointer would ask it, so that the cursor
    // shows at once and a cursor taken away gives way to the one the system shows there.
    POINT pointer{};
    if (!GetCursorPos(&pointer))
        return;
    HWND under = WindowFromPoint(pointer);
    if (!under || (under != hwnd && !IsChild(hwnd, under)))
        return;
    LRESULT hit = SendMessageW(under, WM_NCHITTEST, 0, MAKELPARAM(pointer.x, pointer.y));
    SendMessageW(under, WM_SETCURSOR, reinterpret_cast<WPARAM>(under), MAKELPARAM(hit, WM_MOUSEMOVE));
}

CursorHandle window_cursor(WindowHandle window)
{
    auto found = window_cursors().find(window);
    return found == window_cursors().end() ? 0 : found->second;
}

}  // namespace platform
