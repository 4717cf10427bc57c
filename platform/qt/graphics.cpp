#include "platform/graphics.h"

#include "platform/pixel_rows.h"
#include "platform/pixel_scaling.h"
#include "platform/qt/device_context_qt.h"
#include "platform/qt/vector_state_qt.h"

#include <QImage>
#include <QPainter>

#include <algorithm>
#include <bit>
#include <cstring>

namespace platform {

// Pixel rows are read and written a word at a time, in the byte order of a little-endian QRgb.
static_assert(std::endian::native == std::endian::little);

struct Bitmap::Impl {
    QImage image;  // Format_RGB32
};

struct Icon::Impl {
    QImage image;  // Format_ARGB32, not premultiplied
};

Bitmap::Bitmap(std::unique_ptr<Impl> impl)
    : m_impl(std::move(impl))
{
}

Bitmap::~Bitmap() = default;

int Bitmap::width() const
{
    return m_impl->image.width();
}

int Bitmap::height() const
{
    return m_impl->image.height();
}

Colour Bitmap::pixel(int x, int y) const
{
    if (x < 0 || y < 0 || x >= width() || y >= height())
        return 0;
    QRgb rgb = m_impl->image.pixel(x, y);
    return static_cast<Colour>(qRed(rgb)) | (static_cast<Colour>(qGreen(rgb)) << 8) |
           (static_cast<Colour>(qBlue(rgb)) << 16);
}

std::vector<std::uint8_t> Bitmap::bgr_rows() const
{
    const QImage& image = m_impl->image;
    std::vector<std::uint8_t> rows(static_cast<std::size_t>(image.width()) * image.height() * 3);
    std::uint8_t* out = rows.data();
    for (int y = 0; y < image.height(); ++y) {
        auto line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            *out++ = static_cast<std::uint8_t>(qBlue(line[x]));
            *out++ = static_cast<std::uint8_t>(qGreen(line[x]));
            *out++ = static_cast<std::uint8_t>(qRed(line[x]));
        }
    }
    return rows;
}

void Bitmap::write_bmp_rows(std::uint8_t* out, std::size_t row_bytes) const
{
    const QImage& image = m_impl->image;
    const int width = image.width();
    const int height = image.height();
    const std::size_t pixel_bytes = static_cast<std::size_t>(width) * 3;
    const std::uint8_t* bits = image.constBits();
    const auto line_bytes = static_cast<std::size_t>(image.bytesPerLine());
    for (int y = 0; y < height; ++y) {
        auto line =
            reinterpret_cast<const std::uint32_t*>(bits + static_cast<std::size_t>(height - 1 - y) * line_bytes);
        std::uint8_t* target = out + static_cast<std::size_t>(y) * row_bytes;
        pack_bgr24_row(line, width, target);
        std::memset(target + pixel_bytes, 0, row_bytes - pixel_bytes);
    }
}

std::uint8_t* Bitmap::writable_rows()
{
    return m_impl->image.bits();
}

std::size_t Bitmap::row_stride() const
{
    return static_cast<std::size_t>(m_impl->image.bytesPerLine());
}

Icon::Icon(std::unique_ptr<Impl> impl)
    : m_impl(std::move(impl))
{
}

Icon::~Icon() = default;

int Icon::width() const
{
    return m_impl->image.width();
}

int Icon::height() const
{
    return m_impl->image.height();
}

namespace {

// A new 32-bit image, or none for an empty size or when memory is short (QImage is then null).
std::unique_ptr<Bitmap> new_bitmap(int width, int height)
{
    if (width <= 0 || height <= 0)
        return nullptr;
    auto impl = std::make_unique<Bitmap::Impl>();
    impl->image = QImage(width, height, QImage::Format_RGB32);
    if (impl->image.isNull())
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

// Rows in, a bitmap of the target size out. `read_row(y, out)` writes source row y as QRgb.
template <typename RowFunction>
std::unique_ptr<Bitmap> reduce_rows(int width, int height, TargetSize target, RowFunction read_row)
{
    int target_width = target.width > 0 ? target.width : width;
    int target_height = target.height > 0 ? target.height : height;
    // Each shrinking axis is averaged; an enlarging axis keeps the source's count here and is
    // smoothed afterwards.
    int reduced_width = std::min(width, target_width);
    int reduced_height = std::min(height, target_height);
    auto bitmap = new_bitmap(reduced_width, reduced_height);
    if (!bitmap)
        return nullptr;
    QImage& image = bitmap->impl().image;
    static_assert(sizeof(QRgb) == sizeof(std::uint32_t));
    platform::reduce_rows(width, height, reduced_width, reduced_height, reinterpret_cast<std::uint32_t*>(image.bits()),
                          static_cast<std::size_t>(image.bytesPerLine()) / sizeof(QRgb),
                          [&read_row](int y, std::uint32_t* row) { read_row(y, reinterpret_cast<QRgb*>(row)); });
    if (reduced_width != target_width || reduced_height != target_height) {
        image = image.scaled(target_width, target_height, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                    .convertToFormat(QImage::Format_RGB32);
        if (image.isNull())
            return nullptr;
    }
    return bitmap;
}

template <typename PixelFunction>
std::unique_ptr<Bitmap> convert_rows(const std::uint8_t* rows, int width, int height, std::size_t stride,
                                     RowOrder order, TargetSize target, PixelFunction pixel)
{
    if (width <= 0 || height <= 0 || target.width < 0 || target.height < 0)
        return nullptr;
    ++g_counters.conversions;
    if ((target.width && target.width != width) || (target.height && target.height != height))
        ++g_counters.scalings;
    return reduce_rows(width, height, target, [&](int y, QRgb* out) {
        const std::uint8_t* in = source_row(rows, y, height, stride, order);
        for (int x = 0; x < width; ++x)
            out[x] = pixel(in, x);
    });
}

// Blue, green, red triples in memory are the low three bytes of a little-endian QRgb: four pixels
// come from three whole words.
void bgr24_row_to_rgb32(const std::uint8_t* in, QRgb* out, int width)
{
    constexpr std::uint32_t kOpaque = 0xFF000000u;
    int x = 0;
    for (; x + 4 <= width; x += 4, in += 12) {
        std::uint32_t words[3];
        std::memcpy(words, in, sizeof words);
        out[x] = kOpaque | (words[0] & 0xFFFFFF);
        out[x + 1] = kOpaque | words[0] >> 24 | (words[1] & 0xFFFF) << 8;
        out[x + 2] = kOpaque | words[1] >> 16 | (words[2] & 0xFF) << 16;
        out[x + 3] = kOpaque | words[2] >> 8;
    }
    for (; x < width; ++x, in += 3)
        out[x] = qRgb(in[2], in[1], in[0]);
}

QPainter::CompositionMode composition_for(std::int32_t raster_operation)
{
    switch (raster_operation) {
    case RasterOperation::SourcePaint:
        return QPainter::RasterOp_SourceOrDestination;
    case RasterOperation::SourceAnd:
        return QPainter::RasterOp_SourceAndDestination;
    case RasterOperation::SourceInvert:
        return QPainter::RasterOp_SourceXorDestination;
    default:
        return QPainter::CompositionMode_Source;
    }
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
    bool natural_size = (!target.width || target.width == width) && (!target.height || target.height == height);
    if (natural_size && width > 0 && height > 0) {
        // Every picture shown at its own size comes this way (the templates): whole rows at a time.
        ++g_counters.conversions;
        auto bitmap = new_bitmap(width, height);
        if (!bitmap)
            return nullptr;
        QImage& image = bitmap->impl().image;
        for (int y = 0; y < height; ++y)
            bgr24_row_to_rgb32(source_row(rows, y, height, stride, order), reinterpret_cast<QRgb*>(image.scanLine(y)),
                               width);
        return bitmap;
    }
    return convert_rows(rows, width, height, stride, order, target, [](const std::uint8_t* in, int x) {
        const std::uint8_t* p = in + static_cast<std::size_t>(x) * 3;
        return qRgb(p[2], p[1], p[0]);
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
        return qRgb(p[2], p[1], p[0]);
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
            return qRgb(p[2], p[1], p[0]);
        double a = p[3] / 255.0;
        int channel[3];
        for (int i = 0; i < 3; ++i)
            channel[i] = std::clamp(static_cast<int>(p[i] * a + back[i] * (1.0 - a)), 0, 255);
        return qRgb(channel[2], channel[1], channel[0]);
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
    QRgb colours[256];
    for (int i = 0; i < 256; ++i) {
        if (i < palette_entries) {
            const std::uint8_t* entry = palette + static_cast<std::size_t>(i) * 4;
            colours[i] = qRgb(entry[2], entry[1], entry[0]);
        } else {
            colours[i] = qRgb(0, 0, 0);
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
        return set ? qRgb(255, 255, 255) : qRgb(0, 0, 0);
    });
}

std::unique_ptr<Bitmap> scaled_bitmap(const Bitmap& bitmap, int width, int height)
{
    if (width <= 0 || height <= 0)
        return nullptr;
    ++g_counters.scalings;
    const QImage& image = bitmap.impl().image;
    int source_width = image.width();
    return reduce_rows(source_width, image.height(), TargetSize{width, height}, [&](int y, QRgb* out) {
        auto line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        std::copy(line, line + source_width, out);
    });
}

std::unique_ptr<Bitmap> bitmap_adopting_image(QImage image)
{
    if (image.isNull())
        return nullptr;
    auto impl = std::make_unique<Bitmap::Impl>();
    impl->image = std::move(image);
    if (impl->image.format() != QImage::Format_RGB32)
        impl->image = impl->image.convertToFormat(QImage::Format_RGB32);
    return std::make_unique<Bitmap>(std::move(impl));
}

void count_font_conversion()
{
    ++g_counters.font_conversions;
}

void count_frame_drawn()
{
    ++g_counters.frames_drawn;
}

void count_list_item_drawn()
{
    ++g_counters.list_items_drawn;
}

void count_button_drawn()
{
    ++g_counters.buttons_drawn;
}

const GraphicsCounters& graphics_counters()
{
    return g_counters;
}

std::unique_ptr<Bitmap> filled_bitmap(int width, int height, Colour fill)
{
    auto bitmap = new_bitmap(width, height);
    if (bitmap)
        bitmap->impl().image.fill(qt_colour(fill));
    clear_wide_vector_state();
    return bitmap;
}

std::unique_ptr<Bitmap> blank_bitmap(int width, int height)
{
    return new_bitmap(width, height);
}

std::unique_ptr<Icon> icon_from_bgra32(const std::uint8_t* pixels, int width, int height)
{
    if (width <= 0 || height <= 0)
        return nullptr;
    auto impl = std::make_unique<Icon::Impl>();
    impl->image = QImage(width, height, QImage::Format_ARGB32);
    if (impl->image.isNull())
        return nullptr;
    for (int y = 0; y < height; ++y) {
        const std::uint8_t* in = pixels + static_cast<std::size_t>(y) * width * 4;
        auto out = reinterpret_cast<QRgb*>(impl->image.scanLine(y));
        for (int x = 0; x < width; ++x, in += 4)
            out[x] = qRgba(in[2], in[1], in[0], in[3]);
    }
    return std::make_unique<Icon>(std::move(impl));
}

std::unique_ptr<DeviceContext> bitmap_device_context(Bitmap& bitmap)
{
    auto impl = std::make_unique<DeviceContext::Impl>();
    impl->owned_painter = std::make_unique<QPainter>(&bitmap.impl().image);
    impl->painter = impl->owned_painter.get();
    impl->width = bitmap.width();
    impl->height = bitmap.height();
    return std::make_unique<DeviceContext>(std::move(impl));
}

void draw_bitmap(DeviceContext& context, const Bitmap& bitmap, const Rect& target, std::int32_t raster_operation)
{
    QPainter* painter = context.impl().painter;
    if (!painter || target.empty())
        return;
    const QImage& image = bitmap.impl().image;
    bool halftone = context.stretch_mode() == StretchMode::Halftone;
    std::unique_ptr<Bitmap> shrunk;
    const QImage* source = &image;
    if (halftone && (target.width() < image.width() || target.height() < image.height())) {
        shrunk = scaled_bitmap(bitmap, target.width(), target.height());
        if (shrunk)
            source = &shrunk->impl().image;
    }
    painter->save();
    painter->setCompositionMode(composition_for(raster_operation));
    if (source->width() == target.width() && source->height() == target.height()) {
        // One to one: only the part inside the clip box is copied.
        QRect area = qt_rect(target);
        if (painter->hasClipping())
            area &= painter->clipBoundingRect().toAlignedRect();
        if (!area.isEmpty())
            painter->drawImage(area.topLeft(), *source, area.translated(-target.left, -target.top));
    } else {
        painter->setRenderHint(QPainter::SmoothPixmapTransform, halftone);
        painter->drawImage(qt_rect(target), *source);
    }
    painter->restore();
}

void draw_bitmap_transparent(DeviceContext& context, const Bitmap& bitmap, const Rect& target, Colour transparent)
{
    QPainter* painter = context.impl().painter;
    if (!painter || target.empty())
        return;
    // The mask is taken at the bitmap's own size, before stretching, so that only pixels of exactly
    // the transparent colour drop out.
    QImage keyed = bitmap.impl().image.convertToFormat(QImage::Format_ARGB32);
    QRgb key = qt_colour(transparent).rgb() & 0x00FFFFFF;
    for (int y = 0; y < keyed.height(); ++y) {
        auto line = reinterpret_cast<QRgb*>(keyed.scanLine(y));
        for (int x = 0; x < keyed.width(); ++x) {
            if ((line[x] & 0x00FFFFFF) == key)
                line[x] = 0;
        }
    }
    painter->save();
    // Smoothing would bleed the dropped pixels into their neighbours; the mask stretches by nearest
    // pixel whatever the stretch mode.
    painter->setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter->setCompositionMode(QPainter::CompositionMode_SourceOver);
    painter->drawImage(qt_rect(target), keyed);
    painter->restore();
}

void draw_icon(DeviceContext& context, const Icon& icon, int x, int y, int width, int height)
{
    QPainter* painter = context.impl().painter;
    if (!painter)
        return;
    int w = width < 0 ? icon.width() : width;
    int h = height < 0 ? icon.height() : height;
    if (w <= 0 || h <= 0)
        return;
    painter->save();
    painter->setRenderHint(QPainter::SmoothPixmapTransform, context.stretch_mode() == StretchMode::Halftone);
    painter->setCompositionMode(QPainter::CompositionMode_SourceOver);
    painter->drawImage(QRect(x, y, w, h), icon.impl().image);
    painter->restore();
}

}  // namespace platform
