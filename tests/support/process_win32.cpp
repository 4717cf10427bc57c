#include "tests/support/process.h"

#include "platform/win32/win32.h"

#include <algorithm>

namespace test_support {

namespace {

std::wstring wide(const std::string& text)
{
    if (text.empty())
        return {};
    int length = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring result(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), result.data(), length);
    return result;
}

// One argument as the C runtime splits a command line: quoted, with backslashes doubled only
// where they come before a quote.
void append_argument(std::wstring& line, const std::wstring& argument)
{
    line += L" \"";
    std::size_t backslashes = 0;
    for (wchar_t c : argument) {
        if (c == L'\\') {
            ++backslashes;
            continue;
        }
        line.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
        backslashes = 0;
        line += c;
    }
    line.append(backslashes * 2, L'\\');
    line += L'"';
}

double seconds(const FILETIME& time)
{
    ULARGE_INTEGER ticks{};
    ticks.LowPart = time.dwLowDateTime;
    ticks.HighPart = time.dwHighDateTime;
    return static_cast<double>(ticks.QuadPart) / 1e7;  // 100 ns ticks
}

}  // namespace

ProcessRun run_process(const ProcessRequest& request)
{
    ProcessRun run;
    std::wstring line = L"\"" + request.program.wstring() + L"\"";
    for (const std::string& argument : request.arguments)
        append_argument(line, wide(argument));

    SECURITY_ATTRIBUTES inherited{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    HANDLE read_end = nullptr;
    HANDLE write_end = nullptr;
    if (!CreatePipe(&read_end, &write_end, &inherited, 0))
        return run;
    SetHandleInformation(read_end, HANDLE_FLAG_INHERIT, 0);
    HANDLE nothing = CreateFileW(L"NUL", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherited,
                                 OPEN_EXISTING, 0, nullptr);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = nothing;
    startup.hStdOutput = write_end;
    startup.hStdError = request.errors == ErrorOutput::WithOutput ? write_end : nothing;
    PROCESS_INFORMATION process{};
    std::wstring folder = request.folder.wstring();
    auto started = std::chrono::steady_clock::now();
    run.started = CreateProcessW(nullptr, line.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr,
                                 folder.empty() ? nullptr : folder.c_str(), &startup, &process) != 0;
    CloseHandle(write_end);
    if (nothing != INVALID_HANDLE_VALUE)
        CloseHandle(nothing);
    if (!run.started) {
        CloseHandle(read_end);
        return run;
    }

    // The pipe is emptied as the program writes (a full pipe would stop it), and the wait ends at
    // the limit.
    auto read_available = [&] {
        DWORD available = 0;
        while (PeekNamedPipe(read_end, nullptr, 0, nullptr, &available, nullptr) && available > 0) {
            char buffer[4096];
            DWORD got = 0;
            if (!ReadFile(read_end, buffer, std::min<DWORD>(available, sizeof buffer), &got, nullptr) || got == 0)
                return;
            run.output.append(buffer, got);
        }
    };
    auto deadline = started + request.limit;
    for (;;) {
        read_available();
        if (WaitForSingleObject(process.hProcess, 10) == WAIT_OBJECT_0)
            break;
        if (std::chrono::steady_clock::now() >= deadline) {
            run.timed_out = true;
            TerminateProcess(process.hProcess, 124);
            WaitForSingleObject(process.hProcess, INFINITE);
            break;
        }
    }
    read_available();
    CloseHandle(read_end);
    if (request.mode == OutputMode::Text) {
        std::string::size_type kept = 0;
        for (std::string::size_type i = 0; i < run.output.size(); ++i) {
            if (!(run.output[i] == '\r' && i + 1 < run.output.size() && run.output[i + 1] == '\n'))
                run.output[kept++] = run.output[i];
        }
        run.output.resize(kept);
    }

    DWORD exit_code = 0;
    if (!run.timed_out && GetExitCodeProcess(process.hProcess, &exit_code))
        run.exit_code = static_cast<int>(exit_code);
    FILETIME created{}, ended{}, kernel{}, user{};
    if (GetProcessTimes(process.hProcess, &created, &ended, &kernel, &user))
        run.cpu_seconds = seconds(kernel) + seconds(user);
    run.wall_seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
    return run;
}

std::filesystem::path built_program(const std::string& name)
{
    wchar_t path[MAX_PATH];
    DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    return std::filesystem::path(std::wstring(path, length)).parent_path() / (name + ".exe");
}

}  // namespace test_support
