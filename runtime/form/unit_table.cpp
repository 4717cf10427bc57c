#include "runtime/form/unit_table.h"

#include "runtime/form/byte_reader.h"
#include "runtime/form/byte_writer.h"

#include <algorithm>

namespace runtime::form {

Result<UnitTable> UnitTable::parse(std::span<const std::uint8_t> body, std::uint32_t count)
{
    if (count == 0)
        return FormError::EmptyUnitTable;
    auto records_start = checked_multiply(count, 8);
    if (!records_start || *records_start > body.size())
        return FormError::UnitCountTooLarge;

    ByteReader ids(body.first(count * std::size_t{4}));
    ByteReader offsets(body.subspan(count * std::size_t{4}, count * std::size_t{4}));
    std::span<const std::uint8_t> area = body.subspan(*records_start);

    // A record is placed by its offset alone; records may lie in any order, but no two may share a
    // byte.
    struct Extent {
        std::size_t start;
        std::size_t end;
    };
    std::vector<Extent> extents;
    extents.reserve(count);

    UnitTable table;
    table.m_records.reserve(count);
    for (std::uint32_t i = 0; i < count; ++i) {
        auto id = static_cast<ControlId>(ids.dword());
        std::uint32_t offset = offsets.dword();
        if (offset > area.size())
            return FormError::RecordPastBody;
        ByteReader record_reader(area.subspan(offset), FormError::RecordPastBody);
        auto bytes = record_reader.counted_bytes();
        if (record_reader.failed())
            return record_reader.error();
        extents.push_back({offset, offset + record_reader.position()});
        auto record = UnitRecord::parse(id, {bytes.begin(), bytes.end()});
        if (!record)
            return record.error();
        table.m_records.push_back(std::move(record).value());
    }

    std::sort(extents.begin(), extents.end(), [](const Extent& a, const Extent& b) { return a.start < b.start; });
    for (std::size_t i = 1; i < extents.size(); ++i) {
        if (extents[i].start < extents[i - 1].end)
            return FormError::RecordOverlap;
    }
    // Whatever lies after the last record is kept; gaps between records are not.
    auto rest = area.subspan(extents.back().end);
    table.m_trailing.assign(rest.begin(), rest.end());
    return table;
}

std::vector<std::uint8_t> UnitTable::serialise() const
{
    ByteWriter out;
    for (const auto& record : m_records)
        out.dword(static_cast<std::uint32_t>(record.id()));
    std::uint32_t offset = 0;
    for (const auto& record : m_records) {
        out.dword(offset);
        offset += 4 + static_cast<std::uint32_t>(record.bytes().size());
    }
    for (const auto& record : m_records)
        out.counted_bytes(record.bytes());
    out.bytes(m_trailing);
    return out.take();
}

ControlId UnitTable::id_at(std::size_t index) const
{
    return index < m_records.size() ? m_records[index].id() : 0;
}

bool UnitTable::is_menu_item(std::size_t index) const
{
    return index < m_records.size() && m_records[index].is_menu_item();
}

bool UnitTable::has_menu_items() const
{
    for (const auto& record : m_records) {
        if (record.is_menu_item())
            return true;
    }
    return false;
}

std::optional<std::size_t> UnitTable::index_of(ControlId id) const
{
    if (m_records.empty())
        return std::nullopt;
    if (id == 0)
        return 0;
    if (!is_valid_identifier(id))
        return std::nullopt;
    for (std::size_t i = 0; i < m_records.size(); ++i) {
        if (m_records[i].id() == id)
            return i;
    }
    return std::nullopt;
}

UnitRecord* UnitTable::find(ControlId id)
{
    auto index = index_of(id);
    return index ? &m_records[*index] : nullptr;
}

const UnitRecord* UnitTable::find(ControlId id) const
{
    auto index = index_of(id);
    return index ? &m_records[*index] : nullptr;
}

FormError UnitTable::relocate_handlers(const HandlerTable& table)
{
    for (auto& record : m_records) {
        if (FormError error = record.relocate_handlers(table); error != FormError::None)
            return error;
    }
    return FormError::None;
}

}  // namespace runtime::form
