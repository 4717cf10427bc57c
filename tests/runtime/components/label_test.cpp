#include "runtime/components/label.h"

#include "runtime/components/gradient.h"
#include "tests/runtime/components/controls_test_support.h"

#include "platform/system_colours.h"
#include "platform/text_encoding.h"

#include <gtest/gtest.h>

namespace runtime::components {
namespace {

using namespace controls_test;

constexpr platform::Colour kPicture = 0x3366CC;
constexpr platform::Colour kBackground = 0x00FF00;

class LabelTest : public ::testing::Test {
protected:
    void SetUp() override { m_parent = make_parent(700, 600, 0xFFFFFF); }
    void TearDown() override
    {
        platform::destroy_window(m_parent);
        platform::process_waiting_messages();
    }

    Label* make_label(const form::LabelBlock& block, platform::Rect place)
    {
        std::vector<std::uint8_t> bytes = form::write_property_block(block);
        return create_component<Label>(label_kind(), m_parent, bytes, place);
    }

    // The label's client area as the label paints it.
    std::unique_ptr<platform::DeviceContext> render(Label& label)
    {
        platform::Rect client = platform::client_rect(label.handle());
        auto context = surface(client.width(), client.height());
        label.paint(*context, platform::Region(client));
        return context;
    }

    platform::WindowHandle m_parent = 0;
};

TEST_F(LabelTest, FittedPictureInNaturalSizeIsCentredAndSurroundedByBackground)
{
    form::LabelBlock block;
    block.border = 5;  // single-line border: a 520 x 328 label has a 518 x 326 client area
    block.picture_layout = 2;
    block.background_colour = kBackground;
    block.caption.clear();
    block.background_picture = solid_bmp(500, 316, kPicture);
    Label* label = make_label(block, platform::Rect{0, 0, 520, 328});
    ASSERT_NE(label, nullptr);
    ASSERT_EQ(platform::client_rect(label->handle()), (platform::Rect{0, 0, 518, 326}));

    auto context = render(*label);
    EXPECT_EQ(pixel_at(*context, 9, 5), kPicture);
    EXPECT_EQ(pixel_at(*context, 508, 320), kPicture);
    EXPECT_EQ(pixel_at(*context, 8, 5), kBackground);
    EXPECT_EQ(pixel_at(*context, 9, 4), kBackground);
    EXPECT_EQ(pixel_at(*context, 509, 320), kBackground);
    EXPECT_EQ(pixel_at(*context, 508, 321), kBackground);
    EXPECT_EQ(pixel_at(*context, 517, 325), kBackground);
}

TEST_F(LabelTest, FittedPictureLargerThanTheAreaShrinksKeepingItsProportions)
{
    EXPECT_EQ(fitted_picture_rect(platform::Rect{0, 0, 500, 500}, 1000, 632), (platform::Rect{0, 92, 500, 408}));
    EXPECT_EQ(fitted_picture_rect(platform::Rect{0, 0, 518, 326}, 500, 316), (platform::Rect{9, 5, 509, 321}));
    EXPECT_EQ(fitted_picture_rect(platform::Rect{10, 10, 110, 60}, 400, 100), (platform::Rect{10, 22, 110, 47}));
    EXPECT_TRUE(fitted_picture_rect(platform::Rect{0, 0, 50, 50}, 0, 10).empty());

    form::LabelBlock block;
    block.picture_layout = 2;
    block.background_colour = kBackground;
    block.caption.clear();
    block.background_picture = solid_bmp(1000, 632, kPicture);
    Label* label = make_label(block, platform::Rect{0, 0, 500, 500});
    ASSERT_NE(label, nullptr);
    auto context = render(*label);
    EXPECT_EQ(pixel_at(*context, 0, 91), kBackground);
    EXPECT_EQ(pixel_at(*context, 0, 92), kPicture);
    EXPECT_EQ(pixel_at(*context, 499, 407), kPicture);
    EXPECT_EQ(pixel_at(*context, 499, 408), kBackground);
}

TEST_F(LabelTest, PictureLayoutsTopLeftAndTiled)
{
    form::LabelBlock block;
    block.background_colour = kBackground;
    block.caption.clear();
    block.background_picture = solid_bmp(30, 20, kPicture);
    block.picture_layout = 0;
    Label* top_left = make_label(block, platform::Rect{0, 0, 100, 50});
    block.picture_layout = 1;
    Label* tiled = make_label(block, platform::Rect{0, 60, 100, 110});
    ASSERT_TRUE(top_left && tiled);

    auto natural = render(*top_left);
    EXPECT_EQ(pixel_at(*natural, 29, 19), kPicture);
    EXPECT_EQ(pixel_at(*natural, 30, 0), kBackground);
    EXPECT_EQ(pixel_at(*natural, 0, 20), kBackground);

    auto tiles = render(*tiled);
    EXPECT_EQ(pixel_at(*tiles, 99, 49), kPicture);
    EXPECT_EQ(pixel_at(*tiles, 45, 25), kPicture);
}

TEST_F(LabelTest, PictureThatDoesNotDecodeIsDroppedForTheBackgroundColour)
{
    form::LabelBlock block;
    block.background_colour = kBackground;
    block.background_gradient = 2;
    block.caption.clear();
    block.background_picture = {'B', 'M', 1, 2, 3, 4, 5, 6, 7, 8};
    Label* label = make_label(block, platform::Rect{0, 0, 40, 30});
    ASSERT_NE(label, nullptr);
    auto context = render(*label);
    EXPECT_EQ(pixel_at(*context, 20, 15), kBackground);
    EXPECT_EQ(read_property(label_kind(), label, LabelProperty::BackgroundPicture).word2, 0u);
    // Later paints behave as if no picture had been stored: the gradient shows.
    auto later = render(*label);
    EXPECT_EQ(pixel_at(*later, 0, 15), 0x808080u);

    // An empty byte set removes a good picture too.
    std::vector<std::uint8_t> good = solid_bmp(4, 4, kPicture);
    write_property(label_kind(), label, LabelProperty::BackgroundGradient, integer_data(0));
    write_property(label_kind(), label, LabelProperty::BackgroundPicture, byte_data(good));
    EXPECT_EQ(pixel_at(*render(*label), 1, 1), kPicture);
    write_property(label_kind(), label, LabelProperty::BackgroundPicture, PropertyData{});
    EXPECT_EQ(pixel_at(*render(*label), 1, 1), kBackground);
}

TEST_F(LabelTest, GradientBackgroundCoversTheClientArea)
{
    form::LabelBlock block;
    block.background_gradient = 3;
    block.gradient_colour_1 = 0x000000;
    block.gradient_colour_2 = 0xFFFFFF;
    block.gradient_colour_3 = kNoColour;
    block.caption.clear();
    Label* label = make_label(block, platform::Rect{0, 0, 100, 40});
    ASSERT_NE(label, nullptr);
    auto context = render(*label);
    EXPECT_EQ(pixel_at(*context, 0, 0), 0x000000u);
    EXPECT_EQ(pixel_at(*context, 40, 40 - 1), gradient_colour_at(std::vector<platform::Colour>{0, 0xFFFFFF}, 79, 80));
    EXPECT_EQ(pixel_at(*context, 60, 20), 0xFFFFFFu);
    EXPECT_EQ(pixel_at(*context, 99, 39), 0xFFFFFFu);

    // With fewer than two usable colours the background colour shows instead.
    auto none = integer_data(static_cast<std::int32_t>(kNoColour));
    write_property(label_kind(), label, LabelProperty::GradientColour1, none);
    EXPECT_EQ(pixel_at(*render(*label), 0, 0), platform::system_colour(platform::SystemColour::ButtonFace));
}

TEST_F(LabelTest, GradientFrameShrinksTheTextAreaOnlyWhenDrawn)
{
    form::LabelBlock block;
    block.border = 6;
    block.frame_width = 8;
    block.background_colour = kBackground;
    block.text_colour = 0x0000FF;
    block.horizontal_alignment = 0;
    block.vertical_alignment = 0;
    block.caption = "WWWW";
    Label* label = make_label(block, platform::Rect{0, 0, 120, 60});
    ASSERT_NE(label, nullptr);
    auto framed = render(*label);
    EXPECT_EQ(pixel_at(*framed, 60, 0), 0x808080u);
    EXPECT_EQ(pixel_at(*framed, 60, 4), 0xFFFFFFu);
    EXPECT_EQ(pixel_at(*framed, 0, 30), 0x808080u);
    // Left-aligned text at the top starts inside the frame.
    bool text_in_frame = false;
    bool text_inside = false;
    for (int y = 0; y < 30; ++y) {
        for (int x = 0; x < 60; ++x) {
            platform::Colour colour = pixel_at(*framed, x, y);
            bool red = (colour & 0xFF) > 0x80 && ((colour >> 8) & 0xFF) < 0x60;
            if (red && (x < 8 || y < 8))
                text_in_frame = true;
            if (red && x >= 8 && y >= 8)
                text_inside = true;
        }
    }
    EXPECT_FALSE(text_in_frame);
    EXPECT_TRUE(text_inside);

    // Frame colours all unused: no frame, and the background reaches the edge.
    for (int index : {LabelProperty::FrameColour1, LabelProperty::FrameColour1 + 1, LabelProperty::FrameColour3})
        write_property(label_kind(), label, index, integer_data(static_cast<std::int32_t>(kNoColour)));
    write_property(label_kind(), label, LabelProperty::Caption, text_data(""));
    auto plain = render(*label);
    EXPECT_EQ(pixel_at(*plain, 60, 0), kBackground);
    EXPECT_EQ(pixel_at(*plain, 0, 30), kBackground);
}

TEST_F(LabelTest, WritesAreClampedIntoTheirRanges)
{
    Label* label = make_label(form::LabelBlock{}, platform::Rect{0, 0, 50, 20});
    ASSERT_NE(label, nullptr);
    struct Case {
        int index;
        std::int32_t written;
        std::int32_t stored;
    };
    const Case cases[] = {
        {LabelProperty::Effect, 9, 3},
        {LabelProperty::Effect, 2, 2},
        {LabelProperty::BorderStyle, 7, 6},
        {LabelProperty::FrameWidth, 3, 5},
        {LabelProperty::FrameWidth, -1, 5},
        {LabelProperty::FrameWidth, 12, 12},
        {LabelProperty::Layout, -1, 0},
        {LabelProperty::Layout, 3, 2},
        {LabelProperty::BackgroundGradient, 20, 8},
        {LabelProperty::HorizontalAlignment, 5, 2},
        {LabelProperty::VerticalAlignment, 5, 2},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(write_property(label_kind(), label, c.index, integer_data(c.written)), 0);
        EXPECT_EQ(as_integer(read_property(label_kind(), label, c.index)), c.stored) << c.index << " " << c.written;
    }
    PropertyData unknown;
    auto read = reinterpret_cast<ReadPropertyOperation>(label_kind().interface_function(Interface::ReadProperty));
    EXPECT_EQ(read(label, 21, unknown), 0);
}

TEST_F(LabelTest, BorderStylesBecomeFramesAndCaptionTheWindowText)
{
    Label* label = make_label(form::LabelBlock{}, platform::Rect{0, 0, 60, 40});
    ASSERT_NE(label, nullptr);
    struct Case {
        std::int32_t border;
        int inset;
    };
    // Client edge 2, modal frame 3, static edge 1, client edge with modal frame 5, single line 1.
    const Case cases[] = {{1, 2}, {2, 3}, {3, 1}, {4, 5}, {5, 1}, {6, 0}, {0, 0}};
    for (const Case& c : cases) {
        write_property(label_kind(), label, LabelProperty::BorderStyle, integer_data(c.border));
        EXPECT_EQ(platform::client_rect(label->handle()).width(), 60 - 2 * c.inset) << c.border;
        EXPECT_EQ(platform::window_rect_in_parent(label->handle()).width(), 60) << c.border;
    }
    std::string caption = platform::gbk_from_utf8("证件 & 编号");
    write_property(label_kind(), label, LabelProperty::Caption, text_data(caption.c_str()));
    EXPECT_EQ(platform::window_text(label->handle()), caption);
}

TEST_F(LabelTest, SavedBlockReadsBackAndNewerVersionsAreRefused)
{
    form::LabelBlock block;
    block.caption = "saved";
    block.picture_layout = 2;
    Label* label = make_label(block, platform::Rect{0, 0, 50, 20});
    ASSERT_NE(label, nullptr);
    write_property(label_kind(), label, LabelProperty::TextColour, integer_data(0x123456));
    auto save = reinterpret_cast<SavePropertiesOperation>(label_kind().interface_function(Interface::SaveProperties));
    std::optional<std::vector<std::uint8_t>> saved = save(label);
    ASSERT_TRUE(saved);
    form::Result<form::LabelBlock> again = form::read_property_block<form::LabelBlock>(*saved);
    ASSERT_TRUE(again.ok());
    EXPECT_EQ(again->caption, "saved");
    EXPECT_EQ(again->text_colour, 0x123456u);
    EXPECT_EQ(again->picture_layout, 2u);

    std::vector<std::uint8_t> newer = *saved;
    newer[0] = 3;
    EXPECT_EQ(create_component<Label>(label_kind(), m_parent, newer, platform::Rect{0, 0, 10, 10}), nullptr);
    EXPECT_EQ(label_kind().property_count, 29);
    EXPECT_EQ(label_kind().flags, 0x84012040u);
}

TEST_F(LabelTest, AmpersandIsDrawnAsItselfAndWordWrapStartsAtTheTop)
{
    form::LabelBlock block;
    block.background_colour = 0xFFFFFF;
    block.caption = "&";
    block.vertical_alignment = 2;
    Label* amp = make_label(block, platform::Rect{0, 0, 60, 30});
    block.caption = "aa bb cc dd ee ff gg hh";
    block.word_wrap = 1;
    Label* wrapped = make_label(block, platform::Rect{0, 40, 40, 200});
    ASSERT_TRUE(amp && wrapped);

    auto has_ink = [](platform::DeviceContext& context, platform::Rect rect) {
        for (int y = rect.top; y < rect.bottom; ++y)
            for (int x = rect.left; x < rect.right; ++x)
                if (pixel_at(context, x, y) != 0xFFFFFFu)
                    return true;
        return false;
    };
    // With prefix processing an "&" alone would draw nothing.
    auto amp_pixels = render(*amp);
    EXPECT_TRUE(has_ink(*amp_pixels, platform::Rect{0, 0, 60, 30}));
    // Bottom alignment, single line: the glyph sits in the lower half.
    EXPECT_FALSE(has_ink(*amp_pixels, platform::Rect{0, 0, 60, 10}));

    // Wrapped text ignores the vertical alignment and starts at the top; it takes several lines.
    auto wrapped_pixels = render(*wrapped);
    EXPECT_TRUE(has_ink(*wrapped_pixels, platform::Rect{0, 0, 40, 16}));
    EXPECT_TRUE(has_ink(*wrapped_pixels, platform::Rect{0, 30, 40, 60}));
    EXPECT_FALSE(has_ink(*wrapped_pixels, platform::Rect{0, 130, 40, 160}));
}

TEST_F(LabelTest, FeedbackMessageRaisesEventZeroAndReturnsTheHandlersResult)
{
    register_kind(Kind::Label, &label_kind());
    install_event_window({Kind::Label});
    Label* label = make_label(form::LabelBlock{}, platform::Rect{0, 0, 50, 20});
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(platform::send_message(label->handle(), kLabelFeedbackMessage, 5, 6), 77);
    ASSERT_EQ(raised_events().size(), 1u);
    EXPECT_EQ(raised_events()[0].control, kFirstControl);
    EXPECT_EQ(raised_events()[0].event, 0);
    EXPECT_EQ(raised_events()[0].arguments, (std::vector<std::int32_t>{5, 6}));
    platform::destroy_window(label->handle());
    window_table().clear();
}

TEST_F(LabelTest, TextEffectsPaintTheirReliefAroundTheText)
{
    EffectInk ink[4];
    for (std::uint32_t effect = 0; effect < 4; ++effect) {
        form::LabelBlock block;
        block.background_colour = 0x808080;
        block.text_colour = 0x0000FF;
        block.text_effect = effect;
        block.caption = "WWW";
        Label* label = make_label(block, platform::Rect{0, 0, 80, 30});
        ASSERT_NE(label, nullptr);
        ink[effect] = effect_ink(*render(*label), platform::Rect{0, 0, 80, 30});
    }
    expect_text_effects(ink);
}

}  // namespace
}  // namespace runtime::components
