// The boundary between the system's messages and the runtime's: what arrives from the system (or
// from anyone calling the system directly) reaches the window procedures in the runtime's terms.

#include "../window_test_support.h"

#include "platform/controls/edit_control.h"
#include "platform/text_encoding.h"
#include "platform/win32/native_window_win32.h"

namespace platform_test {
namespace {

class TranslationTest : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        top = make_shown_top_level(100, 100, 300, 200);
        log.clear();
    }

    WindowHandle top = 0;
};

TEST_F(TranslationTest, HandlesAndSystemWindowsMapBothWaysUntilTheWindowDies)
{
    WindowHandle child = make_child(top, 0, 0, 20, 20);
    HWND hwnd = native_window_handle(child);
    ASSERT_NE(hwnd, nullptr);
    EXPECT_EQ(window_from_native(hwnd), child);
    EXPECT_EQ(GetParent(hwnd), native_window_handle(top));
    // A window the platform did not make has no handle.
    EXPECT_EQ(window_from_native(GetDesktopWindow()), 0);

    DestroyWindow(hwnd);
    EXPECT_FALSE(is_window(child));
    EXPECT_EQ(native_window_handle(child), nullptr);
    EXPECT_EQ(window_from_native(hwnd), 0);
}

TEST_F(TranslationTest, SystemMessagesArriveWithTheRuntimesParameters)
{
    WindowHandle child = make_child(top, 0, 0, 20, 20);
    WindowHandle other = make_child(top, 30, 0, 20, 20);
    HWND hwnd = native_window_handle(child);
    log.clear();

    // Text set through the system is GBK to the procedure and the window keeps it.
    SetWindowTextW(hwnd, L"\x5956\x72b6");  // "奖状"
    ASSERT_EQ(log.of(WM_SETTEXT).size(), 1u);
    EXPECT_EQ(window_text(child), gbk_from_utf8("奖状"));

    // A notification names the control by its handle, not by its system window.
    SendMessageW(native_window_handle(top), WM_COMMAND, MAKEWPARAM(7, 0x300), reinterpret_cast<LPARAM>(hwnd));
    ASSERT_EQ(log.of(WM_COMMAND).size(), 1u);
    EXPECT_EQ(log.of(WM_COMMAND)[0].message.lparam, child);
    EXPECT_EQ(log.of(WM_COMMAND)[0].message.wparam, make_wparam(7, 0x300));

    // Focus messages name the other window by its handle.
    set_focus(child);
    log.clear();
    set_focus(other);
    ASSERT_EQ(log.of(WM_KILLFOCUS).size(), 1u);
    EXPECT_EQ(log.of(WM_KILLFOCUS)[0].message.wparam, static_cast<std::uintptr_t>(other));
    ASSERT_EQ(log.of(WM_SETFOCUS).size(), 1u);
    EXPECT_EQ(log.of(WM_SETFOCUS)[0].message.wparam, static_cast<std::uintptr_t>(child));

    // Private messages posted with the system's own call pass through as they are.
    log.clear();
    PostMessageW(hwnd, WM_APP + 5, 11, 22);
    process_waiting_messages();
    ASSERT_EQ(log.of(WM_APP + 5).size(), 1u);
    EXPECT_EQ(log.of(WM_APP + 5)[0].message.wparam, 11u);
    EXPECT_EQ(log.of(WM_APP + 5)[0].message.lparam, 22);
}

TEST_F(TranslationTest, ControlColoursFromTheParentReachTheSystemsDeviceContext)
{
    register_edit_class();
    log.handler = [](WindowHandle, Message& message) -> std::optional<std::intptr_t> {
        if (message.id != WM_CTLCOLOREDIT)
            return std::nullopt;
        auto* colours = reinterpret_cast<ControlColours*>(message.wparam);
        colours->text = 0x0000FF;
        colours->text_background = 0x00FF00;
        colours->brush = 0x00FF00;
        return 1;
    };
    WindowHandle edit = make_child(top, 10, 10, 100, 24, 0, 0, 3, kEditClassName);
    HDC dc = CreateCompatibleDC(nullptr);
    auto brush =
        reinterpret_cast<HBRUSH>(SendMessageW(native_window_handle(top), WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc),
                                              reinterpret_cast<LPARAM>(native_window_handle(edit))));
    EXPECT_EQ(GetTextColor(dc), 0x0000FFu);
    EXPECT_EQ(GetBkColor(dc), 0x00FF00u);
    LOGBRUSH brush_info{};
    ASSERT_NE(GetObjectW(brush, sizeof brush_info, &brush_info), 0);
    EXPECT_EQ(brush_info.lbColor, 0x00FF00u);
    DeleteDC(dc);
    ASSERT_FALSE(log.of(WM_CTLCOLOREDIT).empty());
    EXPECT_EQ(log.of(WM_CTLCOLOREDIT).back().message.lparam, edit);
}

// Frame insets are what the system itself puts around the client area, for every style.
TEST_F(TranslationTest, FrameInsetsAgreeWithTheSystemsOwnFrames)
{
    struct FrameCase {
        const char* name;
        std::uint32_t style;
        std::uint32_t ex_style;
        bool top_level;
    };
    const FrameCase cases[] = {
        {"client edge", 0, WS_EX_CLIENTEDGE, false},
        {"static edge and border", WS_BORDER, WS_EX_STATICEDGE, false},
        {"modal frame child", 0, WS_EX_DLGMODALFRAME, false},
        {"fixed dialog", WS_POPUP | WS_CAPTION | WS_SYSMENU, WS_EX_DLGMODALFRAME, true},
        {"resizable", WS_CAPTION | WS_SYSMENU | WS_THICKFRAME, 0, true},
    };
    for (const FrameCase& frame : cases) {
        SCOPED_TRACE(frame.name);
        WindowHandle window = frame.top_level ? make_top_level(50, 60, 240, 180, frame.style, frame.ex_style)
                                              : make_child(top, 5, 5, 120, 90, frame.style, frame.ex_style);
        ASSERT_NE(window, 0);
        Rect outer = window_rect(window);
        Rect client = client_rect(window);
        Point origin = client_to_screen(window, Point{0, 0});
        FrameInsets insets = frame_insets(frame.style, frame.ex_style, frame.top_level);
        EXPECT_EQ(origin.x - outer.left, insets.left);
        EXPECT_EQ(origin.y - outer.top, insets.top);
        EXPECT_EQ(outer.right - (origin.x + client.width()), insets.right);
        EXPECT_EQ(outer.bottom - (origin.y + client.height()), insets.bottom);
        destroy_window(window);
    }
}

}  // namespace
}  // namespace platform_test
