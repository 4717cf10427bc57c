#pragma once
// The colour and font conventions the edit box and the combo box share: a text colour and a
// background colour (0xFF000000: the button face) that the control answers its own colour queries
// with, and a font sent to the native control (none: the default GUI font).

#include "platform/messages.h"
#include "platform/window_handle.h"
#include "runtime/form/blocks/block_stream.h"

#include <cstdint>

namespace runtime::components {

// Whether `message` is a colour query passed back to the control by its parent.
bool is_reflected_colour_query(const platform::Message& message);

// Fills the colours of a reflected colour query: the text colour, and the background colour as text
// background and brush. The brush follows the background colour at every query, so a written
// background shows at the next paint. Returns the answer for the query (1: colours set).
std::intptr_t answer_colour_query(const platform::Message& message, std::uint32_t text_colour,
                                  std::uint32_t background_colour);

// Sends the font (exactly 60 stored bytes) or the default GUI font to the control, redrawing it.
void send_control_font(platform::WindowHandle control, const form::Font& font);

}  // namespace runtime::components
