// The message queue: posted messages wait in our own queue, in order, and each also posts a Qt
// event that dispatches the oldest waiting message, so that any running Qt event loop (a modal
// dialog's, too) delivers them. The quit message is a flag taken only when nothing else waits.

#include "platform/message_loop.h"

#include "platform/qt/input_routing_qt.h"
#include "platform/qt/message_loop_qt.h"
#include "platform/qt/native_window_qt.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QEvent>
#include <QThread>
#include <QTimer>

#include <algorithm>
#include <atomic>
#include <deque>
#include <mutex>

namespace platform {
namespace {

struct PostedMessage {
    WindowHandle handle = 0;
    Message message;
};

std::mutex g_queue_mutex;
std::deque<PostedMessage> g_queue;
std::atomic<bool> g_quit_waiting{false};
std::atomic<int> g_quit_code{0};
std::uint64_t g_posted_dispatched = 0;

const QEvent::Type kDeliverPosted = static_cast<QEvent::Type>(QEvent::registerEventType());

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
    ++g_posted_dispatched;
    std::shared_ptr<NativeWindow> window = find_window(posted.handle);
    if (window && !window->destroying)
        call_window_procedure(window, posted.message);
}

// Receives the Qt events that stand for posted messages.
class PostedMessagePump final : public QObject {
public:
    bool event(QEvent* event) override
    {
        if (event->type() != kDeliverPosted)
            return QObject::event(event);
        PostedMessage posted;
        if (take_posted(posted))
            deliver(posted);
        return true;
    }
};

PostedMessagePump* g_pump = nullptr;

PostedMessagePump* pump()
{
    return g_pump;
}

void process_qt_events(Wait wait)
{
    QCoreApplication::processEvents(wait == Wait::Yes ? QEventLoop::WaitForMoreEvents : QEventLoop::AllEvents);
    // Events posted while those were handled (a repaint a paint asked for, say) go out too.
    QCoreApplication::sendPostedEvents();
    delete_destroyed_widgets();
}

}  // namespace

void start_message_queue()
{
    if (!g_pump)
        g_pump = new PostedMessagePump;
}

void stop_message_queue()
{
    delete g_pump;
    g_pump = nullptr;
    std::lock_guard lock(g_queue_mutex);
    g_queue.clear();
    g_quit_waiting = false;
}

bool post_message(WindowHandle handle, Message message)
{
    if (!pump())
        return false;
    // Off the UI thread the window table is not looked at; a dead window drops the message later.
    if (QThread::currentThread() == pump()->thread() && !is_window(handle))
        return false;
    {
        std::lock_guard lock(g_queue_mutex);
        g_queue.push_back(PostedMessage{handle, message});
    }
    QCoreApplication::postEvent(pump(), new QEvent(kDeliverPosted));
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
    // Wake a loop that waits for events.
    if (pump())
        QCoreApplication::postEvent(pump(), new QEvent(QEvent::None));
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
    delete_destroyed_widgets();
    PostedMessage posted;
    if (take_posted(posted)) {
        deliver(posted);
        delete_destroyed_widgets();
        return DispatchResult::Dispatched;
    }
    if (g_quit_waiting) {
        g_quit_waiting = false;
        return DispatchResult::Quit;
    }
    std::uint64_t inputs = idle_ending_input_count();
    std::uint64_t posted_before = g_posted_dispatched;
    process_qt_events(wait);
    if (wait == Wait::Yes)
        return DispatchResult::Dispatched;
    bool something = inputs != idle_ending_input_count() || posted_before != g_posted_dispatched;
    return something ? DispatchResult::Dispatched : DispatchResult::Nothing;
}

bool process_waiting_messages()
{
    // Qt's own events first (they may post more), then the posted queue, until both are quiet.
    for (int round = 0; round < 1000; ++round) {
        process_qt_events(Wait::No);
        bool any = false;
        PostedMessage posted;
        while (take_posted(posted)) {
            deliver(posted);
            any = true;
        }
        delete_destroyed_widgets();
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
        std::uint64_t posted = g_posted_dispatched;
        auto activity = [&] { return inputs != idle_ending_input_count() || posted != g_posted_dispatched; };
        // Idle phase: while nothing waits and the idle work wants more. Pumping Qt's events may
        // itself deliver input or posted messages, which ends the idle period.
        while (idle_wanted) {
            process_qt_events(Wait::No);
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

void call_after(int milliseconds, std::function<void()> action)
{
    // A precise timer: a coarse one may fire up to 5 % early.
    QTimer::singleShot(std::max(milliseconds, 0), Qt::PreciseTimer, QCoreApplication::instance(), std::move(action));
}

}  // namespace platform
