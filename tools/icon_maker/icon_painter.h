#pragma once
// The program's icon: a sheet of certificate paper with a gold frame, a title and text lines, and a
// red wax seal with two ribbon tails over its lower right corner.

#include <QImage>

#include <array>

namespace icon_maker {

// The freedesktop sizes the icon is drawn at.
inline constexpr std::array<int, 7> kIconSizes = {16, 24, 32, 48, 64, 128, 256};

// Draws the icon at size x size pixels on a transparent background (ARGB32, premultiplied).
QImage paint_icon(int size);

}  // namespace icon_maker
