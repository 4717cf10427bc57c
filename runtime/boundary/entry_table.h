#pragma once
// The runtime's public boundary: the thirteen-slot entry table handed to the application's start
// routine, the program header through which the runtime finds the application's code, constants and
// stored windows, and the shapes of commands and event handlers. The application includes this
// header (and values.h, commands.h) and nothing else of the runtime.

#include "runtime/boundary/values.h"

#include <string>
#include <vector>

namespace runtime {

// A command: fills the result, reads `count` consecutive argument values.
using CommandRoutine = void (*)(TypedValue* result, int count, const TypedValue* arguments);

// An event handler of the application. It receives the event's arguments in order and either
// returns nothing (present = false) or a 32-bit result.
struct HandlerResult {
    bool present = false;
    std::int32_t value = 0;
};
inline constexpr int kMaxEventArguments = 5;
using EventHandler = HandlerResult (*)(const std::int32_t* arguments, int count);

// The stored form description names handlers by byte offsets from a code base. The application
// lists each offset it uses with its handler; the program header's code base word points at this
// table, and relocation looks offsets up in it.
struct HandlerEntry {
    std::uint32_t offset;
    EventHandler handler;
};
struct HandlerTable {
    const HandlerEntry* entries;
    std::size_t count;
};

// A routine registered for program end (runtime service 3); it receives its 0-based position.
using ProgramEndRoutine = void (*)(int position);

// What runtime services 4 and 5 exchange through their second argument: a property of a component
// object held directly, named as for get and set property.
struct ObjectProperty {
    std::int32_t index = 0;
    std::int32_t member = -1;  // kWholeValue, or a font member
    Word low = 0;              // the value: filled by service 4, taken by service 5
    Word high = 0;
};
static_assert(!kThirtyTwoBitLayout || sizeof(ObjectProperty) == 16);

// Runtime service numbers (slot 13) and their arguments (a, b, c):
//   FindNextFile         pattern text, attribute mask, address of the caller's search-handle word;
//                        answers a new text (the caller releases it) or 0 when no name is left
//   CloseFileSearch      address of the caller's search-handle word
//   MakeArrayWritable    address of the caller's array pointer
//   RegisterProgramEnd   the routine
//   ReadObjectProperty   component object, address of an ObjectProperty; answers its low word too
//   WriteObjectProperty  component object, address of an ObjectProperty
//   Initialise           nothing
namespace Service {
inline constexpr int FindNextFile = 0;
inline constexpr int CloseFileSearch = 1;
inline constexpr int MakeArrayWritable = 2;
inline constexpr int RegisterProgramEnd = 3;
inline constexpr int ReadObjectProperty = 4;
inline constexpr int WriteObjectProperty = 5;
inline constexpr int Initialise = 6;
}  // namespace Service

struct EntryTable {
    void (*report_runtime_error)(std::int32_t code, Word window_detail, Word control_detail);  // never returns
    TypedValue (*call_dll_command)(int routine, int count, const TypedValue* arguments);
    TypedValue (*call_command_copy)(CommandRoutine routine, int count, const TypedValue* arguments);
    TypedValue (*call_command)(CommandRoutine routine, int count, const TypedValue* arguments);
    PropertyValue (*get_property)(WindowId window, ControlId control, std::int32_t index, std::int32_t member);
    void (*set_property)(WindowId window, ControlId control, std::int32_t index, std::int32_t member, Word low,
                         Word high);
    void* (*allocate)(std::size_t count);
    void* (*reallocate)(void* block, std::size_t count);
    void (*release)(void* block);
    void (*end_program)(int exit_code);  // never returns
    void (*run_message_loop)();
    void (*load_window)(WindowId window);
    Word (*runtime_service)(int number, Word a, Word b, Word c);
};
// Thirteen 32-bit slots, the runtime service last.
static_assert(!kThirtyTwoBitLayout ||
              (sizeof(EntryTable) == 52 && offsetof(EntryTable, get_property) == 16 &&
               offsetof(EntryTable, load_window) == 44 && offsetof(EntryTable, runtime_service) == 48));

// A component library the program uses: 1 the core library, 2 the extended user-interface library.
struct LibraryRecord {
    std::uint32_t number;
    const char* name;
};
static_assert(!kThirtyTwoBitLayout || sizeof(LibraryRecord) == 8);

// Thirteen words, read once by runtime initialisation.
struct ProgramHeader {
    Word format_version;      // 3
    Word reserved_kept;       // kept unchanged
    Word reserved_plus_one;   // kept increased by one
    Word code_base;           // address of the application's HandlerTable
    Word constant_pool;       // start of the constant pool
    Word constant_pool_size;  // bytes
    Word form_data;           // start of the stored window descriptions
    Word form_data_size;      // bytes; 0 = no windows
    Word library_count;
    Word libraries;          // address of library_count LibraryRecords
    Word dll_routine_count;  // 0 in this program
    Word dll_routines_first;
    Word dll_routines_second;
};
// Thirteen 32-bit words.
static_assert(!kThirtyTwoBitLayout || (sizeof(ProgramHeader) == 52 && offsetof(ProgramHeader, form_data) == 24 &&
                                       offsetof(ProgramHeader, dll_routines_second) == 48));

using StartRoutine = int (*)(const EntryTable& runtime);

// The program's own icon: one picture as PNG files of several sizes. Every window without stored
// icon data shows it; without one the desktop's generic icon is shown.
struct IconFile {
    const std::uint8_t* data;
    std::size_t size;
};
struct ProgramIcon {
    const IconFile* files = nullptr;
    std::size_t count = 0;
};

// The process's start-up: brings up the platform, hands the entry table to the start routine, then
// runs the end-of-program procedure. Returns the process exit code.
int run_program(int argc, char** argv, const ProgramHeader& header, StartRoutine start, ProgramIcon icon = {});
// The command line, the program's own name first, each argument as UTF-8 text whatever characters
// it holds (on Windows read from the system's wide command line, not from the narrow argv).
std::vector<std::string> program_arguments(int argc, char** argv);

}  // namespace runtime

namespace runtime {
// The table itself (the same one run_program hands to the start routine).
const EntryTable& entry_table();
}  // namespace runtime
