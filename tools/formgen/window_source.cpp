#include "tools/formgen/window_source.h"

#include "app/handler_offsets.h"
#include "platform/text_encoding.h"
#include "runtime/form/property_blocks.h"
#include "tools/formgen/source_lines.h"

#include <cstring>
#include <map>
#include <optional>

namespace formgen {

namespace {

using namespace runtime::form;
namespace fs = std::filesystem;

std::uint32_t handler_offset(const SourceLine& line, const Token& token)
{
    namespace offset = app::handler_offset;
    static const std::map<std::string, std::uint32_t> handlers = {
        {"creation_complete", offset::CreationComplete},
        {"tray_icon", offset::TrayIcon},
        {"template_switch", offset::TemplateSwitch},
        {"name_mirroring", offset::NameMirroring},
        {"sex_mirroring", offset::SexMirroring},
        {"date_mirroring", offset::DateMirroring},
        {"age_mirroring", offset::AgeMirroring},
        {"number_mirroring", offset::NumberMirroring},
        {"photo_choice", offset::PhotoChoice},
        {"font_choice", offset::FontChoice},
        {"save", offset::Save},
        {"none", kNoHandlerOffset},
    };
    auto found = handlers.find(token.text);
    if (token.quoted || found == handlers.end())
        fail(line, "unknown handler '" + token.text + "'");
    return found->second;
}

runtime::KindId kind_by_name(const SourceLine& line, const Token& token)
{
    for (runtime::KindId kind :
         {runtime::Kind::Window, runtime::Kind::EditBox, runtime::Kind::PictureBox, runtime::Kind::GroupBox,
          runtime::Kind::Label, runtime::Kind::Button, runtime::Kind::ComboBox, runtime::Kind::CommonDialog,
          runtime::Kind::TransparentLabel}) {
        if (token.text == kind_english_name(kind))
            return kind;
    }
    fail(line, "unknown kind '" + token.text + "'");
}

void expect_values(const SourceLine& line, std::size_t count)
{
    if (line.tokens.size() != count + 1)
        fail(line, "'" + line.tokens[0].text + "' takes " + std::to_string(count) + " value(s)");
}

platform::LogFont parse_font(const SourceLine& line)
{
    platform::LogFont font;
    for (std::size_t i = 1; i < line.tokens.size(); ++i) {
        const std::string& pair = line.tokens[i].text;
        auto equals = pair.find('=');
        if (equals == std::string::npos)
            fail(line, "font values are KEY=VALUE, found '" + pair + "'");
        std::string key = pair.substr(0, equals);
        Token value{pair.substr(equals + 1), false};
        if (key == "face") {
            std::string face = platform::gbk_from_utf8(value.text);
            if (face.size() >= sizeof font.face_name)
                fail(line, "face name longer than 31 bytes");
            std::memcpy(font.face_name, face.data(), face.size());
            continue;
        }
        auto number = static_cast<std::int32_t>(parse_number(line, value));
        auto byte = static_cast<std::uint8_t>(number);
        if (key == "height")
            font.height = number;
        else if (key == "width")
            font.width = number;
        else if (key == "escapement")
            font.escapement = number;
        else if (key == "orientation")
            font.orientation = number;
        else if (key == "weight")
            font.weight = number;
        else if (key == "italic")
            font.italic = byte;
        else if (key == "underline")
            font.underline = byte;
        else if (key == "strike_out")
            font.strike_out = byte;
        else if (key == "char_set")
            font.char_set = byte;
        else if (key == "out_precision")
            font.out_precision = byte;
        else if (key == "clip_precision")
            font.clip_precision = byte;
        else if (key == "quality")
            font.quality = byte;
        else if (key == "pitch_and_family")
            font.pitch_and_family = byte;
        else
            fail(line, "unknown font key '" + key + "'");
    }
    return font;
}

// Walks a property block's fields and sets the one that the line names.
class FieldSetter {
public:
    FieldSetter(const SourceLine& line, const fs::path& pictures)
        : m_line(line)
        , m_pictures(pictures)
    {
    }

    bool found() const { return m_found; }

    void present_from(std::uint32_t) { }
    void dword(const char* name, int, std::uint32_t& value)
    {
        if (matches(name))
            value = number();
    }
    void signed_dword(const char* name, int, std::int32_t& value)
    {
        if (matches(name))
            value = static_cast<std::int32_t>(number());
    }
    void word(const char* name, int, std::uint16_t& value)
    {
        if (!matches(name))
            return;
        std::uint32_t n = number();
        if (n > 0xFFFF)
            fail(m_line, "not a 16-bit number");
        value = static_cast<std::uint16_t>(n);
    }
    void font(const char* name, int, Font& value)
    {
        if (!matches(name))
            return;
        if (m_line.tokens.size() == 2 && m_line.tokens[1].text == "none" && !m_line.tokens[1].quoted) {
            value.reset();
            return;
        }
        value = parse_font(m_line);
    }
    void bytes(const char* name, int, Bytes& value)
    {
        if (!matches(name))
            return;
        if (m_line.tokens.size() == 2 && m_line.tokens[1].text == "empty") {
            value.clear();
            return;
        }
        if (m_line.tokens.size() != 3 || m_line.tokens[1].text != "file")
            fail(m_line, "a byte field is `empty` or `file NAME`");
        value = read_file_bytes(m_pictures / m_line.tokens[2].text);
    }
    void text(const char* name, int, std::string& value)
    {
        if (!matches(name))
            return;
        expect_values(m_line, 1);
        value = parse_text(m_line, m_line.tokens[1]);
    }
    void text_list(const char* name, int, std::vector<std::string>& value)
    {
        if (!matches(name))
            return;
        expect_values(m_line, 1);
        value.push_back(parse_text(m_line, m_line.tokens[1]));
    }

private:
    bool matches(const char* name)
    {
        if (m_line.tokens[0].text != name)
            return false;
        m_found = true;
        return true;
    }
    std::uint32_t number()
    {
        expect_values(m_line, 1);
        return parse_number(m_line, m_line.tokens[1]);
    }

    const SourceLine& m_line;
    const fs::path& m_pictures;
    bool m_found = false;
};

struct PendingUnit {
    SourceLine start;
    runtime::ControlId id = 0;
    UnitFields fields;
    std::optional<std::uint32_t> version;
    std::vector<SourceLine> block_lines;
};

std::vector<std::uint8_t> build_property_block(const PendingUnit& unit, const fs::path& pictures)
{
    std::vector<std::uint8_t> bytes;
    visit_block_type(unit.fields.kind, [&](auto type) {
        using Block = typename decltype(type)::type;
        Block block;
        for (const auto& line : unit.block_lines) {
            FieldSetter setter(line, pictures);
            Block::stream_fields(setter, block);
            if (!setter.found())
                fail(line, "unknown statement or field '" + line.tokens[0].text + "'");
        }
        std::uint32_t version = unit.version.value_or(Block::kHighestVersion);
        if (version > Block::kHighestVersion)
            fail(unit.start, "version above the kind's highest");
        bytes = write_property_block(block, version);
    });
    return bytes;
}

bool read_unit_statement(PendingUnit& unit, const SourceLine& line)
{
    const std::string& keyword = line.tokens[0].text;
    auto value = [&](std::size_t i) { return parse_number(line, line.tokens.at(i)); };
    auto id_value = [&](std::size_t i) { return static_cast<runtime::ControlId>(value(i)); };
    UnitFields& fields = unit.fields;
    if (keyword == "parent") {
        expect_values(line, 1);
        fields.parent = id_value(1);
    } else if (keyword == "rect") {
        expect_values(line, 4);
        fields.left = static_cast<std::int32_t>(value(1));
        fields.top = static_cast<std::int32_t>(value(2));
        fields.width = static_cast<std::int32_t>(value(3));
        fields.height = static_cast<std::int32_t>(value(4));
    } else if (keyword == "flags") {
        fields.state_flags = 0;
        for (std::size_t i = 1; i < line.tokens.size(); ++i) {
            const std::string& flag = line.tokens[i].text;
            if (flag == "visible")
                fields.state_flags |= StateFlag::Visible;
            else if (flag == "disabled")
                fields.state_flags |= StateFlag::Disabled;
            else if (flag == "tab")
                fields.state_flags |= StateFlag::TabStop;
            else if (flag != "none")
                fail(line, "unknown flag '" + flag + "'");
        }
    } else if (keyword == "children") {
        for (std::size_t i = 1; i < line.tokens.size(); ++i)
            fields.children.push_back(id_value(i));
    } else if (keyword == "event") {
        expect_values(line, 2);
        fields.events.push_back({static_cast<std::int32_t>(value(1)), handler_offset(line, line.tokens[2]), nullptr});
    } else if (keyword == "tag") {
        expect_values(line, 1);
        fields.tag = parse_text(line, line.tokens[1]);
    } else if (keyword == "event_link") {
        expect_values(line, 1);
        fields.event_link = id_value(1);
    } else if (keyword == "tab_order") {
        expect_values(line, 1);
        fields.tab_order = value(1);
    } else if (keyword == "mouse_pointer") {
        expect_values(line, 1);
        std::uint32_t index = value(1);
        fields.mouse_pointer = {static_cast<std::uint8_t>(index), static_cast<std::uint8_t>(index >> 8),
                                static_cast<std::uint8_t>(index >> 16), static_cast<std::uint8_t>(index >> 24)};
    } else if (keyword == "version") {
        expect_values(line, 1);
        unit.version = value(1);
    } else {
        return false;
    }
    return true;
}

}  // namespace

FormDescription read_window_source(const fs::path& source, const fs::path& pictures)
{
    FormDescription description;
    std::optional<PendingUnit> unit;
    std::vector<UnitRecord> records;

    auto finish_unit = [&] {
        if (!unit)
            return;
        unit->fields.property_block = build_property_block(*unit, pictures);
        auto record = UnitRecord::parse(unit->id, write_unit_record(unit->fields));
        if (!record)
            fail(unit->start, std::string("unit does not read back: ") + describe(record.error()));
        records.push_back(std::move(record).value());
        unit.reset();
    };
    auto finish_window = [&] {
        finish_unit();
        if (description.windows.empty())
            return;
        description.windows.back().units = UnitTable(std::move(records));
        records.clear();
    };

    for (const auto& line : read_source_lines(source)) {
        const std::string& keyword = line.tokens[0].text;
        if (keyword == "window") {
            finish_window();
            expect_values(line, 1);
            WindowUnit window;
            window.id = static_cast<runtime::WindowId>(parse_number(line, line.tokens[1]));
            if (!is_valid_identifier(window.id))
                fail(line, "invalid window identifier");
            description.windows.push_back(std::move(window));
        } else if (description.windows.empty()) {
            fail(line, "a window must come first");
        } else if (keyword == "unit") {
            finish_unit();
            if (line.tokens.size() != 4)
                fail(line, "a unit is `unit ID KIND \"NAME\"`");
            unit.emplace();
            unit->start = line;
            unit->id = static_cast<runtime::ControlId>(parse_number(line, line.tokens[1]));
            if (!is_valid_identifier(unit->id))
                fail(line, "invalid unit identifier");
            unit->fields.kind = kind_by_name(line, line.tokens[2]);
            unit->fields.name = parse_text(line, line.tokens[3]);
        } else if (!unit) {
            WindowUnit& window = description.windows.back();
            expect_values(line, 1);
            if (keyword == "value_a")
                window.value_a = parse_number(line, line.tokens[1]);
            else if (keyword == "value_b")
                window.value_b = parse_number(line, line.tokens[1]);
            else if (keyword == "placeholder")
                window.placeholder = parse_number(line, line.tokens[1]);
            else if (keyword == "text_a")
                window.text_a = parse_text(line, line.tokens[1]);
            else if (keyword == "text_b")
                window.text_b = parse_text(line, line.tokens[1]);
            else
                fail(line, "unknown window statement '" + keyword + "'");
        } else if (!read_unit_statement(*unit, line)) {
            if (line.tokens.size() < 2)
                fail(line, "'" + keyword + "' needs a value");
            unit->block_lines.push_back(line);
        }
    }
    finish_window();
    return description;
}

}  // namespace formgen
