#include "runtime/boundary/program_state.h"

namespace runtime {

ProgramState& program_state()
{
    static ProgramState state;
    return state;
}

void adopt_program_header(const ProgramHeader& header)
{
    ProgramState& state = program_state();
    state.header = &header;
    state.handlers = reinterpret_cast<const HandlerTable*>(header.code_base);
    if (header.constant_pool_size != 0 && header.constant_pool != 0) {
        state.pool_begin = reinterpret_cast<const std::uint8_t*>(header.constant_pool);
        state.pool_end = state.pool_begin + header.constant_pool_size;
    } else {
        state.pool_begin = nullptr;
        state.pool_end = nullptr;
    }
}

bool in_constant_pool(const void* pointer)
{
    const ProgramState& state = program_state();
    auto address = reinterpret_cast<std::uintptr_t>(pointer);
    return state.pool_begin && address >= reinterpret_cast<std::uintptr_t>(state.pool_begin) &&
           address < reinterpret_cast<std::uintptr_t>(state.pool_end);
}

}  // namespace runtime
