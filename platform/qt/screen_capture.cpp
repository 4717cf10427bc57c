#include "platform/screen_capture.h"

#include "platform/qt/device_context_qt.h"
#include "platform/qt/native_window_qt.h"
#include "platform/system_colours.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QScreen>

#include <algorithm>

namespace platform {
namespace {

// A capture larger than this is refused rather than risking the memory of the whole machine: even a
// window of the largest size a control may take (32627 pixels square) would need over 4 GiB.
constexpr qint64 kMaxCaptureBytes = qint64{512} * 1024 * 1024;

// The desktop's decorations of a top-level window (caption and frame), which Qt does not render
// with the widget: drawn in the classic colours so that a capture of the whole window shows them.
void paint_decorations(QPainter& painter, const QRect& outer, const QRect& inner)
{
    if (outer == inner)
        return;
    QRegion frame = QRegion(outer).subtracted(QRegion(inner));
    for (const QRect& part : frame)
        painter.fillRect(part, qt_colour(system_colour(SystemColour::ActiveBorder)));
    int caption_height = system_metric(SystemMetric::CaptionHeight);
    if (inner.top() - outer.top() > caption_height) {
        QRect caption(inner.left(), inner.top() - caption_height, inner.width(), caption_height);
        painter.fillRect(caption, qt_colour(system_colour(SystemColour::ActiveCaption)));
    }
}

}  // namespace

Rect primary_screen_rect()
{
    QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen)
        return {};
    return rect_from_qt(screen->geometry());
}

std::unique_ptr<Bitmap> capture_screen_rect(const Rect& rect)
{
    if (rect.empty() || qint64{rect.width()} * rect.height() * 4 > kMaxCaptureBytes)
        return nullptr;
    update_all_windows();
    QImage image(rect.width(), rect.height(), QImage::Format_RGB32);
    if (image.isNull())
        return nullptr;
    image.fill(qt_colour(system_colour(SystemColour::Desktop)));
    {
        QPainter painter(&image);
        painter.translate(-rect.left, -rect.top);
        QRect area = qt_rect(rect);
        std::vector<WindowHandle> order = top_level_windows();  // top first
        for (auto it = order.rbegin(); it != order.rend(); ++it) {
            std::shared_ptr<NativeWindow> window = find_window(*it);
            if (!window || !window->outer || window->destroying)
                continue;
            QWidget* outer = window->outer;
            if (!outer->isVisible() || outer->isMinimized())
                continue;
            QRect outer_rect = qt_rect(window_rect(*it));
            if (!outer_rect.intersects(area))
                continue;
            QRect widget_rect(outer->mapToGlobal(QPoint(0, 0)), outer->size());
            paint_decorations(painter, outer_rect, widget_rect);
            // Only the part inside the captured rectangle is rendered.
            QRegion visible_part(area.intersected(widget_rect).translated(-widget_rect.topLeft()));
            if (!visible_part.isEmpty()) {
                outer->render(&painter, widget_rect.topLeft() + visible_part.boundingRect().topLeft(), visible_part,
                              QWidget::DrawWindowBackground | QWidget::DrawChildren);
            }
        }
    }
    // The rendered image becomes the bitmap as it is: no copy, no conversion.
    return bitmap_adopting_image(std::move(image));
}

std::unique_ptr<Bitmap> held_window_pixels(WindowHandle handle)
{
    std::shared_ptr<NativeWindow> window = find_window(handle);
    if (!window || !window->outer)
        return nullptr;
    QWidget* outer = window->outer;
    QWidget* top = outer->window();
    QScreen* screen = top->screen();
    if (!screen || !top->isVisible())
        return nullptr;
    QPoint origin = outer->mapTo(top, QPoint(0, 0));
    QPixmap held = screen->grabWindow(top->winId(), origin.x(), origin.y(), outer->width(), outer->height());
    if (held.isNull())
        return nullptr;
    return bitmap_adopting_image(held.toImage());
}

std::unique_ptr<Bitmap> capture_window(WindowHandle handle)
{
    if (!is_window(handle))
        return nullptr;
    return capture_screen_rect(window_rect(handle));
}

}  // namespace platform
