// picdecode as a user runs it: kind, size, and the PAM it writes.

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

struct ToolRun {
    int status = -1;
    std::string output;
};

ToolRun run_picdecode(const std::string& arguments)
{
    ToolRun result;
    std::string command = std::string(CERTMAKER_BINARY_DIR) + "/bin/picdecode " + arguments + " 2>/dev/null";
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe)
        return result;
    char buffer[256];
    while (std::fgets(buffer, sizeof buffer, pipe))
        result.output += buffer;
    int status = pclose(pipe);
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

// Quoted for the shell.
std::string quoted(const std::string& path)
{
    std::string result(1, '\'');
    result += path;
    result += '\'';
    return result;
}

std::vector<unsigned char> read_file(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::vector<unsigned char>((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

class Picdecode : public testing::Test {
protected:
    void SetUp() override
    {
        if (!std::filesystem::exists(std::string(CERTMAKER_BINARY_DIR) + "/bin/picdecode"))
            GTEST_SKIP() << "picdecode is not built";
        char pattern[] = "/tmp/picdecode-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        m_dir = pattern;
    }
    void TearDown() override
    {
        std::error_code ignored;
        if (!m_dir.empty())
            std::filesystem::remove_all(m_dir, ignored);
    }
    std::string file(const std::string& name) const { return m_dir + "/" + name; }

private:
    std::string m_dir;
};

TEST_F(Picdecode, WritesPngAlphaAndDrawsIconsOnWhite)
{
    // A 2 x 1 PNG: opaque red, then fully transparent blue.
    ASSERT_EQ(std::system(("convert -size 1x1 xc:red -size 1x1 xc:'rgba(0,0,255,0)' +append PNG32:'" + file("a.png") +
                           "' 2>/dev/null")
                              .c_str()),
              0);
    ToolRun png = run_picdecode(quoted(file("a.png")) + " --pam " + quoted(file("a.pam")));
    EXPECT_EQ(png.status, 0);
    EXPECT_EQ(png.output, "kind 8 (PNG)\nwidth 2\nheight 1\n");
    std::string header = "P7\nWIDTH 2\nHEIGHT 1\nDEPTH 4\nMAXVAL 255\nTUPLTYPE RGB_ALPHA\nENDHDR\n";
    std::vector<unsigned char> pam = read_file(file("a.pam"));
    ASSERT_EQ(pam.size(), header.size() + 8);
    EXPECT_EQ(std::string(pam.begin(), pam.begin() + static_cast<long>(header.size())), header);
    EXPECT_EQ(std::vector<unsigned char>(pam.end() - 8, pam.end()),
              (std::vector<unsigned char>{255, 0, 0, 255, 0, 0, 255, 0}));

    // The same picture as an icon: the transparent pixel is white, and every alpha is 255.
    ASSERT_EQ(std::system(("convert '" + file("a.png") + "' '" + file("a.ico") + "' 2>/dev/null").c_str()), 0);
    ToolRun icon = run_picdecode(quoted(file("a.ico")) + " --pam " + quoted(file("i.pam")));
    EXPECT_EQ(icon.status, 0);
    EXPECT_EQ(icon.output, "kind 3 (icon)\nwidth 2\nheight 1\n");
    pam = read_file(file("i.pam"));
    ASSERT_EQ(pam.size(), header.size() + 8);
    EXPECT_EQ(std::vector<unsigned char>(pam.end() - 8, pam.end()),
              (std::vector<unsigned char>{255, 0, 0, 255, 255, 255, 255, 255}));
}

TEST_F(Picdecode, ReportsNoPicture)
{
    std::ofstream(file("junk.bmp"), std::ios::binary) << "BM123456";
    ToolRun junk = run_picdecode(quoted(file("junk.bmp")));
    EXPECT_EQ(junk.status, 1);
    EXPECT_NE(junk.output.find("kind 2 (BMP)"), std::string::npos);
    EXPECT_NE(junk.output.find("no picture"), std::string::npos);
}

}  // namespace
