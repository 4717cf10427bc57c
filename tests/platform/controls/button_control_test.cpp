#include "platform/controls/button_control.h"

#include "platform/controls/window_subclass.h"
#include "platform/input_synthesis.h"
#include "platform/key_codes.h"
#include "platform/screen_capture.h"
#include "tests/platform/window_test_support.h"

#include <gtest/gtest.h>

namespace platform_test {
namespace {

class ButtonControlTest : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        ASSERT_TRUE(register_button_class());
        m_parent = make_shown_top_level(100, 100, 300, 200);
    }

    WindowHandle make_button(std::uint32_t style, const char* text = "OK", WindowHandle parent = 0)
    {
        CreateParams params;
        params.class_name = kButtonClassName;
        params.text = text;
        params.style = WS_CHILD | WS_VISIBLE | style;
        params.x = 10;
        params.y = 10;
        params.width = 80;
        params.height = 30;
        params.parent = parent ? parent : m_parent;
        params.id = 7;
        WindowHandle button = create_window(params);
        process_waiting_messages();
        return button;
    }

    int clicked_notifications(WindowHandle button) const
    {
        int count = 0;
        for (const Received& received : log.of(WM_COMMAND)) {
            if (received.message.lparam == button && high_word(received.message.wparam) == BN_CLICKED &&
                low_word(received.message.wparam) == 7)
                ++count;
        }
        return count;
    }

    WindowHandle m_parent = 0;
};

TEST_F(ButtonControlTest, MouseSpaceAndClickMessageNotifyTheParent)
{
    WindowHandle button = make_button(BS_PUSHBUTTON);
    ASSERT_NE(button, 0);
    synthesize_click(button, Point{20, 10});
    process_waiting_messages();
    EXPECT_EQ(clicked_notifications(button), 1);

    set_focus(button);
    synthesize_key_stroke(button, VK_SPACE);
    process_waiting_messages();
    EXPECT_EQ(clicked_notifications(button), 2);

    send_message(button, BM_CLICK);
    EXPECT_EQ(clicked_notifications(button), 3);

    // Enter is left to the window, even for the default push button.
    WindowHandle default_button = make_button(BS_DEFPUSHBUTTON);
    set_focus(default_button);
    synthesize_key_stroke(default_button, VK_RETURN);
    process_waiting_messages();
    EXPECT_EQ(clicked_notifications(default_button), 0);

    enable_window(button, false);
    synthesize_click(button, Point{20, 10});
    send_message(button, BM_CLICK);
    process_waiting_messages();
    EXPECT_EQ(clicked_notifications(button), 3);
}

TEST_F(ButtonControlTest, CaptionColourComesFromTheParent)
{
    log.handler = [](WindowHandle, Message& message) -> std::optional<std::intptr_t> {
        if (message.id != WM_CTLCOLORBTN)
            return std::nullopt;
        auto* colours = reinterpret_cast<ControlColours*>(message.wparam);
        colours->text = 0x0000FF;
        return 1;
    };
    WindowHandle button = make_button(BS_PUSHBUTTON | BS_CENTER | BS_VCENTER, "WWW");
    ASSERT_NE(button, 0);
    std::unique_ptr<Bitmap> pixels = capture_window(button);
    ASSERT_TRUE(pixels);
    bool red = false;
    for (int y = 0; y < pixels->height(); ++y)
        for (int x = 0; x < pixels->width(); ++x)
            red = red || ((pixels->pixel(x, y) & 0xFF) > 0xC0 && ((pixels->pixel(x, y) >> 16) & 0xFF) < 0x40);
    EXPECT_TRUE(red);
    EXPECT_FALSE(log.of(WM_CTLCOLORBTN).empty());
}

TEST_F(ButtonControlTest, GroupBoxErasesThroughItsProcedureBeforeDrawingItsFrame)
{
    WindowHandle group = make_button(BS_GROUPBOX | BS_CENTER, "Title");
    ASSERT_NE(group, 0);
    int erased = 0;
    subclass_window(group, [&erased](WindowHandle handle, Message& message, const WindowProcedure& previous) {
        if (message.id != WM_ERASEBKGND)
            return previous(handle, message);
        ++erased;
        reinterpret_cast<DeviceContext*>(message.wparam)->fill_rect(client_rect(handle), 0x00FFFF);
        return std::intptr_t{1};
    });
    std::unique_ptr<Bitmap> pixels = capture_window(group);
    ASSERT_TRUE(pixels);
    EXPECT_GT(erased, 0);
    EXPECT_EQ(pixels->pixel(40, 25), 0x00FFFFu);
    // The frame's bottom edge is drawn over the erased background.
    EXPECT_NE(pixels->pixel(40, 28), 0x00FFFFu);
    EXPECT_FALSE(log.of(WM_CTLCOLORSTATIC).empty());
}

TEST_F(ButtonControlTest, SubclassSeesMessagesFirstAndPassesTheRestOn)
{
    WindowHandle button = make_button(BS_PUSHBUTTON);
    std::vector<std::uint32_t> seen;
    subclass_window(button, [&seen](WindowHandle handle, Message& message, const WindowProcedure& previous) {
        seen.push_back(message.id);
        if (message.id == WM_APP + 1)
            return std::intptr_t{42};
        return previous(handle, message);
    });
    EXPECT_EQ(send_message(button, WM_APP + 1), 42);
    set_window_text(button, "new");
    EXPECT_EQ(window_text(button), "new");
    EXPECT_NE(std::find(seen.begin(), seen.end(), WM_SETTEXT), seen.end());
    EXPECT_FALSE(subclass_window(0, [](WindowHandle, Message&, const WindowProcedure&) { return std::intptr_t{0}; }));
    // The subclass procedure records into this test's own list: the button goes before the list does.
    destroy_window(button);
}

}  // namespace
}  // namespace platform_test
