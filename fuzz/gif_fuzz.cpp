// libFuzzer target: the GIF still picture and the frame walk the animator uses (several rounds, so
// that rewinding at the trailer is exercised too).

#include "runtime/imaging/gif_decoder.h"

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
    std::span<const std::uint8_t> bytes(data, size);
    auto picture = runtime::imaging::decode_gif(bytes);
    (void)picture;
    for (const runtime::imaging::ShownSize& shown : kShown) {
        auto kept = runtime::imaging::decode_gif(bytes, shown);
        (void)kept;
    }
    auto stream = runtime::imaging::GifStream::open(bytes);
    if (!stream)
        return 0;
    for (int i = 0; i < 8; ++i) {
        auto frame = stream->next_frame();
        if (!frame && frame.error() == runtime::imaging::DecodeError::NoFrame)
            break;
    }
    return 0;
}
