// The GIF animator.
//   - load / unload        the GIF data, the first-frame check, the canvas
//   - start / stop         the worker thread's life
//   - compose_next_frame   disposal, block walk, drawing a frame (transparency by colour)
//   - present              the canvas onto a window, on the UI thread

#include "runtime/components/gif_animator.h"

#include "runtime/imaging/checked_size.h"

#include "platform/graphics.h"

#include <algorithm>
#include <atomic>
#include <cstring>
#include <new>
#include <system_error>

namespace runtime::components {
namespace {

constexpr std::size_t kCanvasPixelBytes = 4;

std::atomic<int> g_running_workers{0};

bool restores_area(int disposal)
{
    // Restore-to-background and restore-to-previous are both played as a restore of the area the
    // frame covered; the area is saved before the frame is drawn.
    return disposal == imaging::GifDisposal::RestoreBackground || disposal == imaging::GifDisposal::RestorePrevious;
}

platform::Rect intersection(const platform::Rect& a, const platform::Rect& b)
{
    return platform::Rect{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
                          std::min(a.bottom, b.bottom)};
}

platform::Rect union_of(const platform::Rect& a, const platform::Rect& b)
{
    return platform::Rect{std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
                          std::max(a.bottom, b.bottom)};
}

platform::Colour colour_of_entry(const std::uint8_t* entry)
{
    // Entries are blue, green, red, 0.
    return static_cast<platform::Colour>(entry[2]) | (static_cast<platform::Colour>(entry[1]) << 8) |
           (static_cast<platform::Colour>(entry[0]) << 16);
}

}  // namespace

GifAnimator::~GifAnimator()
{
    stop();
}

int GifAnimator::frame_delay_milliseconds(int delay)
{
    return delay <= 0 ? kDefaultDelayMilliseconds : delay * 10;
}

int GifAnimator::running_workers()
{
    return g_running_workers.load();
}

// ==== Loading =====================================================================================

void GifAnimator::unload()
{
    stop();
    std::lock_guard lock(m_mutex);
    m_stream.reset();
    m_width = 0;
    m_height = 0;
    m_single_frame = false;
    m_canvas.clear();
    m_canvas.shrink_to_fit();
    m_saved_pixels.clear();
    m_changed.reset();
    m_restore_pending = false;
    m_delay_milliseconds = kDefaultDelayMilliseconds;
    m_state = AnimationState::Idle;
}

std::optional<imaging::DecodeError> GifAnimator::load(std::span<const std::uint8_t> bytes, platform::Colour background)
{
    unload();
    auto stream = imaging::GifStream::open(bytes);
    if (!stream)
        return stream.error();
    auto first = stream->next_frame();
    if (!first)
        return first.error();

    // A logical screen of 0 (some writers leave it out) takes the first frame's extent.
    int width = stream->screen_width() > 0 ? stream->screen_width() : first->left + first->width;
    int height = stream->screen_height() > 0 ? stream->screen_height() : first->top + first->height;
    if (width <= 0 || height <= 0)
        return imaging::DecodeError::BadHeader;
    auto canvas_bytes = imaging::checked_block_size(static_cast<std::size_t>(width) * kCanvasPixelBytes,
                                                    static_cast<std::size_t>(height));
    if (!canvas_bytes)
        return imaging::DecodeError::TooLarge;

    std::lock_guard lock(m_mutex);
    try {
        m_canvas.resize(*canvas_bytes);
    } catch (const std::bad_alloc&) {
        m_canvas.clear();
        return imaging::DecodeError::OutOfMemory;
    }
    for (std::size_t i = 0; i < m_canvas.size(); i += kCanvasPixelBytes) {
        m_canvas[i] = static_cast<std::uint8_t>(background >> 16);
        m_canvas[i + 1] = static_cast<std::uint8_t>(background >> 8);
        m_canvas[i + 2] = static_cast<std::uint8_t>(background);
        m_canvas[i + 3] = 0;
    }
    m_width = width;
    m_height = height;
    m_background = background;
    m_single_frame = stream->at_end();
    if (m_single_frame) {
        // The only frame stays on the canvas; nothing will ever change it.
        draw_frame_locked(*first);
        m_delay_milliseconds = frame_delay_milliseconds(first->delay);
    } else {
        stream->rewind();
    }
    m_stream = std::move(*stream);
    return std::nullopt;
}

// ==== The worker ==================================================================================

bool GifAnimator::start(PresentRequest present)
{
    if (!m_stream || m_single_frame)
        return false;
    {
        std::lock_guard lock(m_mutex);
        if (m_state == AnimationState::Running)
            return false;
    }
    // A worker that finished by itself has still to be joined before a new one starts.
    if (m_worker.joinable())
        m_worker.join();
    std::lock_guard lock(m_mutex);
    m_stream->rewind();
    m_restore_pending = false;
    m_present_pending.store(false);
    m_state = AnimationState::Running;
    g_running_workers.fetch_add(1);
    try {
        m_worker = std::thread(&GifAnimator::run_worker, this, std::move(present));
    } catch (const std::system_error&) {
        g_running_workers.fetch_sub(1);
        m_state = AnimationState::Stopped;
        return false;
    }
    return true;
}

void GifAnimator::stop()
{
    {
        std::lock_guard lock(m_mutex);
        if (m_state == AnimationState::Running)
            m_state = AnimationState::StopRequested;
    }
    m_wake.notify_all();
    if (m_worker.joinable())
        m_worker.join();
}

AnimationState GifAnimator::state() const
{
    std::lock_guard lock(m_mutex);
    return m_state;
}

bool GifAnimator::wait_for_stop(std::chrono::steady_clock::time_point until)
{
    std::unique_lock lock(m_mutex);
    return m_wake.wait_until(lock, until, [this] { return m_state == AnimationState::StopRequested; });
}

void GifAnimator::run_worker(const PresentRequest& present)
{
    for (;;) {
        auto frame_start = std::chrono::steady_clock::now();
        {
            std::lock_guard lock(m_mutex);
            if (m_state == AnimationState::StopRequested)
                break;
        }
        int delay = compose_next_frame();
        if (present && !m_present_pending.exchange(true))
            present();
        if (wait_for_stop(frame_start + std::chrono::milliseconds(delay)))
            break;
    }
    {
        std::lock_guard lock(m_mutex);
        m_state = AnimationState::Stopped;
    }
    g_running_workers.fetch_sub(1);
}

// ==== Composing ===================================================================================

GifAnimator::Area GifAnimator::clip_to_canvas(int left, int top, int width, int height) const
{
    int right = std::min(left + width, m_width);
    int bottom = std::min(top + height, m_height);
    Area area;
    area.left = std::max(left, 0);
    area.top = std::max(top, 0);
    area.width = std::max(right - area.left, 0);
    area.height = std::max(bottom - area.top, 0);
    return area;
}

void GifAnimator::save_area_locked(const Area& area)
{
    m_saved_area = area;
    m_restore_pending = true;
    if (area.width == 0 || area.height == 0)
        return;  // a frame wholly outside the screen covers nothing
    std::size_t row = static_cast<std::size_t>(area.width) * kCanvasPixelBytes;
    m_saved_pixels.resize(row * static_cast<std::size_t>(area.height));
    std::size_t stride = static_cast<std::size_t>(m_width) * kCanvasPixelBytes;
    for (int y = 0; y < area.height; ++y) {
        std::memcpy(m_saved_pixels.data() + static_cast<std::size_t>(y) * row,
                    m_canvas.data() + static_cast<std::size_t>(area.top + y) * stride +
                        static_cast<std::size_t>(area.left) * kCanvasPixelBytes,
                    row);
    }
}

void GifAnimator::restore_area_locked()
{
    m_restore_pending = false;
    const Area& area = m_saved_area;
    note_changed_locked(area);
    std::size_t row = static_cast<std::size_t>(area.width) * kCanvasPixelBytes;
    if (row == 0 || area.height == 0 || m_saved_pixels.size() < row * static_cast<std::size_t>(area.height))
        return;
    std::size_t stride = static_cast<std::size_t>(m_width) * kCanvasPixelBytes;
    for (int y = 0; y < area.height; ++y) {
        std::memcpy(m_canvas.data() + static_cast<std::size_t>(area.top + y) * stride +
                        static_cast<std::size_t>(area.left) * kCanvasPixelBytes,
                    m_saved_pixels.data() + static_cast<std::size_t>(y) * row, row);
    }
}

void GifAnimator::draw_frame_locked(const imaging::GifFrame& frame)
{
    Area area = clip_to_canvas(frame.left, frame.top, frame.width, frame.height);
    note_changed_locked(area);
    const std::uint8_t* palette = frame.palette();
    std::size_t stride = static_cast<std::size_t>(m_width) * kCanvasPixelBytes;
    for (int y = 0; y < area.height; ++y) {
        int frame_y = area.top + y - frame.top;
        std::uint8_t* out = m_canvas.data() + static_cast<std::size_t>(area.top + y) * stride;
        for (int x = 0; x < area.width; ++x) {
            int frame_x = area.left + x - frame.left;
            const std::uint8_t* entry = palette + std::size_t{frame.index_at(frame_x, frame_y)} * 4;
            // Transparency goes by colour, not by index: every pixel of the transparent entry's
            // colour keeps the canvas as it is, whatever entry it uses.
            if (frame.has_transparency && colour_of_entry(entry) == frame.transparent_colour)
                continue;
            std::memcpy(out + static_cast<std::size_t>(area.left + x) * kCanvasPixelBytes, entry, kCanvasPixelBytes);
        }
    }
}

int GifAnimator::compose_next_frame()
{
    std::lock_guard lock(m_mutex);
    if (!m_stream || m_canvas.empty())
        return m_delay_milliseconds;
    if (m_restore_pending)
        restore_area_locked();
    auto frame = m_stream->next_frame();
    if (frame) {
        if (restores_area(frame->disposal))
            save_area_locked(clip_to_canvas(frame->left, frame->top, frame->width, frame->height));
        draw_frame_locked(*frame);
        m_delay_milliseconds = frame_delay_milliseconds(frame->delay);
    }
    return m_delay_milliseconds;
}

// ==== Presenting ==================================================================================

bool GifAnimator::present(platform::DeviceContext& context, const platform::Rect& target) const
{
    if (target.empty())
        return true;
    const bool halftone = context.stretch_mode() == platform::StretchMode::Halftone;
    const bool shrinking = target.width() < m_width || target.height() < m_height;
    std::unique_ptr<platform::Bitmap> bitmap;
    platform::Rect drawn = target;
    {
        std::lock_guard lock(m_mutex);
        if (m_canvas.empty())
            return false;
        const std::size_t stride = static_cast<std::size_t>(m_width) * kCanvasPixelBytes;
        if (halftone && shrinking) {
            // Averaged straight down to the box's size in one pass; no bitmap of the canvas's size.
            bitmap =
                platform::bitmap_from_bgrx32(m_canvas.data(), m_width, m_height, stride, platform::RowOrder::TopDown,
                                             platform::TargetSize{target.width(), target.height()});
        } else if (target.width() == m_width && target.height() == m_height) {
            // One to one: only the part that is painted is converted.
            drawn = intersection(target, context.clip_box());
            if (drawn.empty())
                return true;
            const std::uint8_t* first = m_canvas.data() + static_cast<std::size_t>(drawn.top - target.top) * stride +
                                        static_cast<std::size_t>(drawn.left - target.left) * kCanvasPixelBytes;
            bitmap =
                platform::bitmap_from_bgrx32(first, drawn.width(), drawn.height(), stride, platform::RowOrder::TopDown);
        } else {
            bitmap =
                platform::bitmap_from_bgrx32(m_canvas.data(), m_width, m_height, stride, platform::RowOrder::TopDown);
        }
    }
    if (!bitmap)
        return false;
    platform::draw_bitmap(context, *bitmap, drawn);
    return true;
}

std::optional<platform::Rect> GifAnimator::take_changed_area()
{
    std::lock_guard lock(m_mutex);
    if (!m_changed)
        return std::nullopt;
    platform::Rect changed = *m_changed;
    m_changed.reset();
    return changed;
}

void GifAnimator::note_changed_locked(const Area& area)
{
    if (area.width <= 0 || area.height <= 0)
        return;
    platform::Rect rect{area.left, area.top, area.left + area.width, area.top + area.height};
    m_changed = m_changed ? union_of(*m_changed, rect) : rect;
}

platform::Colour GifAnimator::canvas_pixel(int x, int y) const
{
    std::lock_guard lock(m_mutex);
    if (x < 0 || y < 0 || x >= m_width || y >= m_height || m_canvas.empty())
        return 0;
    const std::uint8_t* pixel = m_canvas.data() + (static_cast<std::size_t>(y) * m_width + x) * kCanvasPixelBytes;
    return colour_of_entry(pixel);
}

}  // namespace runtime::components
