#include "platform/qt/region_qt.h"

#include "platform/qt/device_context_qt.h"

#include <algorithm>

namespace platform {

// QRegion keeps its rectangles disjoint and banded, so they are taken over as they are.
Region region_from_qt_rects(const void* qt_region)
{
    Region result;
    for (const QRect& rect : *static_cast<const QRegion*>(qt_region))
        result.m_rects.push_back(Rect{rect.left(), rect.top(), rect.right() + 1, rect.bottom() + 1});
    return result;
}

QRegion qt_region(const Region& region)
{
    QRegion result;
    for (const Rect& rect : region.rects())
        result += qt_rect(rect);
    return result;
}

Region region_from_qt(const QRegion& region)
{
    return region_from_qt_rects(&region);
}

Region::Region(const Rect& rect)
{
    if (!rect.empty())
        m_rects.push_back(rect);
}

Rect Region::bounding_rect() const
{
    if (m_rects.empty())
        return {};
    Rect bounds = m_rects.front();
    for (const Rect& rect : m_rects) {
        bounds.left = std::min(bounds.left, rect.left);
        bounds.top = std::min(bounds.top, rect.top);
        bounds.right = std::max(bounds.right, rect.right);
        bounds.bottom = std::max(bounds.bottom, rect.bottom);
    }
    return bounds;
}

bool Region::contains(int x, int y) const
{
    return std::any_of(m_rects.begin(), m_rects.end(), [&](const Rect& rect) {
        return x >= rect.left && x < rect.right && y >= rect.top && y < rect.bottom;
    });
}

bool Region::intersects(const Rect& rect) const
{
    return qt_region(*this).intersects(qt_rect(rect));
}

Region Region::united(const Region& other) const
{
    return region_from_qt(qt_region(*this).united(qt_region(other)));
}

Region Region::intersected(const Region& other) const
{
    return region_from_qt(qt_region(*this).intersected(qt_region(other)));
}

Region Region::subtracted(const Region& other) const
{
    return region_from_qt(qt_region(*this).subtracted(qt_region(other)));
}

Region Region::translated(int dx, int dy) const
{
    Region result = *this;
    for (Rect& rect : result.m_rects) {
        rect.left += dx;
        rect.right += dx;
        rect.top += dy;
        rect.bottom += dy;
    }
    return result;
}

bool Region::operator==(const Region& other) const
{
    return qt_region(*this) == qt_region(other);
}

}  // namespace platform
