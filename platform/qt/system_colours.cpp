#include "platform/system_colours.h"

#include "platform/log_font.h"

#include <QGuiApplication>
#include <QScreen>

#include <array>

namespace platform {
namespace {

// The palette of a current desktop of the classic kind, 0x00BBGGRR.
constexpr std::array<Colour, SystemColour::Count> kSystemColours = {
    0xC8C8C8,  // scroll bar
    0x000000,  // desktop
    0xD1B499,  // active caption
    0xDBCDBF,  // inactive caption
    0xF0F0F0,  // menu
    0xFFFFFF,  // window
    0x646464,  // window frame
    0x000000,  // menu text
    0x000000,  // window text
    0x000000,  // caption text
    0xB4B4B4,  // active border
    0xFCF7F4,  // inactive border
    0xABABAB,  // application workspace
    0xFF9933,  // highlight
    0xFFFFFF,  // highlight text
    0xF0F0F0,  // button face
    0xA0A0A0,  // button shadow
    0x6D6D6D,  // grey text
    0x000000,  // button text
    0x000000,  // inactive caption text
    0xFFFFFF,  // button highlight
    0x696969,  // dark shadow
    0xE3E3E3,  // light
    0x000000,  // info text
    0xE1FFFF,  // info background
    0xB5B5B5,  // (unused slot)
    0xCC6600,  // hot light
    0xEAD1B9,  // gradient active caption
    0xF2E4D7,  // gradient inactive caption
    0xFF9933,  // menu highlight
    0xF0F0F0,  // menu bar
};

}  // namespace

Colour system_colour(int index)
{
    if (index < 0 || index >= SystemColour::Count)
        return 0;
    return kSystemColours[static_cast<std::size_t>(index)];
}

int system_metric(int index)
{
    switch (index) {
    case SystemMetric::ScreenWidth:
    case SystemMetric::ScreenHeight: {
        QScreen* screen = QGuiApplication::primaryScreen();
        QRect geometry = screen ? screen->geometry() : QRect(0, 0, 800, 600);
        return index == SystemMetric::ScreenWidth ? geometry.width() : geometry.height();
    }
    case SystemMetric::VerticalScrollWidth:
    case SystemMetric::HorizontalScrollHeight:
        return 17;
    case SystemMetric::CaptionHeight:
    case SystemMetric::SmallCaptionHeight:
    case SystemMetric::MenuHeight:
        return 19;
    case SystemMetric::BorderWidth:
    case SystemMetric::BorderHeight:
        return 1;
    case SystemMetric::DialogFrameWidth:
    case SystemMetric::DialogFrameHeight:
        return 3;
    case SystemMetric::IconWidth:
    case SystemMetric::IconHeight:
    case SystemMetric::CursorWidth:
    case SystemMetric::CursorHeight:
        return 32;
    case SystemMetric::SizingFrameWidth:
    case SystemMetric::SizingFrameHeight:
        return 4;
    case SystemMetric::EdgeWidth:
    case SystemMetric::EdgeHeight:
        return 2;
    case SystemMetric::SmallIconWidth:
    case SystemMetric::SmallIconHeight:
        return 16;
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
    QScreen* screen = QGuiApplication::primaryScreen();
    QRect area = screen ? screen->availableGeometry() : QRect(0, 0, 800, 600);
    return Rect{area.left(), area.top(), area.left() + area.width(), area.top() + area.height()};
}

}  // namespace platform
