#pragma once
// Shared among the files that implement native windows (native_window_*.cpp) and nothing else: the
// registry's tables, the top-level Z order list, and the frame and geometry helpers.
//
//   native_window_registry.cpp ..... classes, handles, widgets, the window procedure call
//   native_window_creation.cpp ..... create_window, destroy_window; text, styles, ids, user data
//   native_window_z_order.cpp ...... top-level Z order, set_window_pos, parents, owners, children
//   native_window_geometry.cpp ..... frame insets and frame painting, rectangles, moving, centring
//   native_window_widgets.cpp ...... the outer and client widgets' reports to the window procedure
//   native_window_visibility.cpp ... showing, hiding, enabling
//   native_window_focus.cpp ........ focus and activation
//   native_window_painting.cpp ..... paint events, invalidate, update, redraw
//   native_window_messages.cpp ..... send, default procedure, notifications, control colours, timers

#include "platform/qt/native_window_qt.h"

#include <QPointer>
#include <QRect>
#include <QString>
#include <QWidget>

#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

class QPainter;

namespace platform {

// ---- Registry
std::map<std::string, std::shared_ptr<const WindowClass>>& classes();
std::unordered_map<WindowHandle, std::shared_ptr<NativeWindow>>& windows();
std::unordered_map<const QObject*, WindowHandle>& widget_handles();
// Widgets of destroyed windows whose deletion waits until no window procedure runs.
std::vector<QPointer<QWidget>>& widgets_to_delete();
// A handle for a new window; handles are never reused.
WindowHandle next_window_handle();
QString qt_from_gbk(const std::string& gbk);
bool is_top_level(const NativeWindow& window);

// ---- Z order
// Top-level windows, top of the Z order first.
std::vector<WindowHandle>& top_level_order();
void remove_from_top_level_order(WindowHandle handle);
// Puts a top-level window at `index` of the order list, keeping topmost windows above the others.
void place_in_top_level_order(WindowHandle handle, std::size_t index);

// ---- Frames and geometry
// What the platform draws itself inside the outer widget.
FrameInsets drawn_insets(const NativeWindow& window);
void paint_frame(const NativeWindow& window, QPainter& painter, QRect rect);
Qt::WindowFlags top_level_flags(std::uint32_t style, std::uint32_t ex_style);
QRect outer_rect_in_parent(const NativeWindow& window);
void apply_geometry(const std::shared_ptr<NativeWindow>& window, int x, int y, int width, int height);
// Re-applies the frame after a style change: the outer rectangle stays, the client area follows.
void apply_frame_change(const std::shared_ptr<NativeWindow>& window, std::uint32_t old_style, std::uint32_t old_ex);

// ---- Focus and activation
// Activates a visible top-level widget at once.
void activate_top_level(QWidget* widget);

}  // namespace platform
