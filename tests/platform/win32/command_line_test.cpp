// The command line in wide characters: certmaker-drive started on a script in a folder named in
// Chinese, with a photo and a certificate named in Chinese beside it.

#include "platform/win32/win32.h"
#include "tests/support/process.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace {

namespace fs = std::filesystem;

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

    // The runner hands the program its arguments on a wide command line, as a desktop starts it.
    test_support::ProcessRequest request;
    request.program = test_support::built_program("certmaker-drive");
    request.arguments = {test_support::utf8_of(folder / L"运行.script")};
    request.folder = folder;
    request.limit = std::chrono::minutes(2);
    request.errors = test_support::ErrorOutput::WithOutput;
    test_support::ProcessRun drive = test_support::run_process(request);

    EXPECT_EQ(drive.exit_code, 0) << drive.output;
    EXPECT_EQ(drive.output.find("FAIL"), std::string::npos) << drive.output;
    // The photo box holds every byte of the photo: its length leads what the get prints.
    EXPECT_NE(drive.output.find("ok get 图片框1 10 = " + std::to_string(fs::file_size(photo)) + " "), std::string::npos)
        << drive.output;
    std::error_code error;
    EXPECT_EQ(fs::file_size(folder / L"证书 输出.bmp", error), 511734u) << error.message();
    fs::remove_all(folder.parent_path());
}

}  // namespace
