#pragma once
// GIF (87a and 89a): the header, the block walk that yields frames one by one, LZW frame decoding,
// and the still picture (the first frame on the logical screen, kind 5). The picture box's animator
// walks the same GifStream frame by frame.

#include "runtime/imaging/decode_error.h"
#include "runtime/imaging/decoded_picture.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace runtime::imaging {

// Disposal codes as the graphic control extension's packed byte holds them (packed & 0x1C).
namespace GifDisposal {
inline constexpr int None = 0;
inline constexpr int Keep = 4;
inline constexpr int RestoreBackground = 8;
inline constexpr int RestorePrevious = 12;
}  // namespace GifDisposal

// One frame: its place on the logical screen, the graphic control values that apply to it, and its
// pixels as a bitmap block of the frame's own size (40-byte header with the frame's width and minus
// its height, 256 colour entries blue, green, red, 0, then 8-bit rows padded to 4 bytes, top row
// first). The frame may reach beyond the logical screen; whoever draws it clips it there.
struct GifFrame {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    int disposal = GifDisposal::None;
    bool has_transparency = false;
    std::uint8_t transparent_index = 0;
    std::uint32_t transparent_colour = 0;  // 0x00BBGGRR of the table entry at the transparent index
    int delay = 0;                         // hundredths of a second as stored (0 means "use the default")
    bool interlaced = false;
    PixelBlock bitmap;

    std::size_t row_bytes() const { return (static_cast<std::size_t>(width) + 3) & ~std::size_t{3}; }
    const std::uint8_t* palette() const { return bitmap.data() + kBitmapHeaderBytes; }  // 256 x 4 bytes
    const std::uint8_t* rows() const { return bitmap.data() + kBitmapPrefixBytes; }
    std::uint8_t index_at(int x, int y) const { return rows()[static_cast<std::size_t>(y) * row_bytes() + x]; }
};

class GifStream {
public:
    // Reads the header and the global colour table and keeps a private copy of the block stream that
    // follows them. Fails for fewer than 14 bytes, a wrong signature, or a header and table that
    // reach the end of the data.
    static DecodeResult<GifStream> open(std::span<const std::uint8_t> bytes);

    int screen_width() const { return m_screen_width; }
    int screen_height() const { return m_screen_height; }
    std::uint8_t background_index() const { return m_background_index; }
    // Global colour table: red, green, blue triples; empty when the file has none.
    const std::vector<std::uint8_t>& global_colours() const { return m_global_colours; }

    // The next frame of the block walk. The trailer (or a 0 byte where a block should start) returns
    // to the start of the block stream and the walk goes on, so frames repeat for ever; a stream
    // that holds no frame at all gives NoFrame instead of looping. An unknown extension, an unknown
    // block or data running past the end give an error (running past the end also rewinds).
    DecodeResult<GifFrame> next_frame();
    // Back to the first block.
    void rewind();
    // Whether the walk has consumed everything up to the trailer (or the end of the data): after the
    // first frame this tells a single-frame GIF.
    bool at_end() const;

private:
    DecodeResult<GifFrame> decode_frame();

    std::vector<std::uint8_t> m_blocks;
    std::size_t m_position = 0;
    int m_screen_width = 0;
    int m_screen_height = 0;
    std::uint8_t m_background_index = 0;
    std::vector<std::uint8_t> m_global_colours;

    // Graphic control values waiting for the next image.
    int m_disposal = GifDisposal::None;
    bool m_has_transparency = false;
    std::uint8_t m_transparent_index = 0;
    int m_delay = 0;
    bool m_frame_since_rewind = false;
};

// The first frame as a kind-5 still picture of the logical screen's size: the frame is placed at its
// position and clipped to the screen; pixels it does not cover are index 0.
// Shown smaller than the screen (see ShownSize), it is kept only as shown.
DecodeResult<DecodedPicture> decode_gif(std::span<const std::uint8_t> bytes, ShownSize shown = {});

}  // namespace runtime::imaging
