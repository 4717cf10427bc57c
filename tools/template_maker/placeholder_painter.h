#pragma once
// The picture the photo box shows until the user chooses a portrait: three short lines inviting a
// click, dark on white.

#include <QImage>

namespace template_maker {

inline constexpr int kPlaceholderWidth = 79;
inline constexpr int kPlaceholderHeight = 90;

QImage paint_photo_placeholder();

}  // namespace template_maker
