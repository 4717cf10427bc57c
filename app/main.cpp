#include "app/start.h"

int main(int argc, char** argv)
{
    return runtime::run_program(argc, argv, app::program_header(), app::start_routine);
}
