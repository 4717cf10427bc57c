// libFuzzer target: the PCX decoders (8-bit and 1-bit) on arbitrary bytes.

#include "runtime/imaging/pcx_decoder.h"
#include "runtime/imaging/picture_decoder.h"

#include <cstddef>
#include <cstdint>

// The same bytes kept only as a small box shows them: averaged, fitted and cropped row by row.
constexpr runtime::imaging::ShownSize kShown[] = {
    {7, 5, runtime::imaging::ShownAs::Stretched},
    {9, 9, runtime::imaging::ShownAs::Fitted},
    {6, 4, runtime::imaging::ShownAs::Cropped},
};

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    auto picture = runtime::imaging::decode_picture_as(runtime::imaging::PictureKind::Pcx8, {data, size});
    (void)picture;
    auto monochrome = runtime::imaging::decode_picture_as(runtime::imaging::PictureKind::Pcx1, {data, size});
    (void)monochrome;
    for (const runtime::imaging::ShownSize& shown : kShown) {
        auto kept = runtime::imaging::decode_pcx8({data, size}, shown);
        (void)kept;
    }
    return 0;
}
