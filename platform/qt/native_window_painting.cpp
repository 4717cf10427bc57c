// Painting: the outer widget's frame, the client area's WM_ERASEBKGND and WM_PAINT, and
// invalidation, update and redraw.

#include "platform/qt/native_window_shared_qt.h"

#include "platform/qt/device_context_qt.h"
#include "platform/qt/region_qt.h"
#include "platform/screen_capture.h"

#include <QPaintEvent>
#include <QPainter>

#include <vector>

namespace platform {

void OuterWidget::paintEvent(QPaintEvent*)
{
    std::shared_ptr<NativeWindow> window = find_window(m_handle);
    if (!window)
        return;
    // Most child windows have no frame: the client area covers the whole widget, and there is
    // nothing to set a painter up for.
    FrameInsets frame = drawn_insets(*window);
    if (frame.left == 0 && frame.top == 0 && frame.right == 0 && frame.bottom == 0)
        return;
    count_frame_drawn();
    QPainter painter(this);
    paint_frame(*window, painter, rect());
}

namespace {

long g_client_paints = 0;

}  // namespace

void ClientWidget::paintEvent(QPaintEvent* event)
{
    std::shared_ptr<NativeWindow> window = find_window(m_handle);
    if (!window || window->destroying)
        return;
    ++g_client_paints;
    const QRegion& region = event->region();
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

void update_all_windows()
{
    std::vector<WindowHandle> waiting;
    for (const auto& [handle, window] : windows()) {
        if (window->client && !window->pending_invalid.isEmpty())
            waiting.push_back(handle);
    }
    // The first update paints everything waiting in its top-level window; the others find their
    // part done.
    for (WindowHandle handle : waiting)
        update_window(handle);
}

long client_paints()
{
    return g_client_paints;
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

}  // namespace platform
