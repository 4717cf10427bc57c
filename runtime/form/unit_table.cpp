#include "runtime/form/unit_table.h"

#include "runtime/form/byte_reader.h"
#include "runtime/form/byte_writer.h"

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
    ByteReader area(body.subspan(*records_start), FormError::RecordPastBody);

    UnitTable table;
    table.m_records.reserve(count);
    for (std::uint32_t i = 0; i < count; ++i) {
        auto id = static_cast<ControlId>(ids.dword());
        std::uint32_t offset = offsets.dword();
        if (offset != area.position())
            return FormError::RecordOffset;
        auto bytes = area.counted_bytes();
        if (area.failed())
            return area.error();
        auto record = UnitRecord::parse(id, {bytes.begin(), bytes.end()});
        if (!record)
            return record.error();
        table.m_records.push_back(std::move(record).value());
    }
    auto rest = area.bytes(area.remaining());
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
