#include "platform/qt/region_qt.h"

#include "platform/qt/device_context_qt.h"

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
