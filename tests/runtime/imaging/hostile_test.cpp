// Malformed input must end in "no picture" (or, for a cut-off file, in a picture whose block matches
// its layout), never in a crash or a read outside the input. This runs under the sanitizers in CI.

#include "imaging_test_support.h"

#include "runtime/imaging/drawing.h"
#include "runtime/imaging/picture_decoder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

namespace {

using namespace imaging_test;
using runtime::imaging::DecodedPicture;
using runtime::imaging::kWhite;
using runtime::imaging::PictureKind;

TEST(HostileFiles, EveryFileInTheFolderGivesNoPicture)
{
    std::filesystem::path folder = std::filesystem::path(CERTMAKER_SOURCE_DIR) / "tests/runtime/imaging/hostile";
    int count = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        if (entry.path().extension() == ".py")
            continue;
        SCOPED_TRACE(entry.path().filename().string());
        Bytes bytes = read_file(entry.path().string());
        auto picture = runtime::imaging::decode_picture(bytes);
        EXPECT_FALSE(picture);
        ++count;
    }
    EXPECT_GE(count, 25);
}

// Copies the input into a block of exactly its size, so that a read past the end is caught.
runtime::imaging::DecodeResult<DecodedPicture> decode_exact(const Bytes& bytes, std::size_t length)
{
    std::unique_ptr<std::uint8_t[]> exact(new std::uint8_t[std::max<std::size_t>(length, 1)]);
    std::copy_n(bytes.begin(), length, exact.get());
    return runtime::imaging::decode_picture(std::span<const std::uint8_t>(exact.get(), length));
}

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
        // Every length up to 300 bytes, then every 7th.
        for (std::size_t length = 0; length < bytes.size(); length += length < 300 ? 1 : 7) {
            auto picture = decode_exact(bytes, length);
            if (!picture)
                continue;
            SCOPED_TRACE(length);
            EXPECT_GT(picture->width, 0);
            EXPECT_GT(picture->height, 0);
            if (picture->kind == PictureKind::Icon || picture->kind == PictureKind::Cursor) {
                EXPECT_TRUE(picture->icon);
            } else {
                EXPECT_TRUE(runtime::imaging::picture_bitmap(*picture, kWhite));
            }
        }
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
        Bytes bytes = read_file(path);
        // Each of the first 200 bytes in turn set to 0xFF, then to 0x00.
        for (std::size_t i = 0; i < std::min<std::size_t>(bytes.size(), 200); ++i) {
            for (std::uint8_t value : {std::uint8_t{0xFF}, std::uint8_t{0x00}}) {
                Bytes damaged = bytes;
                damaged[i] = value;
                auto picture = decode_exact(damaged, damaged.size());
                if (picture && picture->kind != PictureKind::Icon && picture->kind != PictureKind::Cursor) {
                    EXPECT_TRUE(runtime::imaging::picture_bitmap(*picture, kWhite)) << i;
                }
            }
        }
    }
}

}  // namespace
