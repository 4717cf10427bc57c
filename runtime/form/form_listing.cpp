#include "runtime/form/form_listing.h"

#include "platform/text_encoding.h"
#include "runtime/form/property_blocks.h"

#include <cstdio>
#include <cstring>
#include <sstream>

namespace runtime::form {

namespace {

std::string hex(std::uint32_t value, int digits = 8)
{
    char text[16];
    std::snprintf(text, sizeof text, "0x%0*X", digits, value);
    return text;
}

std::string quoted(std::string_view gbk)
{
    std::string text(1, '"');
    text += platform::utf8_from_gbk(gbk);
    text += '"';
    return text;
}

// Columns of CJK text take two cells on a terminal.
std::size_t display_width(std::string_view utf8)
{
    std::size_t width = 0;
    for (std::size_t i = 0; i < utf8.size();) {
        auto lead = static_cast<unsigned char>(utf8[i]);
        std::size_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
        width += length >= 3 ? 2 : 1;
        i += length;
    }
    return width;
}

std::string padded(std::string text, std::size_t width)
{
    std::size_t used = display_width(text);
    if (used < width)
        text.append(width - used, ' ');
    return text;
}

std::string first_bytes(std::span<const std::uint8_t> bytes, std::size_t count = 8)
{
    std::ostringstream out;
    out << bytes.size() << " bytes";
    if (!bytes.empty())
        out << ":";
    for (std::size_t i = 0; i < bytes.size() && i < count; ++i) {
        char text[4];
        std::snprintf(text, sizeof text, " %02x", bytes[i]);
        out << text;
    }
    if (bytes.size() > count)
        out << " ...";
    return out.str();
}

std::string describe_font(const Font& font)
{
    if (!font)
        return "none (default GUI font)";
    std::string_view face(font->face_name, strnlen(font->face_name, sizeof font->face_name));
    std::ostringstream out;
    out << "face " << quoted(face) << ", height " << font->height << ", width " << font->width << ", escapement "
        << font->escapement << ", orientation " << font->orientation << ", weight " << font->weight << ", italic "
        << int(font->italic) << ", underline " << int(font->underline) << ", strike-out " << int(font->strike_out)
        << ", char set " << int(font->char_set) << ", out precision " << int(font->out_precision) << ", clip precision "
        << int(font->clip_precision) << ", quality " << int(font->quality) << ", pitch and family "
        << int(font->pitch_and_family);
    return out.str();
}

std::string describe_flags(std::uint32_t flags)
{
    std::string text;
    auto add = [&](std::string_view word) {
        if (!text.empty())
            text += ',';
        text.append(word);
    };
    if (flags & StateFlag::Visible)
        add("visible");
    if (flags & StateFlag::Disabled)
        add("disabled");
    if (flags & StateFlag::TabStop)
        add("tab");
    if (flags & ~(StateFlag::Visible | StateFlag::Disabled | StateFlag::TabStop))
        add(hex(flags));
    return text.empty() ? "none" : text;
}

std::string describe_events(const UnitRecord& record)
{
    if (record.events().empty())
        return "none";
    std::ostringstream out;
    bool first = true;
    for (const auto& entry : record.events()) {
        out << (first ? "" : ", ") << entry.number << " -> "
            << (entry.offset == kNoHandlerOffset ? std::string("none") : hex(entry.offset, 4));
        first = false;
    }
    return out.str();
}

// Prints each field of a block that has been read, marking those its version does not store.
class BlockPrinter {
public:
    BlockPrinter(std::ostringstream& out, std::uint32_t version)
        : m_out(out)
        , m_version(version)
    {
    }

    void present_from(std::uint32_t version) { m_absent = m_version < version; }
    void dword(const char* name, int index, std::uint32_t value)
    {
        line(name, index, std::to_string(value) + (value > 9 ? " (" + hex(value) + ")" : ""));
    }
    void signed_dword(const char* name, int index, std::int32_t value) { line(name, index, std::to_string(value)); }
    void word(const char* name, int index, std::uint16_t value) { line(name, index, hex(value, 4)); }
    void font(const char* name, int index, const Font& value) { line(name, index, describe_font(value)); }
    void bytes(const char* name, int index, const Bytes& value) { line(name, index, first_bytes(value)); }
    void text(const char* name, int index, const std::string& value) { line(name, index, quoted(value)); }
    void text_list(const char* name, int index, const std::vector<std::string>& value)
    {
        line(name, index, std::to_string(value.size()) + " texts");
        for (std::size_t i = 0; i < value.size(); ++i)
            m_out << "        " << i << ": " << quoted(value[i]) << "\n";
    }

private:
    void line(const char* name, int index, const std::string& value)
    {
        m_out << "    " << padded(std::string(name) + " (" + std::to_string(index) + ")", 28) << value;
        if (m_absent)
            m_out << "  [not stored in this version]";
        m_out << "\n";
    }

    std::ostringstream& m_out;
    std::uint32_t m_version;
    bool m_absent = false;
};

void list_block(std::ostringstream& out, KindId kind, std::span<const std::uint8_t> block)
{
    bool known = visit_block_type(kind, [&](auto type) {
        using Block = typename decltype(type)::type;
        auto result = read_property_block<Block>(block);
        if (!result) {
            out << "    unreadable block (" << describe(result.error()) << "), " << first_bytes(block) << "\n";
            return;
        }
        std::uint32_t version = ByteReader(block).dword();
        out << "    version " << version << "\n";
        BlockPrinter printer(out, version);
        Block::stream_fields(printer, *result);
    });
    if (!known)
        out << "    block of an unknown kind, " << first_bytes(block) << "\n";
}

std::string kind_label(KindId kind)
{
    const char* name = kind_english_name(kind);
    return name ? name : hex(static_cast<std::uint32_t>(kind));
}

}  // namespace

std::string list_property_block(KindId kind, std::span<const std::uint8_t> block)
{
    std::ostringstream out;
    list_block(out, kind, block);
    return out.str();
}

std::string list_form_description(const FormDescription& description)
{
    std::ostringstream out;
    out << description.windows.size() << " window(s)\n";
    for (const auto& window : description.windows) {
        const UnitTable& units = window.units;
        out << "\nwindow " << hex(static_cast<std::uint32_t>(window.id)) << ": value A " << hex(window.value_a)
            << ", value B " << hex(window.value_b) << ", texts " << quoted(window.text_a) << " "
            << quoted(window.text_b) << ", " << units.size() << " units\n\n";
        out << "entry  unit id     kind        " << padded("name", 18)
            << "parent      left   top width height  flags                event table\n";
        for (std::size_t i = 0; i < units.size(); ++i) {
            const UnitRecord& record = units.record(i);
            char number[24];
            std::snprintf(number, sizeof number, "%5zu", i);
            out << number << "  " << hex(static_cast<std::uint32_t>(record.id())) << "  "
                << padded(kind_label(record.kind()), 12) << padded(quoted(record.name()), 18);
            if (record.is_menu_item()) {
                out << "menu item: flags " << hex(record.menu_flags()) << ", caption " << quoted(record.menu_caption())
                    << ", handler " << hex(record.menu_handler_offset(), 4) << "\n";
                continue;
            }
            char rect[32];
            std::snprintf(rect, sizeof rect, "%5d %5d %5d %5d", record.left(), record.top(), record.width(),
                          record.height());
            out << padded(record.parent() ? hex(static_cast<std::uint32_t>(record.parent())) : "-", 10) << rect << "  "
                << padded(describe_flags(record.state_flags()), 21) << describe_events(record) << "\n";
        }
        for (std::size_t i = 0; i < units.size(); ++i) {
            const UnitRecord& record = units.record(i);
            if (record.is_menu_item())
                continue;
            out << "\nentry " << i << " " << hex(static_cast<std::uint32_t>(record.id())) << " "
                << kind_label(record.kind()) << " " << quoted(record.name()) << "\n";
            out << "    event link " << hex(static_cast<std::uint32_t>(record.event_link())) << ", tab order "
                << record.tab_order() << ", tag " << quoted(record.tag()) << ", mouse pointer "
                << first_bytes(record.mouse_pointer()) << "\n";
            if (record.child_count() != 0) {
                out << "    children (" << record.child_count() << "):";
                for (ControlId child : record.children())
                    out << " " << hex(static_cast<std::uint32_t>(child));
                out << "\n";
            }
            list_block(out, record.kind(), record.property_block());
        }
    }
    return out.str();
}

}  // namespace runtime::form
