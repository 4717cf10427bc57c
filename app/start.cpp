#include "app/start.h"

#include "app/data/embedded_data.h"
#include "app/handlers.h"
#include "app/main_window.h"
#include "app/runtime_link.h"

#include <cfenv>
#include <vector>

namespace app {
namespace {

const runtime::LibraryRecord kLibraries[2] = {
    {1, "core"},
    {2, "extended user interface"},
};

}  // namespace

void initialise_program()
{
}

void clean_up_program(int)
{
}

int start_routine(const runtime::EntryTable& runtime)
{
    link_runtime(runtime);
    runtime.runtime_service(runtime::Service::Initialise, 0, 0, 0);
    // The floating-point environment back to its defaults (rounding to nearest, no traps).
    std::fesetenv(FE_DFL_ENV);
    initialise_program();
    runtime.runtime_service(runtime::Service::RegisterProgramEnd, reinterpret_cast<runtime::Word>(&clean_up_program), 0,
                            0);
    runtime.load_window(kMainWindow);
    runtime.run_message_loop();
    return 0;
}

runtime::ProgramIcon program_icon()
{
    static const std::vector<runtime::IconFile> files = [] {
        std::vector<runtime::IconFile> list;
        for (const data::Span& file : data::program_icon())
            list.push_back({file.data, file.size});
        return list;
    }();
    return {files.data(), files.size()};
}

const runtime::ProgramHeader& program_header()
{
    static const runtime::ProgramHeader header = [] {
        data::Span pool = data::constant_pool();
        data::Span form = data::form_description();
        runtime::ProgramHeader h{};
        h.format_version = 3;
        h.reserved_kept = 0;
        h.reserved_plus_one = 0x1025E;
        h.code_base = reinterpret_cast<runtime::Word>(&handler_table());
        h.constant_pool = reinterpret_cast<runtime::Word>(pool.data);
        h.constant_pool_size = pool.size;
        h.form_data = reinterpret_cast<runtime::Word>(form.data);
        h.form_data_size = form.size;
        h.library_count = 2;
        h.libraries = reinterpret_cast<runtime::Word>(kLibraries);
        return h;
    }();
    return header;
}

}  // namespace app
