// What a region is, the same on every platform: the rectangles it is made of. Set operations are the
// platform's own.

#include "platform/region.h"

#include <algorithm>

namespace platform {

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

}  // namespace platform
