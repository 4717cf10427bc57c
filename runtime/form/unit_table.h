#pragma once
// A window's unit table: its own unit (entry 0) and its components, in stored order.
//
// Stored body, offsets from its first byte: U unit identifiers; at 4·U, U record offsets; at 8·U the
// record area, where each record (a dword length n and n bytes) lies at its offset. Records may lie
// in any order as long as no two overlap. A table writes its records back one after another in table
// order; bytes after the last record are kept, so a table stored that way writes back as it was
// read.

#include "runtime/form/unit_record.h"

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace runtime::form {

class UnitTable {
public:
    UnitTable() = default;
    explicit UnitTable(std::vector<UnitRecord> records)
        : m_records(std::move(records))
    {
    }

    static Result<UnitTable> parse(std::span<const std::uint8_t> body, std::uint32_t count);
    std::vector<std::uint8_t> serialise() const;

    std::size_t size() const { return m_records.size(); }
    bool empty() const { return m_records.empty(); }
    // The unit identifier at `index`, or 0 out of range.
    ControlId id_at(std::size_t index) const;
    bool is_menu_item(std::size_t index) const;
    bool has_menu_items() const;

    // The record of `id`: 0 names entry 0; an invalid or unknown identifier finds nothing.
    UnitRecord* find(ControlId id);
    const UnitRecord* find(ControlId id) const;
    std::optional<std::size_t> index_of(ControlId id) const;

    UnitRecord& record(std::size_t index) { return m_records.at(index); }
    const UnitRecord& record(std::size_t index) const { return m_records.at(index); }
    std::vector<UnitRecord>& records() { return m_records; }
    const std::vector<UnitRecord>& records() const { return m_records; }

    FormError relocate_handlers(const HandlerTable& table);

    // Copying is a plain copy; swapping exchanges the bodies and counts of two tables.
    void swap(UnitTable& other) noexcept
    {
        m_records.swap(other.m_records);
        m_trailing.swap(other.m_trailing);
    }

private:
    std::vector<UnitRecord> m_records;
    std::vector<std::uint8_t> m_trailing;
};

inline void swap(UnitTable& a, UnitTable& b) noexcept
{
    a.swap(b);
}

}  // namespace runtime::form
