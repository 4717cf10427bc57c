// Native windows on Qt widgets.
//
//   Registry ........ classes, handles, widgets, top-level Z order, deferred widget deletion
//   Frames .......... frame insets and the outer widget's frame painting
//   Widgets ......... outer and client widgets: painting, geometry reports, activation, timers
//   Creation ........ create_window, destroy_window
//   Attributes ...... text, styles, ids, user data
//   Geometry ........ rectangles, moving, set_window_pos, centring
//   Tree ............ parents, owners, children, Z order
//   State ........... showing, enabling, focus, activation
//   Painting ........ invalidate, update, redraw
//   Messages ........ send, default procedure, notifications, control colours, timers

#include "platform/qt/native_window_qt.h"

#include "platform/qt/cursors_qt.h"
#include "platform/qt/device_context_qt.h"
#include "platform/qt/input_routing_qt.h"
#include "platform/key_codes.h"
#include "platform/qt/region_qt.h"
#include "platform/system_colours.h"
#include "platform/text_encoding.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QPaintEvent>
#include <QPainter>
#include <QScreen>
#include <QTimerEvent>

#include <algorithm>
#include <unordered_map>

namespace platform {
namespace {

// ==== Registry ===================================================================================

std::map<std::string, std::shared_ptr<const WindowClass>>& classes()
{
    static std::map<std::string, std::shared_ptr<const WindowClass>> table;
    return table;
}

std::unordered_map<WindowHandle, std::shared_ptr<NativeWindow>>& windows()
{
    static std::unordered_map<WindowHandle, std::shared_ptr<NativeWindow>> table;
    return table;
}

std::unordered_map<const QObject*, WindowHandle>& widget_handles()
{
    static std::unordered_map<const QObject*, WindowHandle> table;
    return table;
}

// Top-level windows, top of the Z order first.
std::vector<WindowHandle>& top_level_order()
{
    static std::vector<WindowHandle> order;
    return order;
}

std::vector<QPointer<QWidget>>& widgets_to_delete()
{
    static std::vector<QPointer<QWidget>> pending;
    return pending;
}

// Handles start above the special insert-after values of set_window_pos and are never reused.
WindowHandle g_next_handle = 16;
int g_procedure_depth = 0;

QString qt_from_gbk(const std::string& gbk)
{
    std::u16string text = utf16_from_gbk(gbk);
    return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

bool is_top_level(const NativeWindow& window)
{
    return !(window.style & WS_CHILD);
}

void remove_from_top_level_order(WindowHandle handle)
{
    auto& order = top_level_order();
    order.erase(std::remove(order.begin(), order.end(), handle), order.end());
}

bool is_topmost(WindowHandle handle)
{
    std::shared_ptr<NativeWindow> window = find_window(handle);
    return window && (window->ex_style & WS_EX_TOPMOST);
}

// Puts a top-level window at `index` of the order list, keeping topmost windows above the others.
void place_in_top_level_order(WindowHandle handle, std::size_t index)
{
    auto& order = top_level_order();
    remove_from_top_level_order(handle);
    index = std::min(index, order.size());
    std::size_t first_plain = 0;
    while (first_plain < order.size() && is_topmost(order[first_plain]))
        ++first_plain;
    if (is_topmost(handle))
        index = std::min(index, first_plain);
    else
        index = std::max(index, first_plain);
    order.insert(order.begin() + static_cast<std::ptrdiff_t>(index), handle);
}

// ==== Frames =====================================================================================

bool has_desktop_frame(std::uint32_t style, bool top_level)
{
    return top_level && ((style & WS_CAPTION) == WS_CAPTION || (style & WS_THICKFRAME));
}

FrameInsets border_insets(std::uint32_t style, std::uint32_t ex_style)
{
    int border = 0;
    if (style & WS_THICKFRAME)
        border = system_metric(SystemMetric::SizingFrameWidth);
    else if ((style & WS_DLGFRAME) || (ex_style & WS_EX_DLGMODALFRAME))
        border = system_metric(SystemMetric::DialogFrameWidth);
    else if (style & WS_BORDER)
        border = system_metric(SystemMetric::BorderWidth);
    FrameInsets insets{border, border, border, border};
    if ((style & WS_CAPTION) == WS_CAPTION)
        insets.top += system_metric(SystemMetric::CaptionHeight);
    return insets;
}

int edge_width(std::uint32_t ex_style)
{
    int edge = 0;
    if (ex_style & WS_EX_CLIENTEDGE)
        edge += system_metric(SystemMetric::EdgeWidth);
    if (ex_style & WS_EX_STATICEDGE)
        edge += 1;
    return edge;
}

// What the platform draws itself inside the outer widget.
FrameInsets drawn_insets(const NativeWindow& window)
{
    int edge = edge_width(window.ex_style);
    FrameInsets insets{edge, edge, edge, edge};
    if (!has_desktop_frame(window.style, is_top_level(window))) {
        FrameInsets border = border_insets(window.style, window.ex_style);
        insets.left += border.left;
        insets.top += border.top;
        insets.right += border.right;
        insets.bottom += border.bottom;
    }
    return insets;
}

// What the desktop's decorations take around a top-level window's outer widget.
FrameInsets decoration_insets(const NativeWindow& window)
{
    if (!has_desktop_frame(window.style, is_top_level(window)))
        return {};
    return border_insets(window.style, window.ex_style);
}

void paint_frame(const NativeWindow& window, QPainter& painter, QRect rect)
{
    std::unique_ptr<DeviceContext> context = device_context_for_painter(painter, rect.width(), rect.height());
    auto shrink = [&rect](int by) { rect.adjust(by, by, -by, -by); };
    if (!has_desktop_frame(window.style, is_top_level(window))) {
        FrameInsets border = border_insets(window.style, window.ex_style);
        int width = border.left;
        if (width == 1) {
            context->frame_rect(rect_from_qt(rect), system_colour(SystemColour::WindowFrame));
        } else if (width > 1) {
            context->draw_edge(rect_from_qt(rect), Edge::Raised);
            for (int i = 2; i < width; ++i)
                context->frame_rect(rect_from_qt(rect.adjusted(i, i, -i, -i)), system_colour(SystemColour::ButtonFace));
        }
        shrink(width);
        int caption = border.top - border.left;
        if (caption > 0) {
            QRect bar(rect.left(), rect.top(), rect.width(), caption);
            context->fill_rect(rect_from_qt(bar), system_colour(SystemColour::ActiveCaption));
            context->set_background_mode(BackgroundMode::Transparent);
            context->set_text_colour(system_colour(SystemColour::CaptionText));
            context->draw_text(window.text, rect_from_qt(bar.adjusted(3, 0, -3, 0)),
                               TextFormat::SingleLine | TextFormat::VerticalCentre | TextFormat::NoPrefix);
            rect.setTop(rect.top() + caption);
        }
    }
    if (window.ex_style & WS_EX_STATICEDGE) {
        context->draw_edge(rect_from_qt(rect), Edge::SunkenThin);
        shrink(1);
    }
    if (window.ex_style & WS_EX_CLIENTEDGE)
        context->draw_edge(rect_from_qt(rect), Edge::Sunken);
}

Qt::WindowFlags top_level_flags(std::uint32_t style, std::uint32_t ex_style)
{
    Qt::WindowFlags flags = (ex_style & WS_EX_TOOLWINDOW) ? Qt::Tool : Qt::Window;
    if (!has_desktop_frame(style, true)) {
        flags |= Qt::FramelessWindowHint;
    } else {
        flags |= Qt::CustomizeWindowHint | Qt::WindowTitleHint;
        if (style & WS_SYSMENU)
            flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
        if (style & WS_MINIMIZEBOX)
            flags |= Qt::WindowMinimizeButtonHint;
        if (style & WS_MAXIMIZEBOX)
            flags |= Qt::WindowMaximizeButtonHint;
    }
    if (ex_style & WS_EX_TOPMOST)
        flags |= Qt::WindowStaysOnTopHint;
    return flags;
}

QRect outer_rect_in_parent(const NativeWindow& window)
{
    QRect geometry = window.outer->geometry();
    if (!is_top_level(window))
        return geometry;
    FrameInsets decoration = decoration_insets(window);
    return geometry.adjusted(-decoration.left, -decoration.top, decoration.right, decoration.bottom);
}

void apply_geometry(const std::shared_ptr<NativeWindow>& window, int x, int y, int width, int height)
{
    width = std::max(width, 0);
    height = std::max(height, 0);
    if (is_top_level(*window)) {
        FrameInsets decoration = decoration_insets(*window);
        x += decoration.left;
        y += decoration.top;
        width = std::max(0, width - decoration.left - decoration.right);
        height = std::max(0, height - decoration.top - decoration.bottom);
        // A window without a sizing frame keeps the size it is given.
        if (!(window->style & WS_THICKFRAME) && !window->outer->isMaximized()) {
            window->outer->setFixedSize(width, height);
        } else {
            window->outer->setMinimumSize(0, 0);
            window->outer->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
        }
    }
    window->outer->setGeometry(x, y, width, height);
    layout_client(*window);
    report_geometry(window);
}

// Re-applies the frame after a style change: the outer rectangle stays, the client area follows.
void apply_frame_change(const std::shared_ptr<NativeWindow>& window, std::uint32_t old_style, std::uint32_t old_ex)
{
    NativeWindow before = *window;  // only styles are read from the copy
    before.style = old_style;
    before.ex_style = old_ex;
    QRect outer = outer_rect_in_parent(before);
    if (is_top_level(*window)) {
        Qt::WindowFlags flags = top_level_flags(window->style, window->ex_style);
        if (window->outer->windowFlags() != flags) {
            bool shown = !window->outer->isHidden();
            window->outer->setWindowFlags(flags);
            if (shown)
                window->outer->show();
        }
    }
    apply_geometry(window, outer.x(), outer.y(), outer.width(), outer.height());
    window->outer->update();
}

}  // namespace

FrameInsets frame_insets(std::uint32_t style, std::uint32_t ex_style, bool top_level)
{
    FrameInsets insets = border_insets(style, ex_style);
    int edge = edge_width(ex_style);
    (void)top_level;  // the same on both: top-level decorations are counted by the metrics table
    return FrameInsets{insets.left + edge, insets.top + edge, insets.right + edge, insets.bottom + edge};
}

std::optional<Colour> Brush::resolve() const
{
    switch (kind) {
    case Kind::Null:
        return std::nullopt;
    case Kind::Solid:
        return colour;
    case Kind::System:
        return system_colour(system_index);
    }
    return std::nullopt;
}

std::shared_ptr<NativeWindow> find_window(WindowHandle handle)
{
    auto found = windows().find(handle);
    if (found == windows().end())
        return nullptr;
    return found->second;
}

std::shared_ptr<NativeWindow> window_of_widget(const QObject* widget)
{
    for (const QObject* object = widget; object; object = object->parent()) {
        auto found = widget_handles().find(object);
        if (found != widget_handles().end())
            return find_window(found->second);
        if (object->isWidgetType() && static_cast<const QWidget*>(object)->isWindow())
            break;
    }
    return nullptr;
}

QWidget* input_widget(NativeWindow& window)
{
    if (!window.client)
        return window.outer;
    if (QWidget* proxy = window.client->focusProxy())
        return proxy;
    return window.client;
}

bool inside_window_procedure()
{
    return g_procedure_depth > 0;
}

std::intptr_t call_window_procedure(const std::shared_ptr<NativeWindow>& window, Message& message)
{
    if (!window)
        return 0;
    ++g_procedure_depth;
    std::intptr_t result = 0;
    const WindowProcedure& procedure = window->window_class->info.procedure;
    if (procedure)
        result = procedure(window->handle, message);
    else
        result = default_window_procedure(window->handle, message);
    --g_procedure_depth;
    return result;
}

void delete_destroyed_widgets()
{
    if (g_procedure_depth > 0)
        return;
    std::vector<QPointer<QWidget>> pending;
    pending.swap(widgets_to_delete());
    for (QPointer<QWidget>& widget : pending)
        delete widget.data();
}

void destroy_all_windows()
{
    while (!top_level_order().empty())
        destroy_window(top_level_order().front());
    while (!windows().empty())
        destroy_window(windows().begin()->first);
    delete_destroyed_widgets();
}

void bring_top_level_to_front(WindowHandle handle)
{
    place_in_top_level_order(handle, 0);
}

bool register_window_class(const std::string& name, ClassInfo info)
{
    if (name.empty() || classes().count(name))
        return false;
    auto window_class = std::make_shared<WindowClass>();
    window_class->name = name;
    window_class->info = std::move(info);
    classes()[name] = std::move(window_class);
    return true;
}

bool register_builtin_window_class(const std::string& name, ClassInfo info, ClientFactory factory)
{
    if (name.empty() || classes().count(name))
        return false;
    auto window_class = std::make_shared<WindowClass>();
    window_class->name = name;
    window_class->info = std::move(info);
    window_class->client_factory = std::move(factory);
    classes()[name] = std::move(window_class);
    return true;
}

bool is_window_class_registered(const std::string& name)
{
    return classes().count(name) != 0;
}

// ==== Widgets ====================================================================================

OuterWidget::OuterWidget(WindowHandle handle, QWidget* parent)
    : QWidget(parent)
    , m_handle(handle)
{
    setAttribute(Qt::WA_NoMousePropagation);
    setMouseTracking(true);
}

void OuterWidget::paintEvent(QPaintEvent*)
{
    std::shared_ptr<NativeWindow> window = find_window(m_handle);
    if (!window)
        return;
    QPainter painter(this);
    paint_frame(*window, painter, rect());
}

void OuterWidget::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    if (std::shared_ptr<NativeWindow> window = find_window(m_handle)) {
        layout_client(*window);
        report_geometry(window);
    }
}

void OuterWidget::moveEvent(QMoveEvent* event)
{
    QWidget::moveEvent(event);
    if (std::shared_ptr<NativeWindow> window = find_window(m_handle))
        report_geometry(window);
}

void OuterWidget::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    std::shared_ptr<NativeWindow> window = find_window(m_handle);
    if (!window || window->destroying)
        return;
    if (event->type() == QEvent::WindowStateChange) {
        report_geometry(window);
    } else if (event->type() == QEvent::ActivationChange && isWindow()) {
        QWidget* active = QApplication::activeWindow();
        std::shared_ptr<NativeWindow> other = window_of_widget(active);
        bool activated = isActiveWindow();
        if (activated)
            bring_top_level_to_front(m_handle);
        Message message{WM_ACTIVATE, activated ? WA_ACTIVE : WA_INACTIVE,
                        (other && other->handle != m_handle) ? other->handle : 0, 0};
        call_window_procedure(window, message);
    }
}

void OuterWidget::closeEvent(QCloseEvent* event)
{
    // The window procedure decides; the default one destroys the window.
    event->ignore();
    if (std::shared_ptr<NativeWindow> window = find_window(m_handle); window && !window->destroying) {
        Message message{WM_CLOSE, 0, 0, 0};
        call_window_procedure(window, message);
    }
}

void OuterWidget::timerEvent(QTimerEvent* event)
{
    std::shared_ptr<NativeWindow> window = find_window(m_handle);
    if (!window || window->destroying)
        return;
    for (const auto& [id, qt_id] : window->timers) {
        if (qt_id == event->timerId()) {
            Message message{WM_TIMER, static_cast<std::uintptr_t>(id), 0, 0};
            call_window_procedure(window, message);
            return;
        }
    }
}

ClientWidget::ClientWidget(WindowHandle handle, QWidget* parent)
    : QWidget(parent)
    , m_handle(handle)
{
    setAttribute(Qt::WA_NoMousePropagation);
    setAttribute(Qt::WA_InputMethodEnabled);
    setMouseTracking(true);
    // A click does not focus a plain window; focus comes from set_focus (and activation).
    setFocusPolicy(Qt::NoFocus);
}

void ClientWidget::paintEvent(QPaintEvent* event)
{
    std::shared_ptr<NativeWindow> window = find_window(m_handle);
    if (!window || window->destroying)
        return;
    QRegion region = event->region();
    // Paints that Qt asks for by itself (exposure, a change beneath) always erase; our own
    // invalidations erase when asked to.
    bool ours = region.subtracted(window->pending_invalid).isEmpty();
    bool erase = window->erase_pending || !ours;
    window->pending_invalid -= region;
    if (window->pending_invalid.isEmpty())
        window->erase_pending = false;

    QPainter painter(this);
    painter.setClipRegion(region);
    std::unique_ptr<DeviceContext> context = device_context_for_painter(painter, width(), height());
    if (erase) {
        Message message{WM_ERASEBKGND, reinterpret_cast<std::uintptr_t>(context.get()), 0, 0};
        call_window_procedure(window, message);
    }
    PaintRequest request{context.get(), rect_from_qt(region.boundingRect()), region_from_qt(region)};
    Message message{WM_PAINT, 0, reinterpret_cast<std::intptr_t>(&request), 0};
    call_window_procedure(window, message);
}

void layout_client(NativeWindow& window)
{
    if (!window.outer || !window.client)
        return;
    FrameInsets insets = drawn_insets(window);
    QRect area = window.outer->rect().adjusted(insets.left, insets.top, -insets.right, -insets.bottom);
    window.client->setGeometry(area.x(), area.y(), std::max(0, area.width()), std::max(0, area.height()));
}

void report_geometry(const std::shared_ptr<NativeWindow>& window)
{
    if (!window->outer || !window->client || window->destroying || !window->created)
        return;
    // geometry(), not pos(): for a top-level window pos() includes the desktop's frame.
    QPoint origin = window->outer->geometry().topLeft() + window->client->pos();
    QSize size = window->client->size();
    std::uintptr_t kind = SIZE_RESTORED;
    if (window->outer->isMinimized())
        kind = SIZE_MINIMIZED;
    else if (window->outer->isMaximized())
        kind = SIZE_MAXIMIZED;
    bool moved = !window->geometry_reported || origin != window->reported_origin;
    bool resized = !window->geometry_reported || size != window->reported_size || kind != window->reported_size_kind;
    window->geometry_reported = true;
    window->reported_origin = origin;
    window->reported_size = size;
    window->reported_size_kind = kind;
    if (moved) {
        Message message{WM_MOVE, 0, make_lparam(origin.x(), origin.y()), 0};
        call_window_procedure(window, message);
    }
    if (resized && !window->destroying) {
        Message message{WM_SIZE, kind, make_lparam(size.width(), size.height()), 0};
        call_window_procedure(window, message);
    }
}

// ==== Creation ===================================================================================

WindowHandle create_window(const CreateParams& params)
{
    auto found_class = classes().find(params.class_name);
    if (found_class == classes().end())
        return 0;
    std::uint32_t style = params.style;
    bool child = style & WS_CHILD;
    // An overlapped window always has a caption.
    if (!(style & (WS_CHILD | WS_POPUP)))
        style |= WS_CAPTION | WS_CLIPSIBLINGS;
    std::shared_ptr<NativeWindow> parent;
    std::shared_ptr<NativeWindow> owner;
    if (child) {
        parent = find_window(params.parent);
        if (!parent || parent->destroying)
            return 0;
    } else {
        // For a top-level window a parent given is its owner.
        WindowHandle owner_handle = params.owner ? params.owner : params.parent;
        if (owner_handle) {
            owner = find_window(owner_handle);
            if (!owner || owner->destroying)
                return 0;
            // The owner is always a top-level window.
            owner = find_window(top_level_ancestor(owner_handle));
        }
    }

    auto window = std::make_shared<NativeWindow>();
    window->handle = g_next_handle++;
    window->window_class = found_class->second;
    window->text = params.text;
    window->style = style & ~(WS_VISIBLE | WS_DISABLED | WS_MINIMIZE | WS_MAXIMIZE);
    window->ex_style = params.ex_style;
    window->id = params.id;
    window->owner = owner ? owner->handle : 0;
    window->builtin = static_cast<bool>(window->window_class->client_factory);

    QWidget* qt_parent = child ? parent->client.data() : (owner ? owner->outer.data() : nullptr);
    auto* outer = new OuterWidget(window->handle, qt_parent);
    window->outer = outer;
    if (!child) {
        outer->setWindowFlags(top_level_flags(window->style, window->ex_style));
        outer->setWindowTitle(qt_from_gbk(window->text));
    }
    outer->hide();
    windows()[window->handle] = window;
    widget_handles()[outer] = window->handle;
    if (window->builtin) {
        QWidget* client = window->window_class->client_factory(*window, params);
        client->setParent(outer);
        client->setAttribute(Qt::WA_NoMousePropagation);
        window->client = client;
    } else {
        window->client = new ClientWidget(window->handle, outer);
    }
    widget_handles()[window->client.data()] = window->handle;
    window->client->show();
    if (params.style & WS_DISABLED)
        outer->setEnabled(false);
    set_window_cursor(window->handle, 0);
    if (!child)
        bring_top_level_to_front(window->handle);
    else
        outer->raise();

    // Geometry first without messages: WM_CREATE comes before WM_SIZE and WM_MOVE.
    apply_geometry(window, params.x, params.y, params.width, params.height);

    Message create{WM_CREATE, 0, reinterpret_cast<std::intptr_t>(&params), 0};
    if (call_window_procedure(window, create) == -1) {
        destroy_window(window->handle);
        return 0;
    }
    if (!is_window(window->handle))
        return 0;
    window->created = true;
    report_geometry(window);
    if (params.style & WS_VISIBLE) {
        ShowCommand command = ShowCommand::Show;
        if (params.style & WS_MAXIMIZE)
            command = ShowCommand::Maximized;
        else if (params.style & WS_MINIMIZE)
            command = ShowCommand::Minimized;
        show_window(window->handle, command);
    }
    return is_window(window->handle) ? window->handle : 0;
}

namespace {

void send_destroy_messages(const std::shared_ptr<NativeWindow>& window)
{
    Message destroy{WM_DESTROY, 0, 0, 0};
    call_window_procedure(window, destroy);
    for (WindowHandle child : child_windows(window->handle)) {
        if (std::shared_ptr<NativeWindow> child_window = find_window(child))
            send_destroy_messages(child_window);
    }
}

void finish_destruction(const std::shared_ptr<NativeWindow>& window)
{
    for (WindowHandle child : child_windows(window->handle)) {
        if (std::shared_ptr<NativeWindow> child_window = find_window(child))
            finish_destruction(child_window);
    }
    Message final_message{WM_NCDESTROY, 0, 0, 0};
    call_window_procedure(window, final_message);
    for (const auto& [id, qt_id] : window->timers) {
        if (window->outer)
            window->outer->killTimer(qt_id);
    }
    window->timers.clear();
    forget_focus(window->handle);
    remove_from_top_level_order(window->handle);
    widget_handles().erase(window->outer.data());
    widget_handles().erase(window->client.data());
    windows().erase(window->handle);
}

}  // namespace

bool destroy_window(WindowHandle handle)
{
    std::shared_ptr<NativeWindow> window = find_window(handle);
    if (!window || window->destroying)
        return false;
    // Owned windows go first.
    std::vector<WindowHandle> owned;
    for (const auto& [other_handle, other] : windows()) {
        if (other->owner == handle && !other->destroying)
            owned.push_back(other_handle);
    }
    std::sort(owned.begin(), owned.end());
    for (WindowHandle other : owned)
        destroy_window(other);

    window->destroying = true;
    if (window->outer)
        window->outer->hide();
    send_destroy_messages(window);
    finish_destruction(window);

    // The widget may be the one whose event is being handled further up the stack.
    if (window->outer) {
        if (g_procedure_depth > 0) {
            widgets_to_delete().push_back(window->outer.data());
        } else {
            delete window->outer.data();
        }
    }
    return true;
}

bool is_window(WindowHandle handle)
{
    return windows().count(handle) != 0;
}

// ==== Attributes =================================================================================

std::string window_class_name(WindowHandle handle)
{
    std::shared_ptr<NativeWindow> window = find_window(handle);
    return window ? window->window_class->name : std::string();
}

std::string window_text(WindowHandle handle)
{
    std::string text;
    send_message(handle, WM_GETTEXT, 0, reinterpret_cast<std::intptr_t>(&text));
    return text;
}

void set_window_text(WindowHandle handle, const std::string& gbk)
{
    send_message(handle, WM_SETTEXT, 0, reinterpret_cast<std::intptr_t>(gbk.c_str()));
}

std::uint32_t window_style(WindowHandle handle)
{
    std::shared_ptr<NativeWindow> window = find_window(handle);
    if (!window || !window->outer)
        return 0;
    std::uint32_t style = window->style;
    if (!window->outer->isHidden())
        style |= WS_VISIBLE;
    if (window->outer->testAttribute(Qt::WA_ForceDisabled))
        style |= WS_DISABLED;
    if (window->outer->isMinimized())
        style |= WS_MINIMIZE;
    if (window->outer->isMaximized())
        style |= WS_MAXIMIZE;
    return style;
}

std::uint32_t window_ex_style(WindowHandle handle)
{
    std::shared_ptr<NativeWindow> window = find_window(handle);
    return window ? window->ex_style : 0;
}

void set_window_style(WindowHandle handle, std::uint32_t style)
{
    std::shared_ptr<NativeWindow> window = find_window(handle);
    if (!window || !window->outer)
        return;
    std::uint32_t old_style = window->style;
    // Whether a window is a child is fixed at creation (set_parent changes it).
    style = (style & ~(WS_VISIBLE | WS_DISABLED | WS_MINIMIZE | WS_MAXIMIZE | WS_CHILD)) | (old_style & WS_CHILD);
    if (style == old_style)
        return;
    window->style = style;
    apply_frame_change(window, old_style, window->ex_style);
}

void set_window_ex_style(WindowHandle handle, std::uint32_t ex_style)
{
    std::shared_ptr<NativeWindow> window = find_window(handle);
    if (!window || !window->outer || window->ex_style == ex_style)
        return;
    std::uint32_t old_ex = window->ex_style;
    window->ex_style = ex_style;
    if ((old_ex ^ ex_style) & WS_EX_TOPMOST && is_top_level(*window))
        bring_top_level_to_front(handle);
    apply_frame_change(window, window->style, old_ex);
}

int window_id(WindowHandle handle)
{
    std::shared_ptr<NativeWindow> window = find_window(handle);
    return window ? window->id : 0;
}

void set_window_id(WindowHandle handle, int id)
{
    if (std::shared_ptr<NativeWindow> window = find_window(handle))
        window->id = id;
}

std::intptr_t window_user_data(WindowHandle handle)
{
    std::shared_ptr<NativeWindow> window = find_window(handle);
    return window ? window->user_data : 0;
}

void set_window_user_data(WindowHandle handle, std::intptr_t data)
{
    if (std::shared_ptr<NativeWindow> window = find_window(handle))
        window->user_data = data;
}

// ==== Geometry ===================================================================================

Rect window_rect(WindowHandle handle)
{
    std::shared_ptr<NativeWindow> window = find_window(handle);
    if (!window || !window->outer)
        return {};
    QRect rect = outer_rect_in_parent(*window);
    if (!is_top_level(*window)) {
        QPoint origin = window->outer->parentWidget()->mapToGlobal(rect.topLeft());
        rect.moveTopLeft(origin);
    }
    return rect_from_qt(rect);
}

Rect client_rect(WindowHandle handle)
{
    std::shared_ptr<NativeWindow> window = find_window(handle);
    if (!window || !window->client)
        return {};
    return Rect{0, 0, window->client->width(), window->client->height()};
}

Rect window_rect_in_parent(WindowHandle handle)
{
    std::shared_ptr<NativeWindow> window = find_window(handle);
    if (!window || !window->outer)
        return {};
    return rect_from_qt(outer_rect_in_parent(*window));
}

Point client_to_screen(WindowHandle handle, Point point)
{
    std::shared_ptr<NativeWindow> window = find_window(handle);
    if (!window || !window->client)
        return point;
    QPoint global = window->client->mapToGlobal(QPoint(point.x, point.y));
    return Point{global.x(), global.y()};
}

Point screen_to_client(WindowHandle handle, Point point)
{
    std::shared_ptr<NativeWindow> window = find_window(handle);
    if (!window || !window->client)
        return point;
    QPoint local = window->client->mapFromGlobal(QPoint(point.x, point.y));
    return Point{local.x(), local.y()};
}

void move_window(WindowHandle handle, int x, int y, int width, int height, Repaint repaint)
{
    std::shared_ptr<NativeWindow> window = find_window(handle);
    if (!window || !window->outer || window->destroying)
        return;
    apply_geometry(window, x, y, width, height);
    if (repaint == Repaint::Yes)
        window->outer->update();
}

void set_window_pos(WindowHandle handle, WindowHandle insert_after, int x, int y, int width, int height,
                    std::uint32_t flags)
{
    std::shared_ptr<NativeWindow> window = find_window(handle);
    if (!window || !window->outer || window->destroying)
        return;
    if (!(flags & WindowPosFlag::NoZOrder) && insert_after != handle) {
        if (is_top_level(*window)) {
            if (insert_after == kInsertTopmost || insert_after == kInsertNotTopmost) {
                bool topmost = insert_after == kInsertTopmost;
                window->ex_style = topmost ? (window->ex_style | WS_EX_TOPMOST) : (window->ex_style & ~WS_EX_TOPMOST);
                bool shown = !window->outer->isHidden();
                window->outer->setWindowFlag(Qt::WindowStaysOnTopHint, topmost);
                if (shown)
                    window->outer->show();
                place_in_top_level_order(handle, 0);
            } else if (insert_after == kInsertAtBottom) {
                place_in_top_level_order(handle, top_level_order().size());
                window->outer->lower();
            } else if (insert_after == kInsertAtTop) {
                place_in_top_level_order(handle, 0);
                window->outer->raise();
            } else {
                auto& order = top_level_order();
                auto found = std::find(order.begin(), order.end(), insert_after);
                if (found != order.end()) {
                    std::size_t index = static_cast<std::size_t>(found - order.begin());
                    place_in_top_level_order(handle, index + 1);
                }
            }
        } else if (insert_after == kInsertAtTop || insert_after == kInsertTopmost ||
                   insert_after == kInsertNotTopmost) {
            window->outer->raise();
        } else if (insert_after == kInsertAtBottom) {
            window->outer->lower();
        } else if (std::shared_ptr<NativeWindow> above = find_window(insert_after);
                   above && above->outer && above->outer->parentWidget() == window->outer->parentWidget()) {
            window->outer->stackUnder(above->outer);
        }
    }
    if (!(flags & WindowPosFlag::NoMove) || !(flags & WindowPosFlag::NoSize) ||
        (flags & WindowPosFlag::FrameChanged)) {
        QRect current = outer_rect_in_parent(*window);
        int new_x = (flags & WindowPosFlag::NoMove) ? current.x() : x;
        int new_y = (flags & WindowPosFlag::NoMove) ? current.y() : y;
        int new_width = (flags & WindowPosFlag::NoSize) ? current.width() : width;
        int new_height = (flags & WindowPosFlag::NoSize) ? current.height() : height;
        apply_geometry(window, new_x, new_y, new_width, new_height);
    }
    if (flags & WindowPosFlag::FrameChanged)
        window->outer->update();
    if (flags & WindowPosFlag::ShowWindow)
        show_window(handle, (flags & WindowPosFlag::NoActivate) ? ShowCommand::ShowNoActivate : ShowCommand::Show);
    else if (flags & WindowPosFlag::HideWindow)
        show_window(handle, ShowCommand::Hide);
}

void centre_window_on_screen(WindowHandle handle)
{
    std::shared_ptr<NativeWindow> window = find_window(handle);
    if (!window || !window->outer)
        return;
    Rect area = screen_work_area();
    QRect outer = outer_rect_in_parent(*window);
    int x = area.left + (area.width() - outer.width()) / 2;
    int y = area.top + (area.height() - outer.height()) / 2;
    apply_geometry(window, x, y, outer.width(), outer.height());
}

// ==== Tree =======================================================================================

WindowHandle parent_window(WindowHandle handle)
{
    std::shared_ptr<NativeWindow> window = find_window(handle);
    if (!window || !window->outer || is_top_level(*window))
        return 0;
    std::shared_ptr<NativeWindow> parent = window_of_widget(window->outer->parentWidget());
    return parent ? parent->handle : 0;
}

WindowHandle set_parent(WindowHandle handle, WindowHandle new_parent)
{
    std::shared_ptr<NativeWindow> window = find_window(handle);
    if (!window || !window->outer || handle == new_parent)
        return 0;
    std::shared_ptr<NativeWindow> parent = new_parent ? find_window(new_parent) : nullptr;
    if (new_parent && (!parent || !parent->client))
        return 0;
    // A window cannot become a child of its own descendant.
    for (WindowHandle up = new_parent; up; up = parent_window(up)) {
        if (up == handle)
            return 0;
    }
    WindowHandle previous = parent_window(handle);
    QRect rect = outer_rect_in_parent(*window);
    bool shown = !window->outer->isHidden();
    if (parent) {
        if (is_top_level(*window)) {
            remove_from_top_level_order(handle);
            window->style = (window->style | WS_CHILD) & ~WS_POPUP;
        }
        window->outer->setParent(parent->client, Qt::Widget);
    } else {
        window->style = (window->style & ~WS_CHILD) | WS_POPUP;
        window->outer->setParent(nullptr, top_level_flags(window->style, window->ex_style));
        bring_top_level_to_front(handle);
    }
    // The position numbers stay; they are now relative to the new parent.
    apply_geometry(window, rect.x(), rect.y(), rect.width(), rect.height());
    window->outer->raise();
    if (shown)
        window->outer->show();
    return previous;
}

WindowHandle owner_window(WindowHandle handle)
{
    std::shared_ptr<NativeWindow> window = find_window(handle);
    return window && is_window(window->owner) ? window->owner : 0;
}

std::vector<WindowHandle> child_windows(WindowHandle handle)
{
    std::vector<WindowHandle> children;
    std::shared_ptr<NativeWindow> window = find_window(handle);
    if (!window || !window->client)
        return children;
    const QObjectList& objects = window->client->children();
    // Qt keeps siblings bottom first.
    for (auto object = objects.rbegin(); object != objects.rend(); ++object) {
        auto found = widget_handles().find(*object);
        if (found == widget_handles().end())
            continue;
        std::shared_ptr<NativeWindow> child = find_window(found->second);
        if (child && child->outer == *object)
            children.push_back(child->handle);
    }
    return children;
}

std::vector<WindowHandle> top_level_windows()
{
    return top_level_order();
}

bool is_descendant(WindowHandle ancestor, WindowHandle window)
{
    if (!is_window(ancestor))
        return false;
    for (WindowHandle up = parent_window(window); up; up = parent_window(up)) {
        if (up == ancestor)
            return true;
    }
    return false;
}

WindowHandle top_level_ancestor(WindowHandle handle)
{
    if (!is_window(handle))
        return 0;
    for (WindowHandle up = parent_window(handle); up; up = parent_window(up))
        handle = up;
    return handle;
}

// ==== State ======================================================================================

namespace {

void activate_top_level(QWidget* widget)
{
    if (!widget || !widget->isVisible())
        return;
    widget->activateWindow();
    // Activation by the window system comes later (or never, off screen); make it effective now so
    // that focus and activation messages follow at once.
    QT_WARNING_PUSH
    QT_WARNING_DISABLE_DEPRECATED
    QApplication::setActiveWindow(widget);
    QT_WARNING_POP
}

}  // namespace

bool show_window(WindowHandle handle, ShowCommand command)
{
    std::shared_ptr<NativeWindow> window = find_window(handle);
    if (!window || !window->outer || window->destroying)
        return false;
    QWidget* outer = window->outer;
    bool was_visible = !outer->isHidden();
    bool top_level = is_top_level(*window);
    if (command == ShowCommand::Hide) {
        if (!was_visible)
            return false;
        Message message{WM_SHOWWINDOW, 0, 0, 0};
        call_window_procedure(window, message);
        if (window->outer)
            window->outer->hide();
        return true;
    }
    if (!was_visible) {
        Message message{WM_SHOWWINDOW, 1, 0, 0};
        call_window_procedure(window, message);
        if (!is_window(handle))
            return false;
    }
    bool activate = top_level;
    Qt::WindowStates state = outer->windowState() & ~(Qt::WindowMinimized | Qt::WindowMaximized);
    switch (command) {
    case ShowCommand::Normal:
    case ShowCommand::Restore:
        if (outer->isMinimized() && command == ShowCommand::Restore)
            state = outer->windowState() & ~Qt::WindowMinimized;
        break;
    case ShowCommand::Maximized:
        state |= Qt::WindowMaximized;
        break;
    case ShowCommand::Minimized:
    case ShowCommand::Minimize:
    case ShowCommand::MinimizedNoActivate:
        state |= Qt::WindowMinimized;
        activate = activate && command == ShowCommand::Minimized;
        break;
    case ShowCommand::NoActivate:
        activate = false;
        break;
    case ShowCommand::Show:
    case ShowCommand::ShowNoActivate:
    case ShowCommand::Hide:
        state = outer->windowState();
        activate = activate && command == ShowCommand::Show;
        break;
    }
    if (top_level) {
        if (state & Qt::WindowMaximized) {
            outer->setMinimumSize(0, 0);
            outer->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
        }
        outer->setWindowState(state);
        outer->setAttribute(Qt::WA_ShowWithoutActivating, !activate);
    }
    outer->show();
    if (top_level && activate && !(state & Qt::WindowMinimized)) {
        bring_top_level_to_front(handle);
        activate_top_level(outer);
    }
    if (std::shared_ptr<NativeWindow> still = find_window(handle)) {
        layout_client(*still);
        report_geometry(still);
    }
    return was_visible;
}

bool enable_window(WindowHandle handle, bool enable)
{
    std::shared_ptr<NativeWindow> window = find_window(handle);
    if (!window || !window->outer)
        return false;
    bool was_disabled = window->outer->testAttribute(Qt::WA_ForceDisabled);
    if (was_disabled == !enable)
        return was_disabled;
    window->outer->setEnabled(enable);
    Message message{WM_ENABLE, enable ? 1u : 0u, 0, 0};
    call_window_procedure(window, message);
    return was_disabled;
}

bool is_visible(WindowHandle handle)
{
    std::shared_ptr<NativeWindow> window = find_window(handle);
    return window && window->outer && window->outer->isVisible();
}

bool is_enabled(WindowHandle handle)
{
    std::shared_ptr<NativeWindow> window = find_window(handle);
    return window && window->outer && !window->outer->testAttribute(Qt::WA_ForceDisabled);
}

bool is_minimized(WindowHandle handle)
{
    std::shared_ptr<NativeWindow> window = find_window(handle);
    return window && window->outer && window->outer->isMinimized();
}

bool is_maximized(WindowHandle handle)
{
    std::shared_ptr<NativeWindow> window = find_window(handle);
    return window && window->outer && window->outer->isMaximized();
}

WindowHandle focus_window()
{
    return tracked_focus();
}

WindowHandle set_focus(WindowHandle handle)
{
    WindowHandle previous = tracked_focus();
    if (handle == 0) {
        if (QWidget* focused = QApplication::focusWidget())
            focused->clearFocus();
        return previous;
    }
    std::shared_ptr<NativeWindow> window = find_window(handle);
    if (!window || !window->outer || window->destroying)
        return previous;
    QWidget* top = window->outer->window();
    if (!top->isActiveWindow())
        activate_top_level(top);
    if (QWidget* widget = input_widget(*window))
        widget->setFocus(Qt::OtherFocusReason);
    return previous;
}

WindowHandle active_window()
{
    std::shared_ptr<NativeWindow> window = window_of_widget(QApplication::activeWindow());
    return window ? top_level_ancestor(window->handle) : 0;
}

bool set_active_window(WindowHandle handle)
{
    std::shared_ptr<NativeWindow> window = find_window(top_level_ancestor(handle));
    if (!window || !window->outer || !window->outer->isVisible())
        return false;
    bring_top_level_to_front(window->handle);
    window->outer->raise();
    activate_top_level(window->outer);
    return true;
}

// ==== Painting ===================================================================================

void invalidate(WindowHandle handle, std::optional<Rect> rect, Erase erase)
{
    std::shared_ptr<NativeWindow> window = find_window(handle);
    if (!window || !window->client)
        return;
    QRect all = window->client->rect();
    invalidate_region(handle, Region(rect ? *rect : rect_from_qt(all)), erase);
}

void invalidate_region(WindowHandle handle, const Region& region, Erase erase)
{
    std::shared_ptr<NativeWindow> window = find_window(handle);
    if (!window || !window->client)
        return;
    QRegion area = qt_region(region).intersected(window->client->rect());
    if (area.isEmpty())
        return;
    window->pending_invalid += area;
    if (erase == Erase::Yes)
        window->erase_pending = true;
    window->client->update(area);
}

void update_window(WindowHandle handle)
{
    std::shared_ptr<NativeWindow> window = find_window(handle);
    if (!window || !window->client || window->pending_invalid.isEmpty())
        return;
    window->client->repaint(window->pending_invalid);
}

void redraw_window(WindowHandle handle, std::optional<Rect> rect, std::uint32_t flags)
{
    std::shared_ptr<NativeWindow> window = find_window(handle);
    if (!window || !window->client)
        return;
    if (flags & RedrawFlag::Invalidate)
        invalidate(handle, rect, (flags & RedrawFlag::Erase) ? Erase::Yes : Erase::No);
    if ((flags & RedrawFlag::Frame) && window->outer)
        window->outer->update();
    if (flags & (RedrawFlag::UpdateNow | RedrawFlag::EraseNow)) {
        if ((flags & RedrawFlag::Frame) && window->outer)
            window->outer->repaint();
        update_window(handle);
    }
}

// ==== Messages ===================================================================================

std::intptr_t send_message(WindowHandle handle, Message message)
{
    std::shared_ptr<NativeWindow> window = find_window(handle);
    if (!window)
        return 0;
    return call_window_procedure(window, message);
}

std::intptr_t send_message(WindowHandle handle, std::uint32_t id, std::uintptr_t wparam, std::intptr_t lparam)
{
    return send_message(handle, Message{id, wparam, lparam, 0});
}

std::intptr_t default_window_procedure(WindowHandle handle, Message& message)
{
    std::shared_ptr<NativeWindow> window = find_window(handle);
    if (!window)
        return 0;
    if (is_input_message(message.id)) {
        note_default_input_handling();
        if (message.id == WM_SYSKEYDOWN && message.wparam == VK_F4 && (message.key_state & KeyState::Alt))
            send_message(top_level_ancestor(handle), WM_CLOSE);
        return 0;
    }
    switch (message.id) {
    case WM_ERASEBKGND: {
        std::optional<Colour> colour = window->window_class->info.background.resolve();
        auto* context = reinterpret_cast<DeviceContext*>(message.wparam);
        if (!colour || !context || !window->client)
            return 0;
        context->fill_rect(Rect{0, 0, window->client->width(), window->client->height()}, *colour);
        return 1;
    }
    case WM_CLOSE:
        destroy_window(handle);
        return 0;
    case WM_SETTEXT: {
        const char* text = reinterpret_cast<const char*>(message.lparam);
        window->text = text ? text : "";
        if (window->outer) {
            if (is_top_level(*window))
                window->outer->setWindowTitle(qt_from_gbk(window->text));
            window->outer->update();
        }
        return 1;
    }
    case WM_GETTEXT: {
        auto* text = reinterpret_cast<std::string*>(message.lparam);
        if (!text)
            return 0;
        *text = window->text;
        return static_cast<std::intptr_t>(text->size());
    }
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORSTATIC: {
        auto* colours = reinterpret_cast<ControlColours*>(message.wparam);
        if (!colours)
            return 0;
        bool field = message.id == WM_CTLCOLOREDIT || message.id == WM_CTLCOLORLISTBOX;
        Colour background = system_colour(field ? SystemColour::Window : SystemColour::ButtonFace);
        colours->text = system_colour(SystemColour::WindowText);
        colours->text_background = background;
        colours->brush = background;
        return 1;
    }
    case WM_ACTIVATE:
        // An activated window takes the focus unless it is already inside it.
        if (message.wparam != WA_INACTIVE && !is_minimized(handle)) {
            WindowHandle focus = focus_window();
            if (!focus || top_level_ancestor(focus) != handle)
                set_focus(handle);
        }
        return 0;
    default:
        return 0;
    }
}

std::intptr_t notify_parent(WindowHandle child, int code)
{
    WindowHandle parent = parent_window(child);
    if (!parent)
        return 0;
    return send_message(parent, WM_COMMAND, make_wparam(window_id(child), code), child);
}

ControlColours query_control_colours(WindowHandle child, std::uint32_t message_id)
{
    ControlColours colours;
    WindowHandle parent = parent_window(child);
    Message message{message_id, reinterpret_cast<std::uintptr_t>(&colours), child, 0};
    if (parent && send_message(parent, message) != 0)
        return colours;
    default_window_procedure(child, message);
    return colours;
}

bool set_timer(WindowHandle handle, int id, int milliseconds)
{
    std::shared_ptr<NativeWindow> window = find_window(handle);
    if (!window || !window->outer || window->destroying)
        return false;
    kill_timer(handle, id);
    int qt_id = window->outer->startTimer(std::max(milliseconds, 1));
    if (qt_id == 0)
        return false;
    window->timers[id] = qt_id;
    return true;
}

bool kill_timer(WindowHandle handle, int id)
{
    std::shared_ptr<NativeWindow> window = find_window(handle);
    if (!window || !window->outer)
        return false;
    auto found = window->timers.find(id);
    if (found == window->timers.end())
        return false;
    window->outer->killTimer(found->second);
    window->timers.erase(found);
    return true;
}

}  // namespace platform
