#pragma once
// Program-end routines (runtime service 3) and the end of the program.

#include "runtime/boundary/entry_table.h"

namespace runtime {

// Appends `routine` unless it is already registered (or null).
void register_program_end_routine(ProgramEndRoutine routine);

// The end-of-program procedure: closes what is left (the window system's closer, when one is set),
// then calls every registered routine once, in order of registration, with its 0-based position.
// Runs once per process; later calls do nothing.
void run_end_of_program();

// Set by the window system: destroys the windows still open at the end of the program.
void set_end_of_program_closer(void (*closer)());

// Runs the end-of-program procedure and ends the process with `exit_code` (-1 exits as 255).
[[noreturn]] void end_program(int exit_code);

}  // namespace runtime
