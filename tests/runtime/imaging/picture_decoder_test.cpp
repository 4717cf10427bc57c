#include "imaging_test_support.h"

#include "runtime/imaging/picture_decoder.h"

#include "platform/text_encoding.h"

#include <gtest/gtest.h>

namespace {

using namespace imaging_test;
using runtime::imaging::DecodeError;

TEST(PictureDecoder, FileAndMemoryDecodeAlike)
{
    TempDir dir;
    // The file has its name in UTF-8 on disk; the runtime names it in its own text.
    std::string path = dir.file("照片.bmp");
    ASSERT_TRUE(convert("rose: -crop 9x7+30+20 +repage BMP3:'" + path + "'"));
    auto from_file = runtime::imaging::decode_picture_file(platform::gbk_from_utf8(path));
    ASSERT_TRUE(from_file);
    auto from_memory = runtime::imaging::decode_picture(read_file(path));
    ASSERT_TRUE(from_memory);
    EXPECT_EQ(from_file->width, 9);
    ASSERT_EQ(from_file->pixel_block_size(), from_memory->pixel_block_size());
    EXPECT_TRUE(std::equal(from_file->pixels.data(), from_file->pixels.data() + from_file->pixel_block_size(),
                           from_memory->pixels.data()));

    auto missing = runtime::imaging::decode_picture_file(dir.file("missing.bmp"));
    ASSERT_FALSE(missing);
    EXPECT_EQ(missing.error(), DecodeError::FileUnreadable);
    auto empty = runtime::imaging::decode_picture_file("");
    ASSERT_FALSE(empty);
    EXPECT_EQ(empty.error(), DecodeError::NoBytes);
    auto unknown = runtime::imaging::decode_picture(Bytes{'h', 'e', 'l', 'l', 'o', ' ', 'w', 'o', 'r', 'l', 'd'});
    ASSERT_FALSE(unknown);
    EXPECT_EQ(unknown.error(), DecodeError::UnknownFormat);
}

}  // namespace
