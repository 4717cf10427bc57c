#pragma once
// A device-context-like drawing surface: what a paint handler, a bitmap or a screen capture draws
// on. Free of Qt in this header so that the runtime can use it; platform code reaches the painter
// through device_context_qt.h.

#include <cstdint>
#include <memory>

namespace platform {

using Colour = std::uint32_t;  // 0x00BBGGRR

struct Rect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    int width() const { return right - left; }
    int height() const { return bottom - top; }
    bool empty() const { return right <= left || bottom <= top; }
};

enum class StretchMode {
    Halftone,        // smooth
    ColourOnColour,  // nearest pixel
};

class DeviceContext {
public:
    struct Impl;
    explicit DeviceContext(std::unique_ptr<Impl> impl);
    ~DeviceContext();
    DeviceContext(const DeviceContext&) = delete;
    DeviceContext& operator=(const DeviceContext&) = delete;

    // Size of the surface in pixels.
    int width() const;
    int height() const;

    void set_stretch_mode(StretchMode mode);
    StretchMode stretch_mode() const;

    void fill_rect(const Rect& rect, Colour colour);

    Impl& impl() { return *m_impl; }

private:
    std::unique_ptr<Impl> m_impl;
};

// Bits per pixel of the display (more than 16 selects the halftone stretch mode).
int display_bits_per_pixel();

}  // namespace platform
