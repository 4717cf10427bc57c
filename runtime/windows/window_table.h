#pragma once
// The window table: every stored window of the program by window identifier, read once at
// initialisation. The stored records of a window's units become its live state while it is loaded;
// the pristine copy keeps the description as stored meanwhile, so that the window can be loaded
// again after it is closed.
//
// The table also answers the error report's questions (the tag of a window, a unit by control
// identifier) and installs itself for that when it is filled.

#include "runtime/diagnostics/error_report.h"
#include "runtime/form/form_description.h"

#include <deque>

namespace runtime {

struct WindowEntry {
    form::WindowUnit unit;
    // Filled by window loading while the window is on screen (empty otherwise).
    form::UnitTable pristine;
};

class WindowTable final : public ReportLookup {
public:
    // Replaces the content with the windows of `description` (already relocated) and installs the
    // table as the error report's lookup.
    void fill(form::FormDescription description);
    void clear();

    // An invalid or unknown identifier finds nothing.
    WindowEntry* find(WindowId id);
    const WindowEntry* find(WindowId id) const;
    // The record of unit `control` of window `window` (0: the window's own unit), or nothing.
    form::UnitRecord* find_unit_record(WindowId window, ControlId control);

    std::size_t size() const { return m_windows.size(); }
    bool empty() const { return m_windows.empty(); }
    // Entries keep their addresses for the table's life.
    std::deque<WindowEntry>& entries() { return m_windows; }
    const std::deque<WindowEntry>& entries() const { return m_windows; }

    std::optional<std::string> window_tag(WindowId window) const override;
    std::optional<Unit> find_unit(WindowId window, ControlId control) const override;

private:
    std::deque<WindowEntry> m_windows;
};

// The process's window table.
WindowTable& window_table();

}  // namespace runtime
