#pragma once
// Inside the Win32 platform only: what device contexts, bitmaps and icons hold.

#include "platform/win32/device_context_win32.h"

#include <cstdint>
#include <vector>

namespace platform {

struct DeviceContext::Impl {
    HDC dc = nullptr;
    // A memory context made for a bitmap: deleted with the context, its first bitmap selected back.
    HDC owned_dc = nullptr;
    HGDIOBJ replaced_bitmap = nullptr;
    int width = 0;
    int height = 0;
    StretchMode stretch_mode = StretchMode::ColourOnColour;

    // The description of the selected font; the GDI state itself lives in the HDC and is saved with
    // SaveDC, this beside it.
    LogFont log_font;
    std::vector<LogFont> saved_fonts;
    std::vector<int> saved_states;
};

// A top-down 32-bit DIB section: pixels 0xAARRGGBB in memory order blue, green, red, unused.
struct DibSection {
    HBITMAP bitmap = nullptr;
    std::uint32_t* bits = nullptr;
    int width = 0;
    int height = 0;

    DibSection() = default;
    DibSection(const DibSection&) = delete;
    DibSection& operator=(const DibSection&) = delete;
    ~DibSection();

    std::uint32_t* row(int y) { return bits + static_cast<std::size_t>(y) * static_cast<std::size_t>(width); }
    const std::uint32_t* row(int y) const
    {
        return bits + static_cast<std::size_t>(y) * static_cast<std::size_t>(width);
    }
};

// Makes `dib` a new section of the size; false for an empty or oversized size or when memory is short.
bool make_dib_section(DibSection& dib, int width, int height);

struct Bitmap::Impl {
    DibSection dib;  // opaque pixels
};

struct Icon::Impl {
    DibSection dib;  // premultiplied alpha, as AlphaBlend takes it
};

// The system's icon of the same pixels (CreateIconIndirect copies them); the caller destroys it.
// Null when the system cannot make it.
HICON system_icon(const Icon& icon);

inline COLORREF colorref(Colour colour)
{
    return static_cast<COLORREF>(colour & 0x00FFFFFF);
}

inline RECT native_rect(const Rect& rect)
{
    return RECT{rect.left, rect.top, rect.right, rect.bottom};
}

inline Rect rect_from_native(const RECT& rect)
{
    return Rect{rect.left, rect.top, rect.right, rect.bottom};
}

// The system's region for ours, and back; the caller deletes the HRGN.
HRGN native_region(const Region& region);
Region region_from_native(HRGN region);
Region region_from_native_rects(const void* rects, int count);

// A device context over a memory DC holding `dib` selected (the DIB outlives the context).
std::unique_ptr<DeviceContext> dib_device_context(DibSection& dib);

}  // namespace platform
