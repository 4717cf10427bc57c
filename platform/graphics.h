#pragma once
// Platform bitmaps and icons made from pixel blocks, and drawing them on a device context. Free of
// Qt in this header so that the runtime can use it; inside, a bitmap or an icon is a QImage.

#include "platform/device_context.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

namespace platform {

// A device-dependent bitmap: opaque pixels of a fixed size.
class Bitmap {
public:
    struct Impl;
    explicit Bitmap(std::unique_ptr<Impl> impl);
    ~Bitmap();
    Bitmap(const Bitmap&) = delete;
    Bitmap& operator=(const Bitmap&) = delete;

    int width() const;
    int height() const;
    // The pixels as 0x00BBGGRR colours, top row first (for tests and for saving).
    Colour pixel(int x, int y) const;
    // Rows of width x 3 bytes blue, green, red, top row first, no padding.
    std::vector<std::uint8_t> bgr_rows() const;
    // The rows as a 24-bit BMP stores them, in one pass: bottom row first, blue, green, red, each
    // row zero-padded to `row_bytes` (at least width x 3). `out` holds height x row_bytes bytes.
    void write_bmp_rows(std::uint8_t* out, std::size_t row_bytes) const;
    // The pixels for writing in place: height rows of row_stride() bytes, top row first, each pixel
    // blue, green, red and a fourth byte that must be 255.
    std::uint8_t* writable_rows();
    std::size_t row_stride() const;

    Impl& impl() { return *m_impl; }
    const Impl& impl() const { return *m_impl; }

private:
    std::unique_ptr<Impl> m_impl;
};

// An icon: pixels with an alpha channel, drawn blended over what lies beneath.
class Icon {
public:
    struct Impl;
    explicit Icon(std::unique_ptr<Impl> impl);
    ~Icon();
    Icon(const Icon&) = delete;
    Icon& operator=(const Icon&) = delete;

    int width() const;
    int height() const;

    Impl& impl() { return *m_impl; }
    const Impl& impl() const { return *m_impl; }

private:
    std::unique_ptr<Impl> m_impl;
};

// Where the rows of a pixel block start.
enum class RowOrder {
    TopDown,
    BottomUp,
};

// Bitmaps from pixel blocks. `stride` is the distance between rows in bytes; the block must hold
// `height` rows of it (the caller has checked its size). All give none for a size of 0 or less or
// when memory is short.
//   24-bit: blue, green, red per pixel.
//   32-bit: blue, green, red, and a byte that is ignored (the bitmap is opaque).
//   8-bit: indices into `palette`, whose entries are blue, green, red, 0 (4 bytes each); indices at
//          or beyond `palette_entries` give black.
//   1-bit: most significant bit first; 0 is black, 1 is white.
std::unique_ptr<Bitmap> bitmap_from_bgr24(const std::uint8_t* rows, int width, int height, std::size_t stride,
                                          RowOrder order);
std::unique_ptr<Bitmap> bitmap_from_bgrx32(const std::uint8_t* rows, int width, int height, std::size_t stride,
                                           RowOrder order);
std::unique_ptr<Bitmap> bitmap_from_indexed8(const std::uint8_t* rows, int width, int height, std::size_t stride,
                                             RowOrder order, const std::uint8_t* palette, int palette_entries);
std::unique_ptr<Bitmap> bitmap_from_monochrome(const std::uint8_t* rows, int width, int height, std::size_t stride,
                                               RowOrder order);
// Where a conversion lands: a size other than the block's own converts and scales in one pass over
// the rows, shrinking by area averaging (each result pixel is the mean of the block's area it
// covers) and enlarging by bilinear sampling; no bitmap of the block's full size is made.
struct TargetSize {
    int width = 0;  // 0: the block's own width
    int height = 0;
};
std::unique_ptr<Bitmap> bitmap_from_bgr24(const std::uint8_t* rows, int width, int height, std::size_t stride,
                                          RowOrder order, TargetSize target);
std::unique_ptr<Bitmap> bitmap_from_bgrx32(const std::uint8_t* rows, int width, int height, std::size_t stride,
                                           RowOrder order, TargetSize target);
std::unique_ptr<Bitmap> bitmap_from_indexed8(const std::uint8_t* rows, int width, int height, std::size_t stride,
                                             RowOrder order, const std::uint8_t* palette, int palette_entries,
                                             TargetSize target);
std::unique_ptr<Bitmap> bitmap_from_monochrome(const std::uint8_t* rows, int width, int height, std::size_t stride,
                                               RowOrder order, TargetSize target);
// 32-bit pixels blue, green, red, alpha (not premultiplied) laid over an opaque `background`, in the
// same pass as the conversion (no blended copy of the block is made).
std::unique_ptr<Bitmap> bitmap_from_bgra32_over(const std::uint8_t* rows, int width, int height, std::size_t stride,
                                                RowOrder order, Colour background, TargetSize target);
// The bitmap scaled to a new size as above (halftone stretching).
std::unique_ptr<Bitmap> scaled_bitmap(const Bitmap& bitmap, int width, int height);

// How often pixels were converted into bitmaps and scaled, for tests that guard the caching of
// converted pictures (counts only; never reset by the platform).
struct GraphicsCounters {
    long conversions = 0;       // bitmaps made from pixel blocks
    long scalings = 0;          // conversions and bitmaps scaled to another size
    long font_conversions = 0;  // font descriptions turned into the platform's fonts
    long frames_drawn = 0;      // window frames (borders, edges, captions) the platform drew itself
    long list_items_drawn = 0;  // list items drawn afresh rather than copied from an earlier drawing
    long buttons_drawn = 0;     // push button faces and group box titles drawn afresh, not copied
};
const GraphicsCounters& graphics_counters();

// A bitmap of the given size filled with one colour.
std::unique_ptr<Bitmap> filled_bitmap(int width, int height, Colour fill);
// A bitmap of the given size whose pixels are left for the caller to write through writable_rows(),
// or none for an empty size or when memory is short. A decoder that writes this layout fills it as
// it reads, so that the picture needs neither a pixel block of its own nor a conversion.
std::unique_ptr<Bitmap> blank_bitmap(int width, int height);

// An icon from 32-bit pixels blue, green, red, alpha (not premultiplied), top row first, no padding.
std::unique_ptr<Icon> icon_from_bgra32(const std::uint8_t* pixels, int width, int height);

// A device context that draws into a bitmap (for composing, and for drawing icons on white).
std::unique_ptr<DeviceContext> bitmap_device_context(Bitmap& bitmap);

// Raster operations of a plain blit. Every non-negative operation other than these copies.
namespace RasterOperation {
inline constexpr std::int32_t SourceCopy = 0x00CC0020;
inline constexpr std::int32_t SourcePaint = 0x00EE0086;  // OR
inline constexpr std::int32_t SourceAnd = 0x008800C6;
inline constexpr std::int32_t SourceInvert = 0x00660046;  // XOR
}  // namespace RasterOperation

// Stretches the whole bitmap onto `target` with the context's stretch mode (halftone averages the
// area each pixel covers when shrinking and smooths when enlarging, colour-on-colour takes the
// nearest pixel). Only the part inside the context's clip box is drawn.
void draw_bitmap(DeviceContext& context, const Bitmap& bitmap, const Rect& target,
                 std::int32_t raster_operation = RasterOperation::SourceCopy);
// As draw_bitmap, but pixels of `transparent` leave the target unchanged.
void draw_bitmap_transparent(DeviceContext& context, const Bitmap& bitmap, const Rect& target, Colour transparent);
// Draws an icon blended over the target; a width or height of -1 takes the icon's own.
void draw_icon(DeviceContext& context, const Icon& icon, int x, int y, int width, int height);

}  // namespace platform
