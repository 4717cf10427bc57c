#include "tests/support/process.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <regex>
#include <string>
#include <vector>

namespace {

test_support::ProcessRun run_formdump(const std::vector<std::string>& arguments)
{
    test_support::ProcessRequest request;
    request.program = test_support::built_program("formdump");
    request.arguments = arguments;
    request.errors = test_support::ErrorOutput::WithOutput;
    return test_support::run_process(request);
}

std::size_t count_table_rows(const std::string& output)
{
    static const std::regex row(R"(^ +[0-9]+  0x[0-9A-F]{8}  )", std::regex::multiline);
    return static_cast<std::size_t>(
        std::distance(std::sregex_iterator(output.begin(), output.end(), row), std::sregex_iterator()));
}

}  // namespace

TEST(Formdump, ListsTheEmbeddedMainWindow)
{
    test_support::ProcessRun run = run_formdump({});
    ASSERT_EQ(run.exit_code, 0) << run.output;
    EXPECT_NE(run.output.find("window 0x52010001: value A 0x00010379, value B 0x19010005"), std::string::npos);
    EXPECT_NE(run.output.find(", 25 units"), std::string::npos);
    EXPECT_EQ(count_table_rows(run.output), 25u);
    EXPECT_NE(run.output.find("0x16010251  ComboBox    \"组合框证件类型\""), std::string::npos);
    EXPECT_NE(run.output.find("caption (8)                 \"divo\""), std::string::npos);

    // The generated file lists the same.
    test_support::ProcessRun from_file = run_formdump({CERTMAKER_BINARY_DIR "/app/data/main_window.form"});
    ASSERT_EQ(from_file.exit_code, 0);
    EXPECT_EQ(from_file.output, run.output);
}

TEST(Formdump, RefusesAnUnreadableFile)
{
    std::ifstream in(CERTMAKER_BINARY_DIR "/app/data/main_window.form", std::ios::binary);
    std::vector<char> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    ASSERT_GT(bytes.size(), 100u);
    std::string path = testing::TempDir() + "truncated-" + std::to_string(std::random_device{}()) + ".form";
    std::ofstream(path, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size() - 1));

    test_support::ProcessRun run = run_formdump({path});
    EXPECT_EQ(run.exit_code, 1);
    EXPECT_NE(run.output.find("unreadable form description"), std::string::npos) << run.output;
    EXPECT_EQ(run_formdump({"/nonexistent/file.form"}).exit_code, 1);
    std::filesystem::remove(path);
}
