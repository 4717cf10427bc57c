#include "runtime/windows/initialise.h"

#include "platform/file_system.h"
#include "runtime/boundary/program_end.h"
#include "runtime/boundary/program_state.h"
#include "runtime/components/component.h"
#include "runtime/diagnostics/error_report.h"
#include "runtime/diagnostics/messages.h"
#include "runtime/form/form_description.h"
#include "runtime/windows/input_events.h"
#include "runtime/windows/window_loading.h"
#include "runtime/windows/window_system.h"
#include "runtime/windows/window_table.h"

namespace runtime {

namespace {

RuntimeEnvironment& environment()
{
    static RuntimeEnvironment state;
    return state;
}

}  // namespace

const RuntimeEnvironment& runtime_environment()
{
    return environment();
}

ProgramPath split_program_path(std::string_view path)
{
    auto slash = path.rfind('/');
    if (slash == std::string_view::npos)
        return {{}, std::string(path)};
    return {std::string(path.substr(0, slash)), std::string(path.substr(slash + 1))};
}

form::FormError load_form_description(std::span<const std::uint8_t> block, const HandlerTable* handlers,
                                      WindowTable& table)
{
    auto description = form::read_form_description(block);
    if (!description)
        return description.error();
    static constexpr HandlerTable kNoHandlers{nullptr, 0};
    if (auto error = form::relocate_handlers(*description, handlers ? *handlers : kNoHandlers);
        error != form::FormError::None)
        return error;
    table.fill(std::move(description).value());
    return form::FormError::None;
}

void initialise_runtime()
{
    RuntimeEnvironment& state = environment();

    // The process heap serves the memory entries as it is; nothing to take here.

    // The program's directory becomes the current directory.
    platform::ProgramLocation location = platform::program_location();
    state.program_directory = location.folder;
    state.program_file_name = location.file_name;
    if (!location.folder.empty())
        (void)platform::change_current_folder(location.folder);

    // The hidden owner window owns the top-level windows that are not shown in the task bar.
    create_hidden_owner_window();

    state.ui_thread = std::this_thread::get_id();

    // The component libraries: their kinds go into the kind tables, and the kinds reach the runtime
    // through the notifications of runtime/components/component.h. Input messages of every loaded
    // window pass the runtime's filter; what is still open at the end of the program is destroyed.
    components::register_builtin_kinds();
    install_input_filter();
    set_end_of_program_closer(destroy_remaining_windows);

    const ProgramState& program = program_state();
    if (program.header && program.header->form_data_size != 0) {
        std::span block(reinterpret_cast<const std::uint8_t*>(program.header->form_data),
                        static_cast<std::size_t>(program.header->form_data_size));
        if (load_form_description(block, program.handlers, window_table()) != form::FormError::None)
            report_runtime_error(messages::form_description_unreadable(), 0, 0, 0);
    }
    state.initialised = true;
}

}  // namespace runtime
