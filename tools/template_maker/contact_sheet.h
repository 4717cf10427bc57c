#pragma once
// Pictures for looking at the templates: a contact sheet of all sixteen, and previews with the
// window's initial overlay texts laid over a few kinds, to check that the blanks line up.

#include "tools/template_maker/kind_designs.h"

#include <QImage>

#include <vector>

namespace template_maker {

// templates[k] is kind k + 1's picture.
QImage paint_contact_sheet(const std::vector<QImage>& templates);

// The template at twice its size with the overlay labels drawn at the given places, and the photo
// placeholder in the photo box.
QImage paint_overlay_preview(const OverlayPlaces& places, const QImage& template_picture, const QImage& placeholder);

}  // namespace template_maker
