// picdecode as a user runs it: kind, size, and the PAM it writes.

#include "tests/support/process.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

test_support::ProcessRun run_picdecode(const std::vector<std::string>& arguments)
{
    test_support::ProcessRequest request;
    request.program = test_support::built_program("picdecode");
    request.arguments = arguments;
    return test_support::run_process(request);
}

std::vector<unsigned char> read_file(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::vector<unsigned char>((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

std::string picture(const std::string& name)
{
    return (fs::path(CERTMAKER_SOURCE_DIR) / "tests/tools/pictures" / name).string();
}

class Picdecode : public testing::Test {
protected:
    void SetUp() override
    {
        if (!fs::exists(test_support::built_program("picdecode")))
            GTEST_SKIP() << "picdecode is not built";
        m_dir = fs::temp_directory_path() / ("picdecode-" + std::to_string(std::random_device{}()));
        ASSERT_TRUE(fs::create_directories(m_dir));
    }
    void TearDown() override
    {
        std::error_code ignored;
        if (!m_dir.empty())
            fs::remove_all(m_dir, ignored);
    }
    std::string file(const std::string& name) const { return (m_dir / name).string(); }

private:
    fs::path m_dir;
};

TEST_F(Picdecode, WritesPngAlphaAndDrawsIconsOnWhite)
{
    // A 2 x 1 PNG: opaque red, then fully transparent blue.
    test_support::ProcessRun png = run_picdecode({picture("red_and_clear.png"), "--pam", file("a.pam")});
    EXPECT_EQ(png.exit_code, 0);
    EXPECT_EQ(png.output, "kind 8 (PNG)\nwidth 2\nheight 1\n");
    std::string header = "P7\nWIDTH 2\nHEIGHT 1\nDEPTH 4\nMAXVAL 255\nTUPLTYPE RGB_ALPHA\nENDHDR\n";
    std::vector<unsigned char> pam = read_file(file("a.pam"));
    ASSERT_EQ(pam.size(), header.size() + 8);
    EXPECT_EQ(std::string(pam.begin(), pam.begin() + static_cast<long>(header.size())), header);
    EXPECT_EQ(std::vector<unsigned char>(pam.end() - 8, pam.end()),
              (std::vector<unsigned char>{255, 0, 0, 255, 0, 0, 255, 0}));

    // The same picture as an icon: the transparent pixel is white, and every alpha is 255.
    test_support::ProcessRun icon = run_picdecode({picture("red_and_clear.ico"), "--pam", file("i.pam")});
    EXPECT_EQ(icon.exit_code, 0);
    EXPECT_EQ(icon.output, "kind 3 (icon)\nwidth 2\nheight 1\n");
    pam = read_file(file("i.pam"));
    ASSERT_EQ(pam.size(), header.size() + 8);
    EXPECT_EQ(std::vector<unsigned char>(pam.end() - 8, pam.end()),
              (std::vector<unsigned char>{255, 0, 0, 255, 255, 255, 255, 255}));
}

TEST_F(Picdecode, ReportsNoPicture)
{
    std::ofstream(file("junk.bmp"), std::ios::binary) << "BM123456";
    test_support::ProcessRun junk = run_picdecode({file("junk.bmp")});
    EXPECT_EQ(junk.exit_code, 1);
    EXPECT_NE(junk.output.find("kind 2 (BMP)"), std::string::npos);
    EXPECT_NE(junk.output.find("no picture"), std::string::npos);
}

}  // namespace
