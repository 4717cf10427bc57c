#pragma once
// One stored unit of a window: the window's own unit, a component, or a menu item. The record is
// kept as its stored bytes, because those bytes become the unit's live state while the window is
// loaded: common properties written by the application go back into the record. Typed accessors
// read and write the fields in place; positions after the first variable-length field come from a
// layout computed once (and again after a write that changes a length).
//
// Stored layout of a unit (component or window), all little-endian, without padding:
//   kind, event link, 16 reserved bytes, name (zero-terminated), second text (zero-terminated),
//   object slot, left, top, width, height, cursor slot, parent, child count K, K child identifiers,
//   mouse-pointer data (counted bytes), tag (zero-terminated), reserved dword, state flags,
//   tab order, event count E, E pairs (event number, handler offset), 20 reserved bytes,
//   property block (the rest of the record).
// A menu item: kind, event link, 16 reserved bytes, name, second text, 8 unread bytes, item flags,
//   caption (zero-terminated), handler offset.

#include "runtime/boundary/entry_table.h"
#include "runtime/form/form_error.h"
#include "runtime/form/identifiers.h"

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace runtime::form {

struct EventEntry {
    std::int32_t number = 0;
    std::uint32_t offset = kNoHandlerOffset;  // as stored
    EventHandler handler = nullptr;           // set by relocation; null: no handler
};

// The fields of a component or window unit, for writing a record.
struct UnitFields {
    KindId kind = 0;
    ControlId event_link = 0;
    std::string name;         // GBK
    std::string second_text;  // GBK, empty in practice
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;
    ControlId parent = 0;
    std::vector<ControlId> children;
    std::vector<std::uint8_t> mouse_pointer{0, 0, 0, 0};  // index 0: the class's default cursor
    std::string tag;                                      // GBK
    std::uint32_t state_flags = StateFlag::Visible;
    std::uint32_t tab_order = 0;
    std::vector<EventEntry> events;  // number and offset are written
    std::vector<std::uint8_t> property_block;
};

// The fields of a menu-item unit, for writing a record.
struct MenuItemFields {
    ControlId event_link = 0;
    std::string name;
    std::string second_text;
    std::array<std::uint8_t, 8> unread{};
    std::uint32_t flags = 0;
    std::string caption;
    std::uint32_t handler_offset = kNoHandlerOffset;
};

std::vector<std::uint8_t> write_unit_record(const UnitFields& fields);
std::vector<std::uint8_t> write_menu_item_record(const MenuItemFields& fields);

// The handler that `offset` names in the application's table; nullptr for kNoHandlerOffset.
// Nothing (and ok = false) when the table does not know the offset.
struct HandlerLookup {
    bool ok = false;
    EventHandler handler = nullptr;
};
HandlerLookup find_handler(const HandlerTable& table, std::uint32_t offset);

class UnitRecord {
public:
    // Checks the whole record: the walk to the property block (or, for a menu item, to its handler
    // offset) stays inside the bytes, and every count fits. After that no accessor can run off.
    static Result<UnitRecord> parse(ControlId id, std::vector<std::uint8_t> bytes);

    ControlId id() const { return m_id; }
    bool is_menu_item() const { return m_menu_item; }
    std::span<const std::uint8_t> bytes() const { return m_bytes; }

    KindId kind() const { return static_cast<KindId>(dword_at(0)); }
    ControlId event_link() const { return static_cast<ControlId>(dword_at(4)); }
    std::string_view name() const;
    std::string_view second_text() const;

    // Components and the window's own unit. For a menu item these read 0 / empty and writes do nothing.
    std::int32_t left() const { return static_cast<std::int32_t>(slot(1)); }
    std::int32_t top() const { return static_cast<std::int32_t>(slot(2)); }
    std::int32_t width() const { return static_cast<std::int32_t>(slot(3)); }
    std::int32_t height() const { return static_cast<std::int32_t>(slot(4)); }
    void set_left(std::int32_t value) { set_dword_at(m_layout.object_slot + 4, value); }
    void set_top(std::int32_t value) { set_dword_at(m_layout.object_slot + 8, value); }
    void set_width(std::int32_t value) { set_dword_at(m_layout.object_slot + 12, value); }
    void set_height(std::int32_t value) { set_dword_at(m_layout.object_slot + 16, value); }
    // The stored object and cursor slots (0 in storage). Live pointers do not fit them on a 64-bit
    // host and go to object() and cursor() below.
    std::uint32_t stored_object_slot() const { return slot(0); }
    std::uint32_t stored_cursor_slot() const { return slot(5); }
    ControlId parent() const { return static_cast<ControlId>(slot(6)); }
    std::uint32_t child_count() const;
    ControlId child(std::size_t index) const;
    std::vector<ControlId> children() const;
    std::span<const std::uint8_t> mouse_pointer() const;
    void set_mouse_pointer(std::span<const std::uint8_t> data);
    std::string_view tag() const;
    void set_tag(std::string_view tag);  // GBK; cut at a 0 byte
    std::uint32_t state_flags() const { return m_menu_item ? 0 : dword_at(m_layout.state_flags); }
    void set_state_flags(std::uint32_t flags) { set_dword_at(m_layout.state_flags, flags); }
    bool visible() const { return state_flags() & StateFlag::Visible; }
    bool disabled() const { return state_flags() & StateFlag::Disabled; }
    bool tab_stop() const { return state_flags() & StateFlag::TabStop; }
    void set_visible(bool on) { set_flag(StateFlag::Visible, on); }
    void set_disabled(bool on) { set_flag(StateFlag::Disabled, on); }
    std::uint32_t tab_order() const { return m_menu_item ? 0 : dword_at(m_layout.state_flags + 4); }
    const std::vector<EventEntry>& events() const { return m_events; }
    // The handler of the first entry for `event`; null when there is none or it has no handler.
    EventHandler handler_for(std::int32_t event) const;
    bool has_event(std::int32_t event) const;
    std::size_t property_block_offset() const { return m_layout.property_block; }
    std::span<const std::uint8_t> property_block() const;
    void set_property_block(std::span<const std::uint8_t> block);
    UnitFields fields() const;

    // Menu items.
    std::uint32_t menu_flags() const { return m_menu_item ? dword_at(m_layout.menu_flags) : 0; }
    std::string_view menu_caption() const;
    std::uint32_t menu_handler_offset() const;
    EventHandler menu_handler() const { return m_menu_handler; }

    // Turns every stored handler offset into the application's handler.
    FormError relocate_handlers(const HandlerTable& table);

    // Live slots, not part of the stored bytes: the unit's component object (the window object for
    // entry 0) and the cursor made from its mouse-pointer data. Empty in storage.
    void* object() const { return m_object; }
    void set_object(void* object) { m_object = object; }
    std::uintptr_t cursor() const { return m_cursor; }
    void set_cursor(std::uintptr_t cursor) { m_cursor = cursor; }

private:
    struct Layout {
        std::size_t name = 24;
        std::size_t second_text = 0;
        std::size_t object_slot = 0;  // object slot; left..parent follow
        std::size_t child_count = 0;
        std::size_t mouse_pointer = 0;  // its count
        std::size_t tag = 0;
        std::size_t state_flags = 0;  // tab order follows
        std::size_t event_count = 0;
        std::size_t property_block = 0;
        std::size_t menu_flags = 0;
        std::size_t menu_caption = 0;
        std::size_t menu_handler = 0;
    };

    FormError compute_layout();
    std::uint32_t dword_at(std::size_t position) const;
    // The n-th dword from the object slot on (object slot, left, top, width, height, cursor, parent).
    std::uint32_t slot(std::size_t n) const { return m_menu_item ? 0 : dword_at(m_layout.object_slot + 4 * n); }
    void set_dword_at(std::size_t position, std::int32_t value);
    void set_flag(std::uint32_t flag, bool on);
    std::string_view text_at(std::size_t position) const;
    void replace_bytes(std::size_t position, std::size_t length, std::span<const std::uint8_t> replacement);

    ControlId m_id = 0;
    bool m_menu_item = false;
    std::vector<std::uint8_t> m_bytes;
    Layout m_layout;
    std::vector<EventEntry> m_events;
    EventHandler m_menu_handler = nullptr;
    void* m_object = nullptr;
    std::uintptr_t m_cursor = 0;
};

}  // namespace runtime::form
