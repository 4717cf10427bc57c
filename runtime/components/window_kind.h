#pragma once
// The window kind (0x10001): the component object of a window's own unit. It makes the top-level
// native window from the stored window block (frame, caption, colours, placement, owner), raises
// the window's events 0..12, passes the focus on to its controls, and tells the window system when
// its native window is gone.

#include "runtime/components/component.h"
#include "runtime/form/blocks/window_block.h"
#include "runtime/imaging/decoded_picture.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace runtime::components {

inline constexpr const char* kPlainWindowClass = "RIZozore";
inline constexpr std::uint32_t kWindowKindFlags = 0x800000D0;
inline constexpr int kWindowPropertyCount = 32;

// Events of the window kind.
namespace WindowEvent {
inline constexpr int Created = 0;
inline constexpr int Closing = 1;
inline constexpr int Destroying = 2;
inline constexpr int Moved = 3;
inline constexpr int Resized = 4;
inline constexpr int Activated = 5;
inline constexpr int Deactivated = 6;
inline constexpr int Idle = 7;
inline constexpr int FirstActivation = 8;
inline constexpr int Shown = 10;
inline constexpr int Hidden = 11;
inline constexpr int CloseRequested = 12;
}  // namespace WindowEvent

// Events every kind shares.
namespace CommonEvent {
inline constexpr int LeftDown = -1;
inline constexpr int LeftUp = -2;
inline constexpr int LeftDoubleClick = -3;
inline constexpr int RightDown = -4;
inline constexpr int RightUp = -5;
inline constexpr int MouseMove = -6;
inline constexpr int GotFocus = -7;
inline constexpr int LostFocus = -8;
inline constexpr int KeyDown = -9;
inline constexpr int KeyUp = -10;
inline constexpr int Character = -11;
inline constexpr int Wheel = -12;
}  // namespace CommonEvent

class WindowObject final : public Component {
public:
    WindowObject(WindowId window, ControlId control, form::WindowBlock block);

    const form::WindowBlock& block() const { return m_block; }

    // The frame styles the block asks for (style, extended style).
    struct FrameStyles {
        std::uint32_t style = 0;
        std::uint32_t ex_style = 0;
    };
    static FrameStyles frame_styles(const form::WindowBlock& block);

    // Shows the window by its placement (3 maximized, 2 minimized, else normal), then raises -7 for
    // the unit that holds the focus when it lies in the window.
    void show();
    // Gives the focus to the control that had it last, or else to the first control by tab order.
    void pass_focus_on();

    // Erases the client area: the background colour, then the background picture by its layout
    // (0 top-left in natural size, 1 tiled, 2 fitted and centred, 3 stretched over the client area).
    void paint_background(platform::DeviceContext& context);

    int read_property(int index, PropertyData& data) const;
    int property_changed(int index, const PropertyData& data);

    // Run-time state kept for the window system.
    bool new_instance = false;
    bool modal = false;
    bool fully_created = false;
    bool first_activation_done = false;
    int recreations_running = 0;
    ControlId focused_control = 0;
    struct DisabledWindow {
        platform::WindowHandle window = 0;
        bool was_enabled = true;
    };
    std::vector<DisabledWindow> disabled_for_modal;

    std::intptr_t procedure(platform::WindowHandle handle, platform::Message& message);
    void attach(platform::WindowHandle handle) { set_handle(handle); }

private:
    void raise(int event);
    void apply_frame_styles();
    void apply_placement();
    void apply_always_on_top();
    const imaging::DecodedPicture* background_picture();

    form::WindowBlock m_block;
    // The background picture, decoded on first paint; a picture that does not decode is not tried
    // again until new bytes are written.
    std::optional<imaging::DecodedPicture> m_picture;
    bool m_picture_undecodable = false;
};

const KindRecord& window_kind_record();

// The unit of the window whose native window is `target` or contains it: the window's own unit
// for the window itself; otherwise the units in table order, each matching with its own native
// window or, for kinds with flag 0x200 or 0x200000, with any window inside it. Nothing when no unit
// matches.
std::optional<ControlId> unit_of_native_window(WindowId window, platform::WindowHandle target);

}  // namespace runtime::components
