#include "imaging_test_support.h"

#include "runtime/imaging/pcx_decoder.h"
#include "runtime/imaging/picture_decoder.h"

#include <gtest/gtest.h>

namespace {

using namespace imaging_test;
using runtime::imaging::decode_picture;
using runtime::imaging::DecodeError;
using runtime::imaging::PictureKind;

Bytes pcx_header(std::uint8_t version, std::uint8_t bits, std::uint8_t planes, int width, int height, int line)
{
    Bytes out(128, 0);
    out[0] = 10, out[1] = version, out[2] = 1, out[3] = bits;
    put_u16(out, 8, static_cast<std::uint16_t>(width - 1));
    put_u16(out, 10, static_cast<std::uint16_t>(height - 1));
    out[65] = planes;
    put_u16(out, 66, static_cast<std::uint16_t>(line));
    return out;
}

TEST(PcxDecoder, EightBitRowsPaletteAndEarlyEnd)
{
    // 3 x 3, lines of 4 bytes. Row 0: literal 7, a run of three 9s. Row 1: literal 1, then the data
    // ends; row 1's rest and row 2 stay 0. No palette marker: grey.
    Bytes file = pcx_header(5, 8, 1, 3, 3, 4);
    for (std::uint8_t b : {7, 0xC3, 9, 1})
        file.push_back(b);
    auto picture = decode_picture(file);
    ASSERT_TRUE(picture) << runtime::imaging::decode_error_name(picture.error());
    ASSERT_EQ(picture->kind, PictureKind::Pcx8);
    ASSERT_EQ(picture->pixel_block_size(), 1064u + 3 * 4);
    const std::uint8_t* rows = picture->pixels.data() + 1064;
    EXPECT_EQ(Bytes(rows, rows + 12), (Bytes{7, 9, 9, 9, 1, 0, 0, 0, 0, 0, 0, 0}));
    const std::uint8_t* grey9 = picture->pixels.data() + 40 + std::size_t{9} * 4;
    EXPECT_EQ(Bytes(grey9, grey9 + 4), (Bytes{9, 9, 9, 0}));

    // With the marker and 768 bytes of colour triples after the data, those colours are used.
    Bytes complete = pcx_header(5, 8, 1, 1, 1, 2);
    complete.push_back(5);
    complete.push_back(0);
    complete.push_back(12);
    Bytes triples(768, 0);
    triples[15] = 10, triples[16] = 20, triples[17] = 30;
    for (std::uint8_t b : triples)
        complete.push_back(b);
    picture = decode_picture(complete);
    ASSERT_TRUE(picture);
    const std::uint8_t* entry5 = picture->pixels.data() + 40 + std::size_t{5} * 4;
    EXPECT_EQ(Bytes(entry5, entry5 + 4), (Bytes{30, 20, 10, 0}));
}

TEST(PcxDecoder, RefusesUnreadableLayouts)
{
    struct Case {
        const char* name;
        Bytes bytes;
        DecodeError error;
    };
    Bytes inverted = pcx_header(5, 8, 1, 4, 4, 4);
    put_u16(inverted, 4, 10);  // Xmin beyond Xmax
    const Case cases[] = {
        {"three planes", pcx_header(5, 8, 3, 4, 4, 4), DecodeError::UnsupportedPlanes},
        {"line shorter than the width", pcx_header(5, 8, 1, 8, 2, 4), DecodeError::BadHeader},
        {"Xmax below Xmin", inverted, DecodeError::BadHeader},
        {"65536 x 65536", pcx_header(5, 8, 1, 65536, 65536, 65535), DecodeError::BadHeader},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Bytes bytes = c.bytes;
        bytes.push_back(0);
        auto picture = decode_picture(bytes);
        ASSERT_FALSE(picture);
        EXPECT_EQ(picture.error(), c.error);
    }
}

TEST(PcxDecoder, OneBitLinesKeepTheirAlignment)
{
    // 10 pixels wide: two bytes of pixels; the file pads lines to 4 bytes, which must be skipped.
    Bytes file = pcx_header(3, 1, 1, 10, 2, 4);
    for (std::uint8_t b : {0xC1, 0xFF, 0x80, 0x55, 0x55, 0x0F, 0x40, 0xC2, 0x00})
        file.push_back(b);
    auto picture = decode_picture(file);
    ASSERT_TRUE(picture);
    ASSERT_EQ(picture->kind, PictureKind::Pcx1);
    ASSERT_EQ(picture->pixel_block_size(), 4u);
    EXPECT_EQ(Bytes(picture->pixels.data(), picture->pixels.data() + 4), (Bytes{0xFF, 0x80, 0x0F, 0x40}));
}

}  // namespace
