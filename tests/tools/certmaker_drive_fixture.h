// The fixture of the certificate maker's end-to-end tests: a fresh folder per test, certmaker-drive
// started there on a script, and what its run left behind.

#pragma once

#include "sha256.h"
#include "tests/support/process.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

namespace drive_test {

namespace fs = std::filesystem;
using test_support::utf8_of;
using test_support::utf8_path;

struct CertmakerDrive : testing::Test {
    fs::path folder;

    void SetUp() override
    {
        folder = fs::temp_directory_path() / ("certmaker-drive-" + std::to_string(std::random_device{}()) + "-" +
                                              testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(folder);
        fs::create_directories(folder);
    }
    void TearDown() override
    {
        std::error_code ignored;
        fs::remove_all(folder, ignored);
    }

    // Runs the script in the folder; a run that hangs is ended after a minute. `launcher`, when
    // given, is a program (with its first arguments) that starts the driver, its path and the
    // script's name appended.
    test_support::ProcessRun drive(const std::string& script, const std::vector<std::string>& launcher = {})
    {
        std::ofstream(folder / "test.script", std::ios::binary) << script;
        test_support::ProcessRequest request;
        request.program = test_support::built_program("certmaker-drive");
        request.arguments = {"test.script"};
        if (!launcher.empty()) {
            request.arguments.assign(launcher.begin() + 1, launcher.end());
            request.arguments.push_back(utf8_of(request.program));
            request.arguments.emplace_back("test.script");
            request.program = launcher.front();
        }
        request.folder = folder;
        request.limit = std::chrono::seconds(60);
        return test_support::run_process(request);
    }

    // Every script line answered "ok", and the program ended normally.
    static void expect_all_ok(const test_support::ProcessRun& run)
    {
        EXPECT_EQ(run.output.find("FAIL"), std::string::npos) << run.output;
        EXPECT_EQ(run.exit_code, 0) << run.output;
    }

    static std::string read_file(const fs::path& path)
    {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

    // The names in a folder, in UTF-8, sorted.
    static std::vector<std::string> names_in(const fs::path& path)
    {
        std::vector<std::string> names;
        for (const fs::directory_entry& entry : fs::directory_iterator(path))
            names.push_back(utf8_of(entry.path().filename()));
        std::sort(names.begin(), names.end());
        return names;
    }

    // What a get of a byte-set property prints for these bytes: the length and the SHA-256.
    static std::string byte_set_line(const fs::path& path)
    {
        std::string bytes = read_file(path);
        return std::to_string(bytes.size()) + " " +
               drive::sha256_hex({reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()});
    }

    // A 40 x 50 red-to-blue gradient (tests/tools/pictures) in the format `format` names ("jpg",
    // "png", "bmp", "gif", "pcx", "ico"), copied into the folder as `name` (UTF-8).
    void copy_photo(const std::string& format, const std::string& name)
    {
        ASSERT_TRUE(fs::copy_file(fs::path(CERTMAKER_SOURCE_DIR) / "tests/tools/pictures" / ("photo." + format),
                                  folder / utf8_path(name)))
            << name;
    }
};

// What differs between the systems; each system's test file defines these.

// A save the program must refuse, with the message box it shows: files only some systems have
// (devices, FIFOs). `left_behind` names what the case made in the folder, if anything.
struct RefusedSave {
    std::string path;  // as the script gives it
    std::string box;   // the text expected in the output
    std::string left_behind;
};
std::vector<RefusedSave> special_files_refusing_a_save(const fs::path& folder);

// The colour of a button's face, 0xRRGGBB, where the photo box shows no picture.
std::uint32_t button_face_colour();

// A character of a name outside GBK that the system's text conversion keeps, in UTF-8; empty where
// the conversion has none.
std::string name_character_outside_gbk();

}  // namespace drive_test
