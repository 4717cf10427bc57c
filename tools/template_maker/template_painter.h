#pragma once
// Draws one certificate template: an opened booklet whose left page carries the kind's colour,
// emblem, title and issuing body, and whose right page carries the printed captions with blanks
// under the preview's overlay labels, the portrait frame, the certificate sentence and the seal.

#include "tools/template_maker/kind_designs.h"

#include <QImage>

namespace template_maker {

// The families every picture is drawn with; they must be installed.
inline constexpr const char* kSerifFamily = "Noto Serif CJK SC";
inline constexpr const char* kSansFamily = "Noto Sans CJK SC";

QImage paint_template(const KindDesign& design);

}  // namespace template_maker
