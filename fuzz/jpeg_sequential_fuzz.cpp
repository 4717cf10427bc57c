// libFuzzer target: the runtime's own sequential JPEG decoder on arbitrary bytes, into a pixel block,
// into a bitmap, and cropped to a small box.

#include "runtime/imaging/jpeg_sequential.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::span<const std::uint8_t> bytes(data, size);
    auto whole = runtime::imaging::decode_sequential_jpeg(bytes);
    std::shared_ptr<platform::Bitmap> bitmap;
    auto drawn = runtime::imaging::decode_sequential_jpeg(bytes, {}, &bitmap);
    auto cropped = runtime::imaging::decode_sequential_jpeg(bytes, {7, 5, runtime::imaging::ShownAs::Cropped});
    (void)whole;
    (void)drawn;
    (void)cropped;
    return 0;
}
