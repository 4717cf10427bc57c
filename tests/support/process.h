// Runs a program as the tool tests need it: with arguments, in a folder, its standard output
// gathered, ended after a time limit, with the CPU time it used. One implementation per system
// (process_posix.cpp, process_win32.cpp); the build picks one.

#pragma once

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

namespace test_support {

enum class ErrorOutput { Discard, WithOutput };
// Text: line ends read as "\n" (a Windows program's C runtime writes "\r\n"), as a text-mode pipe
// reads them; Bytes: as written.
enum class OutputMode { Text, Bytes };

struct ProcessRun {
    bool started = false;
    bool timed_out = false;  // ended by the time limit
    int exit_code = -1;      // -1 when it did not start, ended by a signal or by the time limit
    std::string output;
    double cpu_seconds = 0;  // user and system time of the program
    double wall_seconds = 0;
};

struct ProcessRequest {
    std::filesystem::path program;
    std::vector<std::string> arguments;  // UTF-8, passed to the program as they are
    std::filesystem::path folder;        // where it starts; empty: this program's own
    std::chrono::milliseconds limit{60000};
    ErrorOutput errors = ErrorOutput::Discard;
    OutputMode mode = OutputMode::Text;
};

ProcessRun run_process(const ProcessRequest& request);

// One of the project's programs, built beside the test programs (NAME.exe on Windows).
std::filesystem::path built_program(const std::string& name);

// A UTF-8 name as a path, and a path as UTF-8, the same on every system (to a Windows path a plain
// std::string is in the ANSI code page).
inline std::filesystem::path utf8_path(const std::string& text)
{
    return std::u8string(text.begin(), text.end());
}
inline std::string utf8_of(const std::filesystem::path& path)
{
    std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

}  // namespace test_support
