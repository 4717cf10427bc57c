// formdump [FILE]: prints a stored form description as a table of units followed by each unit's
// property block field by field. Without FILE it prints the description embedded in the program.

#include "app/data/embedded_data.h"
#include "runtime/form/form_listing.h"

#include <cstdio>
#include <fstream>
#include <iostream>
#include <iterator>
#include <vector>

int main(int argc, char** argv)
{
    std::vector<std::uint8_t> bytes;
    if (argc > 2 || (argc == 2 && argv[1][0] == '-')) {
        std::cerr << "usage: formdump [FILE]\n";
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
        std::cerr << "formdump: unreadable form description: " << runtime::form::describe(description.error())
                  << "\n";
        return 1;
    }
    std::cout << bytes.size() << " bytes, " << runtime::form::list_form_description(*description);
    return 0;
}
