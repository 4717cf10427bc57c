#pragma once
// The picture box's GIF animator: plays the frames of a GIF on a worker thread.
//
// The worker composes each frame into the canvas (a 32-bit pixel block of the logical screen's
// size) under a lock, then asks the UI thread to present it through a callback that must not block
// (the picture box posts itself a message). The worker never paints a window and never waits for
// the UI thread, so the UI thread can always stop it: stop() wakes the worker and joins it.

#include "runtime/imaging/decode_error.h"
#include "runtime/imaging/gif_decoder.h"

#include "platform/device_context.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <span>
#include <thread>
#include <vector>

namespace runtime::components {

enum class AnimationState {
    Idle = 0,
    StopRequested = 1,
    Stopped = 2,
    Running = 5,
};

class GifAnimator {
public:
    // Runs on the worker thread after a frame was composed; must return at once. Until the UI
    // thread calls frame_presented() no further request is made, so that a busy UI thread does not
    // pile up requests.
    using PresentRequest = std::function<void()>;

    static constexpr int kDefaultDelayMilliseconds = 50;

    GifAnimator() = default;
    ~GifAnimator();
    GifAnimator(const GifAnimator&) = delete;
    GifAnimator& operator=(const GifAnimator&) = delete;

    // Stops a running animation and drops the previous GIF, then opens `bytes` and decodes the first
    // frame to check the data. A GIF of one frame keeps that frame on the canvas and never needs a
    // worker. The canvas starts filled with `background`.
    std::optional<imaging::DecodeError> load(std::span<const std::uint8_t> bytes, platform::Colour background);
    // Stops the animation and frees the GIF data and the canvas.
    void unload();

    bool loaded() const { return m_stream.has_value(); }
    bool single_frame() const { return m_single_frame; }
    int width() const { return m_width; }
    int height() const { return m_height; }

    // Starts the worker from the first frame. Does nothing (false) without a GIF, for a single
    // frame, or while running.
    bool start(PresentRequest present);
    // Returns once the worker has finished (state Stopped); does nothing when none runs.
    void stop();
    AnimationState state() const;
    // Whether a worker thread exists (started and not yet joined).
    bool has_worker() const { return m_worker.joinable(); }

    // Draws the canvas onto `target`, stretched with the context's stretch mode. Only what is
    // painted is converted: at one to one the part inside the clip box, shrunk with halftone the
    // canvas averaged straight to the target's size. False when there is no canvas. UI thread only.
    bool present(platform::DeviceContext& context, const platform::Rect& target) const;
    // The part of the canvas that frames changed since the last call (none: nothing changed).
    std::optional<platform::Rect> take_changed_area();
    // The UI thread has taken the last present request.
    void frame_presented() { m_present_pending.store(false); }

    // One step of the worker: restores what the previous frame's disposal asks for, walks to the
    // next frame and draws it on the canvas. Returns the delay to wait before the following frame.
    // Public so that tests can step an animation without a thread.
    int compose_next_frame();

    // The canvas pixel at (x, y) as 0x00BBGGRR (tests).
    platform::Colour canvas_pixel(int x, int y) const;

    // Milliseconds a frame stays for a stored delay in hundredths of a second (0 plays as 50 ms).
    static int frame_delay_milliseconds(int delay);
    // Worker threads alive in the process right now.
    static int running_workers();

private:
    struct Area {
        int left = 0;
        int top = 0;
        int width = 0;
        int height = 0;
    };

    void run_worker(const PresentRequest& present);
    void draw_frame_locked(const imaging::GifFrame& frame);
    Area clip_to_canvas(int left, int top, int width, int height) const;
    void save_area_locked(const Area& area);
    void restore_area_locked();
    bool wait_for_stop(std::chrono::steady_clock::time_point until);
    void note_changed_locked(const Area& area);

    std::optional<imaging::GifStream> m_stream;
    int m_width = 0;
    int m_height = 0;
    bool m_single_frame = false;
    platform::Colour m_background = 0;

    // Guards everything below, shared by the worker and the UI thread.
    mutable std::mutex m_mutex;
    std::condition_variable m_wake;
    AnimationState m_state = AnimationState::Idle;
    std::vector<std::uint8_t> m_canvas;  // blue, green, red, 0 per pixel; rows of width x 4, top row first
    int m_delay_milliseconds = kDefaultDelayMilliseconds;
    // What the previous frame's disposal restores afterwards.
    bool m_restore_pending = false;
    Area m_saved_area;
    std::vector<std::uint8_t> m_saved_pixels;
    std::optional<platform::Rect> m_changed;  // canvas area changed since the UI last asked

    std::atomic<bool> m_present_pending{false};
    std::thread m_worker;
};

}  // namespace runtime::components
