#include "window_test_support.h"

#include <thread>

namespace platform_test {
namespace {

constexpr std::uint32_t kPrivate = WM_APP + 0x6F;

std::vector<std::uintptr_t> private_wparams(const MessageLog& log)
{
    std::vector<std::uintptr_t> values;
    for (const Received& received : log.of(kPrivate))
        values.push_back(received.message.wparam);
    return values;
}

TEST_F(WindowTest, SendRunsAtOncePostWaitsForTheLoopInOrder)
{
    WindowHandle window = make_top_level(0, 0, 10, 10);
    log.clear();
    EXPECT_TRUE(post_message(window, kPrivate, 1, 0x12345678));
    send_message(window, kPrivate, 2);
    EXPECT_TRUE(post_message(window, kPrivate, 3));
    EXPECT_EQ(private_wparams(log), std::vector<std::uintptr_t>{2});
    EXPECT_TRUE(message_waiting());
    EXPECT_FALSE(process_waiting_messages());
    EXPECT_EQ(private_wparams(log), (std::vector<std::uintptr_t>{2, 1, 3}));
    // Private messages keep their number and parameters.
    EXPECT_EQ(log.of(kPrivate)[1].message.lparam, 0x12345678);
    EXPECT_FALSE(message_waiting());
}

TEST_F(WindowTest, SendReturnsTheProcedureResult)
{
    WindowHandle window = make_top_level(0, 0, 10, 10);
    log.handler = [](WindowHandle, Message& message) -> std::optional<std::intptr_t> {
        if (message.id == kPrivate)
            return static_cast<std::intptr_t>(message.wparam) * 2;
        return std::nullopt;
    };
    EXPECT_EQ(send_message(window, kPrivate, 21), 42);
}

TEST_F(WindowTest, MessagesPostedToADestroyedWindowAreDropped)
{
    WindowHandle window = make_top_level(0, 0, 10, 10);
    post_message(window, kPrivate, 1);
    destroy_window(window);
    log.clear();
    process_waiting_messages();
    EXPECT_TRUE(log.of(kPrivate).empty());
}

TEST_F(WindowTest, QuitComesAfterOtherMessagesAndStaysQueuedUntilTaken)
{
    WindowHandle window = make_top_level(0, 0, 10, 10);
    log.clear();
    post_quit_message(3);
    post_message(window, kPrivate, 1);
    EXPECT_TRUE(quit_waiting());
    // Processing delivers the other message and leaves the quit message queued.
    EXPECT_TRUE(process_waiting_messages());
    EXPECT_EQ(private_wparams(log), std::vector<std::uintptr_t>{1});
    EXPECT_TRUE(quit_waiting());
    EXPECT_TRUE(process_waiting_messages());
    EXPECT_EQ(dispatch_one_message(Wait::No), DispatchResult::Quit);
    EXPECT_EQ(quit_code(), 3);
    EXPECT_FALSE(quit_waiting());
}

TEST_F(WindowTest, LoopRunsIdleWorkWhenNothingWaitsAndEndsWithTheQuitCode)
{
    WindowHandle window = make_top_level(0, 0, 10, 10);
    std::vector<int> counts;
    int code = run_message_loop([&](int count) {
        counts.push_back(count);
        if (counts.size() == 3)
            post_message(window, kPrivate, 9);  // ends the idle period; counting starts again
        if (counts.size() == 5)
            post_quit_message(7);
        return true;
    });
    EXPECT_EQ(code, 7);
    EXPECT_EQ(counts, (std::vector<int>{0, 1, 2, 0, 1}));
    EXPECT_EQ(private_wparams(log), std::vector<std::uintptr_t>{9});
}

TEST_F(WindowTest, LoopStopsIdlingWhenIdleWorkIsDone)
{
    WindowHandle window = make_top_level(0, 0, 10, 10);
    int idle_calls = 0;
    log.handler = [&](WindowHandle, Message& message) -> std::optional<std::intptr_t> {
        if (message.id == kPrivate)
            post_quit_message(0);
        return std::nullopt;
    };
    // The idle work declines at once; a message posted from another thread wakes the waiting loop.
    std::thread poster;
    int code = run_message_loop([&](int) {
        if (++idle_calls == 1)
            poster = std::thread([window] { post_message(window, kPrivate, 1); });
        return false;
    });
    poster.join();
    EXPECT_EQ(code, 0);
    // Declined idle work is not asked again while the loop waits; the quit came with the message.
    EXPECT_EQ(idle_calls, 1);
    EXPECT_EQ(log.of(kPrivate).size(), 1u);
}

TEST_F(WindowTest, ModalQtLoopsDeliverPostedMessagesToo)
{
    WindowHandle window = make_top_level(0, 0, 10, 10);
    log.clear();
    post_message(window, kPrivate, 5);
    // Any Qt event loop delivers posted messages; here a plain processEvents stands for it.
    for (int i = 0; i < 10 && log.of(kPrivate).empty(); ++i)
        dispatch_one_message(Wait::No);
    EXPECT_EQ(private_wparams(log), std::vector<std::uintptr_t>{5});
}

}  // namespace
}  // namespace platform_test
