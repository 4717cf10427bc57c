// The entry table handed to the application, call command, the runtime services and the process's
// start-up and end.

#include "runtime/boundary/entry_table.h"

#include "platform/application.h"
#include "runtime/boundary/heap.h"
#include "runtime/boundary/program_end.h"
#include "runtime/boundary/program_state.h"
#include "runtime/diagnostics/error_report.h"
#include "runtime/diagnostics/messages.h"
#include "runtime/files/file_search.h"
#include "runtime/windows/initialise.h"
#include "runtime/windows/property_access.h"
#include "runtime/windows/window_loading.h"

#include <span>
#include <string>
#include <vector>

namespace runtime {
namespace {

const ProgramHeader* g_pending_header = nullptr;

void entry_report_runtime_error(std::int32_t code, Word window_detail, Word control_detail)
{
    report_numbered_error(code, static_cast<WindowId>(window_detail), static_cast<ControlId>(control_detail));
}

TypedValue entry_call_command(CommandRoutine routine, int count, const TypedValue* arguments)
{
    TypedValue result{};
    if (routine)
        routine(&result, count < 0 ? 0 : count, arguments);
    return result;
}

// No external routines are imported by this program; a call names a routine that cannot exist.
TypedValue entry_call_dll_command(int routine, int, const TypedValue*)
{
    report_runtime_error(messages::dll_routine_missing(std::to_string(routine)), 0, 0, 0);
}

void entry_end_program(int exit_code)
{
    end_program(exit_code);
}

void entry_run_message_loop()
{
    run_message_loop();
}

void entry_load_window(WindowId window)
{
    load_start_window(window);
}

Word entry_runtime_service(int number, Word a, Word b, Word c)
{
    switch (number) {
    case Service::Initialise:
        if (g_pending_header)
            adopt_program_header(*g_pending_header);
        initialise_runtime();
        return 0;
    case Service::RegisterProgramEnd:
        register_program_end_routine(reinterpret_cast<ProgramEndRoutine>(a));
        return 0;
    case Service::MakeArrayWritable: {
        // The caller's word points at an array block; one lying in the constant pool is replaced by
        // a heap copy of everything from it to the end of the pool.
        auto* slot = reinterpret_cast<void**>(a);
        if (slot && *slot && in_constant_pool(*slot)) {
            auto available = static_cast<std::size_t>(program_state().pool_end - static_cast<std::uint8_t*>(*slot));
            *slot = heap_reallocate(*slot, available);
        }
        return 0;
    }
    case Service::FindNextFile:
        return reinterpret_cast<Word>(find_next_file(reinterpret_cast<const char*>(a), static_cast<std::uint32_t>(b),
                                                     reinterpret_cast<Word*>(c)));
    case Service::CloseFileSearch:
        close_file_search(reinterpret_cast<Word*>(a));
        return 0;
    case Service::ReadObjectProperty: {
        auto* access = reinterpret_cast<ObjectProperty*>(b);
        if (!access)
            return 0;
        PropertyValue value = get_object_property(reinterpret_cast<const void*>(a), access->index, access->member);
        access->low = value.low;
        access->high = value.high;
        return value.low;
    }
    case Service::WriteObjectProperty: {
        const auto* access = reinterpret_cast<const ObjectProperty*>(b);
        if (access)
            set_object_property(reinterpret_cast<const void*>(a), access->index, access->member, access->low,
                                access->high);
        return 0;
    }
    default:
        return 0;
    }
}

const EntryTable g_entry_table = {
    entry_report_runtime_error, entry_call_dll_command, entry_call_command,    entry_call_command, get_property_entry,
    set_property_entry,         heap_allocate,          heap_reallocate,       heap_release,       entry_end_program,
    entry_run_message_loop,     entry_load_window,      entry_runtime_service,
};

}  // namespace

const EntryTable& entry_table()
{
    return g_entry_table;
}

std::vector<std::string> program_arguments(int argc, char** argv)
{
    return platform::command_line_arguments(argc, argv);
}

int run_program(int argc, char** argv, const ProgramHeader& header, StartRoutine start, ProgramIcon icon)
{
    platform::start_platform(argc, argv, platform::Display::Default);
    std::vector<std::span<const std::uint8_t>> icon_files;
    for (std::size_t index = 0; index < icon.count; ++index)
        icon_files.emplace_back(icon.files[index].data, icon.files[index].size);
    platform::set_default_window_icon(icon_files);
    // Initialisation (service 6, asked for by the start routine) reads the header.
    g_pending_header = &header;
    int result = start(g_entry_table);
    (void)result;  // 0: nothing more to run
    run_end_of_program();
    int code = quit_code();
    // The platform goes down here, before the process's static objects do.
    platform::stop_platform();
    return code;
}

}  // namespace runtime
