// Pictures ImageMagick makes, cut off at every length and damaged in their headers: nothing or a
// complete picture, never a read outside the input (the sanitizer build checks).

#include "hostile_checks.h"
#include "imaging_test_support.h"

#include <gtest/gtest.h>

namespace {

using namespace imaging_test;

TEST(HostileFiles, CutOffFilesDecodeToNothingOrToACompletePicture)
{
    TempDir dir;
    const std::string source = "rose: -crop 29x17+20+10 +repage";
    const std::vector<std::string> makes = {
        source + " -quality 80 %.jpg",
        source + " -interlace Plane %.jpg",
        source + " -type truecolor BMP3:%.bmp",
        source + " -type palette -compress none BMP3:%.bmp",
        source + " %.gif",
        source + " -interlace GIF %.gif",
        source + " PNG32:%.png",
        source + " -type palette %.pcx",
        source + " -define icon:auto-resize=32,16 %.ico",
    };
    int index = 0;
    for (const std::string& make : makes) {
        SCOPED_TRACE(make);
        std::string path = dir.file("good" + std::to_string(index++));
        std::string command = make;
        std::size_t at = command.find('%');
        std::string extension = command.substr(at + 1);
        command.resize(at);
        command.append("'").append(path).append(extension).append("'");
        ASSERT_TRUE(convert(command));
        Bytes bytes = read_file(path + extension);
        ASSERT_TRUE(runtime::imaging::decode_picture(bytes));
        expect_cut_offs_sound(bytes);
    }
}

TEST(HostileFiles, FlippedBytesNeverReadOutsideTheInput)
{
    TempDir dir;
    const std::vector<std::string> files = {"f.jpg", "f.bmp", "f.gif", "f.png", "f.pcx", "f.ico"};
    for (const std::string& name : files) {
        SCOPED_TRACE(name);
        std::string path = dir.file(name);
        ASSERT_TRUE(convert("rose: -crop 19x11+25+15 +repage " + std::string(name == "f.pcx" ? "-type palette " : "") +
                            "'" + path + "'"));
        expect_damaged_headers_sound(read_file(path));
    }
}

}  // namespace
