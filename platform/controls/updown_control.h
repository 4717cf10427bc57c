#pragma once
// The standard control "msctls_updown32": a small pair of arrows, up above down. A press on an arrow
// sends the control's target (its parent unless set) kUpDownPressed with wparam +1 for the up arrow
// and -1 for the down arrow (as a signed word) and lparam the up-down control; the target keeps any
// value the arrows step through. The range is kept for the target to read.

#include "platform/device_context.h"
#include "platform/window_handle.h"

#include <cstdint>

namespace platform {

inline constexpr char kUpDownClassName[] = "msctls_updown32";
inline constexpr std::uint32_t kUpDownPressed = 0x0115;  // as a vertical scroll message would arrive
inline constexpr int kUpDownWidth = 18;

void register_updown_class();
bool is_updown_control(WindowHandle handle);

// The window that hears the presses; 0: the parent.
void updown_set_target(WindowHandle updown, WindowHandle target);
WindowHandle updown_target(WindowHandle updown);

struct UpDownRange {
    int lower = 0;
    int upper = 100;
    bool operator==(const UpDownRange&) const = default;
};
void updown_set_range(WindowHandle updown, int lower, int upper);
UpDownRange updown_range(WindowHandle updown);

enum class UpDownArrow { Up, Down };
// Client coordinates of the middle of an arrow (where a click presses it).
Point updown_arrow_point(WindowHandle updown, UpDownArrow arrow);

}  // namespace platform
