#pragma once
// What every decoder must do with a damaged picture: give nothing, or a complete picture whose
// block matches its layout, and never read outside the input. Each input is copied into a block of
// exactly its size, so that the sanitizer build catches a read past the end.

#include "imaging_test_support.h"

#include "runtime/imaging/drawing.h"
#include "runtime/imaging/picture_decoder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

namespace imaging_test {

inline runtime::imaging::DecodeResult<runtime::imaging::DecodedPicture> decode_exact(const Bytes& bytes,
                                                                                     std::size_t length)
{
    std::unique_ptr<std::uint8_t[]> exact(new std::uint8_t[std::max<std::size_t>(length, 1)]);
    std::copy_n(bytes.begin(), length, exact.get());
    return runtime::imaging::decode_picture(std::span<const std::uint8_t>(exact.get(), length));
}

inline void expect_complete_picture(const runtime::imaging::DecodedPicture& picture)
{
    using runtime::imaging::PictureKind;
    EXPECT_GT(picture.width, 0);
    EXPECT_GT(picture.height, 0);
    if (picture.kind == PictureKind::Icon || picture.kind == PictureKind::Cursor) {
        EXPECT_TRUE(picture.icon);
    } else {
        EXPECT_TRUE(runtime::imaging::picture_bitmap(picture, runtime::imaging::kWhite));
    }
}

// Every length up to 300 bytes, then every 7th.
inline void expect_cut_offs_sound(const Bytes& bytes)
{
    for (std::size_t length = 0; length < bytes.size(); length += length < 300 ? 1 : 7) {
        auto picture = decode_exact(bytes, length);
        if (!picture)
            continue;
        SCOPED_TRACE(length);
        expect_complete_picture(*picture);
    }
}

// Each of the first 200 bytes in turn set to 0xFF, then to 0x00.
inline void expect_damaged_headers_sound(const Bytes& bytes)
{
    for (std::size_t i = 0; i < std::min<std::size_t>(bytes.size(), 200); ++i) {
        for (std::uint8_t value : {std::uint8_t{0xFF}, std::uint8_t{0x00}}) {
            Bytes damaged = bytes;
            damaged[i] = value;
            auto picture = decode_exact(damaged, damaged.size());
            if (picture) {
                SCOPED_TRACE(i);
                expect_complete_picture(*picture);
            }
        }
    }
}

}  // namespace imaging_test
