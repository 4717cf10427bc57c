#include "runtime/components/picture_box.h"

#include "tests/runtime/components/gif_test_builder.h"
#include "tests/support/threads.h"

#include "runtime/imaging/drawing.h"
#include "runtime/imaging/picture_decoder.h"

#include "platform/message_loop.h"
#include "platform/native_window.h"
#include "platform/screen_capture.h"
#include "platform/system_colours.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <string>
#include <thread>

namespace runtime::components {
namespace {

using gif_test::Bytes;

constexpr const char* kParentClass = "PictureBoxTestParent";

// The button face of the system the tests run on (Windows takes it from its own settings).
platform::Colour button_face()
{
    return platform::system_colour(platform::SystemColour::ButtonFace);
}

// A 24-bit BMP of one colour (0x00BBGGRR).
Bytes solid_bmp(int width, int height, platform::Colour colour)
{
    std::size_t row = (static_cast<std::size_t>(width) * 3 + 3) & ~std::size_t{3};
    std::size_t size = 54 + row * height;
    Bytes out(size, 0);
    auto put32 = [&out](std::size_t at, std::uint32_t value) {
        for (int i = 0; i < 4; ++i)
            out[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
    };
    out[0] = 'B';
    out[1] = 'M';
    put32(2, static_cast<std::uint32_t>(size));
    put32(10, 54);
    put32(14, 40);
    put32(18, static_cast<std::uint32_t>(width));
    put32(22, static_cast<std::uint32_t>(height));
    out[26] = 1;   // planes
    out[28] = 24;  // bits per pixel
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            std::uint8_t* pixel =
                out.data() + 54 + static_cast<std::ptrdiff_t>(y) * row + static_cast<std::ptrdiff_t>(x) * 3;
            pixel[0] = static_cast<std::uint8_t>(colour >> 16);
            pixel[1] = static_cast<std::uint8_t>(colour >> 8);
            pixel[2] = static_cast<std::uint8_t>(colour);
        }
    }
    return out;
}

// A 24-bit BMP whose every pixel differs from its neighbours.
Bytes patterned_bmp(int width, int height)
{
    Bytes out = solid_bmp(width, height, 0);
    std::size_t row = (static_cast<std::size_t>(width) * 3 + 3) & ~std::size_t{3};
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            std::uint8_t* pixel = out.data() + 54 + y * row + static_cast<std::size_t>(x) * 3;
            pixel[0] = static_cast<std::uint8_t>(x * 7 + y);
            pixel[1] = static_cast<std::uint8_t>(y * 5);
            pixel[2] = static_cast<std::uint8_t>((x ^ y) * 3);
        }
    }
    return out;
}

Bytes animated_gif()
{
    gif_test::Frame first = gif_test::solid_frame(0, 0, 8, 8, 0);
    first.delay = 2;
    gif_test::Frame second = gif_test::solid_frame(0, 0, 8, 8, 3);
    second.delay = 2;
    return gif_test::build_gif(8, 8, gif_test::kTestPalette, {first, second});
}

int thread_count()
{
    return test_support::process_thread_count();
}

PropertyData byte_data(const Bytes& bytes)
{
    return PropertyData{reinterpret_cast<Word>(bytes.data()), static_cast<Word>(bytes.size())};
}

PropertyData integer_data(std::int64_t value)
{
    return PropertyData{static_cast<Word>(static_cast<std::uint32_t>(static_cast<std::int32_t>(value))), 0};
}

class PictureBoxTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!platform::is_window_class_registered(kParentClass))
            platform::register_window_class(kParentClass, platform::ClassInfo{});
        platform::CreateParams params;
        params.class_name = kParentClass;
        params.style = platform::WS_POPUP | platform::WS_VISIBLE;
        params.x = 40;
        params.y = 40;
        params.width = 400;
        params.height = 400;
        m_parent = platform::create_window(params);
        ASSERT_NE(m_parent, 0);
        // Let the window system expose the window, so that paints happen when asked for.
        platform::process_waiting_messages();
    }

    void TearDown() override
    {
        platform::destroy_window(m_parent);
        platform::process_waiting_messages();
    }

    PictureBox* create_box(int width, int height, std::span<const std::uint8_t> block = {})
    {
        CreateRequest request;
        request.block = block;
        request.style_bits = platform::WS_VISIBLE;
        request.parent = m_parent;
        request.child_id = 1;
        request.left = 10;
        request.top = 10;
        request.width = width;
        request.height = height;
        request.window = 0x52010001;
        request.control = 0x16010001;
        auto create = reinterpret_cast<CreateOperation>(picture_box_kind().interface_function(Interface::Create));
        return static_cast<PictureBox*>(create(request));
    }

    // What the box shows, client area only (its border, if any, is left out).
    static std::unique_ptr<platform::Bitmap> shown(PictureBox* box)
    {
        platform::update_window(box->handle());
        platform::Point origin = platform::client_to_screen(box->handle(), {0, 0});
        platform::Rect client = platform::client_rect(box->handle());
        return platform::capture_screen_rect(
            {origin.x, origin.y, origin.x + client.width(), origin.y + client.height()});
    }

    static Bytes read_picture(PictureBox* box)
    {
        PropertyData data;
        EXPECT_EQ(box->read_property(PictureBoxProperty::Picture, data), 1);
        auto* bytes = reinterpret_cast<const std::uint8_t*>(data.word1);
        return bytes ? Bytes(bytes, bytes + data.word2) : Bytes();
    }

    static Word read_word(PictureBox* box, int index)
    {
        PropertyData data;
        EXPECT_EQ(box->read_property(index, data), 1);
        return data.word1;
    }

    platform::WindowHandle m_parent = 0;
};

TEST(PicturePlacementTest, EachDisplayModePlacesThePicture)
{
    struct Case {
        DisplayMode mode;
        int client_width, client_height, picture_width, picture_height;
        platform::Rect expected;
    } cases[] = {
        {DisplayMode::Fit, 200, 200, 1000, 500, {0, 50, 200, 150}},  // shrunk to 200 x 100
        {DisplayMode::Fit, 200, 200, 50, 40, {75, 80, 125, 120}},    // centred, natural size
        {DisplayMode::Fit, 200, 200, 100, 300, {67, 0, 133, 200}},   // only too tall
        {DisplayMode::Fit, 76, 93, 640, 480, {0, 18, 76, 75}},       // the main window's photo box
        {DisplayMode::Fit, 200, 200, 0, 0, {}},                      // nothing to fit
        {DisplayMode::Natural, 200, 200, 1000, 500, {0, 0, 1000, 500}},
        {DisplayMode::Stretch, 200, 100, 50, 40, {0, 0, 200, 100}},
        {DisplayMode::SizeToPicture, 200, 100, 50, 40, {0, 0, 200, 100}},
    };
    for (const Case& c : cases) {
        platform::Rect placed =
            picture_placement(c.mode, c.client_width, c.client_height, c.picture_width, c.picture_height);
        EXPECT_EQ(placed, c.expected) << "mode " << static_cast<int>(c.mode) << ", " << c.picture_width << " x "
                                      << c.picture_height << " in " << c.client_width << " x " << c.client_height;
    }
}

TEST(PictureBoxKindTest, KindRecordDescribesFifteenProperties)
{
    const KindRecord& kind = picture_box_kind();
    EXPECT_EQ(kind.flags, 0x840100C0u);
    ASSERT_EQ(kind.property_count, 15);
    EXPECT_EQ(kind.properties[10].type_code, TypeCode::Picture);
    EXPECT_EQ(kind.properties[9].type_code, TypeCode::BackgroundColour);
    EXPECT_EQ(kind.properties[12].type_code, TypeCode::Logical);
    EXPECT_EQ(kind.interface_function(Interface::WantsKey), nullptr);
    EXPECT_NE(kind.interface_function(Interface::SaveProperties), nullptr);
}

TEST_F(PictureBoxTest, OutOfRangeChoicesAreClamped)
{
    PictureBox* box = create_box(100, 100);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(platform::window_class_name(box->handle()), kPictureBoxClassName);

    box->property_changed(PictureBoxProperty::DisplayMode, integer_data(7));
    EXPECT_EQ(read_word(box, PictureBoxProperty::DisplayMode), 2u);
    EXPECT_EQ(box->applied_display_mode(), DisplayMode::Fit);
    box->property_changed(PictureBoxProperty::DisplayMode, integer_data(-1));
    EXPECT_EQ(read_word(box, PictureBoxProperty::DisplayMode), 0u);

    box->property_changed(PictureBoxProperty::Border, integer_data(9));
    EXPECT_EQ(read_word(box, PictureBoxProperty::Border), 5u);
    EXPECT_TRUE(platform::window_style(box->handle()) & platform::WS_BORDER);

    box->property_changed(PictureBoxProperty::Border, integer_data(4));
    EXPECT_FALSE(platform::window_style(box->handle()) & platform::WS_BORDER) << "old border styles are removed";
    EXPECT_EQ(platform::window_ex_style(box->handle()) & (platform::WS_EX_CLIENTEDGE | platform::WS_EX_DLGMODALFRAME),
              platform::WS_EX_CLIENTEDGE | platform::WS_EX_DLGMODALFRAME);

    box->property_changed(PictureBoxProperty::Border, integer_data(-3));
    EXPECT_EQ(read_word(box, PictureBoxProperty::Border), 0u);
    EXPECT_EQ(platform::window_ex_style(box->handle()) &
                  (platform::WS_EX_CLIENTEDGE | platform::WS_EX_DLGMODALFRAME | platform::WS_EX_STATICEDGE),
              0u);
    EXPECT_EQ(platform::window_rect(box->handle()).width(), 100) << "the border changes without resizing";
}

TEST_F(PictureBoxTest, WritingAnEmptyByteSetClearsThePicture)
{
    PictureBox* box = create_box(50, 50);
    ASSERT_NE(box, nullptr);
    Bytes bmp = solid_bmp(4, 4, gif_test::kRed);
    box->property_changed(PictureBoxProperty::Picture, byte_data(bmp));
    ASSERT_NE(box->decoded_picture(), nullptr);
    EXPECT_EQ(read_picture(box), bmp);

    // The box's own bytes written back (what a read handed out) survive their replacement.
    PropertyData own;
    box->read_property(PictureBoxProperty::Picture, own);
    box->property_changed(PictureBoxProperty::Picture, own);
    EXPECT_EQ(read_picture(box), bmp);
    EXPECT_NE(box->decoded_picture(), nullptr);

    box->property_changed(PictureBoxProperty::Picture, PropertyData{0, 0});
    EXPECT_EQ(box->decoded_picture(), nullptr);
    PropertyData data;
    box->read_property(PictureBoxProperty::Picture, data);
    EXPECT_EQ(data.word1, 0u);
    EXPECT_EQ(data.word2, 0u);
}

TEST_F(PictureBoxTest, UnknownBytesLeaveTheBoxBlankAndReadBackUnchanged)
{
    PictureBox* box = create_box(20, 20);
    ASSERT_NE(box, nullptr);
    box->property_changed(PictureBoxProperty::BackgroundColour, integer_data(0x00FF00));
    Bytes junk = {'n', 'o', 't', ' ', 'a', ' ', 'p', 'i', 'c', 't', 'u', 'r', 'e'};
    box->property_changed(PictureBoxProperty::Picture, byte_data(junk));
    EXPECT_EQ(box->decoded_picture(), nullptr);
    Bytes stored = read_picture(box);
    EXPECT_EQ(stored, junk);
    // A copy, not the caller's memory.
    PropertyData data;
    box->read_property(PictureBoxProperty::Picture, data);
    EXPECT_NE(reinterpret_cast<const std::uint8_t*>(data.word1), junk.data());

    // A bitmap header over nothing fails in the decoder the same way.
    Bytes broken = {'B', 'M', 1, 2, 3, 4, 5, 6, 7, 8};
    box->property_changed(PictureBoxProperty::Picture, byte_data(broken));
    EXPECT_EQ(box->decoded_picture(), nullptr);
    EXPECT_EQ(read_picture(box), broken);

    auto picture = shown(box);
    ASSERT_NE(picture, nullptr);
    for (int y = 0; y < picture->height(); y += 5) {
        for (int x = 0; x < picture->width(); x += 5)
            ASSERT_EQ(picture->pixel(x, y), gif_test::kGreen) << x << ", " << y;
    }
}

TEST_F(PictureBoxTest, FitModeCentresThePictureOverTheBackground)
{
    PictureBox* box = create_box(200, 200);
    ASSERT_NE(box, nullptr);
    // The default colour is the button face at the time of the write.
    box->property_changed(PictureBoxProperty::BackgroundColour,
                          integer_data(static_cast<std::int32_t>(kDefaultColour)));
    EXPECT_EQ(box->resolved_background(), platform::system_colour(platform::SystemColour::ButtonFace));
    box->property_changed(PictureBoxProperty::DisplayMode, integer_data(2));

    Bytes wide = solid_bmp(1000, 500, gif_test::kRed);
    box->property_changed(PictureBoxProperty::Picture, byte_data(wide));
    auto picture = shown(box);
    ASSERT_NE(picture, nullptr);
    ASSERT_EQ(picture->width(), 200);
    EXPECT_EQ(picture->pixel(100, 48), button_face());
    EXPECT_EQ(picture->pixel(100, 52), gif_test::kRed);
    EXPECT_EQ(picture->pixel(0, 100), gif_test::kRed);
    EXPECT_EQ(picture->pixel(100, 147), gif_test::kRed);
    EXPECT_EQ(picture->pixel(100, 152), button_face());

    Bytes small = solid_bmp(50, 40, gif_test::kBlue);
    box->property_changed(PictureBoxProperty::Picture, byte_data(small));
    picture = shown(box);
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(picture->pixel(74, 100), button_face());
    EXPECT_EQ(picture->pixel(75, 80), gif_test::kBlue);
    EXPECT_EQ(picture->pixel(124, 119), gif_test::kBlue);
    EXPECT_EQ(picture->pixel(125, 119), button_face());
    EXPECT_EQ(picture->pixel(100, 120), button_face());
}

TEST_F(PictureBoxTest, LargePicturesKeepOnlyWhatTheBoxShowsAndLookAsIfKeptWhole)
{
    PictureBox* box = create_box(120, 90);
    ASSERT_NE(box, nullptr);
    Bytes bytes = patterned_bmp(500, 300);
    auto whole = imaging::decode_picture(bytes);
    ASSERT_TRUE(whole);
    struct Case {
        int mode;
        platform::Rect place;
        platform::TargetSize drawn;  // the whole picture converted at this size, then placed
    };
    const Case cases[] = {
        {0, {0, 0, 120, 90}, {}},         // natural size: its top-left corner
        {1, {0, 0, 120, 90}, {120, 90}},  // stretched
        {2, {0, 9, 120, 81}, {120, 72}},  // fitted, centred
    };
    box->property_changed(PictureBoxProperty::Picture, byte_data(bytes));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mode);
        box->property_changed(PictureBoxProperty::DisplayMode, integer_data(c.mode));
        auto picture = shown(box);
        ASSERT_NE(picture, nullptr);
        ASSERT_NE(box->decoded_picture(), nullptr);
        EXPECT_LE(box->decoded_picture()->pixel_block_size(), std::size_t{120} * 90 * 3);
        auto expected = imaging::picture_bitmap(*whole, box->resolved_background(), c.drawn);
        ASSERT_NE(expected, nullptr);
        int differing = 0;
        for (int y = c.place.top; y < c.place.bottom; ++y) {
            for (int x = c.place.left; x < c.place.right; ++x)
                differing += picture->pixel(x, y) != expected->pixel(x - c.place.left, y - c.place.top);
        }
        EXPECT_EQ(differing, 0);
    }
}

TEST_F(PictureBoxTest, StoredBlockIsReadAndSavedAgain)
{
    form::PictureBoxBlock stored;
    stored.border = 3;
    stored.background_colour = 0x0000FF;
    stored.display_mode = 3;  // size to picture: only a stored block can ask for it
    stored.animate = 0;
    stored.picture = solid_bmp(30, 20, gif_test::kBlue);
    stored.data_source = "source";
    stored.data_column = "column";
    Bytes block = form::write_property_block(stored);
    PictureBox* box = create_box(100, 100, block);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->applied_display_mode(), DisplayMode::SizeToPicture);
    EXPECT_EQ(platform::client_rect(box->handle()), (platform::Rect{0, 0, 30, 20}));
    EXPECT_TRUE(platform::window_ex_style(box->handle()) & platform::WS_EX_STATICEDGE);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(read_word(box, PictureBoxProperty::DataColumn))), "column");

    auto saved = form::read_property_block<form::PictureBoxBlock>(box->save_properties());
    ASSERT_TRUE(saved);
    EXPECT_EQ(saved->border, 3u);
    EXPECT_EQ(saved->background_colour, 0x0000FFu);
    EXPECT_EQ(saved->display_mode, 3u);
    EXPECT_EQ(saved->animate, 0u);
    EXPECT_EQ(saved->picture, stored.picture);
    EXPECT_EQ(saved->data_source, "source");

    // Texts pass through the converter in order, data source first.
    auto convert = [](const std::string& text, int flag, void*) { return text + "!" + std::to_string(flag); };
    auto converted = convert_picture_box_texts(block, convert, nullptr);
    ASSERT_TRUE(converted);
    auto rebuilt = form::read_property_block<form::PictureBoxBlock>(*converted);
    ASSERT_TRUE(rebuilt);
    EXPECT_EQ(rebuilt->data_source, "source!0");
    EXPECT_EQ(rebuilt->data_column, "column!0");
    EXPECT_EQ(rebuilt->picture, stored.picture);
}

TEST_F(PictureBoxTest, BlockOfANewerVersionIsRefused)
{
    Bytes block = form::write_property_block(form::PictureBoxBlock{});
    block[0] = 3;
    EXPECT_EQ(create_box(10, 10, block), nullptr);
    Bytes truncated = {2, 0, 0, 0, 1};
    EXPECT_EQ(create_box(10, 10, truncated), nullptr);
}

TEST_F(PictureBoxTest, SingleFrameGifIsShownStillWithoutAWorker)
{
    PictureBox* box = create_box(60, 60);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(read_word(box, PictureBoxProperty::Animate), 1u);
    Bytes gif = gif_test::build_gif(8, 8, gif_test::kTestPalette, {gif_test::solid_frame(0, 0, 8, 8, 3)});
    box->property_changed(PictureBoxProperty::Picture, byte_data(gif));
    ASSERT_NE(box->decoded_picture(), nullptr);
    EXPECT_EQ(box->decoded_picture()->kind, imaging::PictureKind::Gif);
    auto picture = shown(box);
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(picture->pixel(4, 4), gif_test::kBlue);
    EXPECT_EQ(picture->pixel(20, 20), button_face());
    EXPECT_FALSE(box->animator().has_worker());
    EXPECT_EQ(box->animator().state(), AnimationState::Idle);
}

TEST_F(PictureBoxTest, AnimationStartsOnFirstPaintAndStopsWithTheWindow)
{
    int threads_before = thread_count();
    int workers_before = GifAnimator::running_workers();
    PictureBox* box = create_box(60, 60);
    ASSERT_NE(box, nullptr);
    Bytes gif = animated_gif();
    box->property_changed(PictureBoxProperty::Picture, byte_data(gif));
    EXPECT_FALSE(box->animator().has_worker()) << "nothing runs before the box is painted";

    platform::update_window(box->handle());
    EXPECT_EQ(box->animator().state(), AnimationState::Running);
    EXPECT_EQ(GifAnimator::running_workers(), workers_before + 1);
    EXPECT_EQ(thread_count(), threads_before + 1);

    // Frames reach the window through posted messages.
    bool saw_frame = false;
    for (int i = 0; i < 200 && !saw_frame; ++i) {
        platform::process_waiting_messages();
        auto picture = shown(box);
        ASSERT_NE(picture, nullptr);
        platform::Colour colour = picture->pixel(3, 3);
        saw_frame = colour == gif_test::kRed || colour == gif_test::kBlue;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    EXPECT_TRUE(saw_frame);

    platform::destroy_window(box->handle());
    EXPECT_EQ(GifAnimator::running_workers(), workers_before);
    EXPECT_EQ(thread_count(), threads_before) << "the worker is joined with the window";
}

TEST_F(PictureBoxTest, AnimateOffShowsTheFirstFrameStill)
{
    PictureBox* box = create_box(60, 60);
    ASSERT_NE(box, nullptr);
    Bytes gif = animated_gif();
    box->property_changed(PictureBoxProperty::Picture, byte_data(gif));
    platform::update_window(box->handle());
    ASSERT_TRUE(box->animator().has_worker());

    box->property_changed(PictureBoxProperty::Animate, integer_data(0));
    EXPECT_FALSE(box->animator().has_worker());
    ASSERT_NE(box->decoded_picture(), nullptr);
    EXPECT_FALSE(box->decoded_picture()->pixels.empty()) << "a still picture of the first frame";
    auto picture = shown(box);
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(picture->pixel(3, 3), gif_test::kRed);
    EXPECT_FALSE(box->animator().has_worker());

    box->property_changed(PictureBoxProperty::Animate, integer_data(1));
    EXPECT_TRUE(box->decoded_picture()->pixels.empty()) << "the animator holds the frames again";
    platform::update_window(box->handle());
    EXPECT_EQ(box->animator().state(), AnimationState::Running);
    // Replacing the picture stops the animation before its data goes.
    Bytes bmp = solid_bmp(2, 2, gif_test::kGreen);
    box->property_changed(PictureBoxProperty::Picture, byte_data(bmp));
    EXPECT_FALSE(box->animator().has_worker());
}

}  // namespace
}  // namespace runtime::components
