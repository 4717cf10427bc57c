#include "platform/screen_capture.h"

#include "platform/qt/device_context_qt.h"
#include "platform/qt/native_window_qt.h"
#include "platform/qt/vector_state_qt.h"
#include "platform/system_colours.h"

#include <QBackingStore>
#include <QCoreApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QScreen>
#include <qpa/qplatformbackingstore.h>

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
    clear_wide_vector_state();
}

// The picture the top-level widget's backing store holds, when it is complete and current: what the
// display shows of the window, so a capture copies it instead of painting the window again. None
// where the platform keeps no readable picture, before the window is first shown, or when its size
// or pixel ratio is not the widget's own; the caller then renders the window.
QImage held_picture(QWidget* top)
{
    QBackingStore* store = top->backingStore();
    if (!store || !store->handle())
        return {};
    // Changes Qt has scheduled by itself (a child just shown, a raise, a move) are painted now, as
    // update_all_windows paints ours: the updates deferred to widgets first, then the paint.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::UpdateLater);
    QCoreApplication::sendPostedEvents(top, QEvent::UpdateRequest);
    // Qt paints only a window the desktop has mapped; until then the store holds nothing current.
    if (!top->testAttribute(Qt::WA_Mapped))
        return {};
    QImage image = store->handle()->toImage();
    if (image.isNull() || image.size() != top->size() || image.devicePixelRatio() != 1.0)
        return {};
    return image;
}

}  // namespace

Rect primary_screen_rect()
{
    QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen)
        return {};
    return rect_from_qt(screen->geometry());
}

std::unique_ptr<Bitmap> capture_screen_rect(const Rect& rect, CapturePixels pixels)
{
    if (rect.empty() || qint64{rect.width()} * rect.height() * 4 > kMaxCaptureBytes)
        return nullptr;
    update_all_windows();
    QRect area = qt_rect(rect);

    // The top-level windows that reach into the rectangle, from the bottom of the Z order up.
    struct Layer {
        QWidget* outer;
        QRect outer_rect;   // with the desktop's decorations
        QRect widget_rect;  // the widget itself
    };
    std::vector<Layer> layers;
    std::vector<WindowHandle> order = top_level_windows();  // top first
    for (auto it = order.rbegin(); it != order.rend(); ++it) {
        std::shared_ptr<NativeWindow> window = find_window(*it);
        if (!window || !window->outer || window->destroying)
            continue;
        QWidget* outer = window->outer;
        if (!outer->isVisible() || outer->isMinimized())
            continue;
        QRect outer_rect = qt_rect(window_rect(*it));
        if (outer_rect.intersects(area))
            layers.push_back({outer, outer_rect, QRect(outer->mapToGlobal(QPoint(0, 0)), outer->size())});
    }

    // The usual snapshot, part of one window that nothing else reaches into, is a copy of the rows
    // the window holds.
    if (pixels == CapturePixels::Shown && layers.size() == 1 && layers[0].widget_rect.contains(area)) {
        QImage held = held_picture(layers[0].outer);
        if (!held.isNull())
            return bitmap_adopting_image(held.copy(area.translated(-layers[0].widget_rect.topLeft())));
    }

    QImage image(rect.width(), rect.height(), QImage::Format_RGB32);
    if (image.isNull())
        return nullptr;
    {
        QPainter painter(&image);
        painter.translate(-rect.left, -rect.top);
        // The desktop shows only where no window reaches.
        QRegion desktop(area);
        for (const Layer& layer : layers)
            desktop -= QRegion(layer.outer_rect);
        for (const QRect& part : desktop)
            painter.fillRect(part, qt_colour(system_colour(SystemColour::Desktop)));
        clear_wide_vector_state();
        for (const Layer& layer : layers) {
            paint_decorations(painter, layer.outer_rect, layer.widget_rect);
            // Only the part inside the captured rectangle is copied (or rendered).
            QRect part = area.intersected(layer.widget_rect).translated(-layer.widget_rect.topLeft());
            if (part.isEmpty())
                continue;
            QPoint target = layer.widget_rect.topLeft() + part.topLeft();
            QImage held = pixels == CapturePixels::Shown ? held_picture(layer.outer) : QImage();
            if (!held.isNull()) {
                painter.drawImage(target, held, part);
            } else {
                layer.outer->render(&painter, target, QRegion(part),
                                    QWidget::DrawWindowBackground | QWidget::DrawChildren);
            }
        }
    }
    // The composed image becomes the bitmap as it is: no copy, no conversion.
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

std::unique_ptr<Bitmap> capture_window(WindowHandle handle, CapturePixels pixels)
{
    if (!is_window(handle))
        return nullptr;
    return capture_screen_rect(window_rect(handle), pixels);
}

}  // namespace platform
