#include "imaging_test_support.h"

#include "runtime/imaging/png_decoder.h"

#include <gtest/gtest.h>
#include <zlib.h>

namespace {

using namespace imaging_test;
using runtime::imaging::decode_png;
using runtime::imaging::DecodeError;

void append_chunk(Bytes& png, const char* type, const Bytes& data)
{
    Bytes chunk(4, 0);
    chunk.insert(chunk.end(), type, type + 4);
    chunk.insert(chunk.end(), data.begin(), data.end());
    std::uint32_t length = static_cast<std::uint32_t>(data.size());
    for (int i = 0; i < 4; ++i)
        chunk[i] = static_cast<std::uint8_t>(length >> (24 - 8 * i));
    uLong crc = crc32(0, chunk.data() + 4, static_cast<uInt>(chunk.size() - 4));
    for (int i = 0; i < 4; ++i)
        chunk.push_back(static_cast<std::uint8_t>(crc >> (24 - 8 * i)));
    png.insert(png.end(), chunk.begin(), chunk.end());
}

// A valid RGBA PNG header declaring `size` x `size`, followed by a little compressed data of zeros.
Bytes declared_png(std::uint32_t size)
{
    Bytes png = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    Bytes header(13, 0);
    for (int i = 0; i < 4; ++i) {
        header[i] = header[4 + i] = static_cast<std::uint8_t>(size >> (24 - 8 * i));
    }
    header[8] = 8;  // bit depth
    header[9] = 6;  // RGBA
    append_chunk(png, "IHDR", header);
    Bytes zeros(65536, 0);
    uLongf compressed_size = compressBound(zeros.size());
    Bytes compressed(compressed_size);
    compress(compressed.data(), &compressed_size, zeros.data(), zeros.size());
    compressed.resize(compressed_size);
    append_chunk(png, "IDAT", compressed);
    append_chunk(png, "IEND", {});
    return png;
}

TEST(PngDecoder, RefusesShortFilesAndDecompressionBombs)
{
    auto picture = decode_png(Bytes{0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A});
    ASSERT_FALSE(picture);
    EXPECT_EQ(picture.error(), DecodeError::Truncated);

    // 50000 x 50000 x 4 bytes from a few hundred bytes of input: refused by its declared size.
    picture = decode_png(declared_png(50000));
    ASSERT_FALSE(picture);
    EXPECT_EQ(picture.error(), DecodeError::TooLarge);

    // The same file declaring 16 x 16 decodes.
    Bytes small = declared_png(16);
    picture = decode_png(small);
    ASSERT_TRUE(picture) << runtime::imaging::decode_error_name(picture.error());
    EXPECT_EQ(picture->pixel_block_size(), 16u * 16 * 4);
}

}  // namespace
