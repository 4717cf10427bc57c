#include "platform/qt/cursors_qt.h"

#include "platform/qt/native_window_qt.h"

#include <QImage>
#include <QPixmap>

#include <map>

namespace platform {
namespace {

struct CursorRecord {
    QCursor cursor;
    bool stock = false;
};

std::map<CursorHandle, CursorRecord>& cursors()
{
    static std::map<CursorHandle, CursorRecord> table;
    return table;
}

CursorHandle g_next_cursor = 0x100;

std::optional<Qt::CursorShape> stock_shape(int id)
{
    switch (id) {
    case StockCursor::Arrow:
        return Qt::ArrowCursor;
    case StockCursor::TextBeam:
        return Qt::IBeamCursor;
    case StockCursor::Wait:
        return Qt::WaitCursor;
    case StockCursor::Cross:
        return Qt::CrossCursor;
    case StockCursor::UpArrow:
        return Qt::UpArrowCursor;
    case StockCursor::SizeNorthWestSouthEast:
        return Qt::SizeFDiagCursor;
    case StockCursor::SizeNorthEastSouthWest:
        return Qt::SizeBDiagCursor;
    case StockCursor::SizeWestEast:
        return Qt::SizeHorCursor;
    case StockCursor::SizeNorthSouth:
        return Qt::SizeVerCursor;
    case StockCursor::SizeAll:
        return Qt::SizeAllCursor;
    case StockCursor::No:
        return Qt::ForbiddenCursor;
    case StockCursor::Hand:
        return Qt::PointingHandCursor;
    case StockCursor::AppStarting:
        return Qt::BusyCursor;
    case StockCursor::Help:
        return Qt::WhatsThisCursor;
    default:
        return std::nullopt;
    }
}

std::uint32_t read_u16(const std::uint8_t* bytes)
{
    return static_cast<std::uint32_t>(bytes[0]) | (static_cast<std::uint32_t>(bytes[1]) << 8);
}

}  // namespace

CursorHandle load_stock_cursor(int id)
{
    std::optional<Qt::CursorShape> shape = stock_shape(id);
    if (!shape)
        return 0;
    // Stock cursors keep their id as their handle.
    auto [entry, added] = cursors().try_emplace(id);
    if (added)
        entry->second = CursorRecord{QCursor(*shape), true};
    return id;
}

CursorHandle cursor_from_file_bytes(const std::uint8_t* bytes, std::size_t size)
{
    // Directory: reserved 0, type 2 (cursor) or 1 (icon), image count; then 16-byte entries with
    // the hot spot in the place of an icon's planes and bit count.
    constexpr std::size_t kDirectorySize = 6;
    constexpr std::size_t kEntrySize = 16;
    if (!bytes || size < kDirectorySize + kEntrySize)
        return 0;
    std::uint32_t type = read_u16(bytes + 2);
    std::uint32_t count = read_u16(bytes + 4);
    if (read_u16(bytes) != 0 || (type != 1 && type != 2) || count == 0)
        return 0;
    const std::uint8_t* entry = bytes + kDirectorySize;
    int hot_x = type == 2 ? static_cast<int>(read_u16(entry + 4)) : -1;
    int hot_y = type == 2 ? static_cast<int>(read_u16(entry + 6)) : -1;
    // Qt's icon reader reads both kinds when the type word says icon.
    QByteArray data(reinterpret_cast<const char*>(bytes), static_cast<qsizetype>(size));
    data[2] = 1;
    QImage image;
    if (!image.loadFromData(data, "ICO") || image.isNull())
        return 0;
    CursorHandle handle = g_next_cursor++;
    cursors()[handle] = CursorRecord{QCursor(QPixmap::fromImage(image), hot_x, hot_y), false};
    return handle;
}

void destroy_cursor(CursorHandle cursor)
{
    auto found = cursors().find(cursor);
    if (found != cursors().end() && !found->second.stock)
        cursors().erase(found);
}

bool is_cursor(CursorHandle cursor)
{
    return cursors().count(cursor) != 0;
}

std::optional<QCursor> qt_cursor(CursorHandle cursor)
{
    auto found = cursors().find(cursor);
    if (found == cursors().end())
        return std::nullopt;
    return found->second.cursor;
}

void set_window_cursor(WindowHandle window, CursorHandle cursor)
{
    std::shared_ptr<NativeWindow> native = find_window(window);
    if (!native || !native->outer)
        return;
    native->cursor = cursor;
    CursorHandle shown = cursor ? cursor : native->window_class->info.cursor;
    std::optional<QCursor> qt = qt_cursor(shown ? shown : load_stock_cursor(StockCursor::Arrow));
    if (qt)
        native->outer->setCursor(*qt);
    else
        native->outer->unsetCursor();
}

CursorHandle window_cursor(WindowHandle window)
{
    std::shared_ptr<NativeWindow> native = find_window(window);
    return native ? native->cursor : 0;
}

}  // namespace platform
