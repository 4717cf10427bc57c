#pragma once
// Native windows: window classes with a window procedure, windows made from them by class name, and
// everything the runtime does to a window (text, styles, geometry, parenting, Z order, showing,
// focus, painting). Windows are Qt widgets inside the platform; here they are small handles.
//
// Coordinates: a child window's position is relative to its parent's client area, a top-level
// window's is in screen coordinates; sizes are outer sizes (client area plus frame).

#include "platform/device_context.h"
#include "platform/messages.h"
#include "platform/region.h"
#include "platform/window_handle.h"
#include "platform/window_styles.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace platform {

// ---- Window classes ---------------------------------------------------------------------------

// Receives every message of the windows of a class; returns the message's result. A procedure
// passes what it does not handle to default_window_procedure.
using WindowProcedure = std::function<std::intptr_t(WindowHandle, Message&)>;

// How the background is erased before painting.
struct Brush {
    enum class Kind { Null, Solid, System };
    Kind kind = Kind::Null;  // Null: nothing is erased (what lies beneath stays visible)
    Colour colour = 0;
    int system_index = 0;  // SystemColour index

    static Brush null_brush() { return {}; }
    static Brush solid(Colour colour) { return {Kind::Solid, colour, 0}; }
    static Brush system(int index) { return {Kind::System, 0, index}; }
    std::optional<Colour> resolve() const;
};

struct ClassInfo {
    std::uint32_t style = 0;  // CS_* bits
    CursorHandle cursor = 0;  // 0: the arrow
    Brush background;
    WindowProcedure procedure;  // empty: default_window_procedure
};

// Fails (false) when a class of that name exists already.
bool register_window_class(const std::string& name, ClassInfo info);
bool is_window_class_registered(const std::string& name);

// What the platform does with a message nobody handled: erasing with the class brush, closing
// destroys the window, text storage, default control colours, activation focuses the window, and
// for the platform's standard controls their own behaviour.
std::intptr_t default_window_procedure(WindowHandle handle, Message& message);

// ---- Creating and destroying ------------------------------------------------------------------

struct CreateParams {
    std::string class_name;
    std::string text;  // GBK
    std::uint32_t style = 0;
    std::uint32_t ex_style = 0;
    int x = 0;
    int y = 0;
    int width = 0;  // outer size
    int height = 0;
    WindowHandle parent = 0;  // children need WS_CHILD and a parent
    int id = 0;               // child-window id
    WindowHandle owner = 0;   // top-level windows only: stays above its owner, destroyed with it
    std::intptr_t create_data = 0;
};

// Sends WM_CREATE (lparam: const CreateParams*); a result of -1 fails the creation. The window is
// shown at the end when WS_VISIBLE is set. Returns 0 on failure (unknown class, dead parent).
WindowHandle create_window(const CreateParams& params);

// Destroys owned windows first, then sends WM_DESTROY to the window and its descendants (parent
// first) and WM_NCDESTROY (children first); afterwards none of the handles is a window.
bool destroy_window(WindowHandle handle);
bool is_window(WindowHandle handle);

// ---- Attributes -------------------------------------------------------------------------------

std::string window_class_name(WindowHandle handle);
std::string window_text(WindowHandle handle);                       // GBK, through WM_GETTEXT
void set_window_text(WindowHandle handle, const std::string& gbk);  // through WM_SETTEXT

// The style as it is now: WS_VISIBLE and WS_DISABLED follow the window's state.
std::uint32_t window_style(WindowHandle handle);
std::uint32_t window_ex_style(WindowHandle handle);
// Store the bits; frame changes apply at once (the outer rectangle stays, the client area follows).
// WS_VISIBLE and WS_DISABLED are taken from show_window and enable_window, not from here.
void set_window_style(WindowHandle handle, std::uint32_t style);
void set_window_ex_style(WindowHandle handle, std::uint32_t ex_style);

int window_id(WindowHandle handle);
void set_window_id(WindowHandle handle, int id);
// One pointer-sized word for whoever made the window.
std::intptr_t window_user_data(WindowHandle handle);
void set_window_user_data(WindowHandle handle, std::intptr_t data);

// ---- Geometry ---------------------------------------------------------------------------------

Rect window_rect(WindowHandle handle);  // outer rectangle, screen coordinates
Rect client_rect(WindowHandle handle);  // (0, 0, client width, client height)
// Outer rectangle relative to the parent's client area (screen coordinates for a top-level or
// pop-up window): what left, top, width and height of a control read.
Rect window_rect_in_parent(WindowHandle handle);
Point client_to_screen(WindowHandle handle, Point point);
Point screen_to_client(WindowHandle handle, Point point);

enum class Repaint { No, Yes };
// Position relative to the parent's client area (screen for top-level windows), outer size.
void move_window(WindowHandle handle, int x, int y, int width, int height, Repaint repaint = Repaint::Yes);

// insert_after: a window handle (placed directly below it), kInsertAtTop, kInsertAtBottom,
// kInsertTopmost, kInsertNotTopmost. flags: WindowPosFlag bits.
void set_window_pos(WindowHandle handle, WindowHandle insert_after, int x, int y, int width, int height,
                    std::uint32_t flags);

// Places a top-level window in the middle of the screen's work area, keeping its size.
void centre_window_on_screen(WindowHandle handle);

// Frame widths around the client area for the given styles: what the platform draws itself plus,
// for top-level windows with a caption or sizing frame, the desktop's decorations (caption 19,
// dialog frame 3, sizing frame 4, border 1).
struct FrameInsets {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};
FrameInsets frame_insets(std::uint32_t style, std::uint32_t ex_style, bool top_level);

// ---- Parents, owners and Z order --------------------------------------------------------------

WindowHandle parent_window(WindowHandle handle);
// Makes `handle` a child of `new_parent` (0: top-level), at the top of its new siblings; keeps
// its shown state. Returns the previous parent.
WindowHandle set_parent(WindowHandle handle, WindowHandle new_parent);
WindowHandle owner_window(WindowHandle handle);
// Child windows from the top of the Z order down.
std::vector<WindowHandle> child_windows(WindowHandle handle);
// Top-level windows from the top of the Z order down.
std::vector<WindowHandle> top_level_windows();
// Whether `window` lies (at any depth) inside `ancestor`.
bool is_descendant(WindowHandle ancestor, WindowHandle window);
// The window itself when it is top-level, else its top-level ancestor.
WindowHandle top_level_ancestor(WindowHandle handle);

// ---- Showing, enabling, focus, activation -----------------------------------------------------

// Sends WM_SHOWWINDOW when the visibility changes. Returns whether the window was visible before.
bool show_window(WindowHandle handle, ShowCommand command);
// Returns whether the window was disabled before.
bool enable_window(WindowHandle handle, bool enable);
bool is_visible(WindowHandle handle);  // shown, and every ancestor shown
bool is_enabled(WindowHandle handle);  // its own flag
bool is_minimized(WindowHandle handle);
bool is_maximized(WindowHandle handle);

WindowHandle focus_window();
// Sends WM_KILLFOCUS to the old and WM_SETFOCUS to the new focus window. Returns the previous one.
WindowHandle set_focus(WindowHandle handle);
WindowHandle active_window();
bool set_active_window(WindowHandle handle);

// ---- Painting ---------------------------------------------------------------------------------

enum class Erase { No, Yes };
// Adds a client rectangle (or all of the client area) to the area to repaint.
void invalidate(WindowHandle handle, std::optional<Rect> rect, Erase erase);
void invalidate_region(WindowHandle handle, const Region& region, Erase erase);
// Paints what is waiting to be painted now, before returning (WM_ERASEBKGND, WM_PAINT).
void update_window(WindowHandle handle);
// RedrawFlag bits; the rectangle is in client coordinates (none: the whole client area).
void redraw_window(WindowHandle handle, std::optional<Rect> rect, std::uint32_t flags);

// ---- Messages to windows ----------------------------------------------------------------------

// Calls the window procedure at once; 0 for a dead window.
std::intptr_t send_message(WindowHandle handle, Message message);
std::intptr_t send_message(WindowHandle handle, std::uint32_t id, std::uintptr_t wparam = 0, std::intptr_t lparam = 0);

// Notification of a child control to its parent: WM_COMMAND with the child's id in the low and
// the code in the high 16 bits of wparam, the child's handle in lparam.
std::intptr_t notify_parent(WindowHandle child, int code);
// Asks the parent (WM_CTLCOLOR*, lparam: the child) for the colours the child paints with; the
// system colours when the parent does not answer.
ControlColours query_control_colours(WindowHandle child, std::uint32_t message_id);

// ---- Timers -----------------------------------------------------------------------------------

// WM_TIMER with wparam `id` every `milliseconds` until killed or the window is destroyed. Setting
// an id again restarts it.
bool set_timer(WindowHandle handle, int id, int milliseconds);
bool kill_timer(WindowHandle handle, int id);

}  // namespace platform
