// Input that comes through the system's queue, as a user's does: the loop translates key presses
// into characters, and the input filter's verdict on a press holds for the characters it makes.

#include "../window_test_support.h"

#include "platform/controls/edit_control.h"
#include "platform/input_synthesis.h"
#include "platform/key_codes.h"
#include "platform/text_encoding.h"
#include "platform/win32/native_window_win32.h"

namespace platform_test {
namespace {

class QueuedInputTest : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        register_edit_class();
        top = make_shown_top_level(100, 100, 300, 200);
        edit = make_child(top, 10, 10, 150, 24, 0, WS_EX_CLIENTEDGE, 4, kEditClassName);
        set_focus(edit);
        process_waiting_messages();
    }

    // A key press and release in the queue, as the keyboard delivers them.
    void queue_key(int virtual_key)
    {
        HWND hwnd = native_window_handle(edit);
        UINT scan = MapVirtualKeyW(static_cast<UINT>(virtual_key), MAPVK_VK_TO_VSC);
        PostMessageW(hwnd, WM_KEYDOWN, static_cast<WPARAM>(virtual_key), static_cast<LPARAM>(1 | scan << 16));
        PostMessageW(hwnd, WM_KEYUP, static_cast<WPARAM>(virtual_key), static_cast<LPARAM>(1 | scan << 16 | 3u << 30));
        process_waiting_messages();
    }

    WindowHandle top = 0;
    WindowHandle edit = 0;
};

TEST_F(QueuedInputTest, ASwallowedKeyPressMakesNoCharacterAndOthersStillType)
{
    set_input_filter([](WindowHandle, Message& message) {
        bool x_key = (message.id == WM_KEYDOWN && message.wparam == 'X');
        return x_key ? FilterVerdict::Swallow : FilterVerdict::Pass;
    });
    queue_key('X');
    queue_key('Y');
    EXPECT_EQ(window_text(edit), "y");
}

TEST_F(QueuedInputTest, SystemCharactersArriveAsGbkCodesAndReplacementsAreTyped)
{
    std::vector<std::uint32_t> seen;
    set_input_filter([&seen](WindowHandle, Message& message) {
        if (message.id != WM_CHAR)
            return FilterVerdict::Pass;
        seen.push_back(static_cast<std::uint32_t>(message.wparam));
        // "证" becomes "书"; "a" is kept from the field.
        if (message.wparam == 0xD6A4)
            message.wparam = 0xCAE9;
        return message.wparam == 'a' ? FilterVerdict::Swallow : FilterVerdict::Pass;
    });
    HWND hwnd = native_window_handle(edit);
    for (wchar_t character : std::wstring(L"\x5956"
                                          L"a\x8bc1"))  // 奖 a 证
        PostMessageW(hwnd, WM_CHAR, character, 1);
    process_waiting_messages();
    EXPECT_EQ(seen, (std::vector<std::uint32_t>{0xBDB1, 'a', 0xD6A4}));
    EXPECT_EQ(window_text(edit), gbk_from_utf8("奖书"));
}

TEST_F(QueuedInputTest, SyntheticInputReachesAWindowThatIsNotActive)
{
    WindowHandle other = make_shown_top_level(450, 100, 100, 100);
    set_active_window(other);
    process_waiting_messages();
    synthesize_text_input(edit, gbk_from_utf8("证书"));
    synthesize_key_stroke(edit, VK_LEFT, KeyState::Shift);
    EXPECT_EQ(window_text(edit), gbk_from_utf8("证书"));
    // Shift held while the arrow moved: the last character is selected.
    EXPECT_EQ(edit_selection(edit), (TextRange{1, 2}));
}

}  // namespace
}  // namespace platform_test
