#pragma once
// The message queue and loop: posted messages, the quit message, and the primitives the runtime's
// loop is made of. Posted messages travel as Qt events too, so that any Qt event loop (a modal
// dialog's included) delivers them in order.

#include "platform/messages.h"
#include "platform/window_handle.h"

#include <cstdint>
#include <functional>

namespace platform {

// Queues a message for the window; delivered later by the loop. The only function of the platform
// that may be called from any thread. False when the window is not a window.
bool post_message(WindowHandle handle, Message message);
bool post_message(WindowHandle handle, std::uint32_t id, std::uintptr_t wparam = 0, std::intptr_t lparam = 0);

// Queues the quit message (WM_QUIT with the code). It is taken after every other posted message.
void post_quit_message(int code);
bool quit_waiting();
int quit_code();

// Whether a posted message or the quit message waits. Qt's own events (input, painting) are not
// counted: dispatching handles them as they come.
bool message_waiting();

enum class Wait { No, Yes };
enum class DispatchResult {
    Dispatched,  // a posted message or a batch of Qt events was handled
    Nothing,     // nothing waited (only with Wait::No)
    Quit,        // the quit message was taken off the queue
};
// Takes and dispatches one posted message, or else lets Qt deliver its waiting events (blocking
// for the next one with Wait::Yes). The quit message is returned only when nothing else waits.
DispatchResult dispatch_one_message(Wait wait);

// Dispatches everything that waits, Qt's events included, and stops before a quit message, which
// stays queued. Returns whether the quit message waits.
bool process_waiting_messages();

// Runs until the quit message and returns its code. When nothing waits, `idle` runs with a count
// that starts at 0 after each input or posted message and rises by one each round; idling stops
// when it returns false, until the next such message.
int run_message_loop(const std::function<bool(int idle_count)>& idle);

// Runs `action` once on the UI thread when the loop dispatches, no sooner than `milliseconds` from
// now (0 and less: as soon as it dispatches). Never early: a coarse system timer may fire before its
// time, so the deadline is measured, not trusted to the timer.
void call_after(int milliseconds, std::function<void()> action);

}  // namespace platform
