// formdump [FILE]: prints a stored form description as a table of units followed by each unit's
// property block field by field. Without FILE it prints the description embedded in the program.

#include "app/data/embedded_data.h"
#include "runtime/form/form_listing.h"

#include "certmaker_version.h"

#include <cstdio>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>
#include <vector>

namespace {

const char kUsage[] = "usage: formdump [FILE]\n"
                      "Lists a stored form description: its table of units, then each unit's property\n"
                      "block field by field. Without FILE, the description embedded in certmaker.\n"
                      "  --help     show this help and exit\n"
                      "  --version  show the version and exit\n";

}  // namespace

int main(int argc, char** argv)
{
    std::vector<std::uint8_t> bytes;
    if (argc == 2 && (std::string(argv[1]) == "--help" || std::string(argv[1]) == "-h")) {
        std::cout << kUsage;
        return 0;
    }
    if (argc == 2 && std::string(argv[1]) == "--version") {
        std::cout << "formdump " << certmaker::kVersion << "\n";
        return 0;
    }
    if (argc > 2 || (argc == 2 && argv[1][0] == '-')) {
        std::cerr << kUsage;
        return 2;
    }
    if (argc == 2) {
        std::ifstream in(argv[1], std::ios::binary);
        if (!in) {
            std::cerr << "formdump: cannot read " << argv[1] << "\n";
            return 1;
        }
        bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    } else {
        auto embedded = app::data::form_description();
        bytes.assign(embedded.data, embedded.data + embedded.size);
    }
    auto description = runtime::form::read_form_description(bytes);
    if (!description) {
        std::cerr << "formdump: unreadable form description: " << runtime::form::describe(description.error()) << "\n";
        return 1;
    }
    std::cout << bytes.size() << " bytes, " << runtime::form::list_form_description(*description);
    return 0;
}
