#include "runtime/windows/initialise.h"

#include "platform/dialogs.h"
#include "platform/text_encoding.h"
#include "runtime/boundary/program_state.h"
#include "runtime/windows/window_table.h"
#include "tests/runtime/form/form_test_support.h"
#include "tests/support/exit_status.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>

using namespace form_test;

namespace {

runtime::ProgramHeader header_for(const std::vector<std::uint8_t>& form)
{
    runtime::ProgramHeader header{};
    header.format_version = 3;
    header.code_base = reinterpret_cast<runtime::Word>(&sample_handlers());
    header.form_data = reinterpret_cast<runtime::Word>(form.data());
    header.form_data_size = form.size();
    return header;
}

enum class Fault { Truncated, UnknownHandler };

// Runs initialisation over a faulty description; the report ends the process.
void initialise_with_bad_description(Fault fault)
{
    static platform::ScriptedDialogService dialogs;
    platform::set_dialog_service(&dialogs);
    static auto form = stored_block(sample_units());
    static runtime::ProgramHeader header = header_for(form);
    static const runtime::HandlerTable no_handlers{nullptr, 0};
    if (fault == Fault::Truncated)
        header.form_data_size -= 3;
    else
        header.code_base = reinterpret_cast<runtime::Word>(&no_handlers);
    runtime::adopt_program_header(header);
    runtime::initialise_runtime();
}

}  // namespace

TEST(Initialise, SplitsTheProgramPathAtTheLastSlash)
{
    auto path = runtime::split_program_path("/opt/cert maker/bin/certmaker");
    EXPECT_EQ(path.directory, "/opt/cert maker/bin");
    EXPECT_EQ(path.file_name, "certmaker");
    path = runtime::split_program_path("certmaker");
    EXPECT_EQ(path.directory, "");
    EXPECT_EQ(path.file_name, "certmaker");
    path = runtime::split_program_path("/certmaker");
    EXPECT_EQ(path.directory, "");
    EXPECT_EQ(path.file_name, "certmaker");
}

TEST(Initialise, AFailedReadLeavesTheWindowTableAsItWas)
{
    runtime::WindowTable table;
    static const runtime::HandlerEntry partial[] = {{kCreatedOffset, created_handler}};
    runtime::HandlerTable handlers{partial, 1};
    auto block = stored_block(sample_units());
    EXPECT_EQ(runtime::load_form_description(block, &handlers, table), FormError::UnknownHandlerOffset);
    EXPECT_EQ(runtime::load_form_description(block, nullptr, table), FormError::UnknownHandlerOffset);
    block.pop_back();
    EXPECT_EQ(runtime::load_form_description(block, &sample_handlers(), table), FormError::Truncated);
    EXPECT_TRUE(table.empty());
}

// Initialisation changes the process's current directory and global tables, so it runs in a child.
TEST(InitialiseDeathTest, ReadsTheDescriptionAndMovesToTheProgramDirectory)
{
    EXPECT_EXIT(
        {
            static const auto form = stored_block(sample_units());
            static const runtime::ProgramHeader header = header_for(form);
            runtime::adopt_program_header(header);
            runtime::initialise_runtime();
            const auto& environment = runtime::runtime_environment();
            std::u8string folder = std::filesystem::current_path().u8string();
            // The test program's own name: runtime_tests, with ".exe" on Windows.
            bool ok =
                environment.program_directory == platform::gbk_from_utf8(std::string(folder.begin(), folder.end())) &&
                environment.program_file_name.starts_with("runtime_tests") &&
                environment.ui_thread == std::this_thread::get_id();
            const runtime::WindowEntry* window = runtime::window_table().find(kWindow);
            ok = ok && window && window->unit.units.find(kLabel)->handler_for(-1) == &click_handler;
            std::_Exit(ok ? 0 : 1);  // no exit handlers: the platform is still up
        },
        testing::ExitedWithCode(0), "");
}

TEST(InitialiseDeathTest, AnUnreadableDescriptionEndsTheProgramWithTheReport)
{
    EXPECT_EXIT(initialise_with_bad_description(Fault::Truncated), test_support::ended_with_minus_one(), "");
}

TEST(InitialiseDeathTest, AnUnknownHandlerOffsetIsAnUnreadableDescription)
{
    EXPECT_EXIT(initialise_with_bad_description(Fault::UnknownHandler), test_support::ended_with_minus_one(), "");
}
