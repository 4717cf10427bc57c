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

// A few bytes that declare a part far larger than the file are refused before anything is
// allocated for that part, whichever codec the build decodes with.
TEST(HostileFiles, ShortFilesDeclaringHugePartsAreRefusedBeforeTheyAreRead)
{
    const std::filesystem::path folder = std::filesystem::path(CERTMAKER_SOURCE_DIR) / "tests/runtime/imaging/shown";
    const struct {
        const char* name;
        runtime::imaging::DecodeError error;
    } cases[] = {
        // A text chunk of 512 MiB before the pixels, in 71 bytes.
        {"png_text_chunk_512mib.png", runtime::imaging::DecodeError::CorruptData},
        // A progressive picture of 2.25 million blocks (288 MB kept) in 134 bytes.
        {"jpeg_progressive_12000x12000.jpg", runtime::imaging::DecodeError::Truncated},
    };
    for (const auto& file : cases) {
        SCOPED_TRACE(file.name);
        auto picture = runtime::imaging::decode_picture(read_file((folder / file.name).string()));
        ASSERT_FALSE(picture);
        EXPECT_EQ(picture.error(), file.error);
    }
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
