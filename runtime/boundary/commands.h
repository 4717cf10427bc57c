#pragma once
// The runtime commands the application calls through the call-command entry.

#include "runtime/boundary/entry_table.h"

namespace runtime {

// Why a file could not be written.
enum class FileFailure : std::int32_t {
    None = 0,
    NoName,          // the file name is empty
    NoSuchFolder,    // a folder on the path does not exist
    NoPermission,    // the folder or the file may not be written by this user
    ReadOnly,        // the file system is mounted read-only
    IsFolder,        // the name is a folder's
    NotRegularFile,  // a pipe, a device, a socket
    Locked,          // another program holds the file
    DiskFull,        // no space left, or over the disk quota
    TooLarge,        // over the file size the system allows this process
    NameTooLong,
    WriteError,  // anything else (an I/O error)
};

enum class MessageIcon : std::int32_t { None = 0, Error = 1, Warning = 2, Information = 3 };

}  // namespace runtime

namespace runtime::commands {

void common_dialog_open(TypedValue* result, int count, const TypedValue* arguments);
void read_file(TypedValue* result, int count, const TypedValue* arguments);
void write_file(TypedValue* result, int count, const TypedValue* arguments);
// No arguments; an integer: the FileFailure of the last write file (None when it wrote the file).
void file_failure(TypedValue* result, int count, const TypedValue* arguments);
// Title (text), message (text), icon (integer, a MessageIcon); shows a modal message box with one
// OK button. The result is the integer 1 once the user has closed it.
void message_box(TypedValue* result, int count, const TypedValue* arguments);
// One text argument holding UTF-8; the result is a new text in the runtime's encoding.
void text_from_utf8(TypedValue* result, int count, const TypedValue* arguments);
void window_handle(TypedValue* result, int count, const TypedValue* arguments);
void window_snapshot(TypedValue* result, int count, const TypedValue* arguments);

}  // namespace runtime::commands
