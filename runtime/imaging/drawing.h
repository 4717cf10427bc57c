#pragma once
// Drawing a decoded picture on a device context. Prepare takes the picture's platform bitmap (made
// once and kept with the picture) or its icon, Blit draws it, Release lets go of it.

#include "runtime/imaging/decoded_picture.h"

#include "platform/device_context.h"
#include "platform/graphics.h"

#include <cstdint>
#include <memory>
#include <span>

namespace runtime::imaging {

inline constexpr platform::Colour kWhite = 0x00FFFFFF;

struct DrawingSurface {
    platform::DeviceContext* context = nullptr;
    PictureKind kind = PictureKind::None;
    int width = 0;
    int height = 0;
    const platform::Icon* icon = nullptr;            // kinds Icon and Cursor; owned by the decoded picture
    std::shared_ptr<const platform::Bitmap> bitmap;  // all other kinds; shared with the picture
};

// A new platform bitmap of a picture of any kind but Icon and Cursor, at the picture's size or scaled
// to `target` in the same pass. PNG transparency is blended with `background` as the pixels are
// converted; the picture keeps its alpha.
std::unique_ptr<platform::Bitmap> picture_bitmap(const DecodedPicture& picture, platform::Colour background,
                                                 platform::TargetSize target = {});
// The picture's bitmap at its own size, converted on the first call and kept with the picture (made
// again only when PNG transparency meets another background).
std::shared_ptr<const platform::Bitmap> converted_bitmap(const DecodedPicture& picture, platform::Colour background);

// False when the context or the picture is missing, the kind is None, or the bitmap cannot be made.
bool prepare_surface(platform::DeviceContext* context, const DecodedPicture* picture, platform::Colour background,
                     DrawingSurface& surface);
// Draws the surface stretched onto (x, y, width, height); a width or height of -1 is the picture's
// own. A negative raster operation draws with the colour -operation transparent.
void blit_surface(const DrawingSurface& surface, int x, int y, int width, int height,
                  std::int32_t raster_operation = platform::RasterOperation::SourceCopy);
// Frees the bitmap and clears the surface (the icon stays with its picture).
void release_surface(DrawingSurface& surface);
// Prepare, Blit with a plain copy, Release.
void draw_picture(const DecodedPicture* picture, platform::DeviceContext* context, int x, int y, int width, int height,
                  platform::Colour background);

// Decodes `bytes` and returns its bitmap; icons and cursors are drawn on a white bitmap of their size.
// None when the bytes do not decode.
std::unique_ptr<platform::Bitmap> bitmap_from_bytes(std::span<const std::uint8_t> bytes,
                                                    platform::Colour background = kWhite);

}  // namespace runtime::imaging
