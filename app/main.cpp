#include "app/start.h"

#include "certmaker_version.h"

#include <cstdio>
#include <string>
#include <vector>

namespace {

void print_usage(std::FILE* stream)
{
    std::fprintf(stream, "usage: certmaker [--help | --version]\n"
                         "Makes joke certificates: pick a kind, type name, sex, age, date and number,\n"
                         "choose a portrait photo and a font, and save the certificate as a BMP file.\n"
                         "  --help     show this help and exit\n"
                         "  --version  show the version and exit\n");
}

}  // namespace

int main(int argc, char** argv)
{
    // The program takes no arguments; these two answer before any window opens.
    std::vector<std::string> arguments = runtime::program_arguments(argc, argv);
    for (std::size_t index = 1; index < arguments.size(); ++index) {
        if (arguments[index] == "--help" || arguments[index] == "-h") {
            print_usage(stdout);
            return 0;
        }
        if (arguments[index] == "--version") {
            std::printf("certmaker %s\n", certmaker::kVersion);
            return 0;
        }
        print_usage(stderr);
        return 2;
    }
    return runtime::run_program(argc, argv, app::program_header(), app::start_routine, app::program_icon());
}
