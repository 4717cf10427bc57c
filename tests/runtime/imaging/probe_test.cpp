#include "runtime/imaging/probe.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using runtime::imaging::PictureKind;
using runtime::imaging::probe_picture;

TEST(Probe, ClassifiesByTheFirstEightBytes)
{
    struct Case {
        std::vector<std::uint8_t> bytes;
        PictureKind kind;
    };
    const Case cases[] = {
        {{'B', 'M', 1, 2, 3, 4, 5, 6}, PictureKind::Bmp},  // "BM" and anything
        {{0xFF, 0xD8, 0xFF, 0xE0, 0, 0, 0, 0}, PictureKind::Jpeg},
        {{0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A}, PictureKind::Png},
        {{0, 0, 1, 0, 1, 0, 32, 32}, PictureKind::Icon},    // reserved 0, type 1, count 1
        {{0, 0, 2, 0, 3, 0, 32, 32}, PictureKind::Cursor},  // type 2
        {{0, 0, 1, 0, 0, 0, 32, 32}, PictureKind::None},    // no entries
        {{'G', 'I', 'F', '8', '7', 'a', 0, 0}, PictureKind::Gif},
        {{'G', 'I', 'F', '8', '9', 'a', 0, 0}, PictureKind::Gif},
        {{'G', 'I', 'F', '8', '8', 'a', 0, 0}, PictureKind::None},
        {{10, 5, 1, 8, 0, 0, 0, 0}, PictureKind::Pcx8},
        {{10, 6, 1, 8, 0, 0, 0, 0}, PictureKind::None},  // version above 5
        {{10, 3, 1, 1, 0, 0, 0, 0}, PictureKind::Pcx1},
        {{10, 5, 1, 1, 0, 0, 0, 0}, PictureKind::None},  // 1-bit is recognised at version 3 only
        {{'B', 'M', 0, 0, 0}, PictureKind::None},        // five bytes are too few
        {{}, PictureKind::None},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.bytes));
        EXPECT_EQ(probe_picture(c.bytes), c.kind);
    }
}

}  // namespace
