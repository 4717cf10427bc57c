// libFuzzer target: the BMP decoder on arbitrary bytes, whatever they probe as.

#include "runtime/imaging/bmp_decoder.h"
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
    auto picture = runtime::imaging::decode_picture_as(runtime::imaging::PictureKind::Bmp, {data, size});
    (void)picture;
    for (const runtime::imaging::ShownSize& shown : kShown) {
        auto kept = runtime::imaging::decode_bmp({data, size}, shown);
        (void)kept;
    }
    return 0;
}
