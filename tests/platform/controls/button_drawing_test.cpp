// A push button on Qt keeps the drawing of each look of its face and copies it; a group box, of its
// title.

#include "platform/controls/button_control.h"
#include "platform/graphics.h"
#include "platform/messages.h"
#include "platform/qt/device_context_qt.h"
#include "platform/qt/native_window_qt.h"
#include "tests/platform/controls/control_test_parent.h"
#include "tests/platform/window_test_support.h"

#include <QAbstractButton>
#include <QImage>
#include <QPixmap>
#include <QScreen>

#include <functional>

#include <gtest/gtest.h>

namespace platform_test {
namespace {

QWidget* client_of(WindowHandle handle)
{
    std::shared_ptr<NativeWindow> window = find_window(handle);
    return window ? window->client.data() : nullptr;
}

// The button painted into an image of its own.
QImage rendered(QWidget& button)
{
    QImage image(button.size(), QImage::Format_RGB32);
    image.fill(Qt::magenta);
    button.render(&image);
    return image;
}

// What the button's window holds where the button is.
QImage shown(QWidget& button)
{
    button.repaint();
    QWidget* window = button.window();
    if (!window->screen())
        return {};
    QPoint origin = button.mapTo(window, QPoint(0, 0));
    return window->screen()
        ->grabWindow(window->winId(), origin.x(), origin.y(), button.width(), button.height())
        .toImage();
}

// How many faces (or titles) a change and the paints after it draw.
long drawn_after(QWidget& widget, const std::function<void()>& change)
{
    long before = graphics_counters().buttons_drawn;
    change();
    process_waiting_messages();
    for (int paint = 0; paint < 3; ++paint)
        widget.repaint();
    return graphics_counters().buttons_drawn - before;
}

class ButtonDrawingTest : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        ASSERT_TRUE(register_button_class());
        m_parent = make_shown_top_level(100, 100, 300, 200);
    }
    void TearDown() override
    {
        set_button_faces(ButtonFaces::Kept);
        WindowTest::TearDown();
    }

    // At an odd place and size, so that a pattern laid from the window's corner would not line up
    // with one laid from the button's.
    WindowHandle make_button(std::uint32_t style, const char* caption)
    {
        WindowHandle button = control_test::make_child(kButtonClassName, m_parent, style, 7, {11, 13, 92, 44}, caption);
        process_waiting_messages();
        return button;
    }

    WindowHandle m_parent = 0;
};

// A face copied from its kept drawing is the face drawn afresh, pixel for pixel, rendered and on
// the display, in every state a button takes; and copying it again draws nothing anew.
TEST_F(ButtonDrawingTest, KeptFacesShowWhatDrawingAfreshShows)
{
    struct Case {
        const char* name;
        std::uint32_t style;
        const char* caption;
        bool down;
        bool focused;
        bool enabled;
    };
    const Case cases[] = {
        {"raised", BS_PUSHBUTTON, "&Save", false, false, true},
        {"sunken", BS_PUSHBUTTON, "&Save", true, false, true},
        {"focused", BS_PUSHBUTTON, "&Save", false, true, true},
        {"focused and sunken", BS_PUSHBUTTON, "&Save", true, true, true},
        {"default", BS_DEFPUSHBUTTON, "OK", false, false, true},
        {"default, sunken", BS_DEFPUSHBUTTON, "OK", true, true, true},
        {"disabled", BS_PUSHBUTTON, "&Save", false, false, false},
        {"CJK, left and top", BS_PUSHBUTTON | BS_LEFT | BS_TOP, "\xC9\xFA\xB3\xC9\xD6\xA4\xBC\xFE", false, false, true},
        {"wrapped", BS_PUSHBUTTON | BS_MULTILINE, "a caption longer than the button", false, false, true},
        {"group box", BS_GROUPBOX, "&Title", false, false, true},
        {"group box, CJK, centred", BS_GROUPBOX | BS_CENTER, "\xD6\xA4\xBC\xFE", false, false, true},
        {"group box, right, disabled", BS_GROUPBOX | BS_RIGHT, "Title", false, false, false},
    };
    QImage unfocused;
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        WindowHandle handle = make_button(test.style, test.caption);
        QWidget* button = client_of(handle);
        ASSERT_TRUE(button);
        if (test.down)
            static_cast<QAbstractButton*>(button)->setDown(true);
        enable_window(handle, test.enabled);
        if (test.focused)
            set_focus(handle);
        process_waiting_messages();

        set_button_faces(ButtonFaces::Kept);
        QImage first = rendered(*button);
        QImage on_display = shown(*button);
        long drawn = graphics_counters().buttons_drawn;
        rendered(*button);
        shown(*button);
        EXPECT_EQ(graphics_counters().buttons_drawn, drawn);

        set_button_faces(ButtonFaces::DrawnAfresh);
        QImage afresh = rendered(*button);
        QImage on_display_afresh = shown(*button);
        ASSERT_FALSE(on_display_afresh.isNull());
        EXPECT_TRUE(first == afresh);
        EXPECT_TRUE(on_display == on_display_afresh);
        // The focus frame is drawn, or the focused cases would prove nothing.
        if (&test == &cases[0])
            unfocused = afresh;
        if (&test == &cases[2]) {
            EXPECT_FALSE(afresh == unfocused);
        }
        destroy_window(handle);
        process_waiting_messages();
    }
}

// An unchanged button is drawn once however often it is painted; whatever changes its face (the
// caption, being pressed, the colour its parent gives, its size) draws it again, once.
TEST_F(ButtonDrawingTest, EachLookIsDrawnOnce)
{
    Colour caption_colour = 0x000000;
    log.handler = [&caption_colour](WindowHandle, Message& message) -> std::optional<std::intptr_t> {
        if (message.id != WM_CTLCOLORBTN)
            return std::nullopt;
        auto* colours = reinterpret_cast<ControlColours*>(message.wparam);
        colours->text = caption_colour;
        return 1;
    };
    WindowHandle handle = make_button(BS_PUSHBUTTON, "Save");
    auto* button = static_cast<QAbstractButton*>(client_of(handle));
    ASSERT_TRUE(button);
    EXPECT_LE(drawn_after(*button, [] {}), 1);
    EXPECT_EQ(drawn_after(*button, [] {}), 0);

    EXPECT_EQ(drawn_after(*button, [handle] { set_window_text(handle, "Saved"); }), 1);
    EXPECT_EQ(drawn_after(*button, [button] { button->setDown(true); }), 1);
    EXPECT_EQ(drawn_after(*button,
                          [button, &caption_colour] {
                              button->setDown(false);
                              caption_colour = 0x0000FF;
                          }),
              1);
    EXPECT_EQ(drawn_after(*button, [handle] { move_window(handle, 11, 13, 90, 31); }), 1);
    // An earlier look is still kept.
    EXPECT_EQ(drawn_after(*button, [handle] { move_window(handle, 11, 13, 81, 31); }), 0);

    // A group box's title likewise.
    WindowHandle group = make_button(BS_GROUPBOX, "Title");
    QWidget* box = client_of(group);
    ASSERT_TRUE(box);
    EXPECT_LE(drawn_after(*box, [] {}), 1);
    EXPECT_EQ(drawn_after(*box, [] {}), 0);
    EXPECT_EQ(drawn_after(*box, [group] { set_window_text(group, "Other title"); }), 1);
}

}  // namespace
}  // namespace platform_test
