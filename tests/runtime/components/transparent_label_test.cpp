#include "runtime/components/transparent_label.h"

#include "runtime/components/label.h"
#include "tests/runtime/components/controls_test_support.h"

#include "platform/controls/window_subclass.h"
#include "platform/screen_capture.h"

#include <gtest/gtest.h>

namespace runtime::components {
namespace {

using namespace controls_test;

constexpr platform::Colour kPicture = 0x3366CC;
constexpr platform::Rect kLabelPlace{40, 30, 140, 60};

// A parent window with a label showing a one-colour picture, and a transparent label over it
// (black text) whose paints beneath it are recorded.
class TransparentLabelTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_parent = make_parent(300, 200, 0xFFFFFF);
        form::LabelBlock background;
        background.caption.clear();
        background.picture_layout = 0;
        background.background_picture = solid_bmp(300, 200, kPicture);
        std::vector<std::uint8_t> background_bytes = form::write_property_block(background);
        m_background = create_component<Label>(label_kind(), m_parent, background_bytes, platform::Rect{0, 0, 300, 200},
                                               kFirstControl + 1);
        ASSERT_NE(m_background, nullptr);
        platform::subclass_window(m_background->handle(), [this](platform::WindowHandle handle,
                                                                 platform::Message& message,
                                                                 const platform::WindowProcedure& previous) {
            if (message.id == platform::WM_PAINT)
                m_beneath_paints.push_back(reinterpret_cast<platform::PaintRequest*>(message.lparam)->update_region);
            return previous(handle, message);
        });

        form::TransparentLabelBlock block;
        block.caption = "WWWWWW";
        std::vector<std::uint8_t> bytes = form::write_property_block(block);
        m_label = create_component<TransparentLabel>(transparent_label_kind(), m_parent, bytes, kLabelPlace);
        ASSERT_NE(m_label, nullptr);
        platform::process_waiting_messages();
    }

    void TearDown() override
    {
        platform::destroy_window(m_parent);
        platform::process_waiting_messages();
    }

    std::unique_ptr<platform::Bitmap> capture()
    {
        platform::process_waiting_messages();
        return platform::capture_window(m_parent);
    }

    // What the display holds for the window beneath the label as the write returns, before the
    // message loop runs: nothing is painted afresh for it, so glyphs that the refresh did not clear
    // at once show here.
    std::unique_ptr<platform::Bitmap> held_beneath() { return platform::held_window_pixels(m_background->handle()); }

    platform::WindowHandle m_parent = 0;
    Label* m_background = nullptr;
    TransparentLabel* m_label = nullptr;
    std::vector<platform::Region> m_beneath_paints;
};

TEST_F(TransparentLabelTest, TextStandsOnWhatLiesBeneathWithNoBoxAroundIt)
{
    auto pixels = capture();
    ASSERT_TRUE(pixels);
    EXPECT_TRUE(any_pixel_other_than(*pixels, kLabelPlace, kPicture));
    // The label's corners show the picture: no background of its own.
    EXPECT_EQ(pixels->pixel(kLabelPlace.right - 1, kLabelPlace.top), kPicture);
    EXPECT_EQ(pixels->pixel(kLabelPlace.right - 1, kLabelPlace.bottom - 1), kPicture);
}

TEST_F(TransparentLabelTest, MovingLeavesNoTraceAtTheOldPlace)
{
    ASSERT_TRUE(any_pixel_other_than(*held_beneath(), kLabelPlace, kPicture)) << "the text shows before the move";
    // Moved as the program moves it: left and top written one after the other.
    platform::move_window(m_label->handle(), 150, kLabelPlace.top, kLabelPlace.width(), kLabelPlace.height());
    platform::move_window(m_label->handle(), 150, 120, kLabelPlace.width(), kLabelPlace.height());
    auto held = held_beneath();
    ASSERT_TRUE(held);
    EXPECT_FALSE(any_pixel_other_than(*held, kLabelPlace, kPicture));
    EXPECT_TRUE(any_pixel_other_than(*held, platform::Rect{150, 120, 250, 150}, kPicture));
    auto pixels = capture();
    EXPECT_FALSE(any_pixel_other_than(*pixels, kLabelPlace, kPicture));
}

TEST_F(TransparentLabelTest, ANewCaptionLeavesNoTraceOfTheOldOne)
{
    ASSERT_TRUE(any_pixel_other_than(*held_beneath(), kLabelPlace, kPicture)) << "the text shows before the write";
    write_property(transparent_label_kind(), m_label, TransparentLabelProperty::Caption, text_data(""));
    auto held = held_beneath();
    ASSERT_TRUE(held);
    EXPECT_FALSE(any_pixel_other_than(*held, kLabelPlace, kPicture));
    EXPECT_EQ(platform::window_text(m_label->handle()), "");

    // A shorter caption: where the old one reached beyond it, only the picture remains.
    write_property(transparent_label_kind(), m_label, TransparentLabelProperty::Caption, text_data("WWWWWW"));
    platform::process_waiting_messages();
    platform::Rect beyond{kLabelPlace.left + 30, kLabelPlace.top, kLabelPlace.right, kLabelPlace.bottom};
    ASSERT_TRUE(any_pixel_other_than(*held_beneath(), beyond, kPicture));
    write_property(transparent_label_kind(), m_label, TransparentLabelProperty::Caption, text_data("W"));
    held = held_beneath();
    ASSERT_TRUE(held);
    EXPECT_FALSE(any_pixel_other_than(*held, beyond, kPicture));
}

TEST_F(TransparentLabelTest, EveryWriteRepaintsTheWindowsBeneathAtOnce)
{
    for (int index : {TransparentLabelProperty::TextColour, 42}) {
        m_beneath_paints.clear();
        write_property(transparent_label_kind(), m_label, index, integer_data(0));
        // Painted before the write returned, inside the label's rectangle.
        ASSERT_FALSE(m_beneath_paints.empty()) << index;
        platform::Region painted;
        for (const platform::Region& region : m_beneath_paints)
            painted = painted.united(region);
        EXPECT_TRUE(painted.contains(kLabelPlace.left, kLabelPlace.top)) << index;
        EXPECT_TRUE(painted.contains(kLabelPlace.right - 1, kLabelPlace.bottom - 1)) << index;
        EXPECT_FALSE(painted.contains(kLabelPlace.right + 5, kLabelPlace.top)) << index;
    }
}

TEST_F(TransparentLabelTest, WhatOneHandlerChangesIsPaintedOnceAsItReturns)
{
    constexpr platform::Rect kNewPlace{150, 120, 250, 150};
    m_beneath_paints.clear();
    {
        RefreshBatch handler_run;
        // As a handler moves a label: left, then top, then a new caption.
        platform::move_window(m_label->handle(), kNewPlace.left, kLabelPlace.top, kLabelPlace.width(),
                              kLabelPlace.height());
        platform::move_window(m_label->handle(), kNewPlace.left, kNewPlace.top, kLabelPlace.width(),
                              kLabelPlace.height());
        write_property(transparent_label_kind(), m_label, TransparentLabelProperty::Caption, text_data("MMMM"));
        EXPECT_TRUE(m_beneath_paints.empty());
        // A capture inside the run shows the state the handler has made.
        auto inside = platform::capture_window(m_parent);
        ASSERT_TRUE(inside);
        EXPECT_FALSE(any_pixel_other_than(*inside, kLabelPlace, kPicture));
        EXPECT_TRUE(any_pixel_other_than(*inside, kNewPlace, kPicture));
        m_beneath_paints.clear();
    }
    {
        RefreshBatch handler_run;
        write_property(transparent_label_kind(), m_label, TransparentLabelProperty::Caption, text_data("W"));
        write_property(transparent_label_kind(), m_label, TransparentLabelProperty::TextColour, integer_data(0xFF));
        {
            RefreshBatch nested_run;
            write_property(transparent_label_kind(), m_label, TransparentLabelProperty::Effect, integer_data(1));
        }
        EXPECT_TRUE(m_beneath_paints.empty()) << "a nested run paints when the outermost one ends";
    }
    ASSERT_EQ(m_beneath_paints.size(), 1u);
    EXPECT_TRUE(m_beneath_paints[0].contains(kNewPlace.left, kNewPlace.top));
    EXPECT_TRUE(m_beneath_paints[0].contains(kNewPlace.right - 1, kNewPlace.bottom - 1));
    platform::Rect beyond{kNewPlace.left + 30, kNewPlace.top, kNewPlace.right, kNewPlace.bottom};
    auto held = held_beneath();
    ASSERT_TRUE(held);
    EXPECT_FALSE(any_pixel_other_than(*held, kLabelPlace, kPicture));
    EXPECT_FALSE(any_pixel_other_than(*held, beyond, kPicture));
    EXPECT_TRUE(any_pixel_other_than(*held, kNewPlace, kPicture));
}

TEST_F(TransparentLabelTest, WritesAreClampedAndNeverAskForRecreation)
{
    struct Case {
        int index;
        std::int32_t written;
        std::int32_t stored;
    };
    const Case cases[] = {
        {TransparentLabelProperty::HorizontalAlignment, 5, 2},
        {TransparentLabelProperty::VerticalAlignment, 3, 2},
        {TransparentLabelProperty::Effect, -1, 0},
        {TransparentLabelProperty::Effect, 7, 3},
        {TransparentLabelProperty::TextColour, 0x0000FF, 0x0000FF},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(write_property(transparent_label_kind(), m_label, c.index, integer_data(c.written)), 0);
        EXPECT_EQ(as_integer(read_property(transparent_label_kind(), m_label, c.index)), c.stored) << c.index;
    }
    EXPECT_EQ(transparent_label_kind().property_count, 15);
    EXPECT_EQ(transparent_label_kind().properties[8].flags, 0);
    EXPECT_NE(platform::window_ex_style(m_label->handle()) & platform::WS_EX_TRANSPARENT, 0u);
}

TEST_F(TransparentLabelTest, TextEffectsPaintTheirReliefAroundTheText)
{
    EffectInk ink[4];
    for (std::int32_t effect = 0; effect < 4; ++effect) {
        write_property(transparent_label_kind(), m_label, TransparentLabelProperty::TextColour, integer_data(0x0000FF));
        write_property(transparent_label_kind(), m_label, TransparentLabelProperty::Effect, integer_data(effect));
        auto context = platform::memory_device_context(kLabelPlace.width(), kLabelPlace.height(), 0x808080);
        m_label->paint(*context);
        ink[effect] = effect_ink(*context, platform::Rect{0, 0, kLabelPlace.width(), kLabelPlace.height()});
    }
    expect_text_effects(ink);
}

}  // namespace
}  // namespace runtime::components
