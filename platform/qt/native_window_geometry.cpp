// Frames and geometry: the frame insets each style takes, the frame the platform paints itself, and
// the rectangles of a window (outer, client, in its parent, on the screen), moving and centring.

#include "platform/qt/native_window_shared_qt.h"

#include "platform/qt/device_context_qt.h"
#include "platform/qt/region_qt.h"
#include "platform/system_colours.h"

#include <QPainter>

#include <algorithm>

namespace platform {

namespace {

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

// What the desktop's decorations take around a top-level window's outer widget.
FrameInsets decoration_insets(const NativeWindow& window)
{
    if (!has_desktop_frame(window.style, is_top_level(window)))
        return {};
    return border_insets(window.style, window.ex_style);
}

}  // namespace

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

FrameInsets frame_insets(std::uint32_t style, std::uint32_t ex_style, bool top_level)
{
    FrameInsets insets = border_insets(style, ex_style);
    int edge = edge_width(ex_style);
    (void)top_level;  // the same on both: top-level decorations are counted by the metrics table
    return FrameInsets{insets.left + edge, insets.top + edge, insets.right + edge, insets.bottom + edge};
}

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

}  // namespace platform
