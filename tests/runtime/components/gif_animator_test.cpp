#include "runtime/components/gif_animator.h"

#include "tests/runtime/components/gif_test_builder.h"

#include "platform/graphics.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

namespace runtime::components {
namespace {

using namespace gif_test;

constexpr platform::Colour kBackground = 0x123456;

Bytes two_frame_gif(int first_delay, int second_delay)
{
    Frame first = solid_frame(0, 0, 4, 4, 0);
    first.delay = first_delay;
    Frame second = solid_frame(0, 0, 4, 4, 3);
    second.delay = second_delay;
    return build_gif(4, 4, kTestPalette, {first, second});
}

// Waits up to two seconds for `done`.
template <class Condition> bool eventually(Condition done)
{
    auto until = std::chrono::steady_clock::now() + std::chrono::seconds(2);
    while (!done()) {
        if (std::chrono::steady_clock::now() > until)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

TEST(GifAnimatorTest, FrameDelaysFollowTheStoredHundredthsAndZeroPlaysAsFiftyMilliseconds)
{
    EXPECT_EQ(GifAnimator::frame_delay_milliseconds(0), 50);
    EXPECT_EQ(GifAnimator::frame_delay_milliseconds(7), 70);
    EXPECT_EQ(GifAnimator::frame_delay_milliseconds(100), 1000);

    // The walk hands each frame's own delay to the worker.
    GifAnimator animator;
    ASSERT_FALSE(animator.load(two_frame_gif(0, 7), kBackground));
    EXPECT_EQ(animator.compose_next_frame(), 50);
    EXPECT_EQ(animator.compose_next_frame(), 70);
    EXPECT_EQ(animator.compose_next_frame(), 50);
}

TEST(GifAnimatorTest, FramesLoopForEver)
{
    GifAnimator animator;
    ASSERT_FALSE(animator.load(two_frame_gif(1, 1), kBackground));
    EXPECT_FALSE(animator.single_frame());
    std::uint32_t expected[] = {kRed, kBlue, kRed, kBlue, kRed};
    for (std::uint32_t colour : expected) {
        animator.compose_next_frame();
        EXPECT_EQ(animator.canvas_pixel(2, 2), colour);
    }
}

TEST(GifAnimatorTest, SingleFrameIsShownStillWithoutAWorker)
{
    Bytes gif = build_gif(4, 3, kTestPalette, {solid_frame(1, 1, 2, 2, 3)});
    GifAnimator animator;
    ASSERT_FALSE(animator.load(gif, kBackground));
    EXPECT_TRUE(animator.single_frame());
    EXPECT_EQ(animator.width(), 4);
    EXPECT_EQ(animator.height(), 3);
    // The frame sits on the canvas at its place; the rest is the background.
    EXPECT_EQ(animator.canvas_pixel(1, 1), kBlue);
    EXPECT_EQ(animator.canvas_pixel(0, 0), kBackground);
    EXPECT_FALSE(animator.start([] {}));
    EXPECT_FALSE(animator.has_worker());
    EXPECT_EQ(animator.state(), AnimationState::Idle);
}

TEST(GifAnimatorTest, RestoringDisposalsPutBackWhatTheFrameCovered)
{
    for (int disposal : {2, 3}) {
        SCOPED_TRACE(disposal);
        Frame base = solid_frame(0, 0, 4, 4, 0);
        base.disposal = 1;
        Frame patch = solid_frame(1, 1, 2, 2, 3);
        patch.disposal = disposal;
        Frame dot = solid_frame(0, 0, 1, 1, 1);
        GifAnimator animator;
        ASSERT_FALSE(animator.load(build_gif(4, 4, kTestPalette, {base, patch, dot}), kBackground));
        animator.compose_next_frame();
        animator.compose_next_frame();
        EXPECT_EQ(animator.canvas_pixel(1, 1), kBlue);
        animator.compose_next_frame();
        EXPECT_EQ(animator.canvas_pixel(1, 1), kRed) << "the patch's area is restored";
        EXPECT_EQ(animator.canvas_pixel(2, 2), kRed);
        EXPECT_EQ(animator.canvas_pixel(0, 0), kGreen);
    }
}

TEST(GifAnimatorTest, TransparencyGoesByColourNotByIndex)
{
    Frame base = solid_frame(0, 0, 3, 1, 0);
    // Index 1 is transparent; index 2 has the same colour and must drop out too; index 3 is drawn.
    Frame over = solid_frame(0, 0, 3, 1, 0);
    over.indices = {1, 2, 3};
    over.transparent_index = 1;
    GifAnimator animator;
    ASSERT_FALSE(animator.load(build_gif(3, 1, kTestPalette, {base, over}), kBackground));
    animator.compose_next_frame();
    animator.compose_next_frame();
    EXPECT_EQ(animator.canvas_pixel(0, 0), kRed);
    EXPECT_EQ(animator.canvas_pixel(1, 0), kRed);
    EXPECT_EQ(animator.canvas_pixel(2, 0), kBlue);
}

TEST(GifAnimatorTest, FramesBeyondTheLogicalScreenAreClipped)
{
    Frame base = solid_frame(0, 0, 2, 2, 0);
    Frame outside = solid_frame(1, 1, 5, 5, 3);
    GifAnimator animator;
    ASSERT_FALSE(animator.load(build_gif(2, 2, kTestPalette, {base, outside}), kBackground));
    animator.compose_next_frame();
    animator.compose_next_frame();
    EXPECT_EQ(animator.canvas_pixel(1, 1), kBlue);
    EXPECT_EQ(animator.canvas_pixel(0, 0), kRed);
}

TEST(GifAnimatorTest, OnlyWhatFramesChangedIsPaintedAgainAndPresentedPartsMatchTheWhole)
{
    // An 8 x 8 red screen, then a 2 x 2 blue patch at (5, 1) that is restored afterwards.
    Frame base = solid_frame(0, 0, 8, 8, 0);
    base.disposal = 1;
    Frame patch = solid_frame(5, 1, 2, 2, 3);
    patch.disposal = 2;
    Frame dot = solid_frame(0, 7, 1, 1, 1);
    GifAnimator animator;
    ASSERT_FALSE(animator.load(build_gif(8, 8, kTestPalette, {base, patch, dot}), kBackground));
    animator.compose_next_frame();
    EXPECT_EQ(animator.take_changed_area(), (platform::Rect{0, 0, 8, 8}));
    EXPECT_FALSE(animator.take_changed_area()) << "taken once";
    animator.compose_next_frame();
    EXPECT_EQ(animator.take_changed_area(), (platform::Rect{5, 1, 7, 3}));
    animator.compose_next_frame();
    EXPECT_EQ(animator.take_changed_area(), (platform::Rect{0, 1, 7, 8})) << "the restored patch and the dot";

    // Presented in parts (clipped paints at one to one) or shrunk, the result is what presenting the
    // whole canvas and shrinking it gives.
    auto whole = platform::filled_bitmap(8, 8, kWhite);
    auto parts = platform::filled_bitmap(8, 8, kWhite);
    auto whole_context = platform::bitmap_device_context(*whole);
    ASSERT_TRUE(animator.present(*whole_context, {0, 0, 8, 8}));
    for (const platform::Rect& part :
         {platform::Rect{0, 0, 3, 8}, platform::Rect{3, 0, 8, 5}, platform::Rect{3, 5, 8, 8}}) {
        auto context = platform::bitmap_device_context(*parts);
        context->intersect_clip_rect(part);
        ASSERT_TRUE(animator.present(*context, {0, 0, 8, 8}));
    }
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 8; ++x)
            EXPECT_EQ(parts->pixel(x, y), whole->pixel(x, y)) << x << "," << y;
    }
    auto shrunk = platform::filled_bitmap(3, 3, kWhite);
    auto shrunk_context = platform::bitmap_device_context(*shrunk);
    shrunk_context->set_stretch_mode(platform::StretchMode::Halftone);
    ASSERT_TRUE(animator.present(*shrunk_context, {0, 0, 3, 3}));
    auto expected = platform::scaled_bitmap(*whole, 3, 3);
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 3; ++x)
            EXPECT_EQ(shrunk->pixel(x, y), expected->pixel(x, y)) << x << "," << y;
    }
}

TEST(GifAnimatorTest, RefusesDataThatIsNoGif)
{
    GifAnimator animator;
    Bytes not_gif(32, 0x41);
    EXPECT_TRUE(animator.load(not_gif, kBackground).has_value());
    EXPECT_FALSE(animator.loaded());
    Bytes header_only = {'G', 'I', 'F', '8', '9', 'a', 4, 0, 4, 0, 0, 0, 0, 0x3B};
    EXPECT_TRUE(animator.load(header_only, kBackground).has_value());
    EXPECT_FALSE(animator.start([] {}));
}

TEST(GifAnimatorTest, CutOrCorruptedDataStaysInsideItsBounds)
{
    Frame base = solid_frame(0, 0, 6, 6, 0);
    base.disposal = 2;
    Frame edge = solid_frame(4, 4, 9, 9, 3);  // reaches beyond the screen
    edge.disposal = 3;
    edge.transparent_index = 1;
    Bytes gif = build_gif(6, 6, kTestPalette, {base, edge, solid_frame(1, 1, 2, 2, 2)});
    // Every prefix of the file, and the file with each byte inverted in turn: whatever loads plays a
    // few rounds without reading or writing outside the data and the canvas.
    for (std::size_t length = 0; length <= gif.size(); ++length) {
        GifAnimator animator;
        if (animator.load(std::span(gif.data(), length), kBackground))
            continue;
        for (int i = 0; i < 8; ++i)
            animator.compose_next_frame();
    }
    for (std::size_t at = 0; at < gif.size(); ++at) {
        Bytes corrupted = gif;
        corrupted[at] = static_cast<std::uint8_t>(~corrupted[at]);
        GifAnimator animator;
        if (animator.load(corrupted, kBackground))
            continue;
        for (int i = 0; i < 8; ++i)
            animator.compose_next_frame();
    }
}

TEST(GifAnimatorTest, StopReturnsOnlyAfterTheWorkerHasFinished)
{
    int workers_before = GifAnimator::running_workers();
    GifAnimator animator;
    ASSERT_FALSE(animator.load(two_frame_gif(1, 1), kBackground));
    std::atomic<int> presented{0};
    ASSERT_TRUE(animator.start([&] {
        ++presented;
        animator.frame_presented();
    }));
    EXPECT_TRUE(animator.has_worker());
    EXPECT_FALSE(animator.start([] {})) << "a running animation is not started twice";
    ASSERT_TRUE(eventually([&] { return presented.load() >= 3; }));
    EXPECT_EQ(GifAnimator::running_workers(), workers_before + 1);

    animator.stop();
    EXPECT_EQ(animator.state(), AnimationState::Stopped);
    EXPECT_FALSE(animator.has_worker());
    EXPECT_EQ(GifAnimator::running_workers(), workers_before);
    int after_stop = presented.load();
    std::this_thread::sleep_for(std::chrono::milliseconds(40));
    EXPECT_EQ(presented.load(), after_stop) << "nothing runs after stop";

    // It can start again; requests wait for the UI thread to take the previous one.
    presented = 0;
    ASSERT_TRUE(animator.start([&presented] { ++presented; }));
    std::this_thread::sleep_for(std::chrono::milliseconds(60));
    EXPECT_EQ(presented.load(), 1) << "no new request until the last one was taken";
    animator.stop();
}

TEST(GifAnimatorTest, StopDoesNotWaitOutALongFrameDelay)
{
    GifAnimator animator;
    ASSERT_FALSE(animator.load(two_frame_gif(60000, 60000), kBackground));  // ten minutes a frame
    std::atomic<bool> presented{false};
    ASSERT_TRUE(animator.start([&presented] { presented = true; }));
    ASSERT_TRUE(eventually([&] { return presented.load(); }));
    auto before = std::chrono::steady_clock::now();
    animator.stop();
    EXPECT_LT(std::chrono::steady_clock::now() - before, std::chrono::seconds(1));
}

TEST(GifAnimatorTest, LoadingAnotherPictureAndDestructionStopTheWorker)
{
    int workers_before = GifAnimator::running_workers();
    {
        GifAnimator animator;
        ASSERT_FALSE(animator.load(two_frame_gif(1, 1), kBackground));
        ASSERT_TRUE(animator.start([] {}));
        ASSERT_FALSE(animator.load(two_frame_gif(2, 2), kBackground));
        EXPECT_FALSE(animator.has_worker());
        EXPECT_EQ(GifAnimator::running_workers(), workers_before);
        ASSERT_TRUE(animator.start([] {}));
    }
    EXPECT_EQ(GifAnimator::running_workers(), workers_before);
}

}  // namespace
}  // namespace runtime::components
