#include "runtime/form/unit_record.h"

#include "runtime/form/byte_reader.h"
#include "runtime/form/byte_writer.h"

#include <cstring>

namespace runtime::form {

namespace {

// Kind, event link and 16 reserved bytes come before the name.
constexpr std::size_t kNameOffset = 24;
// Object slot, left, top, width, height, cursor slot, parent.
constexpr std::size_t kSlotsToChildCount = 28;
// Reserved dword, state flags, tab order.
constexpr std::size_t kTagToEventCount = 12;
constexpr std::size_t kEventTableTrailer = 20;
constexpr std::size_t kMenuUnreadBytes = 8;

void write_head(ByteWriter& out, KindId kind, ControlId event_link, std::string_view name, std::string_view second_text)
{
    out.dword(static_cast<std::uint32_t>(kind));
    out.dword(static_cast<std::uint32_t>(event_link));
    out.zeros(16);
    out.zero_terminated_text(name);
    out.zero_terminated_text(second_text);
}

}  // namespace

std::vector<std::uint8_t> write_unit_record(const UnitFields& fields)
{
    ByteWriter out;
    write_head(out, fields.kind, fields.event_link, fields.name, fields.second_text);
    out.dword(0);  // object slot
    out.signed_dword(fields.left);
    out.signed_dword(fields.top);
    out.signed_dword(fields.width);
    out.signed_dword(fields.height);
    out.dword(0);  // cursor slot
    out.dword(static_cast<std::uint32_t>(fields.parent));
    out.dword(static_cast<std::uint32_t>(fields.children.size()));
    for (ControlId child : fields.children)
        out.dword(static_cast<std::uint32_t>(child));
    out.counted_bytes(fields.mouse_pointer);
    out.zero_terminated_text(fields.tag);
    out.dword(0);
    out.dword(fields.state_flags);
    out.dword(fields.tab_order);
    out.dword(static_cast<std::uint32_t>(fields.events.size()));
    for (const auto& entry : fields.events) {
        out.signed_dword(entry.number);
        out.dword(entry.offset);
    }
    out.zeros(kEventTableTrailer);
    out.bytes(fields.property_block);
    return out.take();
}

std::vector<std::uint8_t> write_menu_item_record(const MenuItemFields& fields)
{
    ByteWriter out;
    write_head(out, Kind::MenuItem, fields.event_link, fields.name, fields.second_text);
    out.bytes(fields.unread);
    out.dword(fields.flags);
    out.zero_terminated_text(fields.caption);
    out.dword(fields.handler_offset);
    return out.take();
}

HandlerLookup find_handler(const HandlerTable& table, std::uint32_t offset)
{
    if (offset == kNoHandlerOffset)
        return {true, nullptr};
    for (std::size_t i = 0; i < table.count; ++i) {
        if (table.entries[i].offset == offset)
            return {true, table.entries[i].handler};
    }
    return {};
}

Result<UnitRecord> UnitRecord::parse(ControlId id, std::vector<std::uint8_t> bytes)
{
    UnitRecord record;
    record.m_id = id;
    record.m_menu_item = is_menu_item_id(id);
    record.m_bytes = std::move(bytes);
    if (FormError error = record.compute_layout(); error != FormError::None)
        return error;
    if (!record.m_menu_item) {
        ByteReader events(std::span(record.m_bytes).subspan(record.m_layout.event_count));
        std::uint32_t count = events.dword();
        record.m_events.resize(count);
        for (auto& entry : record.m_events) {
            entry.number = events.signed_dword();
            entry.offset = events.dword();
        }
    }
    return record;
}

FormError UnitRecord::compute_layout()
{
    Layout layout;
    ByteReader in(m_bytes, FormError::RecordOverrun);
    in.skip(kNameOffset);
    layout.name = in.position();
    in.skip_zero_terminated_text();
    layout.second_text = in.position();
    in.skip_zero_terminated_text();
    if (m_menu_item) {
        in.skip(kMenuUnreadBytes);
        layout.menu_flags = in.position();
        in.skip(4);
        layout.menu_caption = in.position();
        in.skip_zero_terminated_text();
        layout.menu_handler = in.position();
        in.skip(4);
    } else {
        layout.object_slot = in.position();
        in.skip(kSlotsToChildCount);
        layout.child_count = in.position();
        std::uint32_t children = in.dword();
        if (in.require_entries(children, 4))
            in.skip(children * std::size_t{4});
        layout.mouse_pointer = in.position();
        (void)in.counted_bytes();
        layout.tag = in.position();
        in.skip_zero_terminated_text();
        layout.state_flags = in.position() + 4;
        in.skip(kTagToEventCount);
        layout.event_count = in.position();
        std::uint32_t events = in.dword();
        if (in.require_entries(events, 8))
            in.skip(events * std::size_t{8});
        in.skip(kEventTableTrailer);
        layout.property_block = in.position();
    }
    if (in.failed())
        return in.error();
    m_layout = layout;
    return FormError::None;
}

std::uint32_t UnitRecord::dword_at(std::size_t position) const
{
    if (position + 4 > m_bytes.size())
        return 0;
    const std::uint8_t* p = m_bytes.data() + position;
    return std::uint32_t(p[0]) | (std::uint32_t(p[1]) << 8) | (std::uint32_t(p[2]) << 16) | (std::uint32_t(p[3]) << 24);
}

void UnitRecord::set_dword_at(std::size_t position, std::int32_t value)
{
    if (m_menu_item || position + 4 > m_bytes.size())
        return;
    auto bits = static_cast<std::uint32_t>(value);
    for (int i = 0; i < 4; ++i)
        m_bytes[position + i] = static_cast<std::uint8_t>(bits >> (8 * i));
}

void UnitRecord::set_flag(std::uint32_t flag, bool on)
{
    std::uint32_t flags = state_flags();
    set_state_flags(static_cast<std::int32_t>(on ? (flags | flag) : (flags & ~flag)));
}

std::string_view UnitRecord::text_at(std::size_t position) const
{
    // The layout guarantees a 0 byte after every text position it records.
    const char* start = reinterpret_cast<const char*>(m_bytes.data() + position);
    return {start, std::strlen(start)};
}

std::string_view UnitRecord::name() const
{
    return text_at(m_layout.name);
}
std::string_view UnitRecord::second_text() const
{
    return text_at(m_layout.second_text);
}

std::uint32_t UnitRecord::child_count() const
{
    return m_menu_item ? 0 : dword_at(m_layout.child_count);
}

ControlId UnitRecord::child(std::size_t index) const
{
    if (index >= child_count())
        return 0;
    return static_cast<ControlId>(dword_at(m_layout.child_count + 4 + 4 * index));
}

std::vector<ControlId> UnitRecord::children() const
{
    std::vector<ControlId> result(child_count());
    for (std::size_t i = 0; i < result.size(); ++i)
        result[i] = child(i);
    return result;
}

std::span<const std::uint8_t> UnitRecord::mouse_pointer() const
{
    if (m_menu_item)
        return {};
    return std::span(m_bytes).subspan(m_layout.mouse_pointer + 4, dword_at(m_layout.mouse_pointer));
}

std::string_view UnitRecord::tag() const
{
    return m_menu_item ? std::string_view{} : text_at(m_layout.tag);
}

std::string_view UnitRecord::menu_caption() const
{
    return m_menu_item ? text_at(m_layout.menu_caption) : std::string_view{};
}

std::uint32_t UnitRecord::menu_handler_offset() const
{
    return m_menu_item ? dword_at(m_layout.menu_handler) : kNoHandlerOffset;
}

std::span<const std::uint8_t> UnitRecord::property_block() const
{
    if (m_menu_item)
        return {};
    return std::span(m_bytes).subspan(m_layout.property_block);
}

void UnitRecord::replace_bytes(std::size_t position, std::size_t length, std::span<const std::uint8_t> replacement)
{
    std::vector<std::uint8_t> bytes;
    bytes.reserve(m_bytes.size() - length + replacement.size());
    bytes.insert(bytes.end(), m_bytes.begin(), m_bytes.begin() + static_cast<std::ptrdiff_t>(position));
    bytes.insert(bytes.end(), replacement.begin(), replacement.end());
    bytes.insert(bytes.end(), m_bytes.begin() + static_cast<std::ptrdiff_t>(position + length), m_bytes.end());
    m_bytes = std::move(bytes);
    // The record was valid and the replacement is a well-formed field, so the walk still succeeds.
    (void)compute_layout();
}

void UnitRecord::set_mouse_pointer(std::span<const std::uint8_t> data)
{
    if (m_menu_item)
        return;
    ByteWriter field;
    field.counted_bytes(data);
    replace_bytes(m_layout.mouse_pointer, 4 + mouse_pointer().size(), field.data());
}

void UnitRecord::set_tag(std::string_view tag)
{
    if (m_menu_item)
        return;
    ByteWriter field;
    field.zero_terminated_text(tag);
    replace_bytes(m_layout.tag, this->tag().size() + 1, field.data());
}

void UnitRecord::set_property_block(std::span<const std::uint8_t> block)
{
    if (m_menu_item)
        return;
    std::vector<std::uint8_t> copy(block.begin(), block.end());
    m_bytes.resize(m_layout.property_block);
    m_bytes.insert(m_bytes.end(), copy.begin(), copy.end());
}

EventHandler UnitRecord::handler_for(std::int32_t event) const
{
    for (const auto& entry : m_events) {
        if (entry.number == event)
            return entry.handler;
    }
    return nullptr;
}

bool UnitRecord::has_event(std::int32_t event) const
{
    for (const auto& entry : m_events) {
        if (entry.number == event)
            return true;
    }
    return false;
}

UnitFields UnitRecord::fields() const
{
    UnitFields fields;
    fields.kind = kind();
    fields.event_link = event_link();
    fields.name = name();
    fields.second_text = second_text();
    fields.left = left();
    fields.top = top();
    fields.width = width();
    fields.height = height();
    fields.parent = parent();
    fields.children = children();
    auto pointer = mouse_pointer();
    fields.mouse_pointer.assign(pointer.begin(), pointer.end());
    fields.tag = tag();
    fields.state_flags = state_flags();
    fields.tab_order = tab_order();
    fields.events = m_events;
    auto block = property_block();
    fields.property_block.assign(block.begin(), block.end());
    return fields;
}

FormError UnitRecord::relocate_handlers(const HandlerTable& table)
{
    if (m_menu_item) {
        HandlerLookup found = find_handler(table, menu_handler_offset());
        if (!found.ok)
            return FormError::UnknownHandlerOffset;
        m_menu_handler = found.handler;
        return FormError::None;
    }
    for (auto& entry : m_events) {
        HandlerLookup found = find_handler(table, entry.offset);
        if (!found.ok)
            return FormError::UnknownHandlerOffset;
        entry.handler = found.handler;
    }
    return FormError::None;
}

}  // namespace runtime::form
