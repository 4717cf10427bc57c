// The runtime's own sequential JPEG decoder against libjpeg, pixel for pixel: the Windows build
// shows what it decodes, the Linux build what libjpeg decodes, and the two must agree.

#include "imaging_test_support.h"

#include "runtime/imaging/jpeg_decoder.h"
#include "runtime/imaging/jpeg_sequential.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <vector>

#include <jpeglib.h>

namespace {

using namespace imaging_test;
using runtime::imaging::decode_jpeg;
using runtime::imaging::decode_sequential_jpeg;
using runtime::imaging::DecodeError;
using runtime::imaging::ShownAs;

struct Encoding {
    const char* name;
    int width;
    int height;
    int components;       // 1 or 3
    int luma_horizontal;  // sampling factors of the first component (the others keep 1 x 1)
    int luma_vertical;
    int quality;           // below 25 the tables need 16 bits
    int restart_interval;  // in units; 0 for none
    bool scan_per_component;
    bool stored_as_rgb;
};

// A picture with sharp colour edges, smooth ramps and noise, so that every path of the colour
// expansion and of the transform has work to do.
std::vector<std::uint8_t> test_pattern(int width, int height, int components)
{
    std::vector<std::uint8_t> samples(static_cast<std::size_t>(width) * height * components);
    std::uint32_t noise = 12345;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            noise = noise * 1103515245 + 12345;
            bool stripe = ((x / 3) + (y / 5)) % 2 == 0;
            int ramp = (x * 255) / (width > 1 ? width - 1 : 1);
            int values[3] = {stripe ? 230 : 20, ramp, static_cast<int>((noise >> 16) & 0xFF)};
            for (int c = 0; c < components; ++c)
                samples[(static_cast<std::size_t>(y) * width + x) * components + c] =
                    static_cast<std::uint8_t>(components == 1 ? (values[0] + values[2]) / 2 : values[c]);
        }
    }
    return samples;
}

Bytes encode(const Encoding& encoding)
{
    jpeg_compress_struct compressor{};
    jpeg_error_mgr errors{};
    compressor.err = jpeg_std_error(&errors);
    errors.output_message = [](j_common_ptr) {};
    jpeg_create_compress(&compressor);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&compressor, &buffer, &size);
    compressor.image_width = static_cast<JDIMENSION>(encoding.width);
    compressor.image_height = static_cast<JDIMENSION>(encoding.height);
    compressor.input_components = encoding.components;
    compressor.in_color_space = encoding.components == 1 ? JCS_GRAYSCALE : JCS_RGB;
    jpeg_set_defaults(&compressor);
    if (encoding.stored_as_rgb)
        jpeg_set_colorspace(&compressor, JCS_RGB);
    jpeg_set_quality(&compressor, encoding.quality, encoding.quality >= 25 ? TRUE : FALSE);
    compressor.comp_info[0].h_samp_factor = encoding.luma_horizontal;
    compressor.comp_info[0].v_samp_factor = encoding.luma_vertical;
    for (int c = 1; c < encoding.components; ++c)
        compressor.comp_info[c].h_samp_factor = compressor.comp_info[c].v_samp_factor = 1;
    compressor.restart_interval = static_cast<unsigned>(encoding.restart_interval);
    jpeg_scan_info scans[3] = {};
    if (encoding.scan_per_component) {
        for (int c = 0; c < encoding.components; ++c) {
            scans[c].comps_in_scan = 1;
            scans[c].component_index[0] = c;
            scans[c].Se = 63;
        }
        compressor.scan_info = scans;
        compressor.num_scans = encoding.components;
    }
    jpeg_start_compress(&compressor, TRUE);
    std::vector<std::uint8_t> samples = test_pattern(encoding.width, encoding.height, encoding.components);
    while (compressor.next_scanline < compressor.image_height) {
        JSAMPROW row = samples.data() + static_cast<std::size_t>(compressor.next_scanline) * encoding.width *
                                            static_cast<std::size_t>(encoding.components);
        jpeg_write_scanlines(&compressor, &row, 1);
    }
    jpeg_finish_compress(&compressor);
    jpeg_destroy_compress(&compressor);
    Bytes bytes(buffer, buffer + size);
    std::free(buffer);
    return bytes;
}

// Both decoders' pixels, equal to the byte, or the first place they differ.
void expect_same_as_libjpeg(const Bytes& bytes, const std::string& name)
{
    auto expected = decode_jpeg(bytes);
    auto decoded = decode_sequential_jpeg(bytes);
    ASSERT_TRUE(expected) << name;
    ASSERT_TRUE(decoded.has_value()) << name << ": left to another decoder";
    ASSERT_TRUE(*decoded) << name << ": " << runtime::imaging::decode_error_name(decoded->error());
    ASSERT_EQ((*decoded)->width, expected->width) << name;
    ASSERT_EQ((*decoded)->height, expected->height) << name;
    const auto& want = expected->pixels;
    const auto& got = (*decoded)->pixels;
    ASSERT_EQ(got.size(), want.size()) << name;
    for (std::size_t i = 0; i < want.size(); ++i) {
        if (got.data()[i] != want.data()[i]) {
            std::size_t pixel = i / 3;
            FAIL() << name << ": pixel " << pixel % expected->width << ", "
                   << expected->height - 1 - static_cast<int>(pixel / expected->width) << " channel " << i % 3 << " is "
                   << int(got.data()[i]) << ", libjpeg says " << int(want.data()[i]);
        }
    }
}

const Encoding kEncodings[] = {
    // name                       w    h   comps  h  v  q   restart  per-scan rgb
    {"colour at half resolution", 37, 23, 3, 2, 2, 90, 0, false, false},
    {"colour at half width", 41, 17, 3, 2, 1, 85, 0, false, false},
    {"colour at full resolution", 33, 9, 3, 1, 1, 75, 0, false, false},
    {"greyscale", 19, 21, 1, 1, 1, 80, 0, false, false},
    {"one pixel", 1, 1, 3, 2, 2, 90, 0, false, false},
    {"colour two samples wide", 3, 5, 3, 2, 2, 90, 0, false, false},
    {"colour two samples wide, half width", 4, 3, 3, 2, 1, 90, 0, false, false},
    {"restart after every unit", 45, 29, 3, 2, 2, 90, 1, false, false},
    {"restart every five units", 45, 29, 3, 2, 2, 90, 5, false, false},
    {"one scan per component", 37, 23, 3, 2, 2, 90, 3, true, false},
    {"stored as red, green, blue", 21, 18, 3, 1, 1, 90, 0, false, true},
    {"16-bit tables (quality 5)", 40, 24, 3, 2, 2, 5, 0, false, false},
    {"quality 100", 40, 24, 3, 2, 2, 100, 0, false, false},
    {"wide and flat", 300, 2, 3, 2, 2, 70, 0, false, false},
};

TEST(SequentialJpeg, DecodesWhatLibjpegDecodesPixelForPixel)
{
    for (const Encoding& encoding : kEncodings)
        expect_same_as_libjpeg(encode(encoding), encoding.name);

    // And the program's own pictures: the certificate templates and the photo placeholder.
    std::filesystem::path templates = std::filesystem::path(CERTMAKER_SOURCE_DIR) / "app/data/templates";
    int count = 0;
    for (const auto& entry : std::filesystem::directory_iterator(templates)) {
        if (entry.path().extension() == ".jpg") {
            expect_same_as_libjpeg(read_file(entry.path().string()), entry.path().filename().string());
            ++count;
        }
    }
    EXPECT_GE(count, 17);
}

TEST(SequentialJpeg, ACutOffOrDamagedFileShowsWhatLibjpegShows)
{
    for (const Encoding& encoding : {kEncodings[0], kEncodings[8], kEncodings[9]}) {
        Bytes bytes = encode(encoding);
        for (std::size_t keep : {bytes.size() * 6 / 10, bytes.size() - 3}) {
            Bytes cut(bytes.begin(), bytes.begin() + static_cast<long>(keep));
            expect_same_as_libjpeg(cut, std::string(encoding.name) + " cut to " + std::to_string(keep));
        }
    }

    // A restart marker with the wrong number: one from later on leaves the intervals before it
    // grey, one from earlier is skipped, one far off is taken as the one expected.
    Bytes bytes = encode(kEncodings[7]);
    for (std::uint8_t wrong : {0xD3, 0xD7, 0xD5}) {
        Bytes damaged = bytes;
        int seen = 0;
        for (std::size_t i = 0; i + 1 < damaged.size(); ++i) {
            if (damaged[i] == 0xFF && damaged[i + 1] >= 0xD0 && damaged[i + 1] <= 0xD7 && ++seen == 2) {
                damaged[i + 1] = wrong;
                break;
            }
        }
        ASSERT_EQ(seen, 2);
        expect_same_as_libjpeg(damaged, "restart marker 1 numbered " + std::to_string(wrong - 0xD0));
    }
}

// Every cut of a small file, and every byte of its headers set to 0x00 and 0xFF, on an input of
// exactly its length (the sanitizer build catches any read past it).
TEST(SequentialJpeg, NeverReadsOutsideTheInput)
{
    Bytes bytes = encode(kEncodings[9]);
    auto decode_exact = [](const Bytes& source, std::size_t length) {
        std::unique_ptr<std::uint8_t[]> exact(new std::uint8_t[std::max<std::size_t>(length, 1)]);
        std::copy_n(source.begin(), length, exact.get());
        return decode_sequential_jpeg(std::span<const std::uint8_t>(exact.get(), length));
    };
    for (std::size_t length = 0; length <= bytes.size(); ++length) {
        auto picture = decode_exact(bytes, length);
        if (picture && *picture) {
            EXPECT_EQ((*picture)->pixels.size(), std::size_t{37} * 23 * 3) << length;
        }
    }
    for (std::size_t i = 0; i < std::min<std::size_t>(bytes.size(), 400); ++i) {
        for (std::uint8_t value : {std::uint8_t{0x00}, std::uint8_t{0xFF}}) {
            Bytes flipped = bytes;
            flipped[i] = value;
            auto picture = decode_exact(flipped, flipped.size());
            if (picture && *picture) {
                EXPECT_GT((*picture)->pixels.size(), 0u) << i;
            }
        }
    }
}

TEST(SequentialJpeg, DrawsIntoABitmapAndKeepsOnlyWhatACroppedBoxShows)
{
    Bytes bytes = encode(kEncodings[0]);
    auto whole = decode_sequential_jpeg(bytes);
    ASSERT_TRUE(whole && *whole);
    const auto& full = **whole;

    std::shared_ptr<platform::Bitmap> bitmap;
    auto drawn = decode_sequential_jpeg(bytes, {}, &bitmap);
    ASSERT_TRUE(drawn && *drawn);
    ASSERT_TRUE((*drawn)->converted);
    EXPECT_TRUE((*drawn)->pixels.empty());
    platform::Bitmap& pixels = *(*drawn)->converted;
    for (int y = 0; y < full.height; ++y) {
        const std::uint8_t* row = pixels.writable_rows() + static_cast<std::size_t>(y) * pixels.row_stride();
        const std::uint8_t* expected =
            full.pixels.data() + static_cast<std::size_t>(full.height - 1 - y) * full.width * 3;
        for (std::size_t x = 0; x < static_cast<std::size_t>(full.width); ++x) {
            ASSERT_TRUE(row[4 * x] == expected[3 * x] && row[4 * x + 1] == expected[3 * x + 1] &&
                        row[4 * x + 2] == expected[3 * x + 2] && row[4 * x + 3] == 255)
                << x << ", " << y;
        }
    }

    // A tall picture in a small natural-size box: only its top rows are kept (the last of them, at
    // the end of a unit row, expands its colour with the first row of the next).
    Bytes tall = encode({"tall", 64, 120, 3, 2, 2, 90, 0, false, false});
    auto tall_whole = decode_sequential_jpeg(tall);
    auto cropped = decode_sequential_jpeg(tall, {10, 16, ShownAs::Cropped});
    ASSERT_TRUE(tall_whole && *tall_whole && cropped && *cropped);
    EXPECT_EQ((*cropped)->width, 10);
    EXPECT_EQ((*cropped)->height, 16);
    EXPECT_EQ((*cropped)->natural_width, 64);
    EXPECT_EQ((*cropped)->natural_height, 120);
    EXPECT_EQ((*cropped)->kept, ShownAs::Cropped);
    for (std::size_t y = 0; y < 16; ++y) {
        const std::uint8_t* row = (*cropped)->pixels.data() + (15 - y) * 30;
        const std::uint8_t* expected = (*tall_whole)->pixels.data() + (119 - y) * 64 * 3;
        EXPECT_EQ(std::memcmp(row, expected, 30), 0) << "row " << y;
    }
}

TEST(SequentialJpeg, LeavesOtherProcessesToAnotherDecoderAndRefusesWhatLibjpegRefuses)
{
    TempDir dir;
    std::string progressive = dir.file("progressive.jpg");
    ASSERT_TRUE(convert("rose: -interlace Plane '" + progressive + "'"));
    EXPECT_FALSE(decode_sequential_jpeg(read_file(progressive)).has_value());
    // Colour at half height only, or at a quarter width: expanded by the system's codec.
    EXPECT_FALSE(decode_sequential_jpeg(encode({"tall", 16, 16, 3, 1, 2, 90, 0, false, false})).has_value());
    EXPECT_FALSE(decode_sequential_jpeg(encode({"quarter", 16, 16, 3, 4, 1, 90, 0, false, false})).has_value());

    std::string cmyk = dir.file("cmyk.jpg");
    ASSERT_TRUE(convert("rose: -colorspace CMYK '" + cmyk + "'"));
    auto refused = decode_sequential_jpeg(read_file(cmyk));
    ASSERT_TRUE(refused.has_value());
    EXPECT_EQ(refused->error(), DecodeError::UnsupportedComponents);

    std::string hostile = std::string(CERTMAKER_SOURCE_DIR) + "/tests/runtime/imaging/hostile/";
    refused = decode_sequential_jpeg(read_file(hostile + "jpeg_65500x65500.jpg"));
    ASSERT_TRUE(refused.has_value());
    EXPECT_EQ(refused->error(), DecodeError::TooLarge);
    for (const char* name : {"jpeg_soi_only.jpg", "jpeg_zero_width.jpg"}) {
        refused = decode_sequential_jpeg(read_file(hostile + name));
        ASSERT_TRUE(refused.has_value()) << name;
        EXPECT_FALSE(*refused) << name;
    }
}

}  // namespace
