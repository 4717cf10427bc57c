#include "imaging_test_support.h"

#include "runtime/imaging/icon_decoder.h"
#include "runtime/imaging/picture_decoder.h"

#include <gtest/gtest.h>

namespace {

using namespace imaging_test;
using runtime::imaging::DecodeError;

// An icon directory of entries (width byte, colour count byte) that all point at one 2 x 2 24-bit
// bitmap entry with an empty mask.
Bytes icon_with_entries(const std::vector<std::pair<int, int>>& entries)
{
    Bytes out(6 + 16 * entries.size(), 0);
    put_u16(out, 2, 1);
    put_u16(out, 4, static_cast<std::uint16_t>(entries.size()));
    Bytes image(40, 0);
    put_u32(image, 0, 40);
    put_u32(image, 4, 2);
    put_u32(image, 8, 4);  // twice the height
    put_u16(image, 12, 1);
    put_u16(image, 14, 24);
    Bytes rows(8 + 8, 0);  // colour rows 2 x (6 + 2 padding), mask rows 2 x 4
    image.insert(image.end(), rows.begin(), rows.end());
    for (std::size_t i = 0; i < entries.size(); ++i) {
        out[6 + 16 * i] = static_cast<std::uint8_t>(entries[i].first);
        out[6 + 16 * i + 2] = static_cast<std::uint8_t>(entries[i].second);
        put_u32(out, 6 + 16 * i + 8, static_cast<std::uint32_t>(image.size()));
        put_u32(out, 6 + 16 * i + 12, static_cast<std::uint32_t>(6 + 16 * entries.size()));
    }
    out.insert(out.end(), image.begin(), image.end());
    return out;
}

TEST(IconDecoder, ChoosesTheFirst32PixelEntryWithColoursElseTheLast)
{
    struct Case {
        std::vector<std::pair<int, int>> entries;
        int chosen;
    };
    const Case cases[] = {
        {{{48, 16}, {48, 16}, {48, 16}}, 2},  // all 48 pixels: the last
        {{{16, 16}, {32, 16}, {32, 16}}, 1},  // the first 32-pixel one with 16 colours
        {{{32, 0}, {32, 15}, {16, 16}}, 2},   // 32 pixels but too few colours listed
    };
    for (const Case& c : cases) {
        auto chosen = runtime::imaging::choose_icon_entry(icon_with_entries(c.entries), 32);
        ASSERT_TRUE(chosen);
        EXPECT_EQ(*chosen, c.chosen);
    }
}

TEST(IconDecoder, EntryPointingPastTheFileIsRefused)
{
    Bytes file = icon_with_entries({{32, 16}});
    ASSERT_TRUE(runtime::imaging::decode_picture(file));
    put_u32(file, 6 + 12, 0xFFFFFFF0u);  // offset
    auto picture = runtime::imaging::decode_picture(file);
    ASSERT_FALSE(picture);
    EXPECT_EQ(picture.error(), DecodeError::BadIconEntry);
    file = icon_with_entries({{32, 16}});
    put_u32(file, 6 + 8, 0xFFFFFFF0u);  // size
    EXPECT_FALSE(runtime::imaging::decode_picture(file));
}

}  // namespace
