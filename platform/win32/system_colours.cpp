// System colours and metrics from the system itself.

#include "platform/system_colours.h"

#include "platform/win32/win32.h"

namespace platform {

Colour system_colour(int index)
{
    if (index < 0 || index >= SystemColour::Count)
        return 0;
    return static_cast<Colour>(GetSysColor(index)) & 0x00FFFFFF;
}

int system_metric(int index)
{
    switch (index) {
    case SystemMetric::ScreenWidth:
    case SystemMetric::ScreenHeight:
    case SystemMetric::VerticalScrollWidth:
    case SystemMetric::HorizontalScrollHeight:
    case SystemMetric::CaptionHeight:
    case SystemMetric::BorderWidth:
    case SystemMetric::BorderHeight:
    case SystemMetric::DialogFrameWidth:
    case SystemMetric::DialogFrameHeight:
    case SystemMetric::IconWidth:
    case SystemMetric::IconHeight:
    case SystemMetric::CursorWidth:
    case SystemMetric::CursorHeight:
    case SystemMetric::MenuHeight:
    case SystemMetric::SizingFrameWidth:
    case SystemMetric::SizingFrameHeight:
    case SystemMetric::EdgeWidth:
    case SystemMetric::EdgeHeight:
    case SystemMetric::SmallIconWidth:
    case SystemMetric::SmallIconHeight:
    case SystemMetric::SmallCaptionHeight:
        // The indices are the system's own.
        return GetSystemMetrics(index);
    default:
        return 0;
    }
}

int screen_pixels_per_inch()
{
    return kLogicalPixelsPerInch;
}

Rect screen_work_area()
{
    RECT area{};
    if (!SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0))
        return Rect{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    return Rect{area.left, area.top, area.right, area.bottom};
}

}  // namespace platform
