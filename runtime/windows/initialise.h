#pragma once
// Runtime initialisation (runtime service 6): where the program lies, which thread is the user
// interface thread, and the stored window descriptions read into the window table.

#include "runtime/boundary/entry_table.h"
#include "runtime/form/form_error.h"

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <thread>

namespace runtime {

class WindowTable;

struct RuntimeEnvironment {
    std::string program_directory;  // without the final '/'; empty when the path had none
    std::string program_file_name;
    std::thread::id ui_thread;
    bool initialised = false;
};
const RuntimeEnvironment& runtime_environment();

// Splits an executable's path at its last '/' into directory and file name.
struct ProgramPath {
    std::string directory;
    std::string file_name;
};
ProgramPath split_program_path(std::string_view path);

// Reads the stored window descriptions after the program header has been adopted
// (program_state()), and prepares what the window system needs. An unreadable description is
// reported as a runtime error, which ends the program.
void initialise_runtime();

// The reading step alone, without reporting: reads `block`, relocates its handler offsets through
// `handlers` (null: a table that knows no offset) and, only when all of it succeeds, fills `table`.
form::FormError load_form_description(std::span<const std::uint8_t> block, const HandlerTable* handlers,
                                      WindowTable& table);

}  // namespace runtime
