// The message queue: posted messages wait in our own queue, in order, and each also posts a
// message of the system's to a message-only window that dispatches the oldest waiting one, so that
// any running loop (a modal dialog's, too) delivers them. The runtime's messages carry pointers of
// the runtime's, which never travel through the system's queue. The quit message is a flag taken
// only when nothing else waits: the system's own quit message would end a modal dialog's loop.

#include "platform/win32/native_window_internal_win32.h"

#include <atomic>
#include <deque>
#include <mutex>

namespace platform {

namespace {

struct PostedMessage {
    WindowHandle handle = 0;
    Message message;
};

constexpr UINT kDeliverPosted = WM_USER + 1;
constexpr wchar_t kPumpClassName[] = L"certmaker:posted messages";
// How many of the system's messages one round handles at most, so that a round ends even while
// messages keep coming.
constexpr int kSystemMessagesPerRound = 1000;

std::mutex g_queue_mutex;
std::deque<PostedMessage> g_queue;
std::atomic<bool> g_quit_waiting{false};
std::atomic<int> g_quit_code{0};
std::atomic<HWND> g_pump{nullptr};
DWORD g_ui_thread = 0;

bool take_posted(PostedMessage& taken)
{
    std::lock_guard lock(g_queue_mutex);
    if (g_queue.empty())
        return false;
    taken = g_queue.front();
    g_queue.pop_front();
    return true;
}

void deliver(PostedMessage& posted)
{
    note_posted_dispatch();
    std::shared_ptr<NativeWindow> window = find_window(posted.handle);
    if (window && !window->destroying)
        call_window_procedure(window, posted.message);
}

LRESULT CALLBACK pump_procedure(HWND hwnd, UINT id, WPARAM wparam, LPARAM lparam)
{
    if (id != kDeliverPosted)
        return DefWindowProcW(hwnd, id, wparam, lparam);
    PostedMessage posted;
    if (take_posted(posted))
        deliver(posted);
    return 0;
}

bool g_pointer_ignored = false;

void process_system_messages(Wait wait)
{
    MSG message{};
    if (wait == Wait::Yes && !PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE))
        WaitMessage();
    for (int count = 0; count < kSystemMessagesPerRound; ++count) {
        if (!PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
            break;
        if (message.message == WM_QUIT) {
            // Someone used the system's quit message: it is ours.
            post_quit_message(static_cast<int>(message.wParam));
            break;
        }
        if (g_pointer_ignored && message.message >= WM_MOUSEFIRST && message.message <= WM_MOUSELAST)
            continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

}  // namespace

void ignore_system_pointer(bool ignore)
{
    g_pointer_ignored = ignore;
}

void start_message_queue()
{
    if (g_pump)
        return;
    g_ui_thread = GetCurrentThreadId();
    WNDCLASSEXW pump_class{};
    pump_class.cbSize = sizeof pump_class;
    pump_class.lpfnWndProc = pump_procedure;
    pump_class.hInstance = module_instance();
    pump_class.lpszClassName = kPumpClassName;
    RegisterClassExW(&pump_class);
    g_pump = CreateWindowExW(0, kPumpClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, module_instance(), nullptr);
}

void stop_message_queue()
{
    if (HWND pump = g_pump.exchange(nullptr))
        DestroyWindow(pump);
    std::lock_guard lock(g_queue_mutex);
    g_queue.clear();
    g_quit_waiting = false;
}

bool post_message(WindowHandle handle, Message message)
{
    HWND pump = g_pump;
    if (!pump)
        return false;
    // Off the UI thread the window table is not looked at; a dead window drops the message later.
    if (GetCurrentThreadId() == g_ui_thread && !is_window(handle))
        return false;
    {
        std::lock_guard lock(g_queue_mutex);
        g_queue.push_back(PostedMessage{handle, message});
    }
    PostMessageW(pump, kDeliverPosted, 0, 0);
    return true;
}

bool post_message(WindowHandle handle, std::uint32_t id, std::uintptr_t wparam, std::intptr_t lparam)
{
    return post_message(handle, Message{id, wparam, lparam, 0});
}

void post_quit_message(int code)
{
    g_quit_code = code;
    g_quit_waiting = true;
    // Wake a loop that waits for messages.
    if (HWND pump = g_pump)
        PostMessageW(pump, WM_NULL, 0, 0);
}

bool quit_waiting()
{
    return g_quit_waiting;
}

int quit_code()
{
    return g_quit_code;
}

bool message_waiting()
{
    std::lock_guard lock(g_queue_mutex);
    return !g_queue.empty() || g_quit_waiting;
}

DispatchResult dispatch_one_message(Wait wait)
{
    PostedMessage posted;
    if (take_posted(posted)) {
        deliver(posted);
        return DispatchResult::Dispatched;
    }
    if (g_quit_waiting) {
        g_quit_waiting = false;
        return DispatchResult::Quit;
    }
    std::uint64_t inputs = idle_ending_input_count();
    process_system_messages(wait);
    if (wait == Wait::Yes)
        return DispatchResult::Dispatched;
    return inputs != idle_ending_input_count() ? DispatchResult::Dispatched : DispatchResult::Nothing;
}

bool process_waiting_messages()
{
    // The system's messages first (they may post more), then the posted queue, until both are quiet.
    for (int round = 0; round < 1000; ++round) {
        process_system_messages(Wait::No);
        bool any = false;
        PostedMessage posted;
        while (take_posted(posted)) {
            deliver(posted);
            any = true;
        }
        if (!any)
            break;
    }
    return g_quit_waiting;
}

int run_message_loop(const std::function<bool(int idle_count)>& idle)
{
    int idle_count = 0;
    bool idle_wanted = true;
    for (;;) {
        std::uint64_t inputs = idle_ending_input_count();
        auto activity = [&] { return inputs != idle_ending_input_count(); };
        // Idle phase: while nothing waits and the idle work wants more. Pumping the system's
        // messages may itself deliver input or posted messages, which ends the idle period.
        while (idle_wanted) {
            process_system_messages(Wait::No);
            if (message_waiting() || activity())
                break;
            idle_wanted = idle ? idle(idle_count++) : false;
        }
        // Message phase: wait only when the idle phase handled nothing.
        if (!activity() || message_waiting()) {
            if (dispatch_one_message(message_waiting() ? Wait::No : Wait::Yes) == DispatchResult::Quit)
                return g_quit_code;
        }
        while (message_waiting()) {
            if (dispatch_one_message(Wait::No) == DispatchResult::Quit)
                return g_quit_code;
        }
        if (activity()) {
            idle_count = 0;
            idle_wanted = true;
        }
    }
}

}  // namespace platform
