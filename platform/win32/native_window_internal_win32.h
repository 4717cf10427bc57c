#pragma once
// Inside the Win32 platform only: the records behind window handles, the window procedure that
// turns the system's messages into the runtime's, and the helpers the native-window files share.
//
//   native_window_registry.cpp ... classes, handles <-> HWNDs, the window procedure and its
//                                  translation of system messages, the default procedure
//   native_window_creation.cpp ... create_window, destroy_window; text, styles, ids, user data
//   native_window_geometry.cpp ... rectangles, moving, Z order, parents, showing, focus
//   native_window_painting.cpp ... painting, invalidation, send, notifications, colours, timers
//   input_routing.cpp ............ input messages through the input filter to the procedures
//
// Every window is a real HWND. Our own classes are registered with the system with one window
// procedure for all; the standard controls are the system's own, subclassed by the same procedure.
// The runtime's procedure is called with the runtime's Message: the system's messages whose
// parameters are handles or pointers of the system's (HWND, HDC, wide text) are translated at this
// boundary, and the default procedure passes what the runtime leaves to the system.

// The controls' interface names constants as the system does; it is read before the system's headers.
#include "platform/controls/button_control.h"
#include "platform/controls/combo_control.h"
#include "platform/controls/control_fonts.h"
#include "platform/controls/edit_control.h"
#include "platform/controls/updown_control.h"
#include "platform/controls/window_subclass.h"
#include "platform/win32/native_window_win32.h"
#include "platform/win32/win32.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <unordered_map>

namespace platform {

struct NativeWindow;

struct WindowClass {
    std::string name;
    ClassInfo info;
    std::wstring system_name;  // the class the system knows the window by
    bool builtin = false;      // a standard control of the system's
    // A standard control's own setting up, once subclassed and before WM_CREATE.
    void (*prepare)(NativeWindow& window, const CreateParams& params) = nullptr;
    // A standard control's answer to a style change the system's control does not notice itself.
    void (*style_changed)(NativeWindow& window, std::uint32_t old_style, std::uint32_t new_style) = nullptr;
    // Runs before the system's control paints itself on `dc` (nullptr: on the window's own).
    void (*before_paint)(NativeWindow& window, HDC dc) = nullptr;
};

// What a standard control keeps beside its HWND.
struct ControlState {
    virtual ~ControlState() = default;
};

struct NativeWindow {
    WindowHandle handle = 0;
    HWND hwnd = nullptr;
    std::shared_ptr<const WindowClass> window_class;
    std::string text;  // GBK; our own classes keep their text here
    int id = 0;
    // The extended style as the runtime gave it: the system adds bits of its own (a window edge to
    // framed windows) that the runtime never asked for and would store.
    std::uint32_t ex_style = 0;
    std::intptr_t user_data = 0;
    WNDPROC system_procedure = nullptr;  // DefWindowProcW, or the control's own procedure
    bool created = false;
    bool destroying = false;
    bool destroy_sent = false;  // the runtime's procedure has had WM_DESTROY
    std::set<int> timers;       // the runtime's timer ids (a control's own timers are not ours)
    std::unique_ptr<ControlState> control;
};

// The part of a standard control made by the system (a combo box's field and list): its input and
// focus count as the control's.
struct ControlPart {
    WindowHandle control = 0;
    WNDPROC system_procedure = nullptr;
};

std::unordered_map<std::string, std::shared_ptr<const WindowClass>>& classes();
std::unordered_map<WindowHandle, std::shared_ptr<NativeWindow>>& windows();
std::unordered_map<HWND, WindowHandle>& handles_of_hwnds();
std::unordered_map<HWND, ControlPart>& control_parts();

std::shared_ptr<NativeWindow> find_window(WindowHandle handle);
std::shared_ptr<NativeWindow> window_of_hwnd(HWND hwnd);
// The window an HWND stands for to the runtime: one of ours, or the control a part belongs to.
WindowHandle control_of_hwnd(HWND hwnd);
WindowHandle next_window_handle();
HINSTANCE module_instance();

// Registers a standard control of the system's under the runtime's class name.
bool register_builtin_window_class(WindowClass window_class);
// Makes a part of a standard control report its input and focus as the control's.
void adopt_control_part(WindowHandle control, HWND part);

// CreateWindowExW's first message binds the window being made to its HWND.
void begin_making_window(const std::shared_ptr<NativeWindow>& window, const CreateParams* params);
void end_making_window();

LRESULT CALLBACK window_procedure(HWND hwnd, UINT id, WPARAM wparam, LPARAM lparam);
LRESULT CALLBACK control_part_procedure(HWND hwnd, UINT id, WPARAM wparam, LPARAM lparam);

// Calls the runtime's procedure (or the default one).
std::intptr_t call_window_procedure(const std::shared_ptr<NativeWindow>& window, Message& message);
// Passes a message to the system's procedure of the window, as it is.
LRESULT call_system_procedure(const NativeWindow& window, UINT id, WPARAM wparam, LPARAM lparam);
// The text the system's own control holds (its field, for a combo box), read through its procedure.
std::wstring system_control_text(const NativeWindow& window);
void destroy_all_windows();
void forget_window(HWND hwnd);

// ---- Input routing (input_routing.cpp)
// Routes an input message of the system's to `window` (the control when `hwnd` is a part of it):
// input filter, then the runtime's procedure, then, when it asks for the default handling, the
// system's procedure of `hwnd` with the message as the filter left it.
LRESULT route_input(const std::shared_ptr<NativeWindow>& window, HWND hwnd, WNDPROC system_procedure, UINT id,
                    WPARAM wparam, LPARAM lparam);
// The default handling of an input message the runtime's procedure passed on.
std::intptr_t default_input_handling(const NativeWindow& window, Message& message);
std::uint32_t current_key_state();
std::uint64_t idle_ending_input_count();
void note_posted_dispatch();
// Wide text <-> the runtime's text.
std::wstring wide_from_gbk(const std::string& gbk);
std::string gbk_from_wide(const wchar_t* text, std::size_t length);

// The character a key makes on a plain layout with the KeyState bits held; 0 for none.
wchar_t text_of_key(int virtual_key, std::uint32_t key_state);

// ---- Colours (native_window_painting.cpp)
// A brush of the colour, made once and kept.
HBRUSH solid_brush(Colour colour);
// WM_CTLCOLOR* of the system's, asked of the runtime and applied to the device context.
LRESULT answer_control_colours(const NativeWindow& window, UINT id, HDC dc, HWND child);

// ---- Application (application.cpp)
// Gives a top-level window the default window icon, when there is one.
void give_default_icon(HWND hwnd);

// ---- Message loop (message_loop.cpp)
void start_message_queue();
// Headless runs (tests, the driver) take input only as synthesised: the system pointer's own
// messages (it moves over windows as they appear) are dropped.
void ignore_system_pointer(bool ignore);
void stop_message_queue();

// ---- Controls
// A control's font handle for WM_SETFONT's runtime form (a LogFont*, null: the default GUI font).
HFONT control_font(const LogFont* font);

// Gives a drop-down combo box the window height `wanted` by sizing its field (simple ones keep theirs).
void fit_combo_field_height(NativeWindow& window, int wanted);

// An input method's commit into a system edit field: between the two calls the characters the
// runtime lets through are gathered instead of typed; the end returns them, to insert as one change.
void begin_text_commit(HWND edit);
std::wstring end_text_commit();

}  // namespace platform
