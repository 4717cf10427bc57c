#pragma once
// A device-context-like drawing surface: what a paint handler, a bitmap or a screen capture draws
// on. Free of Qt in this header so that the runtime can use it; platform code reaches the painter
// through device_context_qt.h.

#include "platform/log_font.h"

#include <cstdint>
#include <memory>
#include <string_view>

namespace platform {

class Region;

using Colour = std::uint32_t;  // 0x00BBGGRR

struct Rect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    int width() const { return right - left; }
    int height() const { return bottom - top; }
    bool empty() const { return right <= left || bottom <= top; }
    bool operator==(const Rect&) const = default;
};

struct Point {
    int x = 0;
    int y = 0;
    bool operator==(const Point&) const = default;
};

struct Size {
    int width = 0;
    int height = 0;
    bool operator==(const Size&) const = default;
};

enum class StretchMode {
    Halftone,        // smooth
    ColourOnColour,  // nearest pixel
};

enum class BackgroundMode {
    Transparent,  // text is drawn without touching the pixels around the glyphs
    Opaque,       // the text's cells are filled with the background colour first
};

// Format flags of draw_text, with their classic values.
namespace TextFormat {
inline constexpr std::uint32_t Left = 0x0000;
inline constexpr std::uint32_t Top = 0x0000;
inline constexpr std::uint32_t Centre = 0x0001;
inline constexpr std::uint32_t Right = 0x0002;
inline constexpr std::uint32_t VerticalCentre = 0x0004;  // single line only
inline constexpr std::uint32_t Bottom = 0x0008;          // single line only
inline constexpr std::uint32_t WordBreak = 0x0010;
inline constexpr std::uint32_t SingleLine = 0x0020;
inline constexpr std::uint32_t NoClip = 0x0100;
inline constexpr std::uint32_t NoPrefix = 0x0800;  // "&" is drawn as it is, not as a mnemonic mark
}  // namespace TextFormat

// Kinds of edges drawn by draw_edge.
enum class Edge {
    Sunken,      // 2 px: shadow and dark shadow outside, highlight and light inside (client edge)
    Raised,      // 2 px: the reverse (dialog frames, buttons)
    SunkenThin,  // 1 px: shadow top-left, highlight bottom-right (static edge)
    RaisedThin,  // 1 px
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

    // ---- State: saved and restored together (clip, font, colours, modes) ----
    void save();
    void restore();

    // ---- Clipping (surface coordinates; never beyond the area being painted) ----
    void set_clip_region(const Region& region);
    void intersect_clip_rect(const Rect& rect);
    void exclude_clip_rect(const Rect& rect);
    // Keeps only the part of the clip inside the polygon (even-odd filled).
    void intersect_clip_polygon(const Point* points, int count);
    void remove_clip();
    // Bounding rectangle of what can currently be drawn.
    Rect clip_box() const;

    // ---- Fills and frames ----
    void fill_rect(const Rect& rect, Colour colour);
    void fill_region(const Region& region, Colour colour);
    // A one-pixel frame just inside `rect`.
    void frame_rect(const Rect& rect, Colour colour);
    // A classic 3-D edge just inside `rect`, in the system's 3-D colours.
    void draw_edge(const Rect& rect, Edge edge);
    void draw_line(Point from, Point to, Colour colour);

    // ---- Text ----
    void set_text_colour(Colour colour);
    Colour text_colour() const;
    void set_background_colour(Colour colour);
    Colour background_colour() const;
    void set_background_mode(BackgroundMode mode);
    BackgroundMode background_mode() const;
    // Selects a font and returns the one selected before. A new context starts with the default
    // GUI font.
    LogFont select_font(const LogFont& font);
    const LogFont& font() const;
    // Draws GBK text inside `rect` as the format flags say; returns the height of the drawn text.
    int draw_text(std::string_view gbk, const Rect& rect, std::uint32_t format);
    // The rectangle the text would take when drawn in `rect` with `format` (left and top kept).
    Rect measure_text(std::string_view gbk, const Rect& rect, std::uint32_t format) const;
    // Width and height of one line of text in the selected font.
    Size text_extent(std::string_view gbk) const;

    Impl& impl() { return *m_impl; }

private:
    std::unique_ptr<Impl> m_impl;
};

// Bits per pixel of the display (more than 16 selects the halftone stretch mode).
int display_bits_per_pixel();

}  // namespace platform
