#include "runtime/components/mouse_pointer.h"

#include "platform/cursors.h"

#include <array>
#include <cstring>

namespace runtime::components {
namespace {

// Index → system cursor id. 0 is the class's own cursor; 14, the hand, is the platform's pointing
// hand rather than a cursor of the system's.
constexpr std::array<std::int32_t, 15> kStockCursorIds = {
    0,
    platform::StockCursor::Arrow,
    platform::StockCursor::Cross,
    platform::StockCursor::TextBeam,
    platform::StockCursor::Wait,
    platform::StockCursor::Help,
    platform::StockCursor::AppStarting,
    platform::StockCursor::No,
    platform::StockCursor::SizeAll,
    platform::StockCursor::SizeNorthEastSouthWest,
    platform::StockCursor::SizeNorthSouth,
    platform::StockCursor::SizeNorthWestSouthEast,
    platform::StockCursor::SizeWestEast,
    platform::StockCursor::UpArrow,
    platform::StockCursor::Hand,
};

std::int32_t leading_word(std::span<const std::uint8_t> data)
{
    std::int32_t value = 0;
    std::memcpy(&value, data.data(), sizeof value);
    return value;
}

std::vector<std::uint8_t> with_leading_word(std::span<const std::uint8_t> data, std::int32_t (*translate)(std::int32_t))
{
    std::vector<std::uint8_t> copy(data.begin(), data.end());
    if (copy.size() >= 4) {
        std::int32_t value = translate(leading_word(data));
        std::memcpy(copy.data(), &value, sizeof value);
    }
    return copy;
}

}  // namespace

std::int32_t cursor_id_from_index(std::int32_t index)
{
    if (index >= 0 && index < static_cast<std::int32_t>(kStockCursorIds.size()))
        return kStockCursorIds[static_cast<std::size_t>(index)];
    return index;
}

std::int32_t index_from_cursor_id(std::int32_t id)
{
    if (id == 0)
        return 0;
    for (std::size_t index = 1; index < kStockCursorIds.size(); ++index) {
        if (kStockCursorIds[index] == id)
            return static_cast<std::int32_t>(index);
    }
    return id;
}

std::vector<std::uint8_t> pointer_with_cursor_id(std::span<const std::uint8_t> data)
{
    return with_leading_word(data, cursor_id_from_index);
}

std::vector<std::uint8_t> pointer_with_index(std::span<const std::uint8_t> data)
{
    return with_leading_word(data, index_from_cursor_id);
}

platform::CursorHandle make_cursor(std::span<const std::uint8_t> data)
{
    if (data.empty())
        return 0;
    std::int32_t index = data.size() < 4 ? data[0] : leading_word(data);
    if (index == 0)
        return 0;
    // Data that is a whole cursor file (without a leading index) is tried first.
    if (data.size() > 10 && index != kCursorFileFollows) {
        if (platform::CursorHandle cursor = platform::cursor_from_file_bytes(data.data(), data.size()))
            return cursor;
    }
    if (index == kCursorFileFollows) {
        if (data.size() <= 4)
            return 0;
        return platform::cursor_from_file_bytes(data.data() + 4, data.size() - 4);
    }
    // Stored data may hold the index or, once written, the system id itself.
    return platform::load_stock_cursor(cursor_id_from_index(index));
}

}  // namespace runtime::components
