// formgen: generates the program's embedded data at build time.
//
//   formgen --window main_window.form.txt --pool constants.pool.txt --pictures DIR
//           --form-out main_window.form --pool-out constants.pool --source-out embedded_data.cpp
//           [--object-format elf|coff]
//
// Reads the declarative sources, writes the stored form description and the constant pool, and
// writes the C++ source that embeds both in the program. The form description is read back and
// every property block checked before anything is written.

#include "runtime/form/property_blocks.h"
#include "tools/formgen/embedded_source.h"
#include "tools/formgen/pool_source.h"
#include "tools/formgen/source_lines.h"
#include "tools/formgen/window_source.h"

#include "certmaker_version.h"

#include <algorithm>
#include <fstream>
#include <iostream>
#include <map>

namespace {

using namespace runtime::form;

void write_file(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes)
{
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!out)
        throw formgen::SourceError("cannot write " + path.string());
}

void check_description(const std::vector<std::uint8_t>& bytes)
{
    auto description = read_form_description(bytes);
    if (!description)
        throw formgen::SourceError(std::string("generated description does not read back: ") +
                                   describe(description.error()));
    for (const auto& window : description->windows) {
        if (window.units.record(0).kind() != runtime::Kind::Window)
            throw formgen::SourceError("the first unit of a window must be of kind window");
        for (const auto& record : window.units.records()) {
            if (auto error = check_property_block(record.kind(), record.property_block()); error != FormError::None)
                throw formgen::SourceError(std::string("a property block does not read back: ") + describe(error));
        }
    }
}

const char kUsage[] = "usage: formgen --window FILE --pool FILE --pictures DIR\n"
                      "               --form-out FILE --pool-out FILE --source-out FILE\n"
                      "               [--object-format elf|coff]\n"
                      "Compiles the main window's declarative description and the constant pool into\n"
                      "the stored form description, the pool, and the C++ source that embeds both.\n"
                      "  --object-format  what the program's objects are: elf (default; Linux) or\n"
                      "                   coff (Windows)\n"
                      "  --help     show this help and exit\n"
                      "  --version  show the version and exit\n";

const char* const kOptionNames[] = {"--window", "--pool", "--pictures", "--form-out", "--pool-out", "--source-out"};

}  // namespace

int main(int argc, char** argv)
{
    std::map<std::string, std::filesystem::path> options;
    auto format = formgen::ObjectFormat::Elf;
    for (int i = 1; i < argc; ++i) {
        const std::string name = argv[i];
        if (name == "--help" || name == "-h") {
            std::cout << kUsage;
            return 0;
        }
        if (name == "--version") {
            std::cout << "formgen " << certmaker::kVersion << "\n";
            return 0;
        }
        if (name == "--object-format" && i + 1 < argc) {
            const std::string value = argv[++i];
            if (value != "elf" && value != "coff") {
                std::cerr << kUsage;
                return 2;
            }
            format = value == "elf" ? formgen::ObjectFormat::Elf : formgen::ObjectFormat::Coff;
            continue;
        }
        const bool known = std::find(std::begin(kOptionNames), std::end(kOptionNames), name) != std::end(kOptionNames);
        if (!known || i + 1 >= argc) {
            std::cerr << kUsage;
            return 2;
        }
        options[name] = argv[++i];
    }
    for (const char* name : kOptionNames) {
        if (!options.count(name)) {
            std::cerr << kUsage;
            return 2;
        }
    }
    try {
        auto description = formgen::read_window_source(options["--window"], options["--pictures"]);
        auto form_bytes = write_form_description(description);
        check_description(form_bytes);
        auto pool = formgen::read_pool_source(options["--pool"], options["--pictures"]);
        write_file(options["--form-out"], form_bytes);
        write_file(options["--pool-out"], pool.bytes);
        formgen::write_embedded_source(options["--source-out"], options["--form-out"], options["--pool-out"], pool,
                                       format);
    } catch (const std::exception& error) {
        std::cerr << "formgen: " << error.what() << "\n";
        return 1;
    }
    return 0;
}
