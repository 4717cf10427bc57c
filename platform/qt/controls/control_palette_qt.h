#pragma once
// Inside the platform only: the colours a standard control paints with, asked of its parent.

#include "platform/window_handle.h"

#include <QWidget>

#include <cstdint>

namespace platform {

// Whether a selection is painted as one: Shown paints it highlighted also while the window is
// inactive; Hidden paints selected text like the rest of the text.
enum class SelectionPainting { Shown, Hidden };

// Asks the parent of `control` (message: WM_CTLCOLOR*) and puts the answer into the palette of
// `widget`: text colour, and the brush as the background of the field. Changes the palette only when
// the answer differs, so that calling it from a paint handler settles after one extra paint.
void apply_control_colours(QWidget* widget, WindowHandle control, std::uint32_t message_id,
                           SelectionPainting selection = SelectionPainting::Shown);

}  // namespace platform
