#include "runtime/imaging/drawing.h"

#include "runtime/imaging/checked_size.h"
#include "runtime/imaging/picture_decoder.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace runtime::imaging {
namespace {

using platform::RowOrder;

// Stretching is smoothed only on displays with more than 16 bits per pixel.
platform::StretchMode stretch_mode_for_display()
{
    return platform::display_bits_per_pixel() > 16 ? platform::StretchMode::Halftone
                                                   : platform::StretchMode::ColourOnColour;
}

bool has_transparency(const std::uint8_t* pixels, std::size_t size)
{
    for (std::size_t i = 3; i < size; i += 4) {
        if (pixels[i] != 255)
            return true;
    }
    return false;
}

// Transparency is blended with the background as the pixels are converted; the picture keeps its
// alpha.
std::unique_ptr<platform::Bitmap> png_bitmap(const DecodedPicture& picture, platform::Colour background,
                                             platform::TargetSize target)
{
    std::size_t stride = static_cast<std::size_t>(picture.width) * 4;
    const std::uint8_t* pixels = picture.pixels.data();
    if (has_transparency(pixels, picture.pixels.size()))
        return platform::bitmap_from_bgra32_over(pixels, picture.width, picture.height, stride, RowOrder::TopDown,
                                                 background, target);
    return platform::bitmap_from_bgrx32(pixels, picture.width, picture.height, stride, RowOrder::TopDown, target);
}

}  // namespace

std::unique_ptr<platform::Bitmap> picture_bitmap(const DecodedPicture& picture, platform::Colour background,
                                                 platform::TargetSize target)
{
    if (picture.width <= 0 || picture.height <= 0 || picture.pixels.empty())
        return nullptr;
    auto width = static_cast<std::size_t>(picture.width);
    auto height = static_cast<std::size_t>(picture.height);
    const std::size_t size = picture.pixels.size();
    const std::uint8_t* block = picture.pixels.data();
    // Each layout is checked against the block's size, so that a record put together by hand cannot
    // make the conversion read past its block.
    auto fits = [size](std::optional<std::size_t> needed) { return needed && *needed <= size; };

    // A picture kept only as it is shown is laid out as Jpeg and Bmp are, whatever its kind.
    PictureKind layout = picture.kept == ShownAs::Whole ? picture.kind : PictureKind::Bmp;
    switch (layout) {
    case PictureKind::Jpeg:
    case PictureKind::Bmp:
        if (!fits(checked_multiply(width, height, 3)))
            return nullptr;
        return platform::bitmap_from_bgr24(block, picture.width, picture.height, width * 3, RowOrder::BottomUp, target);
    case PictureKind::Png:
        if (!fits(checked_multiply(width, height, 4)))
            return nullptr;
        return png_bitmap(picture, background, target);
    case PictureKind::Gif: {
        std::size_t stride = (width + 3) & ~std::size_t{3};
        auto rows = checked_multiply(stride, height);
        if (!rows || !fits(checked_add(*rows, kBitmapPrefixBytes)))
            return nullptr;
        return platform::bitmap_from_indexed8(block + kBitmapPrefixBytes, picture.width, picture.height, stride,
                                              RowOrder::TopDown, block + kBitmapHeaderBytes, 256, target);
    }
    case PictureKind::Pcx8: {
        if (size < kBitmapPrefixBytes)
            return nullptr;
        std::size_t stride = (size - kBitmapPrefixBytes) / height;
        if (stride < width)
            return nullptr;
        return platform::bitmap_from_indexed8(block + kBitmapPrefixBytes, picture.width, picture.height, stride,
                                              RowOrder::TopDown, block + kBitmapHeaderBytes, 256, target);
    }
    case PictureKind::Pcx1: {
        std::size_t stride = size / height;
        if (stride < (width + 7) / 8)
            return nullptr;
        return platform::bitmap_from_monochrome(block, picture.width, picture.height, stride, RowOrder::TopDown,
                                                target);
    }
    case PictureKind::Icon:
    case PictureKind::Cursor:
    case PictureKind::None:
        break;
    }
    return nullptr;
}

std::shared_ptr<const platform::Bitmap> converted_bitmap(const DecodedPicture& picture, platform::Colour background)
{
    // Only a PNG's blending depends on the background (a kept one is blended already).
    bool stale = picture.kind == PictureKind::Png && picture.kept == ShownAs::Whole &&
                 picture.converted_background != background;
    if (!picture.converted || stale) {
        picture.converted = picture_bitmap(picture, background);
        picture.converted_background = background;
    }
    return picture.converted;
}

bool prepare_surface(platform::DeviceContext* context, const DecodedPicture* picture, platform::Colour background,
                     DrawingSurface& surface)
{
    surface = DrawingSurface{};
    if (!context || !picture || picture->kind == PictureKind::None)
        return false;
    if (picture->kind == PictureKind::Icon || picture->kind == PictureKind::Cursor) {
        if (!picture->icon)
            return false;
        surface.icon = picture->icon.get();
    } else {
        surface.bitmap = converted_bitmap(*picture, background);
        if (!surface.bitmap)
            return false;
    }
    surface.context = context;
    surface.kind = picture->kind;
    surface.width = picture->width;
    surface.height = picture->height;
    return true;
}

void blit_surface(const DrawingSurface& surface, int x, int y, int width, int height, std::int32_t raster_operation)
{
    if (!surface.context)
        return;
    surface.context->set_stretch_mode(stretch_mode_for_display());
    if (surface.icon) {
        platform::draw_icon(*surface.context, *surface.icon, x, y, width, height);
        return;
    }
    if (!surface.bitmap)
        return;
    int w = width == -1 ? surface.width : width;
    int h = height == -1 ? surface.height : height;
    platform::Rect target{x, y, x + w, y + h};
    if (raster_operation >= 0) {
        platform::draw_bitmap(*surface.context, *surface.bitmap, target, raster_operation);
    } else {
        auto transparent = static_cast<platform::Colour>(-static_cast<std::int64_t>(raster_operation));
        platform::draw_bitmap_transparent(*surface.context, *surface.bitmap, target, transparent);
    }
}

void release_surface(DrawingSurface& surface)
{
    surface = DrawingSurface{};
}

void draw_picture(const DecodedPicture* picture, platform::DeviceContext* context, int x, int y, int width, int height,
                  platform::Colour background)
{
    DrawingSurface surface;
    if (!prepare_surface(context, picture, background, surface))
        return;
    blit_surface(surface, x, y, width, height, platform::RasterOperation::SourceCopy);
    release_surface(surface);
}

std::unique_ptr<platform::Bitmap> bitmap_from_bytes(std::span<const std::uint8_t> bytes, platform::Colour background)
{
    auto picture = decode_picture(bytes);
    if (!picture)
        return nullptr;
    if (picture->kind == PictureKind::Icon || picture->kind == PictureKind::Cursor) {
        auto bitmap = platform::filled_bitmap(picture->width, picture->height, kWhite);
        if (!bitmap)
            return nullptr;
        auto context = platform::bitmap_device_context(*bitmap);
        draw_picture(&*picture, context.get(), 0, 0, -1, -1, kWhite);
        return bitmap;
    }
    return picture_bitmap(*picture, background);
}

}  // namespace runtime::imaging
