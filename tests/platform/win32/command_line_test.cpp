// The command line in wide characters: certmaker-drive started on a script in a folder named in
// Chinese, with a photo and a certificate named in Chinese beside it.

#include "platform/win32/win32.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace {

namespace fs = std::filesystem;

struct ProgramRun {
    std::string output;  // standard output and error together
    DWORD exit_code = 0xFFFFFFFF;
};

fs::path program_folder()
{
    wchar_t path[MAX_PATH];
    DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    return fs::path(std::wstring(path, length)).parent_path();
}

// Runs `command_line` in `folder`, gathering what it prints; ends it after two minutes.
ProgramRun run(std::wstring command_line, const fs::path& folder)
{
    ProgramRun result;
    SECURITY_ATTRIBUTES inherited{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    HANDLE read_end = nullptr;
    HANDLE write_end = nullptr;
    if (!CreatePipe(&read_end, &write_end, &inherited, 0))
        return result;
    SetHandleInformation(read_end, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = INVALID_HANDLE_VALUE;
    startup.hStdOutput = write_end;
    startup.hStdError = write_end;
    PROCESS_INFORMATION process{};
    BOOL started = CreateProcessW(nullptr, command_line.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr,
                                  folder.c_str(), &startup, &process);
    CloseHandle(write_end);
    if (started) {
        char buffer[4096];
        DWORD got = 0;
        while (ReadFile(read_end, buffer, sizeof buffer, &got, nullptr) && got > 0)
            result.output.append(buffer, got);
        if (WaitForSingleObject(process.hProcess, 120000) != WAIT_OBJECT_0)
            TerminateProcess(process.hProcess, 124);
        GetExitCodeProcess(process.hProcess, &result.exit_code);
        CloseHandle(process.hProcess);
        CloseHandle(process.hThread);
    }
    CloseHandle(read_end);
    return result;
}

TEST(CommandLine, TheDriverRunsAScriptInAChineseFolderOnAChinesePhoto)
{
    const fs::path folder =
        fs::temp_directory_path() / (L"certmaker-命令行-" + std::to_wstring(GetCurrentProcessId())) / L"证书 脚本";
    fs::remove_all(folder.parent_path());
    fs::create_directories(folder);
    const fs::path photo = folder / L"照片 样本.jpg";
    fs::copy_file(fs::path(CERTMAKER_SOURCE_DIR) / "examples/sample_photo.jpg", photo);
    // Relative names in the script are taken from the folder the driver starts in.
    std::ofstream(folder / L"运行.script", std::ios::binary) << "photo 照片 样本.jpg\n"
                                                                "get 图片框1 10\n"
                                                                "save 证书 输出.bmp\n"
                                                                "close\n";

    ProgramRun drive = run(L"\"" + (program_folder() / L"certmaker-drive.exe").wstring() + L"\" \"" +
                               (folder / L"运行.script").wstring() + L"\"",
                           folder);

    EXPECT_EQ(drive.exit_code, 0u) << drive.output;
    EXPECT_EQ(drive.output.find("FAIL"), std::string::npos) << drive.output;
    // The photo box holds every byte of the photo: its length leads what the get prints.
    EXPECT_NE(drive.output.find("ok get 图片框1 10 = " + std::to_string(fs::file_size(photo)) + " "), std::string::npos)
        << drive.output;
    std::error_code error;
    EXPECT_EQ(fs::file_size(folder / L"证书 输出.bmp", error), 511734u) << error.message();
    fs::remove_all(folder.parent_path());
}

}  // namespace
