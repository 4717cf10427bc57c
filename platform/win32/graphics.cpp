// Bitmaps and icons on GDI: each holds a top-down 32-bit DIB section, so conversions write its
// pixels directly and drawing is a blit from a memory DC.
//
// Index: DIB sections / bitmaps and icons / conversions / drawing.

#include "platform/graphics.h"

#include "platform/pixel_scaling.h"
#include "platform/win32/graphics_win32.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace platform {
namespace {

// A pixel block larger than this is refused: it is more than any picture is shown at, and GDI's
// own sections are limited to about this much on a 32-bit system.
constexpr std::uint64_t kMaxDibBytes = std::uint64_t{512} * 1024 * 1024;

// GDI leaves the fourth byte of a 32-bit DIB at 0 when it draws, and compares it in colour-keyed
// blits: opaque pixels keep it 0 here too.
constexpr std::uint32_t kOpaque = 0;

constexpr std::uint32_t opaque_bgr(std::uint8_t blue, std::uint8_t green, std::uint8_t red)
{
    return kOpaque | (static_cast<std::uint32_t>(red) << 16) | (static_cast<std::uint32_t>(green) << 8) | blue;
}

constexpr Colour colour_from_pixel(std::uint32_t pixel)
{
    return ((pixel >> 16) & 0xFF) | (pixel & 0xFF00) | ((pixel & 0xFF) << 16);
}

}  // namespace

// ==== DIB sections ===============================================================================

DibSection::~DibSection()
{
    if (bitmap)
        DeleteObject(bitmap);
}

bool make_dib_section(DibSection& dib, int width, int height)
{
    if (width <= 0 || height <= 0 ||
        static_cast<std::uint64_t>(width) * static_cast<std::uint64_t>(height) * 4 > kMaxDibBytes)
        return false;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top row first
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!bitmap || !bits) {
        if (bitmap)
            DeleteObject(bitmap);
        return false;
    }
    if (dib.bitmap)
        DeleteObject(dib.bitmap);
    dib.bitmap = bitmap;
    dib.bits = static_cast<std::uint32_t*>(bits);
    dib.width = width;
    dib.height = height;
    return true;
}

// ==== Bitmaps and icons ==========================================================================

Bitmap::Bitmap(std::unique_ptr<Impl> impl)
    : m_impl(std::move(impl))
{
}

Bitmap::~Bitmap() = default;

int Bitmap::width() const
{
    return m_impl->dib.width;
}

int Bitmap::height() const
{
    return m_impl->dib.height;
}

Colour Bitmap::pixel(int x, int y) const
{
    if (x < 0 || y < 0 || x >= width() || y >= height())
        return 0;
    // GDI may still be drawing into the section.
    GdiFlush();
    return colour_from_pixel(m_impl->dib.row(y)[x]);
}

std::vector<std::uint8_t> Bitmap::bgr_rows() const
{
    GdiFlush();
    const DibSection& dib = m_impl->dib;
    std::vector<std::uint8_t> rows(static_cast<std::size_t>(dib.width) * dib.height * 3);
    std::uint8_t* out = rows.data();
    for (int y = 0; y < dib.height; ++y) {
        const std::uint32_t* line = dib.row(y);
        for (int x = 0; x < dib.width; ++x) {
            *out++ = static_cast<std::uint8_t>(line[x]);
            *out++ = static_cast<std::uint8_t>(line[x] >> 8);
            *out++ = static_cast<std::uint8_t>(line[x] >> 16);
        }
    }
    return rows;
}

void Bitmap::write_bmp_rows(std::uint8_t* out, std::size_t row_bytes) const
{
    GdiFlush();
    const DibSection& dib = m_impl->dib;
    const std::size_t pixel_bytes = static_cast<std::size_t>(dib.width) * 3;
    for (int y = 0; y < dib.height; ++y) {
        const std::uint32_t* line = dib.row(dib.height - 1 - y);
        std::uint8_t* target = out + static_cast<std::size_t>(y) * row_bytes;
        for (int x = 0; x < dib.width; ++x, target += 3) {
            std::uint32_t p = line[x];
            target[0] = static_cast<std::uint8_t>(p);
            target[1] = static_cast<std::uint8_t>(p >> 8);
            target[2] = static_cast<std::uint8_t>(p >> 16);
        }
        std::memset(target, 0, row_bytes - pixel_bytes);
    }
}

std::uint8_t* Bitmap::writable_rows()
{
    // GDI may still be drawing into the section.
    GdiFlush();
    return reinterpret_cast<std::uint8_t*>(m_impl->dib.bits);
}

std::size_t Bitmap::row_stride() const
{
    return static_cast<std::size_t>(m_impl->dib.width) * sizeof(std::uint32_t);
}

Icon::Icon(std::unique_ptr<Impl> impl)
    : m_impl(std::move(impl))
{
}

Icon::~Icon() = default;

int Icon::width() const
{
    return m_impl->dib.width;
}

int Icon::height() const
{
    return m_impl->dib.height;
}

// ==== Conversions ================================================================================

namespace {

std::unique_ptr<Bitmap> new_bitmap(int width, int height)
{
    auto impl = std::make_unique<Bitmap::Impl>();
    if (!make_dib_section(impl->dib, width, height))
        return nullptr;
    return std::make_unique<Bitmap>(std::move(impl));
}

const std::uint8_t* source_row(const std::uint8_t* rows, int y, int height, std::size_t stride, RowOrder order)
{
    std::size_t stored =
        order == RowOrder::TopDown ? static_cast<std::size_t>(y) : static_cast<std::size_t>(height - 1 - y);
    return rows + stored * stride;
}

GraphicsCounters g_counters;

// The shared scaling writes opaque pixels with the fourth byte set.
void clear_fourth_bytes(DibSection& dib)
{
    std::uint32_t* end = dib.bits + static_cast<std::size_t>(dib.width) * static_cast<std::size_t>(dib.height);
    for (std::uint32_t* p = dib.bits; p != end; ++p)
        *p &= 0x00FFFFFF;
}

// Rows in, a bitmap of the target size out: each shrinking axis is averaged as the rows pass, an
// enlarging axis is sampled bilinearly afterwards. `read_row(y, out)` writes source row y.
template <typename RowFunction>
std::unique_ptr<Bitmap> scale_rows(int width, int height, TargetSize target, RowFunction read_row)
{
    int target_width = target.width > 0 ? target.width : width;
    int target_height = target.height > 0 ? target.height : height;
    int reduced_width = std::min(width, target_width);
    int reduced_height = std::min(height, target_height);
    auto bitmap = new_bitmap(reduced_width, reduced_height);
    if (!bitmap)
        return nullptr;
    DibSection& reduced = bitmap->impl().dib;
    reduce_rows(width, height, reduced_width, reduced_height, reduced.bits, static_cast<std::size_t>(reduced_width),
                read_row);
    if (reduced_width == target_width && reduced_height == target_height) {
        if (reduced_width != width || reduced_height != height)
            clear_fourth_bytes(reduced);
        return bitmap;
    }
    auto enlarged = new_bitmap(target_width, target_height);
    if (!enlarged)
        return nullptr;
    bilinear_scale(reduced.bits, reduced_width, reduced_height, static_cast<std::size_t>(reduced_width),
                   enlarged->impl().dib.bits, target_width, target_height, static_cast<std::size_t>(target_width));
    clear_fourth_bytes(enlarged->impl().dib);
    return enlarged;
}

template <typename PixelFunction>
std::unique_ptr<Bitmap> convert_rows(const std::uint8_t* rows, int width, int height, std::size_t stride,
                                     RowOrder order, TargetSize target, PixelFunction pixel)
{
    if (!rows || width <= 0 || height <= 0 || target.width < 0 || target.height < 0)
        return nullptr;
    ++g_counters.conversions;
    if ((target.width && target.width != width) || (target.height && target.height != height))
        ++g_counters.scalings;
    return scale_rows(width, height, target, [&](int y, std::uint32_t* out) {
        const std::uint8_t* in = source_row(rows, y, height, stride, order);
        for (int x = 0; x < width; ++x)
            out[x] = pixel(in, x);
    });
}

}  // namespace

std::unique_ptr<Bitmap> bitmap_from_bgr24(const std::uint8_t* rows, int width, int height, std::size_t stride,
                                          RowOrder order)
{
    return bitmap_from_bgr24(rows, width, height, stride, order, TargetSize{});
}

std::unique_ptr<Bitmap> bitmap_from_bgr24(const std::uint8_t* rows, int width, int height, std::size_t stride,
                                          RowOrder order, TargetSize target)
{
    return convert_rows(rows, width, height, stride, order, target, [](const std::uint8_t* in, int x) {
        const std::uint8_t* p = in + static_cast<std::size_t>(x) * 3;
        return opaque_bgr(p[0], p[1], p[2]);
    });
}

std::unique_ptr<Bitmap> bitmap_from_bgrx32(const std::uint8_t* rows, int width, int height, std::size_t stride,
                                           RowOrder order)
{
    return bitmap_from_bgrx32(rows, width, height, stride, order, TargetSize{});
}

std::unique_ptr<Bitmap> bitmap_from_bgrx32(const std::uint8_t* rows, int width, int height, std::size_t stride,
                                           RowOrder order, TargetSize target)
{
    return convert_rows(rows, width, height, stride, order, target, [](const std::uint8_t* in, int x) {
        const std::uint8_t* p = in + static_cast<std::size_t>(x) * 4;
        return opaque_bgr(p[0], p[1], p[2]);
    });
}

std::unique_ptr<Bitmap> bitmap_from_bgra32_over(const std::uint8_t* rows, int width, int height, std::size_t stride,
                                                RowOrder order, Colour background, TargetSize target)
{
    const int back[3] = {static_cast<int>((background >> 16) & 0xFF), static_cast<int>((background >> 8) & 0xFF),
                         static_cast<int>(background & 0xFF)};  // blue, green, red
    return convert_rows(rows, width, height, stride, order, target, [&back](const std::uint8_t* in, int x) {
        const std::uint8_t* p = in + static_cast<std::size_t>(x) * 4;
        if (p[3] == 255)
            return opaque_bgr(p[0], p[1], p[2]);
        double a = p[3] / 255.0;
        std::uint8_t channel[3];
        for (int i = 0; i < 3; ++i)
            channel[i] =
                static_cast<std::uint8_t>(std::clamp(static_cast<int>(p[i] * a + back[i] * (1.0 - a)), 0, 255));
        return opaque_bgr(channel[0], channel[1], channel[2]);
    });
}

std::unique_ptr<Bitmap> bitmap_from_indexed8(const std::uint8_t* rows, int width, int height, std::size_t stride,
                                             RowOrder order, const std::uint8_t* palette, int palette_entries)
{
    return bitmap_from_indexed8(rows, width, height, stride, order, palette, palette_entries, TargetSize{});
}

std::unique_ptr<Bitmap> bitmap_from_indexed8(const std::uint8_t* rows, int width, int height, std::size_t stride,
                                             RowOrder order, const std::uint8_t* palette, int palette_entries,
                                             TargetSize target)
{
    std::uint32_t colours[256];
    for (int i = 0; i < 256; ++i) {
        if (palette && i < palette_entries) {
            const std::uint8_t* entry = palette + static_cast<std::size_t>(i) * 4;
            colours[i] = opaque_bgr(entry[0], entry[1], entry[2]);
        } else {
            colours[i] = kOpaque;
        }
    }
    return convert_rows(rows, width, height, stride, order, target,
                        [&colours](const std::uint8_t* in, int x) { return colours[in[x]]; });
}

std::unique_ptr<Bitmap> bitmap_from_monochrome(const std::uint8_t* rows, int width, int height, std::size_t stride,
                                               RowOrder order)
{
    return bitmap_from_monochrome(rows, width, height, stride, order, TargetSize{});
}

std::unique_ptr<Bitmap> bitmap_from_monochrome(const std::uint8_t* rows, int width, int height, std::size_t stride,
                                               RowOrder order, TargetSize target)
{
    return convert_rows(rows, width, height, stride, order, target, [](const std::uint8_t* in, int x) {
        bool set = (in[x >> 3] >> (7 - (x & 7))) & 1;
        return set ? opaque_bgr(255, 255, 255) : kOpaque;
    });
}

std::unique_ptr<Bitmap> scaled_bitmap(const Bitmap& bitmap, int width, int height)
{
    if (width <= 0 || height <= 0)
        return nullptr;
    ++g_counters.scalings;
    GdiFlush();
    const DibSection& dib = bitmap.impl().dib;
    return scale_rows(dib.width, dib.height, TargetSize{width, height}, [&dib](int y, std::uint32_t* out) {
        const std::uint32_t* line = dib.row(y);
        std::copy(line, line + dib.width, out);
    });
}

const GraphicsCounters& graphics_counters()
{
    return g_counters;
}

std::unique_ptr<Bitmap> filled_bitmap(int width, int height, Colour fill)
{
    auto bitmap = new_bitmap(width, height);
    if (!bitmap)
        return nullptr;
    DibSection& dib = bitmap->impl().dib;
    std::uint32_t pixel = opaque_bgr(static_cast<std::uint8_t>(fill >> 16), static_cast<std::uint8_t>(fill >> 8),
                                     static_cast<std::uint8_t>(fill));
    std::fill(dib.bits, dib.bits + static_cast<std::size_t>(width) * static_cast<std::size_t>(height), pixel);
    return bitmap;
}

std::unique_ptr<Bitmap> blank_bitmap(int width, int height)
{
    return new_bitmap(width, height);
}

std::unique_ptr<Icon> icon_from_bgra32(const std::uint8_t* pixels, int width, int height)
{
    if (!pixels || width <= 0 || height <= 0)
        return nullptr;
    auto impl = std::make_unique<Icon::Impl>();
    if (!make_dib_section(impl->dib, width, height))
        return nullptr;
    // AlphaBlend takes premultiplied colours.
    for (int y = 0; y < height; ++y) {
        const std::uint8_t* in = pixels + static_cast<std::size_t>(y) * static_cast<std::size_t>(width) * 4;
        std::uint32_t* out = impl->dib.row(y);
        for (int x = 0; x < width; ++x, in += 4) {
            std::uint32_t alpha = in[3];
            auto premultiplied = [alpha](std::uint8_t channel) { return (channel * alpha + 127) / 255; };
            out[x] = (alpha << 24) | (premultiplied(in[2]) << 16) | (premultiplied(in[1]) << 8) | premultiplied(in[0]);
        }
    }
    return std::make_unique<Icon>(std::move(impl));
}

HICON system_icon(const Icon& icon)
{
    const DibSection& source = icon.impl().dib;
    DibSection colour;
    if (!make_dib_section(colour, source.width, source.height))
        return nullptr;
    // The system takes straight alpha; the mask keeps the transparent pixels transparent wherever
    // the system draws without alpha. Its rows are padded to 16 bits.
    const std::size_t mask_stride = (static_cast<std::size_t>(source.width) + 15) / 16 * 2;
    std::vector<std::uint8_t> mask(mask_stride * static_cast<std::size_t>(source.height), 0);
    for (int y = 0; y < source.height; ++y) {
        const std::uint32_t* in = source.row(y);
        std::uint32_t* out = colour.row(y);
        for (int x = 0; x < source.width; ++x) {
            std::uint32_t alpha = in[x] >> 24;
            if (alpha == 0) {
                out[x] = 0;
                mask[static_cast<std::size_t>(y) * mask_stride + static_cast<std::size_t>(x) / 8] |=
                    static_cast<std::uint8_t>(0x80 >> (x % 8));
                continue;
            }
            auto straight = [alpha](std::uint32_t channel) {
                return std::min(255u, (channel * 255 + alpha / 2) / alpha);
            };
            out[x] = (alpha << 24) | (straight((in[x] >> 16) & 0xFF) << 16) | (straight((in[x] >> 8) & 0xFF) << 8) |
                     straight(in[x] & 0xFF);
        }
    }
    HBITMAP mask_bitmap = CreateBitmap(source.width, source.height, 1, 1, mask.data());
    if (!mask_bitmap)
        return nullptr;
    ICONINFO info{TRUE, 0, 0, mask_bitmap, colour.bitmap};
    HICON made = CreateIconIndirect(&info);
    DeleteObject(mask_bitmap);
    return made;
}

std::unique_ptr<DeviceContext> bitmap_device_context(Bitmap& bitmap)
{
    return dib_device_context(bitmap.impl().dib);
}

// ==== Drawing ====================================================================================

namespace {

DWORD raster_operation_of(std::int32_t raster_operation)
{
    switch (raster_operation) {
    case RasterOperation::SourcePaint:
    case RasterOperation::SourceAnd:
    case RasterOperation::SourceInvert:
        return static_cast<DWORD>(raster_operation);
    default:
        return SRCCOPY;
    }
}

// A memory DC with a DIB selected, for the length of one blit.
class SourceDc {
public:
    explicit SourceDc(const DibSection& dib)
        : m_dc(CreateCompatibleDC(nullptr))
    {
        if (m_dc)
            m_replaced = SelectObject(m_dc, dib.bitmap);
    }
    ~SourceDc()
    {
        if (!m_dc)
            return;
        SelectObject(m_dc, m_replaced);
        DeleteDC(m_dc);
    }
    SourceDc(const SourceDc&) = delete;
    SourceDc& operator=(const SourceDc&) = delete;

    HDC dc() const { return m_dc; }

private:
    HDC m_dc;
    HGDIOBJ m_replaced = nullptr;
};

// The part of `target` that lies inside the context's clip box; the rest is never drawn.
Rect visible_part(DeviceContext& context, const Rect& target)
{
    Rect clip = context.clip_box();
    return Rect{std::max(clip.left, target.left), std::max(clip.top, target.top), std::min(clip.right, target.right),
                std::min(clip.bottom, target.bottom)};
}

}  // namespace

void draw_bitmap(DeviceContext& context, const Bitmap& bitmap, const Rect& target, std::int32_t raster_operation)
{
    HDC dc = context.impl().dc;
    if (!dc || target.empty())
        return;
    const DibSection& dib = bitmap.impl().dib;
    const DWORD operation = raster_operation_of(raster_operation);
    const bool same_size = dib.width == target.width() && dib.height == target.height();
    // Halftone scales with the platform's own averaging and smoothing, then copies one to one; the
    // system's halftone stretching differs between versions (and Wine's is not an area average).
    std::unique_ptr<Bitmap> scaled;
    const DibSection* source = &dib;
    if (!same_size && context.stretch_mode() == StretchMode::Halftone) {
        scaled = scaled_bitmap(bitmap, target.width(), target.height());
        if (scaled)
            source = &scaled->impl().dib;
    }
    SourceDc from(*source);
    if (!from.dc())
        return;
    GdiFlush();
    if (source->width == target.width() && source->height == target.height()) {
        Rect area = visible_part(context, target);
        if (area.empty())
            return;
        BitBlt(dc, area.left, area.top, area.width(), area.height(), from.dc(), area.left - target.left,
               area.top - target.top, operation);
        return;
    }
    int previous_mode = SetStretchBltMode(dc, COLORONCOLOR);
    StretchBlt(dc, target.left, target.top, target.width(), target.height(), from.dc(), 0, 0, source->width,
               source->height, operation);
    SetStretchBltMode(dc, previous_mode);
}

void draw_bitmap_transparent(DeviceContext& context, const Bitmap& bitmap, const Rect& target, Colour transparent)
{
    HDC dc = context.impl().dc;
    if (!dc || target.empty())
        return;
    const DibSection& dib = bitmap.impl().dib;
    SourceDc from(dib);
    if (!from.dc())
        return;
    GdiFlush();
    // The key is matched at the bitmap's own size and the pixels stretch by nearest pixel, so that
    // no dropped pixel bleeds into its neighbours.
    int previous_mode = SetStretchBltMode(dc, COLORONCOLOR);
    TransparentBlt(dc, target.left, target.top, target.width(), target.height(), from.dc(), 0, 0, dib.width, dib.height,
                   colorref(transparent));
    SetStretchBltMode(dc, previous_mode);
}

void draw_icon(DeviceContext& context, const Icon& icon, int x, int y, int width, int height)
{
    HDC dc = context.impl().dc;
    if (!dc)
        return;
    int w = width < 0 ? icon.width() : width;
    int h = height < 0 ? icon.height() : height;
    if (w <= 0 || h <= 0)
        return;
    const DibSection& dib = icon.impl().dib;
    SourceDc from(dib);
    if (!from.dc())
        return;
    BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    int previous_mode =
        SetStretchBltMode(dc, context.stretch_mode() == StretchMode::Halftone ? HALFTONE : COLORONCOLOR);
    AlphaBlend(dc, x, y, w, h, from.dc(), 0, 0, dib.width, dib.height, blend);
    SetStretchBltMode(dc, previous_mode);
}

}  // namespace platform
