#pragma once
// The chunk layout of a PNG file, walked over bytes already in memory before a codec sees them.

#include "runtime/imaging/byte_reader.h"

#include <cstdint>
#include <cstring>
#include <span>

namespace runtime::imaging {

constexpr std::size_t kPngSignatureSize = 8;

// Whether every chunk before the first pixel data ends within `bytes`. A codec reads each of those
// chunks whole, and allocates the length it declares before it finds the data shorter, so a file of
// a hundred bytes declaring a text chunk of 2 GB would cost 2 GB. Such a chunk fails the reading
// anyway; refusing the file first gives the same result for nothing. Chunks after the pixel data are
// not looked at: the pixels may be shown without them.
inline bool png_chunks_before_pixels_fit(std::span<const std::uint8_t> bytes)
{
    ByteReader reader(bytes);
    if (!reader.skip(kPngSignatureSize))
        return true;
    while (reader.remaining() >= 8) {
        const std::uint8_t* header = reader.bytes().data() + reader.position();
        if (std::memcmp(header + 4, "IDAT", 4) == 0)
            return true;
        // Length and type, the data, then the check value.
        std::uint64_t chunk_size = std::uint64_t{load_u32_be(header)} + 12;
        if (chunk_size > reader.remaining())
            return false;
        (void)reader.skip(static_cast<std::size_t>(chunk_size));
    }
    // What is left is too short for a chunk header: the codec finds that itself.
    return true;
}

}  // namespace runtime::imaging
