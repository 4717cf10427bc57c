#include "app/handler_offsets.h"
#include "app/handlers.h"

#include <array>

namespace app {
namespace {

const std::array<runtime::HandlerEntry, 11> kEntries = {{
    {handler_offset::CreationComplete, on_creation_complete},
    {handler_offset::TrayIcon, on_tray_icon},
    {handler_offset::TemplateSwitch, on_kind_selected},
    {handler_offset::NameMirroring, on_name_changed},
    {handler_offset::SexMirroring, on_sex_changed},
    {handler_offset::DateMirroring, on_date_changed},
    {handler_offset::AgeMirroring, on_age_changed},
    {handler_offset::NumberMirroring, on_number_changed},
    {handler_offset::PhotoChoice, on_photo_pressed},
    {handler_offset::FontChoice, on_font_clicked},
    {handler_offset::Save, on_save_clicked},
}};

const runtime::HandlerTable kTable = {kEntries.data(), kEntries.size()};

}  // namespace

const runtime::HandlerTable& handler_table()
{
    return kTable;
}

}  // namespace app
