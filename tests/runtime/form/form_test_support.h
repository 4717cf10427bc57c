#pragma once
// Small stored windows built with the writer, for the form reader's tests.

#include "runtime/form/byte_writer.h"
#include "runtime/form/form_description.h"
#include "runtime/form/property_blocks.h"

#include <utility>
#include <vector>

namespace form_test {

using namespace runtime::form;

inline constexpr runtime::WindowId kWindow = 0x52010001;
inline constexpr runtime::ControlId kOwnUnit = 0x06010000;
inline constexpr runtime::ControlId kLabel = 0x16010010;
inline constexpr runtime::ControlId kGroup = 0x16010011;
inline constexpr runtime::ControlId kMenuItem = 0x26010012;

inline constexpr std::uint32_t kCreatedOffset = 0x0000;
inline constexpr std::uint32_t kClickOffset = 0x0040;
inline constexpr std::uint32_t kMenuOffset = 0x0080;

using StoredUnit = std::pair<runtime::ControlId, std::vector<std::uint8_t>>;

inline UnitFields window_fields()
{
    UnitFields fields;
    fields.kind = runtime::Kind::Window;
    fields.left = 50;
    fields.top = 60;
    fields.width = 300;
    fields.height = 200;
    fields.tag = "main";
    fields.events = {{0, kCreatedOffset, nullptr}, {9, kNoHandlerOffset, nullptr}};
    WindowBlock block;
    block.caption = "divo";
    fields.property_block = write_property_block(block);
    return fields;
}

inline UnitFields label_fields()
{
    UnitFields fields;
    fields.kind = runtime::Kind::Label;
    fields.name = "label";
    fields.left = -2;
    fields.top = 4;
    fields.width = 40;
    fields.height = 12;
    fields.parent = kGroup;
    fields.tag = "label tag";
    fields.state_flags = StateFlag::Visible | StateFlag::TabStop;
    fields.tab_order = 3;
    fields.events = {{-1, kClickOffset, nullptr}, {0, kClickOffset, nullptr}};
    fields.property_block = write_property_block(LabelBlock{});
    return fields;
}

inline UnitFields group_fields()
{
    UnitFields fields;
    fields.kind = runtime::Kind::GroupBox;
    fields.name = "group";
    fields.width = 100;
    fields.height = 80;
    fields.children = {kLabel};
    fields.mouse_pointer = {3};
    fields.property_block = write_property_block(GroupBoxBlock{});
    return fields;
}

inline MenuItemFields menu_fields()
{
    MenuItemFields fields;
    fields.name = "menu";
    fields.flags = MenuFlag::Hidden;
    fields.caption = "File";
    fields.handler_offset = kMenuOffset;
    return fields;
}

inline std::vector<StoredUnit> sample_units()
{
    return {{kOwnUnit, write_unit_record(window_fields())},
            {kLabel, write_unit_record(label_fields())},
            {kGroup, write_unit_record(group_fields())},
            {kMenuItem, write_menu_item_record(menu_fields())}};
}

// A whole stored block around the given units, written field by field (not through UnitTable), so
// that tests can store what the writer would never produce.
inline std::vector<std::uint8_t> stored_block(const std::vector<StoredUnit>& units, runtime::WindowId window = kWindow)
{
    ByteWriter body;
    for (const auto& unit : units)
        body.dword(static_cast<std::uint32_t>(unit.first));
    std::uint32_t offset = 0;
    for (const auto& unit : units) {
        body.dword(offset);
        offset += 4 + static_cast<std::uint32_t>(unit.second.size());
    }
    for (const auto& unit : units)
        body.counted_bytes(unit.second);

    ByteWriter out;
    out.dword(8);
    out.dword(static_cast<std::uint32_t>(window));
    out.dword(0xDEADBEEF);  // placeholder
    out.dword(0x00010379);
    out.dword(0x19010005);
    out.dword(0);
    out.dword(0);
    out.dword(static_cast<std::uint32_t>(units.size()));
    out.counted_bytes(body.data());
    return out.take();
}

inline runtime::HandlerResult created_handler(const std::int32_t*, int)
{
    return {};
}
inline runtime::HandlerResult click_handler(const std::int32_t*, int)
{
    return {true, 1};
}
inline runtime::HandlerResult menu_handler(const std::int32_t*, int)
{
    return {true, 2};
}

inline const runtime::HandlerTable& sample_handlers()
{
    static const runtime::HandlerEntry entries[] = {{kCreatedOffset, created_handler},
                                                    {kClickOffset, click_handler},
                                                    {kMenuOffset, menu_handler}};
    static const runtime::HandlerTable table{entries, 3};
    return table;
}

}  // namespace form_test
