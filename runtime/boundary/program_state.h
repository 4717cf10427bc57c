#pragma once
// What runtime initialisation keeps of the program header.

#include "runtime/boundary/entry_table.h"

namespace runtime {

struct ProgramState {
    const ProgramHeader* header = nullptr;
    const std::uint8_t* pool_begin = nullptr;  // constant pool bounds, [begin, end)
    const std::uint8_t* pool_end = nullptr;
    const HandlerTable* handlers = nullptr;
};

ProgramState& program_state();

// Records the header and the constant pool bounds (the pool only when its size is not 0).
void adopt_program_header(const ProgramHeader& header);

bool in_constant_pool(const void* pointer);

}  // namespace runtime
