// Regions on the system's own: set operations through HRGNs, whose rectangles come back disjoint and
// banded, top to bottom.

#include "platform/region.h"

#include "platform/win32/graphics_win32.h"

#include <algorithm>

namespace platform {
namespace {

using RegionOperation = int;

Region combined(const Region& a, const Region& b, RegionOperation operation)
{
    HRGN first = native_region(a);
    HRGN second = native_region(b);
    HRGN result = CreateRectRgn(0, 0, 0, 0);
    Region out;
    if (first && second && result && CombineRgn(result, first, second, operation) != ERROR)
        out = region_from_native(result);
    for (HRGN region : {first, second, result}) {
        if (region)
            DeleteObject(region);
    }
    return out;
}

}  // namespace

Region region_from_native_rects(const void* rects, int count)
{
    Region result;
    const auto* native = static_cast<const RECT*>(rects);
    for (int i = 0; i < count; ++i) {
        if (native[i].right > native[i].left && native[i].bottom > native[i].top)
            result.m_rects.push_back(rect_from_native(native[i]));
    }
    return result;
}

HRGN native_region(const Region& region)
{
    HRGN result = CreateRectRgn(0, 0, 0, 0);
    if (!result)
        return nullptr;
    for (const Rect& rect : region.rects()) {
        HRGN part = CreateRectRgn(rect.left, rect.top, rect.right, rect.bottom);
        if (!part)
            continue;
        CombineRgn(result, result, part, RGN_OR);
        DeleteObject(part);
    }
    return result;
}

Region region_from_native(HRGN region)
{
    DWORD size = GetRegionData(region, 0, nullptr);
    if (size < sizeof(RGNDATAHEADER))
        return {};
    std::vector<std::uint8_t> data(size);
    auto* header = reinterpret_cast<RGNDATA*>(data.data());
    if (GetRegionData(region, size, header) == 0)
        return {};
    return region_from_native_rects(header->Buffer, static_cast<int>(header->rdh.nCount));
}

bool Region::intersects(const Rect& rect) const
{
    return std::any_of(m_rects.begin(), m_rects.end(), [&](const Rect& part) {
        return std::max(part.left, rect.left) < std::min(part.right, rect.right) &&
               std::max(part.top, rect.top) < std::min(part.bottom, rect.bottom);
    });
}

Region Region::united(const Region& other) const
{
    return combined(*this, other, RGN_OR);
}

Region Region::intersected(const Region& other) const
{
    return combined(*this, other, RGN_AND);
}

Region Region::subtracted(const Region& other) const
{
    return combined(*this, other, RGN_DIFF);
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

// Two regions are equal when they cover the same pixels, however their rectangles are cut.
bool Region::operator==(const Region& other) const
{
    HRGN first = native_region(*this);
    HRGN second = native_region(other);
    bool equal = first && second && EqualRgn(first, second);
    for (HRGN region : {first, second}) {
        if (region)
            DeleteObject(region);
    }
    return equal;
}

}  // namespace platform
