#pragma once
// The decoded picture: what every decoder produces and what the drawing routines draw. Its owner
// frees it by destroying it, which frees the pixel block and destroys the icon.
//
// Pixel block layout by kind:
//   Jpeg, Bmp       blue, green, red; rows of exactly width x 3 bytes; bottom row first
//   Icon, Cursor    none; the icon holds the pixels
//   Gif             bitmap block (40-byte header, 256 colour entries blue, green, red, 0, then 8-bit
//                   rows padded to 4 bytes, top row first) of the logical screen
//   Pcx8            bitmap block laid out like Gif, of the image
//   Pcx1            1-bit rows, most significant bit first (1 is white), padded to an even length
//   Png             blue, green, red, alpha (not premultiplied); rows of width x 4; top row first

#include "platform/graphics.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>

namespace runtime::imaging {

enum class PictureKind : std::int32_t {
    None = 0,
    Jpeg = 1,
    Bmp = 2,
    Icon = 3,
    Cursor = 4,
    Gif = 5,
    Pcx8 = 6,
    Pcx1 = 7,
    Png = 8,
};

const char* picture_kind_name(PictureKind kind);

// A heap block of bytes that frees itself. Allocation never throws: a block that cannot be had is
// empty.
class PixelBlock {
public:
    enum class Fill {
        Zero,
        Uninitialised,
    };

    PixelBlock() = default;
    static PixelBlock allocate(std::size_t size, Fill fill);
    // Takes ownership of a block from std::malloc (or none).
    static PixelBlock adopt(std::uint8_t* block, std::size_t size);

    std::uint8_t* data() { return m_data.get(); }
    const std::uint8_t* data() const { return m_data.get(); }
    std::size_t size() const { return m_size; }
    bool empty() const { return !m_data; }

private:
    struct Free {
        void operator()(std::uint8_t* p) const { std::free(p); }
    };
    std::unique_ptr<std::uint8_t, Free> m_data;
    std::size_t m_size = 0;
};

// How a picture will be shown, so that a decoder may keep only what is seen of it.
enum class ShownAs {
    Whole,      // everything is kept (JPEG may still pick a reduced scale for the size below)
    Stretched,  // drawn at exactly width x height, halftone: larger axes are averaged down as read
    Fitted,     // drawn at the largest size of its proportions within width x height, halftone
    Cropped,    // drawn at natural size from the top-left corner: only width x height of it is seen
};

struct DecodedPicture {
    PictureKind kind = PictureKind::None;
    std::int32_t width = 0;
    std::int32_t height = 0;
    // The size the file declares, when the decoder reduced the picture on the way (0: not reduced).
    std::int32_t natural_width = 0;
    std::int32_t natural_height = 0;
    std::unique_ptr<platform::Icon> icon;  // kinds Icon and Cursor only
    PixelBlock pixels;                     // all other kinds
    // The pixels converted for drawing: made on the first draw and kept while the picture lives,
    // so that painting never converts the same picture twice (see drawing.h). A picture decoded
    // only to be drawn may have its pixels here alone, with an empty pixel block; its owner may hand
    // the bitmap to the next such decode of the same size to be written over.
    mutable std::shared_ptr<platform::Bitmap> converted;
    mutable platform::Colour converted_background = 0;
    // Other than Whole when the decoder kept only what is shown (width x height, the averaged or
    // cropped size): the pixels are then blue, green, red rows of width x 3, bottom row first, as
    // for Jpeg and Bmp, whatever the kind; PNG transparency is already laid over `kept_over`.
    ShownAs kept = ShownAs::Whole;
    platform::Colour kept_over = 0;

    std::size_t pixel_block_size() const { return pixels.size(); }
    std::int32_t full_width() const { return natural_width > 0 ? natural_width : width; }
    std::int32_t full_height() const { return natural_height > 0 ? natural_height : height; }
};

// The size a picture will be shown at, so that a decoder may reduce what it keeps (a width or
// height of 0 asks for the full size). With `as` Whole it is only the smallest size the picture
// will be drawn at; otherwise the picture box draws it exactly as `as` says, over `background`.
struct ShownSize {
    int width = 0;
    int height = 0;
    ShownAs as = ShownAs::Whole;
    platform::Colour background = 0x00FFFFFF;
};

// The size a picture of width x height is drawn at when it is fitted into box_width x box_height:
// centred, shrunk to keep its proportions, never enlarged.
struct PictureSize {
    int width = 0;
    int height = 0;
};
PictureSize fitted_size(int box_width, int box_height, int width, int height);

// Bitmap block header and colour table of kinds Gif and Pcx8.
inline constexpr std::size_t kBitmapHeaderBytes = 40;
inline constexpr std::size_t kBitmapPaletteBytes = std::size_t{256} * 4;
inline constexpr std::size_t kBitmapPrefixBytes = kBitmapHeaderBytes + kBitmapPaletteBytes;

// The rows a decoder writes a picture of width x height into when it decodes straight to a bitmap:
// those of `bitmap` itself when it has that size and nothing else holds it, otherwise of a new blank
// one put in its place. None when no bitmap could be made; `stride` is set otherwise.
std::uint8_t* bitmap_rows_to_write(std::shared_ptr<platform::Bitmap>& bitmap, int width, int height,
                                   std::size_t& stride);

// Writes a 40-byte bitmap information header for 8-bit rows, 256 colours.
void write_bitmap_header(std::uint8_t* header, std::int32_t width, std::int32_t height, std::uint16_t planes);

}  // namespace runtime::imaging
