#include "window_test_support.h"

#include "platform/graphics.h"
#include "platform/screen_capture.h"

namespace platform_test {
namespace {

// Fills the client area of each window with its colour on every paint.
class PaintingTest : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        log.handler = [this](WindowHandle window, Message& message) -> std::optional<std::intptr_t> {
            if (message.id != WM_PAINT)
                return std::nullopt;
            auto found = colours.find(window);
            if (found != colours.end()) {
                auto* request = reinterpret_cast<PaintRequest*>(message.lparam);
                Rect client = client_rect(window);
                request->context->fill_rect(client, found->second);
            }
            return 0;
        };
    }

    std::map<WindowHandle, Colour> colours;
};

TEST_F(PaintingTest, InvalidateAndUpdatePaintTheUpdateRectangleAndEraseOnlyWhenAsked)
{
    WindowHandle top = make_shown_top_level(50, 50, 200, 150);
    WindowHandle child = make_child(top, 10, 10, 100, 80, 0, WS_EX_CLIENTEDGE);
    process_waiting_messages();
    log.clear();

    invalidate(child, Rect{5, 6, 25, 16}, Erase::No);
    update_window(child);
    std::vector<Received> paints = log.of(WM_PAINT);
    auto child_paint = std::find_if(paints.begin(), paints.end(), [&](const Received& r) { return r.window == child; });
    ASSERT_NE(child_paint, paints.end());
    EXPECT_TRUE(std::none_of(log.messages.begin(), log.messages.end(),
                             [&](const Received& r) { return r.window == child && r.message.id == WM_ERASEBKGND; }));
    // The paint happened before update_window returned; a second update finds nothing to do.
    log.clear();
    update_window(child);
    process_waiting_messages();
    EXPECT_TRUE(std::none_of(log.messages.begin(), log.messages.end(),
                             [&](const Received& r) { return r.window == child && r.message.id == WM_PAINT; }));

    // With erase: the background message first, then the paint of the same area.
    std::vector<Rect> painted;
    log.handler = [&](WindowHandle window, Message& message) -> std::optional<std::intptr_t> {
        if (message.id == WM_PAINT && window == child)
            painted.push_back(reinterpret_cast<PaintRequest*>(message.lparam)->update_rect);
        return std::nullopt;
    };
    log.clear();
    invalidate(child, Rect{30, 20, 40, 30}, Erase::Yes);
    update_window(child);
    std::vector<std::uint32_t> ids = log.ids_of(child);
    auto erase = std::find(ids.begin(), ids.end(), WM_ERASEBKGND);
    auto paint = std::find(ids.begin(), ids.end(), WM_PAINT);
    ASSERT_NE(erase, ids.end());
    ASSERT_NE(paint, ids.end());
    EXPECT_LT(erase, paint);
    ASSERT_EQ(painted.size(), 1u);
    EXPECT_EQ(painted[0], (Rect{30, 20, 40, 30}));
}

TEST_F(PaintingTest, ClassBrushErasesAndNullBrushLeavesWhatLiesBeneath)
{
    WindowHandle top = make_shown_top_level(0, 0, 200, 100);
    colours[top] = 0x0000FF;
    WindowHandle brushed = make_child(top, 0, 0, 50, 50, 0, 0, 0, "Recorder");
    WindowHandle bare = make_child(top, 100, 0, 50, 50, 0, 0, 0, "RecorderNoBrush");
    invalidate(top, std::nullopt, Erase::Yes);
    update_window(top);
    std::unique_ptr<Bitmap> image = capture_window(top);
    ASSERT_TRUE(image);
    EXPECT_EQ(image->pixel(25, 25), system_colour(SystemColour::ButtonFace));
    EXPECT_EQ(image->pixel(125, 25), 0x0000FFu);
    EXPECT_EQ(image->pixel(75, 25), 0x0000FFu);
    (void)brushed;
    (void)bare;
}

TEST_F(PaintingTest, FramesAreDrawnFromTheBorderStyles)
{
    WindowHandle top = make_shown_top_level(0, 0, 300, 100);
    colours[top] = 0xFFFFFF;
    WindowHandle client_edge = make_child(top, 0, 0, 50, 50, 0, WS_EX_CLIENTEDGE);
    WindowHandle static_edge = make_child(top, 60, 0, 50, 50, 0, WS_EX_STATICEDGE);
    WindowHandle border = make_child(top, 120, 0, 50, 50, WS_BORDER);
    WindowHandle plain = make_child(top, 180, 0, 50, 50);
    colours[client_edge] = colours[static_edge] = colours[border] = colours[plain] = 0x00FF00;
    long frames = graphics_counters().frames_drawn;
    std::unique_ptr<Bitmap> image = capture_window(top);
    ASSERT_TRUE(image);
    // Only the three windows with a frame had one drawn.
    EXPECT_LE(graphics_counters().frames_drawn - frames, 3);
    EXPECT_EQ(image->pixel(180, 0), 0x00FF00u);
    // Client edge: shadow, then dark shadow, top-left; highlight, then light, bottom-right.
    EXPECT_EQ(image->pixel(0, 0), system_colour(SystemColour::ButtonShadow));
    EXPECT_EQ(image->pixel(1, 1), system_colour(SystemColour::DarkShadow));
    EXPECT_EQ(image->pixel(49, 49), system_colour(SystemColour::ButtonHighlight));
    EXPECT_EQ(image->pixel(48, 48), system_colour(SystemColour::Light));
    EXPECT_EQ(image->pixel(2, 2), 0x00FF00u);
    // Static edge: one pixel.
    EXPECT_EQ(image->pixel(60, 10), system_colour(SystemColour::ButtonShadow));
    EXPECT_EQ(image->pixel(61, 10), 0x00FF00u);
    // Thin border: one pixel of the window-frame colour.
    EXPECT_EQ(image->pixel(120, 10), system_colour(SystemColour::WindowFrame));
    EXPECT_EQ(image->pixel(121, 10), 0x00FF00u);
}

TEST_F(PaintingTest, ZOrderDecidesWhatOverlappingSiblingsShow)
{
    WindowHandle top = make_shown_top_level(0, 0, 200, 100);
    colours[top] = 0xFFFFFF;
    WindowHandle red = make_child(top, 0, 0, 60, 60);
    WindowHandle blue = make_child(top, 30, 30, 60, 60);
    colours[red] = 0x0000FF;
    colours[blue] = 0xFF0000;
    // The later window is on top.
    EXPECT_EQ(capture_window(top)->pixel(40, 40), 0xFF0000u);
    set_window_pos(red, kInsertAtTop, 0, 0, 0, 0, WindowPosFlag::NoMove | WindowPosFlag::NoSize);
    EXPECT_EQ(capture_window(top)->pixel(40, 40), 0x0000FFu);
    set_window_pos(red, blue, 0, 0, 0, 0, WindowPosFlag::NoMove | WindowPosFlag::NoSize);
    EXPECT_EQ(capture_window(top)->pixel(40, 40), 0xFF0000u);
    show_window(blue, ShowCommand::Hide);
    EXPECT_EQ(capture_window(top)->pixel(40, 40), 0x0000FFu);
    EXPECT_EQ(capture_window(top)->pixel(80, 80), 0xFFFFFFu);
}

TEST_F(PaintingTest, CaptureShowsOverlappingTopLevelWindowsInZOrder)
{
    WindowHandle lower = make_shown_top_level(100, 100, 100, 80);
    WindowHandle upper = make_shown_top_level(150, 130, 100, 80);
    colours[lower] = 0x0000FF;
    colours[upper] = 0x00FF00;
    WindowHandle child = make_child(lower, 10, 10, 20, 20);
    colours[child] = 0xFF0000;
    Rect area{90, 90, 260, 220};
    std::unique_ptr<Bitmap> image = capture_screen_rect(area);
    ASSERT_TRUE(image);
    ASSERT_EQ(image->width(), 170);
    ASSERT_EQ(image->height(), 130);
    EXPECT_EQ(image->pixel(0, 0), system_colour(SystemColour::Desktop));
    EXPECT_EQ(image->pixel(15, 15), 0x0000FFu);  // lower only
    EXPECT_EQ(image->pixel(25, 25), 0xFF0000u);  // the lower window's child
    EXPECT_EQ(image->pixel(70, 50), 0x00FF00u);  // overlap: the upper window
    set_active_window(lower);
    EXPECT_EQ(capture_screen_rect(area)->pixel(70, 50), 0x0000FFu);

    // A decorated window shows its caption bar above the client area.
    WindowHandle titled = make_shown_top_level(400, 300, 120, 80, WS_CAPTION | WS_SYSMENU);
    colours[titled] = 0x00FFFF;
    std::unique_ptr<Bitmap> decorated = capture_window(titled);
    ASSERT_TRUE(decorated);
    ASSERT_EQ(decorated->width(), 120);
    ASSERT_EQ(decorated->height(), 80);
    EXPECT_EQ(decorated->pixel(60, 3 + 5), system_colour(SystemColour::ActiveCaption));
    EXPECT_EQ(decorated->pixel(60, 3 + 19 + 5), 0x00FFFFu);

    EXPECT_FALSE(capture_window(0));
    EXPECT_FALSE(capture_screen_rect(Rect{5, 5, 5, 10}));
}

TEST_F(PaintingTest, CaptureOfWhatIsShownCopiesItAndPaintsOnlyWhatIsWaiting)
{
    WindowHandle lower = make_top_level(0, 0, 200, 100);
    WindowHandle upper = make_top_level(150, 50, 100, 100);
    colours[lower] = 0x0000FF;
    colours[upper] = 0xFFFFFF;
    WindowHandle red = make_child(lower, 20, 20, 40, 40);
    WindowHandle blue = make_child(lower, 40, 40, 40, 40);
    colours[red] = 0x0000FF;
    colours[blue] = 0xFF0000;
    show_window(lower, ShowCommand::Show);
    show_window(upper, ShowCommand::Show);
    process_waiting_messages();

    // What the display holds is copied: nothing is painted for the capture.
    long before = client_paints();
    std::unique_ptr<Bitmap> shown = capture_screen_rect(Rect{0, 0, 250, 150}, CapturePixels::Shown);
    ASSERT_TRUE(shown);
    EXPECT_EQ(client_paints(), before);
    EXPECT_EQ(shown->pixel(5, 5), 0x0000FFu);
    EXPECT_EQ(shown->pixel(50, 50), 0xFF0000u);   // the later sibling on top
    EXPECT_EQ(shown->pixel(170, 70), 0xFFFFFFu);  // the upper window over the lower one
    EXPECT_EQ(shown->pixel(240, 10), system_colour(SystemColour::Desktop));

    // A colour the procedure would paint now but that no paint has shown yet is not in it.
    colours[blue] = 0x00FF00;
    EXPECT_EQ(capture_window(lower, CapturePixels::Shown)->pixel(50, 50), 0xFF0000u);
    EXPECT_EQ(capture_window(lower)->pixel(50, 50), 0x00FF00u);

    // What is waiting to be painted, ours or Qt's own (a raise, a window just shown, a change of
    // Z order between top-level windows), is painted once and shows.
    invalidate(blue, std::nullopt, Erase::No);
    before = client_paints();
    update_window(blue);
    long paints_for_the_display = client_paints() - before;
    colours[blue] = 0xFF00FF;
    invalidate(blue, std::nullopt, Erase::No);
    before = client_paints();
    EXPECT_EQ(capture_window(lower, CapturePixels::Shown)->pixel(50, 50), 0xFF00FFu);
    EXPECT_EQ(client_paints() - before, paints_for_the_display);
    set_window_pos(red, kInsertAtTop, 0, 0, 0, 0, WindowPosFlag::NoMove | WindowPosFlag::NoSize);
    EXPECT_EQ(capture_window(lower, CapturePixels::Shown)->pixel(50, 50), 0x0000FFu);
    WindowHandle late = make_child(lower, 100, 10, 20, 20);
    colours[late] = 0x00FFFF;
    EXPECT_EQ(capture_window(lower, CapturePixels::Shown)->pixel(110, 20), 0x00FFFFu);
    set_active_window(lower);
    EXPECT_EQ(capture_screen_rect(Rect{0, 0, 250, 150}, CapturePixels::Shown)->pixel(170, 70), 0x0000FFu);
}

TEST_F(PaintingTest, RedrawWithUpdateNowPaintsBeforeReturning)
{
    WindowHandle top = make_shown_top_level(0, 0, 200, 100);
    WindowHandle child = make_child(top, 0, 0, 50, 50);
    process_waiting_messages();
    log.clear();
    redraw_window(child, Rect{0, 0, 10, 10},
                  RedrawFlag::Invalidate | RedrawFlag::Erase | RedrawFlag::Frame | RedrawFlag::UpdateNow);
    std::vector<std::uint32_t> ids = log.ids_of(child);
    EXPECT_NE(std::find(ids.begin(), ids.end(), WM_ERASEBKGND), ids.end());
    EXPECT_NE(std::find(ids.begin(), ids.end(), WM_PAINT), ids.end());
}

}  // namespace
}  // namespace platform_test
