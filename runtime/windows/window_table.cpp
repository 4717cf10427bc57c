#include "runtime/windows/window_table.h"

#include "runtime/form/identifiers.h"

#include <utility>

namespace runtime {

void WindowTable::fill(form::FormDescription description)
{
    m_windows.clear();
    for (auto& unit : description.windows)
        m_windows.push_back(WindowEntry{std::move(unit), {}});
    set_report_lookup(this);
}

void WindowTable::clear()
{
    m_windows.clear();
}

const WindowEntry* WindowTable::find(WindowId id) const
{
    if (!form::is_valid_identifier(id))
        return nullptr;
    for (const auto& entry : m_windows) {
        if (entry.unit.id == id)
            return &entry;
    }
    return nullptr;
}

WindowEntry* WindowTable::find(WindowId id)
{
    return const_cast<WindowEntry*>(std::as_const(*this).find(id));
}

form::UnitRecord* WindowTable::find_unit_record(WindowId window, ControlId control)
{
    WindowEntry* entry = find(window);
    return entry ? entry->unit.units.find(control) : nullptr;
}

std::optional<std::string> WindowTable::window_tag(WindowId window) const
{
    const WindowEntry* entry = find(window);
    if (!entry || entry->unit.units.empty())
        return std::nullopt;
    return std::string(entry->unit.units.record(0).tag());
}

std::optional<ReportLookup::Unit> WindowTable::find_unit(WindowId window, ControlId control) const
{
    const WindowEntry* entry = find(window);
    if (!entry)
        return std::nullopt;
    const form::UnitRecord* record = entry->unit.units.find(control);
    if (!record)
        return std::nullopt;
    return Unit{record->is_menu_item(), std::string(record->tag())};
}

WindowTable& window_table()
{
    static WindowTable table;
    return table;
}

}  // namespace runtime
