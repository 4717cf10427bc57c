// Device contexts on GDI: the drawing state lives in the HDC (clip, font, colours, background mode)
// and is saved with SaveDC; text goes through DrawTextW, whose format flags are ours.
//
// Index: helpers / construction / state / clipping / fills and frames / text / contexts on HDCs.

#include "platform/device_context.h"

#include "platform/region.h"
#include "platform/system_colours.h"
#include "platform/text_encoding.h"
#include "platform/win32/fonts_win32.h"
#include "platform/win32/graphics_win32.h"

#include <algorithm>
#include <string>
#include <vector>

namespace platform {
namespace {

// ==== Helpers ====================================================================================

// The flags DrawTextW is given: ours have its values; anything else a caller passes is dropped.
constexpr std::uint32_t kKnownTextFormat = TextFormat::Centre | TextFormat::Right | TextFormat::VerticalCentre |
                                           TextFormat::Bottom | TextFormat::WordBreak | TextFormat::SingleLine |
                                           TextFormat::NoClip | TextFormat::NoPrefix;

std::wstring wide_from_gbk(std::string_view gbk)
{
    std::u16string text = utf16_from_gbk(gbk);
    return std::wstring(text.begin(), text.end());
}

void fill(HDC dc, const RECT& rect, Colour colour)
{
    if (rect.right <= rect.left || rect.bottom <= rect.top)
        return;
    // ExtTextOut's opaque rectangle fills with the background colour without a brush.
    COLORREF previous = SetBkColor(dc, colorref(colour));
    ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &rect, nullptr, 0, nullptr);
    SetBkColor(dc, previous);
}

void draw_bevel(HDC dc, const Rect& rect, Colour top_left, Colour bottom_right)
{
    if (rect.empty())
        return;
    fill(dc, RECT{rect.left, rect.top, rect.right, rect.top + 1}, top_left);
    fill(dc, RECT{rect.left, rect.top, rect.left + 1, rect.bottom}, top_left);
    fill(dc, RECT{rect.left, rect.bottom - 1, rect.right, rect.bottom}, bottom_right);
    fill(dc, RECT{rect.right - 1, rect.top, rect.right, rect.bottom}, bottom_right);
}

Rect inset(const Rect& rect)
{
    return Rect{rect.left + 1, rect.top + 1, rect.right - 1, rect.bottom - 1};
}

// A clip to combine with: the current one, or the whole surface when there is none.
HRGN current_clip(const DeviceContext::Impl& impl)
{
    HRGN clip = CreateRectRgn(0, 0, 0, 0);
    if (clip && GetClipRgn(impl.dc, clip) != 1) {
        DeleteObject(clip);
        clip = CreateRectRgn(0, 0, impl.width, impl.height);
    }
    return clip;
}

void select_clip(DeviceContext::Impl& impl, HRGN region)
{
    if (!region)
        return;
    SelectClipRgn(impl.dc, region);
    DeleteObject(region);
}

void select_log_font(DeviceContext::Impl& impl, const LogFont& font)
{
    impl.log_font = font;
    SelectObject(impl.dc, font_handle(font));
}

}  // namespace

// ==== Construction ===============================================================================

DeviceContext::DeviceContext(std::unique_ptr<Impl> impl)
    : m_impl(std::move(impl))
{
    HDC dc = m_impl->dc;
    SetTextColor(dc, RGB(0, 0, 0));
    SetBkColor(dc, RGB(255, 255, 255));
    SetBkMode(dc, OPAQUE);
    SetTextAlign(dc, TA_LEFT | TA_TOP | TA_NOUPDATECP);
    SetStretchBltMode(dc, COLORONCOLOR);
    select_log_font(*m_impl, default_gui_log_font());
}

DeviceContext::~DeviceContext()
{
    if (!m_impl)
        return;
    if (!m_impl->saved_states.empty())
        RestoreDC(m_impl->dc, m_impl->saved_states.front());
    // The fonts are the font cache's; the DC is left with a stock font so none stays selected.
    SelectObject(m_impl->dc, GetStockObject(SYSTEM_FONT));
    if (m_impl->owned_dc) {
        if (m_impl->replaced_bitmap)
            SelectObject(m_impl->owned_dc, m_impl->replaced_bitmap);
        DeleteDC(m_impl->owned_dc);
    }
}

int DeviceContext::width() const
{
    return m_impl->width;
}

int DeviceContext::height() const
{
    return m_impl->height;
}

void DeviceContext::set_stretch_mode(StretchMode mode)
{
    m_impl->stretch_mode = mode;
}

StretchMode DeviceContext::stretch_mode() const
{
    return m_impl->stretch_mode;
}

// ==== State ======================================================================================

void DeviceContext::save()
{
    int state = SaveDC(m_impl->dc);
    if (state == 0)
        return;
    m_impl->saved_states.push_back(state);
    m_impl->saved_fonts.push_back(m_impl->log_font);
}

void DeviceContext::restore()
{
    if (m_impl->saved_states.empty())
        return;
    RestoreDC(m_impl->dc, m_impl->saved_states.back());
    m_impl->saved_states.pop_back();
    m_impl->log_font = m_impl->saved_fonts.back();
    m_impl->saved_fonts.pop_back();
}

// ==== Clipping ===================================================================================

void DeviceContext::set_clip_region(const Region& region)
{
    select_clip(*m_impl, native_region(region));
}

void DeviceContext::intersect_clip_rect(const Rect& rect)
{
    IntersectClipRect(m_impl->dc, rect.left, rect.top, rect.right, rect.bottom);
}

void DeviceContext::exclude_clip_rect(const Rect& rect)
{
    ExcludeClipRect(m_impl->dc, rect.left, rect.top, rect.right, rect.bottom);
}

void DeviceContext::intersect_clip_polygon(const Point* points, int count)
{
    if (!points || count < 3)
        return;
    std::vector<POINT> corners(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i)
        corners[static_cast<std::size_t>(i)] = POINT{points[i].x, points[i].y};
    HRGN area = CreatePolygonRgn(corners.data(), count, ALTERNATE);
    HRGN clip = current_clip(*m_impl);
    if (area && clip)
        CombineRgn(clip, clip, area, RGN_AND);
    if (area)
        DeleteObject(area);
    select_clip(*m_impl, clip);
}

void DeviceContext::remove_clip()
{
    SelectClipRgn(m_impl->dc, nullptr);
}

Rect DeviceContext::clip_box() const
{
    RECT box{};
    Rect all{0, 0, m_impl->width, m_impl->height};
    int kind = GetClipBox(m_impl->dc, &box);
    if (kind == ERROR)
        return all;
    if (kind == NULLREGION)
        return {};
    Rect clip = rect_from_native(box);
    Rect result{std::max(clip.left, all.left), std::max(clip.top, all.top), std::min(clip.right, all.right),
                std::min(clip.bottom, all.bottom)};
    return result.empty() ? Rect{} : result;
}

// ==== Fills and frames ===========================================================================

void DeviceContext::fill_rect(const Rect& rect, Colour colour)
{
    if (rect.empty())
        return;
    fill(m_impl->dc, native_rect(rect), colour);
}

void DeviceContext::fill_region(const Region& region, Colour colour)
{
    for (const Rect& rect : region.rects())
        fill_rect(rect, colour);
}

void DeviceContext::frame_rect(const Rect& rect, Colour colour)
{
    draw_bevel(m_impl->dc, rect, colour, colour);
}

void DeviceContext::draw_edge(const Rect& rect, Edge edge)
{
    if (rect.empty())
        return;
    HDC dc = m_impl->dc;
    // Drawn from the platform's system colours rather than DrawEdge, so that every edge has the
    // same pixels as on the other backend.
    switch (edge) {
    case Edge::Sunken:
        draw_bevel(dc, rect, system_colour(SystemColour::ButtonShadow), system_colour(SystemColour::ButtonHighlight));
        draw_bevel(dc, inset(rect), system_colour(SystemColour::DarkShadow), system_colour(SystemColour::Light));
        break;
    case Edge::Raised:
        draw_bevel(dc, rect, system_colour(SystemColour::Light), system_colour(SystemColour::DarkShadow));
        draw_bevel(dc, inset(rect), system_colour(SystemColour::ButtonHighlight),
                   system_colour(SystemColour::ButtonShadow));
        break;
    case Edge::SunkenThin:
        draw_bevel(dc, rect, system_colour(SystemColour::ButtonShadow), system_colour(SystemColour::ButtonHighlight));
        break;
    case Edge::RaisedThin:
        draw_bevel(dc, rect, system_colour(SystemColour::ButtonHighlight), system_colour(SystemColour::ButtonShadow));
        break;
    }
}

void DeviceContext::draw_line(Point from, Point to, Colour colour)
{
    HDC dc = m_impl->dc;
    HPEN pen = CreatePen(PS_SOLID, 1, colorref(colour));
    if (!pen)
        return;
    HGDIOBJ previous = SelectObject(dc, pen);
    MoveToEx(dc, from.x, from.y, nullptr);
    LineTo(dc, to.x, to.y);
    // LineTo stops short of the end point; the line includes it, as a one-pixel pen draws it.
    SetPixelV(dc, to.x, to.y, colorref(colour));
    SelectObject(dc, previous);
    DeleteObject(pen);
}

// ==== Text =======================================================================================

void DeviceContext::set_text_colour(Colour colour)
{
    SetTextColor(m_impl->dc, colorref(colour));
}

Colour DeviceContext::text_colour() const
{
    return static_cast<Colour>(GetTextColor(m_impl->dc));
}

void DeviceContext::set_background_colour(Colour colour)
{
    SetBkColor(m_impl->dc, colorref(colour));
}

Colour DeviceContext::background_colour() const
{
    return static_cast<Colour>(GetBkColor(m_impl->dc));
}

void DeviceContext::set_background_mode(BackgroundMode mode)
{
    SetBkMode(m_impl->dc, mode == BackgroundMode::Transparent ? TRANSPARENT : OPAQUE);
}

BackgroundMode DeviceContext::background_mode() const
{
    return GetBkMode(m_impl->dc) == TRANSPARENT ? BackgroundMode::Transparent : BackgroundMode::Opaque;
}

LogFont DeviceContext::select_font(const LogFont& font)
{
    LogFont previous = m_impl->log_font;
    select_log_font(*m_impl, font);
    return previous;
}

const LogFont& DeviceContext::font() const
{
    return m_impl->log_font;
}

int DeviceContext::draw_text(std::string_view gbk, const Rect& rect, std::uint32_t format)
{
    std::wstring text = wide_from_gbk(gbk);
    if (text.empty())
        return 0;
    RECT area = native_rect(rect);
    int drawn = DrawTextW(m_impl->dc, text.data(), static_cast<int>(text.size()), &area, format & kKnownTextFormat);
    // Placed lower in the rectangle, DrawTextW gives the distance from its top to the text's bottom
    // instead of the text's height.
    bool placed_lower =
        (format & TextFormat::SingleLine) && (format & (TextFormat::VerticalCentre | TextFormat::Bottom));
    return placed_lower && drawn != 0 ? measure_text(gbk, rect, format).height() : drawn;
}

Rect DeviceContext::measure_text(std::string_view gbk, const Rect& rect, std::uint32_t format) const
{
    std::wstring text = wide_from_gbk(gbk);
    if (text.empty())
        return Rect{rect.left, rect.top, rect.left, rect.top};
    // Measured from the left and top whatever the alignment, so that left and top stay.
    std::uint32_t flags = format & kKnownTextFormat &
                          ~(TextFormat::Centre | TextFormat::Right | TextFormat::VerticalCentre | TextFormat::Bottom);
    RECT area = native_rect(rect);
    DrawTextW(m_impl->dc, text.data(), static_cast<int>(text.size()), &area, flags | DT_CALCRECT);
    return Rect{rect.left, rect.top, rect.left + (area.right - area.left), rect.top + (area.bottom - area.top)};
}

Size DeviceContext::text_extent(std::string_view gbk) const
{
    std::wstring text = wide_from_gbk(gbk);
    SIZE size{};
    // An empty text still has the line's height.
    if (text.empty()) {
        GetTextExtentPoint32W(m_impl->dc, L"W", 1, &size);
        return Size{0, size.cy};
    }
    GetTextExtentPoint32W(m_impl->dc, text.data(), static_cast<int>(text.size()), &size);
    return Size{size.cx, size.cy};
}

int display_bits_per_pixel()
{
    HDC screen = GetDC(nullptr);
    if (!screen)
        return 32;
    int bits = GetDeviceCaps(screen, BITSPIXEL) * GetDeviceCaps(screen, PLANES);
    ReleaseDC(nullptr, screen);
    return bits > 0 ? bits : 32;
}

// ==== Contexts on HDCs ===========================================================================

std::unique_ptr<DeviceContext> device_context_on(HDC dc, int width, int height)
{
    if (!dc)
        return nullptr;
    auto impl = std::make_unique<DeviceContext::Impl>();
    impl->dc = dc;
    impl->width = width;
    impl->height = height;
    return std::make_unique<DeviceContext>(std::move(impl));
}

HDC native_device_context(DeviceContext& context)
{
    return context.impl().dc;
}

std::unique_ptr<DeviceContext> dib_device_context(DibSection& dib)
{
    HDC dc = CreateCompatibleDC(nullptr);
    if (!dc)
        return nullptr;
    auto impl = std::make_unique<DeviceContext::Impl>();
    impl->dc = dc;
    impl->owned_dc = dc;
    impl->replaced_bitmap = SelectObject(dc, dib.bitmap);
    impl->width = dib.width;
    impl->height = dib.height;
    return std::make_unique<DeviceContext>(std::move(impl));
}

}  // namespace platform
