// Malformed input must end in "no picture" (or, for a cut-off file, in a picture whose block matches
// its layout), never in a crash or a read outside the input. This runs under the sanitizers in CI,
// and on Windows, where JPEG and PNG also go through the system's codecs.

#include "hostile_checks.h"
#include "imaging_test_support.h"

#include "runtime/imaging/picture_decoder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

namespace {

using namespace imaging_test;

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

// The pictures kept in the source tree, of every format, cut off and damaged.
TEST(HostileFiles, CommittedPicturesCutOffOrDamagedGiveNothingOrACompletePicture)
{
    const std::filesystem::path source(CERTMAKER_SOURCE_DIR);
    const std::vector<std::filesystem::path> files = {
        source / "app/data/templates/photo_placeholder.jpg", source / "tests/tools/pictures/photo.jpg",
        source / "tests/tools/pictures/photo.png",           source / "tests/tools/pictures/photo.bmp",
        source / "tests/tools/pictures/photo.gif",           source / "tests/tools/pictures/photo.pcx",
        source / "tests/tools/pictures/photo.ico",           source / "fuzz/seeds/png/interlaced.png",
        source / "fuzz/seeds/bmp/palette_4bit.bmp",
    };
    for (const std::filesystem::path& file : files) {
        SCOPED_TRACE(file.filename().string());
        Bytes bytes = read_file(file.string());
        ASSERT_TRUE(runtime::imaging::decode_picture(bytes));
        expect_cut_offs_sound(bytes);
        expect_damaged_headers_sound(bytes);
    }
}

}  // namespace
