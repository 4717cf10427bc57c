// libFuzzer target: the PCX decoders (8-bit and 1-bit) on arbitrary bytes.

#include "runtime/imaging/picture_decoder.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    auto picture = runtime::imaging::decode_picture_as(runtime::imaging::PictureKind::Pcx8, {data, size});
    (void)picture;
    auto monochrome = runtime::imaging::decode_picture_as(runtime::imaging::PictureKind::Pcx1, {data, size});
    (void)monochrome;
    return 0;
}
