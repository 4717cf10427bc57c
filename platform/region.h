#pragma once
// A set of pixels made of rectangles: update areas, fill areas and clip areas.

#include "platform/device_context.h"

#include <vector>

namespace platform {

class Region {
public:
    Region() = default;
    explicit Region(const Rect& rect);

    bool empty() const { return m_rects.empty(); }
    // Non-overlapping rectangles that make up the region, top to bottom.
    const std::vector<Rect>& rects() const { return m_rects; }
    Rect bounding_rect() const;
    bool contains(int x, int y) const;
    bool intersects(const Rect& rect) const;

    Region united(const Region& other) const;
    Region intersected(const Region& other) const;
    Region subtracted(const Region& other) const;
    Region translated(int dx, int dy) const;

    bool operator==(const Region& other) const;

private:
    friend Region region_from_qt_rects(const void* qt_region);
    // On Windows: `count` RECTs, disjoint and banded as the system keeps a region's rectangles.
    friend Region region_from_native_rects(const void* rects, int count);
    std::vector<Rect> m_rects;
};

}  // namespace platform
