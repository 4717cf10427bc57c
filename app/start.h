#pragma once
// The program's start: the start routine, the program header and the two empty program routines.

#include "runtime/boundary/entry_table.h"

namespace app {

int start_routine(const runtime::EntryTable& runtime);
const runtime::ProgramHeader& program_header();
// The program's own icon, embedded at build time.
runtime::ProgramIcon program_icon();

// The program keeps no global state: both are empty.
void initialise_program();
void clean_up_program(int position);

}  // namespace app
