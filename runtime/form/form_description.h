#pragma once
// The stored window descriptions: a window list (identifiers, then as many placeholder dwords),
// then one window unit per identifier. Reading checks every record completely, so that no later
// walk through a record can run off it; relocation then turns the stored handler offsets into the
// application's handlers.

#include "runtime/form/unit_table.h"

#include <span>
#include <string>
#include <vector>

namespace runtime::form {

struct WindowUnit {
    WindowId id = 0;
    // The dword stored after the identifiers; meaningless, kept so that the list writes back as read.
    std::uint32_t placeholder = 0;
    // Opaque values and texts of the window unit, read and written back unchanged.
    std::uint32_t value_a = 0;
    std::uint32_t value_b = 0;
    std::string text_a;
    std::string text_b;
    UnitTable units;
};

struct FormDescription {
    std::vector<WindowUnit> windows;
    // Bytes after the last window unit, kept for writing back.
    std::vector<std::uint8_t> trailing;
};

// Reads without relocating; an empty block is a description without windows.
Result<FormDescription> read_form_description(std::span<const std::uint8_t> block);
std::vector<std::uint8_t> write_form_description(const FormDescription& description);

// Every event table and menu-item handler of every window, through the application's table.
FormError relocate_handlers(FormDescription& description, const HandlerTable& table);

// The window unit of `id`; an invalid or unknown identifier finds nothing.
const WindowUnit* find_window_unit(const FormDescription& description, WindowId id);
WindowUnit* find_window_unit(FormDescription& description, WindowId id);

}  // namespace runtime::form
