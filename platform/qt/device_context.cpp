#include "platform/qt/device_context_qt.h"

#include "platform/qt/fonts_qt.h"
#include "platform/qt/region_qt.h"
#include "platform/qt/vector_state_qt.h"
#include "platform/system_colours.h"
#include "platform/text_encoding.h"

#include <QPainterPath>
#include <QPolygon>

#include <algorithm>

namespace platform {
namespace {

QString qt_from_gbk(std::string_view gbk)
{
    std::u16string text = utf16_from_gbk(gbk);
    return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

int qt_text_flags(std::uint32_t format)
{
    int flags = 0;
    if (format & TextFormat::Centre)
        flags |= Qt::AlignHCenter;
    else if (format & TextFormat::Right)
        flags |= Qt::AlignRight;
    else
        flags |= Qt::AlignLeft;
    // The vertical flags only apply to a single line; other text starts at the top.
    if (format & TextFormat::SingleLine) {
        flags |= Qt::TextSingleLine;
        if (format & TextFormat::VerticalCentre)
            flags |= Qt::AlignVCenter;
        else if (format & TextFormat::Bottom)
            flags |= Qt::AlignBottom;
        else
            flags |= Qt::AlignTop;
    } else {
        flags |= Qt::AlignTop;
        if (format & TextFormat::WordBreak)
            flags |= Qt::TextWordWrap;
    }
    if (!(format & TextFormat::NoPrefix))
        flags |= Qt::TextShowMnemonic;
    if (format & TextFormat::NoClip)
        flags |= Qt::TextDontClip;
    return flags;
}

void draw_bevel(QPainter& painter, const QRect& rect, Colour top_left, Colour bottom_right)
{
    if (rect.width() <= 0 || rect.height() <= 0)
        return;
    painter.fillRect(QRect(rect.left(), rect.top(), rect.width(), 1), qt_colour(top_left));
    painter.fillRect(QRect(rect.left(), rect.top(), 1, rect.height()), qt_colour(top_left));
    painter.fillRect(QRect(rect.left(), rect.bottom(), rect.width(), 1), qt_colour(bottom_right));
    painter.fillRect(QRect(rect.right(), rect.top(), 1, rect.height()), qt_colour(bottom_right));
    clear_wide_vector_state();
}

void start_text_state(DeviceContext::Impl& impl)
{
    impl.text.log_font = default_gui_log_font();
    impl.text.font = qt_font_from_log_font(impl.text.log_font);
}

}  // namespace

DeviceContext::DeviceContext(std::unique_ptr<Impl> impl)
    : m_impl(std::move(impl))
{
    start_text_state(*m_impl);
}

DeviceContext::~DeviceContext()
{
    if (m_impl && m_impl->owned_painter)
        m_impl->owned_painter->end();
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

// ---- State --------------------------------------------------------------------------------------

void DeviceContext::save()
{
    m_impl->painter->save();
    m_impl->saved_text.push_back(m_impl->text);
}

void DeviceContext::restore()
{
    if (m_impl->saved_text.empty())
        return;
    m_impl->painter->restore();
    m_impl->text = std::move(m_impl->saved_text.back());
    m_impl->saved_text.pop_back();
}

// ---- Clipping -----------------------------------------------------------------------------------

void DeviceContext::set_clip_region(const Region& region)
{
    m_impl->painter->setClipRegion(qt_region(region), Qt::ReplaceClip);
}

void DeviceContext::intersect_clip_rect(const Rect& rect)
{
    QPainter& painter = *m_impl->painter;
    if (painter.hasClipping())
        painter.setClipRect(qt_rect(rect), Qt::IntersectClip);
    else
        painter.setClipRect(qt_rect(rect), Qt::ReplaceClip);
}

void DeviceContext::exclude_clip_rect(const Rect& rect)
{
    QPainter& painter = *m_impl->painter;
    QRegion current = painter.hasClipping() ? painter.clipRegion() : QRegion(0, 0, m_impl->width, m_impl->height);
    painter.setClipRegion(current.subtracted(qt_rect(rect)), Qt::ReplaceClip);
}

void DeviceContext::intersect_clip_polygon(const Point* points, int count)
{
    if (!points || count < 3)
        return;
    QPolygon polygon;
    for (int i = 0; i < count; ++i)
        polygon << QPoint(points[i].x, points[i].y);
    QPainter& painter = *m_impl->painter;
    QRegion area(polygon, Qt::OddEvenFill);
    painter.setClipRegion(area, painter.hasClipping() ? Qt::IntersectClip : Qt::ReplaceClip);
}

void DeviceContext::remove_clip()
{
    m_impl->painter->setClipping(false);
}

Rect DeviceContext::clip_box() const
{
    QPainter& painter = *m_impl->painter;
    QRect all(0, 0, m_impl->width, m_impl->height);
    if (!painter.hasClipping())
        return rect_from_qt(all);
    return rect_from_qt(painter.clipBoundingRect().toAlignedRect().intersected(all));
}

// ---- Fills and frames ---------------------------------------------------------------------------

void DeviceContext::fill_rect(const Rect& rect, Colour colour)
{
    if (rect.empty())
        return;
    m_impl->painter->fillRect(qt_rect(rect), qt_colour(colour));
    clear_wide_vector_state();
}

void DeviceContext::fill_region(const Region& region, Colour colour)
{
    for (const Rect& rect : region.rects())
        fill_rect(rect, colour);
}

void DeviceContext::frame_rect(const Rect& rect, Colour colour)
{
    if (rect.empty())
        return;
    draw_bevel(*m_impl->painter, qt_rect(rect), colour, colour);
}

void DeviceContext::draw_edge(const Rect& rect, Edge edge)
{
    if (rect.empty())
        return;
    QPainter& painter = *m_impl->painter;
    QRect outer = qt_rect(rect);
    QRect inner = outer.adjusted(1, 1, -1, -1);
    switch (edge) {
    case Edge::Sunken:
        draw_bevel(painter, outer, system_colour(SystemColour::ButtonShadow),
                   system_colour(SystemColour::ButtonHighlight));
        draw_bevel(painter, inner, system_colour(SystemColour::DarkShadow), system_colour(SystemColour::Light));
        break;
    case Edge::Raised:
        draw_bevel(painter, outer, system_colour(SystemColour::Light), system_colour(SystemColour::DarkShadow));
        draw_bevel(painter, inner, system_colour(SystemColour::ButtonHighlight),
                   system_colour(SystemColour::ButtonShadow));
        break;
    case Edge::SunkenThin:
        draw_bevel(painter, outer, system_colour(SystemColour::ButtonShadow),
                   system_colour(SystemColour::ButtonHighlight));
        break;
    case Edge::RaisedThin:
        draw_bevel(painter, outer, system_colour(SystemColour::ButtonHighlight),
                   system_colour(SystemColour::ButtonShadow));
        break;
    }
}

void DeviceContext::draw_line(Point from, Point to, Colour colour)
{
    QPainter& painter = *m_impl->painter;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(QPen(qt_colour(colour), 1));
    painter.drawLine(QPoint(from.x, from.y), QPoint(to.x, to.y));
    painter.restore();
}

// ---- Text ---------------------------------------------------------------------------------------

void DeviceContext::set_text_colour(Colour colour)
{
    m_impl->text.text_colour = colour;
}

Colour DeviceContext::text_colour() const
{
    return m_impl->text.text_colour;
}

void DeviceContext::set_background_colour(Colour colour)
{
    m_impl->text.background_colour = colour;
}

Colour DeviceContext::background_colour() const
{
    return m_impl->text.background_colour;
}

void DeviceContext::set_background_mode(BackgroundMode mode)
{
    m_impl->text.background_mode = mode;
}

BackgroundMode DeviceContext::background_mode() const
{
    return m_impl->text.background_mode;
}

LogFont DeviceContext::select_font(const LogFont& font)
{
    LogFont previous = m_impl->text.log_font;
    m_impl->text.log_font = font;
    m_impl->text.font = qt_font_from_log_font(font);
    return previous;
}

const LogFont& DeviceContext::font() const
{
    return m_impl->text.log_font;
}

int DeviceContext::draw_text(std::string_view gbk, const Rect& rect, std::uint32_t format)
{
    QPainter& painter = *m_impl->painter;
    QString text = qt_from_gbk(gbk);
    int flags = qt_text_flags(format);
    painter.save();
    painter.setFont(m_impl->text.font);
    QRect bounds;
    if (m_impl->text.background_mode == BackgroundMode::Opaque && !text.isEmpty()) {
        bounds = painter.boundingRect(qt_rect(rect), flags, text);
        QRect cells = (format & TextFormat::NoClip) ? bounds : bounds.intersected(qt_rect(rect));
        painter.fillRect(cells, qt_colour(m_impl->text.background_colour));
        clear_wide_vector_state();
    }
    painter.setPen(qt_colour(m_impl->text.text_colour));
    // Laying the text out is most of the cost: the drawing reports the bounds of its own layout.
    painter.drawText(qt_rect(rect), flags, text, &bounds);
    painter.restore();
    return text.isEmpty() ? 0 : bounds.height();
}

Rect DeviceContext::measure_text(std::string_view gbk, const Rect& rect, std::uint32_t format) const
{
    QFontMetrics metrics(m_impl->text.font, m_impl->painter->device());
    QString text = qt_from_gbk(gbk);
    int flags = qt_text_flags(format) & ~(Qt::AlignHCenter | Qt::AlignRight | Qt::AlignVCenter | Qt::AlignBottom);
    QRect bounds = metrics.boundingRect(qt_rect(rect), flags | Qt::AlignLeft | Qt::AlignTop, text);
    return Rect{rect.left, rect.top, rect.left + bounds.width(), rect.top + (text.isEmpty() ? 0 : bounds.height())};
}

Size DeviceContext::text_extent(std::string_view gbk) const
{
    QFontMetrics metrics(m_impl->text.font, m_impl->painter->device());
    QString text = qt_from_gbk(gbk);
    // The line height as text layout gives it, so that it matches what draw_text reports.
    QRect line = metrics.boundingRect(QRect(0, 0, 0x7FFFFF, 0x7FFFFF), Qt::TextSingleLine,
                                      text.isEmpty() ? QStringLiteral("W") : text);
    return Size{metrics.horizontalAdvance(text), line.height()};
}

int display_bits_per_pixel()
{
    return 32;
}

std::unique_ptr<DeviceContext> device_context_for_painter(QPainter& painter, int width, int height)
{
    auto impl = std::make_unique<DeviceContext::Impl>();
    impl->painter = &painter;
    impl->width = width;
    impl->height = height;
    return std::make_unique<DeviceContext>(std::move(impl));
}

std::unique_ptr<DeviceContext> memory_device_context(int width, int height, Colour fill)
{
    auto impl = std::make_unique<DeviceContext::Impl>();
    impl->owned_image = std::make_unique<QImage>(std::max(width, 1), std::max(height, 1), QImage::Format_RGB32);
    impl->owned_image->fill(qt_colour(fill));
    clear_wide_vector_state();
    impl->owned_painter = std::make_unique<QPainter>(impl->owned_image.get());
    impl->painter = impl->owned_painter.get();
    impl->width = width;
    impl->height = height;
    return std::make_unique<DeviceContext>(std::move(impl));
}

const QImage* memory_image(DeviceContext& context)
{
    return context.impl().owned_image.get();
}

}  // namespace platform
