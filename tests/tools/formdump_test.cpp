#include <gtest/gtest.h>

#include <unistd.h>

#include <sys/wait.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <regex>
#include <string>
#include <vector>

namespace {

struct ToolRun {
    int exit_code = -1;
    std::string output;
};

ToolRun run_formdump(const std::string& arguments)
{
    std::string command = CERTMAKER_BINARY_DIR "/bin/formdump " + arguments + " 2>&1";
    ToolRun run;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe)
        return run;
    char buffer[4096];
    std::size_t got;
    while ((got = fread(buffer, 1, sizeof buffer, pipe)) > 0)
        run.output.append(buffer, got);
    int status = pclose(pipe);
    run.exit_code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
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
    ToolRun run = run_formdump("");
    ASSERT_EQ(run.exit_code, 0) << run.output;
    EXPECT_NE(run.output.find("window 0x52010001: value A 0x00010379, value B 0x19010005"), std::string::npos);
    EXPECT_NE(run.output.find(", 25 units"), std::string::npos);
    EXPECT_EQ(count_table_rows(run.output), 25u);
    EXPECT_NE(run.output.find("0x16010251  ComboBox    \"组合框证件类型\""), std::string::npos);
    EXPECT_NE(run.output.find("caption (8)                 \"divo\""), std::string::npos);

    // The generated file lists the same.
    ToolRun from_file = run_formdump(CERTMAKER_BINARY_DIR "/app/data/main_window.form");
    ASSERT_EQ(from_file.exit_code, 0);
    EXPECT_EQ(from_file.output, run.output);
}

TEST(Formdump, RefusesAnUnreadableFile)
{
    std::ifstream in(CERTMAKER_BINARY_DIR "/app/data/main_window.form", std::ios::binary);
    std::vector<char> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    ASSERT_GT(bytes.size(), 100u);
    std::string path = testing::TempDir() + "truncated-" + std::to_string(::getpid()) + ".form";
    std::ofstream(path, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size() - 1));

    ToolRun run = run_formdump(path);
    EXPECT_EQ(run.exit_code, 1);
    EXPECT_NE(run.output.find("unreadable form description"), std::string::npos) << run.output;
    EXPECT_EQ(run_formdump("/nonexistent/file.form").exit_code, 1);
}
