#include "runtime/boundary/program_end.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace runtime {
namespace {

std::vector<ProgramEndRoutine>& routines()
{
    static std::vector<ProgramEndRoutine> list;
    return list;
}

void (*g_closer)() = nullptr;
bool g_ended = false;

}  // namespace

void register_program_end_routine(ProgramEndRoutine routine)
{
    if (!routine)
        return;
    auto& list = routines();
    if (std::find(list.begin(), list.end(), routine) == list.end())
        list.push_back(routine);
}

void run_end_of_program()
{
    if (g_ended)
        return;
    g_ended = true;
    if (g_closer)
        g_closer();
    // A routine may register another; index-based so that it is called too.
    auto& list = routines();
    for (std::size_t i = 0; i < list.size(); ++i)
        list[i](static_cast<int>(i));
}

void set_end_of_program_closer(void (*closer)())
{
    g_closer = closer;
}

void end_program(int exit_code)
{
    run_end_of_program();
    std::fflush(stdout);
    std::fflush(stderr);
    // The process ends here, from wherever the request came (possibly deep inside a handler); the
    // window system's objects are not unwound.
    std::_Exit(exit_code);
}

}  // namespace runtime
