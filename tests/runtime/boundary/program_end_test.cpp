#include "runtime/boundary/program_end.h"

#include "tests/support/exit_status.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace {

void first(int position)
{
    std::fprintf(stderr, "first@%d ", position);
}
void second(int position)
{
    std::fprintf(stderr, "second@%d ", position);
}
void third(int position)
{
    std::fprintf(stderr, "third@%d ", position);
}

TEST(ProgramEndDeathTest, RoutinesRunOnceInRegistrationOrderWithTheirPositions)
{
    EXPECT_EXIT(
        {
            runtime::register_program_end_routine(first);
            runtime::register_program_end_routine(second);
            runtime::register_program_end_routine(first);  // already registered: ignored
            runtime::register_program_end_routine(nullptr);
            runtime::register_program_end_routine(third);
            runtime::run_end_of_program();
            runtime::end_program(7);  // the procedure has run: routines are not called again
        },
        testing::ExitedWithCode(7), "first@0 second@1 third@2 $");
}

TEST(ProgramEndDeathTest, EndProgramWithMinusOneExitsWith255)
{
    EXPECT_EXIT(runtime::end_program(-1), test_support::ended_with_minus_one(), "");
}

}  // namespace
