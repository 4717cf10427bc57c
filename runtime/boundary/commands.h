#pragma once
// The runtime commands the application calls through the call-command entry.

#include "runtime/boundary/entry_table.h"

namespace runtime::commands {

void common_dialog_open(TypedValue* result, int count, const TypedValue* arguments);
void read_file(TypedValue* result, int count, const TypedValue* arguments);
void write_file(TypedValue* result, int count, const TypedValue* arguments);
void window_handle(TypedValue* result, int count, const TypedValue* arguments);
void window_snapshot(TypedValue* result, int count, const TypedValue* arguments);

}  // namespace runtime::commands
