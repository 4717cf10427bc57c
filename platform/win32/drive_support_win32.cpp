// Calls after a delay on the UI thread: thread timers (SetTimer without a window), delivered by
// whatever loop dispatches the thread's messages, a modal dialog's included.

#include "platform/win32/win32.h"

#include <algorithm>
#include <chrono>
#include <functional>
#include <map>
#include <utility>

namespace platform {
namespace {

using Clock = std::chrono::steady_clock;

struct PendingCall {
    Clock::time_point due;
    std::function<void()> action;
};

// Keyed by timer id. The UI thread alone touches it.
std::map<UINT_PTR, PendingCall>& pending_calls()
{
    static std::map<UINT_PTR, PendingCall> calls;
    return calls;
}

void arm(int milliseconds, PendingCall call);

void CALLBACK on_timer(HWND, UINT, UINT_PTR id, DWORD)
{
    KillTimer(nullptr, id);
    auto found = pending_calls().find(id);
    if (found == pending_calls().end())
        return;
    PendingCall call = std::move(found->second);
    pending_calls().erase(found);
    // The system's timer ticks in steps of 10-16 ms and may come early: the rest is waited again.
    auto left = std::chrono::ceil<std::chrono::milliseconds>(call.due - Clock::now()).count();
    if (left > 0) {
        arm(static_cast<int>(left), std::move(call));
        return;
    }
    call.action();
}

void arm(int milliseconds, PendingCall call)
{
    UINT_PTR id = SetTimer(nullptr, 0, static_cast<UINT>(std::max(milliseconds, 0)), on_timer);
    if (id == 0)
        return;
    pending_calls()[id] = std::move(call);
}

}  // namespace

void call_after(int milliseconds, std::function<void()> action)
{
    milliseconds = std::max(milliseconds, 0);
    arm(milliseconds, PendingCall{Clock::now() + std::chrono::milliseconds(milliseconds), std::move(action)});
}

}  // namespace platform
