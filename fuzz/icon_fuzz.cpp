// libFuzzer target: the icon and cursor decoder (and the PNG or bitmap inside an entry) on arbitrary bytes, whatever
// they probe as.

#include "runtime/imaging/picture_decoder.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    auto picture = runtime::imaging::decode_picture_as(runtime::imaging::PictureKind::Icon, {data, size});
    (void)picture;
    return 0;
}
