#pragma once
// The certificate maker's event handlers. None keeps state between calls.

#include "runtime/boundary/entry_table.h"

namespace app {

using runtime::HandlerResult;

// Main window.
HandlerResult on_creation_complete(const std::int32_t* arguments, int count);
HandlerResult on_tray_icon(const std::int32_t* arguments, int count);

// Kind selector: item selected.
HandlerResult on_kind_selected(const std::int32_t* arguments, int count);

// Edit boxes: content changed.
HandlerResult on_name_changed(const std::int32_t* arguments, int count);
HandlerResult on_sex_changed(const std::int32_t* arguments, int count);
HandlerResult on_date_changed(const std::int32_t* arguments, int count);
HandlerResult on_age_changed(const std::int32_t* arguments, int count);
HandlerResult on_number_changed(const std::int32_t* arguments, int count);

// Photo box: left button pressed; font and save buttons: clicked.
HandlerResult on_photo_pressed(const std::int32_t* arguments, int count);
HandlerResult on_font_clicked(const std::int32_t* arguments, int count);
HandlerResult on_save_clicked(const std::int32_t* arguments, int count);

// The caption refresh: the date step, then the number step.
void refresh_captions();

// The handler table the stored window's handler offsets are looked up in.
const runtime::HandlerTable& handler_table();

}  // namespace app
