#pragma once
// Inside the platform only: the widgets behind native windows and the registry of handles.
//
// A native window is two widgets: the outer widget takes the window's outer rectangle and draws
// the frame the platform is responsible for; the client widget inside it is the client area,
// painted by the window procedure, and the parent of the window's child windows. A standard
// control supplies its own client widget (a Qt control) through its class.

#include "platform/native_window.h"

#include <QPointer>
#include <QRegion>
#include <QWidget>

#include <map>
#include <memory>

namespace platform {

struct NativeWindow;

// Makes the client widget of a standard control; the platform sets its geometry and parent.
using ClientFactory = std::function<QWidget*(NativeWindow& window, const CreateParams& params)>;

struct WindowClass {
    std::string name;
    ClassInfo info;
    ClientFactory client_factory;  // empty: the platform's painted client area
};

// Registers a standard control class whose client is a Qt widget. Its procedure's default
// handling lets the Qt widget process input itself.
bool register_builtin_window_class(const std::string& name, ClassInfo info, ClientFactory factory);

class OuterWidget;

struct NativeWindow {
    WindowHandle handle = 0;
    std::shared_ptr<const WindowClass> window_class;
    std::string text;  // GBK
    std::uint32_t style = 0;
    std::uint32_t ex_style = 0;
    int id = 0;
    WindowHandle owner = 0;
    std::intptr_t user_data = 0;
    CursorHandle cursor = 0;
    QPointer<OuterWidget> outer;
    QPointer<QWidget> client;
    bool builtin = false;
    bool created = false;  // WM_CREATE has been answered: geometry changes are reported from then on
    bool destroying = false;
    // Paint bookkeeping: what we invalidated since the last paint, and whether to erase.
    QRegion pending_invalid;
    bool erase_pending = false;
    // Last reported client origin and size, so that WM_MOVE and WM_SIZE go out once per change.
    bool geometry_reported = false;
    QPoint reported_origin;
    QSize reported_size;
    std::uintptr_t reported_size_kind = 0;
    std::map<int, int> timers;  // our id -> Qt timer id
};

std::shared_ptr<NativeWindow> find_window(WindowHandle handle);
// The native window a widget belongs to: the nearest ancestor (or itself) that is a window's
// outer or client widget.
std::shared_ptr<NativeWindow> window_of_widget(const QObject* widget);
// The widget that receives keyboard input for the window.
QWidget* input_widget(NativeWindow& window);

// Calls the window procedure (or the default one) with the dispatch depth raised.
std::intptr_t call_window_procedure(const std::shared_ptr<NativeWindow>& window, Message& message);
// True while a window procedure runs somewhere up the stack.
bool inside_window_procedure();
// Deletes widgets of destroyed windows whose deletion had to wait for the stack to unwind.
void delete_destroyed_widgets();
// Destroys every window (at platform shutdown).
void destroy_all_windows();

// Brings a top-level window to the top of the platform's Z order list.
void bring_top_level_to_front(WindowHandle handle);

class OuterWidget final : public QWidget {
public:
    OuterWidget(WindowHandle handle, QWidget* parent);
    WindowHandle handle() const { return m_handle; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void timerEvent(QTimerEvent* event) override;

private:
    WindowHandle m_handle;
};

class ClientWidget final : public QWidget {
public:
    ClientWidget(WindowHandle handle, QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    WindowHandle m_handle;
};

// Re-lays out the client widget inside the frame and reports a changed client origin or size
// (WM_MOVE, WM_SIZE).
void layout_client(NativeWindow& window);
void report_geometry(const std::shared_ptr<NativeWindow>& window);

}  // namespace platform
