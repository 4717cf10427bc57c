#include "window_test_support.h"

#include "platform/input_synthesis.h"
#include "platform/key_codes.h"
#include "platform/text_encoding.h"

namespace platform_test {
namespace {

bool is_input(std::uint32_t id)
{
    return (id >= WM_KEYDOWN && id <= WM_SYSCHAR) || (id >= WM_MOUSEMOVE && id <= WM_MOUSEWHEEL);
}

// Records what the filter saw, in the same log as the windows, so that order shows.
class InputTest : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        top = make_shown_top_level(100, 100, 300, 200);
        target = make_child(top, 20, 30, 120, 80, 0, WS_EX_CLIENTEDGE);
        set_focus(target);
        process_waiting_messages();
        log.clear();
    }

    void filter_with(const std::function<FilterVerdict(WindowHandle, Message&)>& verdict)
    {
        set_input_filter([this, verdict](WindowHandle window, Message& message) {
            filtered.push_back(Received{window, message});
            return verdict ? verdict(window, message) : FilterVerdict::Pass;
        });
    }

    std::vector<Message> input_of(WindowHandle window) const
    {
        std::vector<Message> found;
        for (const Received& received : log.messages) {
            if (received.window == window && is_input(received.message.id))
                found.push_back(received.message);
        }
        return found;
    }

    WindowHandle top = 0;
    WindowHandle target = 0;
    std::vector<Received> filtered;
};

TEST_F(InputTest, MouseMessagesCarryClientCoordinatesButtonsAndKeyState)
{
    filter_with({});
    synthesize_mouse_press(target, Point{7, 9}, MouseButton::Left, KeyState::Shift | KeyState::Ctrl);
    synthesize_mouse_move(target, Point{8, 11}, KeyState::Alt);
    synthesize_mouse_release(target, Point{8, 11}, MouseButton::Left);
    synthesize_click(target, Point{1, 2}, MouseButton::Right);

    std::vector<Message> got = input_of(target);
    ASSERT_EQ(got.size(), 5u);
    EXPECT_EQ(got[0].id, WM_LBUTTONDOWN);
    EXPECT_EQ(got[0].lparam, make_lparam(7, 9));
    EXPECT_EQ(got[0].wparam, MK_LBUTTON | MK_SHIFT | MK_CONTROL);
    EXPECT_EQ(got[0].key_state, KeyState::Ctrl | KeyState::Shift);
    EXPECT_EQ(got[1].id, WM_MOUSEMOVE);
    EXPECT_EQ(got[1].wparam, MK_LBUTTON);
    EXPECT_EQ(got[1].key_state, KeyState::Alt);
    EXPECT_EQ(got[2].id, WM_LBUTTONUP);
    EXPECT_EQ(got[2].wparam, 0u);
    EXPECT_EQ(got[3].id, WM_RBUTTONDOWN);
    EXPECT_EQ(got[4].id, WM_RBUTTONUP);
    EXPECT_EQ(got[4].lparam, make_lparam(1, 2));

    // The filter saw each of them first, aimed at the same window.
    ASSERT_EQ(filtered.size(), 5u);
    for (std::size_t i = 0; i < filtered.size(); ++i) {
        EXPECT_EQ(filtered[i].window, target);
        EXPECT_EQ(filtered[i].message.id, got[i].id);
    }
}

TEST_F(InputTest, FilterCanSwallowAnyInput)
{
    filter_with([](WindowHandle, Message& message) {
        return message.id == WM_LBUTTONDOWN || message.id == WM_KEYDOWN ? FilterVerdict::Swallow : FilterVerdict::Pass;
    });
    synthesize_click(target, Point{5, 5});
    synthesize_key_stroke(target, 'A');
    std::vector<Message> got = input_of(target);
    ASSERT_EQ(got.size(), 2u);
    EXPECT_EQ(got[0].id, WM_LBUTTONUP);
    // A swallowed key press makes no character either.
    EXPECT_EQ(got[1].id, WM_KEYUP);
}

TEST_F(InputTest, KeysMakeKeyAndCharacterMessagesWithKeyState)
{
    synthesize_key_stroke(target, 'A', KeyState::Shift);
    synthesize_key_stroke(target, VK_RETURN);
    synthesize_key_stroke(target, 'X', KeyState::Alt);
    synthesize_key_stroke(target, VK_DELETE);
    std::vector<Message> got = input_of(target);
    std::vector<std::pair<std::uint32_t, std::uintptr_t>> seen;
    seen.reserve(got.size());
    for (const Message& message : got)
        seen.emplace_back(message.id, message.wparam);
    std::vector<std::pair<std::uint32_t, std::uintptr_t>> expected = {
        {WM_KEYDOWN, 'A'},     {WM_CHAR, 'A'},       {WM_KEYUP, 'A'},    {WM_KEYDOWN, VK_RETURN}, {WM_CHAR, 13},
        {WM_KEYUP, VK_RETURN}, {WM_SYSKEYDOWN, 'X'}, {WM_SYSKEYUP, 'X'}, {WM_KEYDOWN, VK_DELETE}, {WM_KEYUP, VK_DELETE},
    };
    EXPECT_EQ(seen, expected);
    EXPECT_EQ(got[0].key_state, KeyState::Shift);
    EXPECT_EQ(got[6].key_state, KeyState::Alt);
    // Key up carries the transition bits.
    EXPECT_EQ(static_cast<std::uint32_t>(got[2].lparam) & 0xC0000000u, 0xC0000000u);
    EXPECT_EQ(static_cast<std::uint32_t>(got[0].lparam) & 0xC0000000u, 0u);
}

TEST_F(InputTest, FilterCanReplaceOrSwallowCharacters)
{
    filter_with([](WindowHandle, Message& message) {
        if (message.id != WM_CHAR)
            return FilterVerdict::Pass;
        if (message.wparam == 'a') {
            message.wparam = 'b';
            return FilterVerdict::Pass;
        }
        return message.wparam == 'c' ? FilterVerdict::Swallow : FilterVerdict::Pass;
    });
    synthesize_key_stroke(target, 'A');
    synthesize_key_stroke(target, 'C');
    std::vector<Message> got = input_of(target);
    std::vector<std::uint32_t> chars;
    for (const Message& message : got) {
        if (message.id == WM_CHAR)
            chars.push_back(static_cast<std::uint32_t>(message.wparam));
    }
    EXPECT_EQ(chars, std::vector<std::uint32_t>{'b'});
    // The key messages of the swallowed character still arrive.
    EXPECT_EQ(got.size(), 5u);
}

TEST_F(InputTest, InputMethodCommitArrivesAsOneGbkCharacterMessageEach)
{
    filter_with({});
    synthesize_text_input(target, gbk_from_utf8("光A证"));
    std::vector<Message> got = input_of(target);
    ASSERT_EQ(got.size(), 3u);
    EXPECT_EQ(got[0].id, WM_CHAR);
    EXPECT_EQ(got[0].wparam, 0xB9E2u);  // "光" in GBK
    EXPECT_EQ(got[1].wparam, static_cast<std::uintptr_t>('A'));
    EXPECT_EQ(got[2].wparam, 0xD6A4u);  // "证"
    EXPECT_EQ(filtered.size(), 3u);
    EXPECT_EQ(gbk_from_char_code(0xB9E2), gbk_from_utf8("光"));
}

TEST_F(InputTest, DoubleClicksNeedTheClassStyle)
{
    WindowHandle plain = make_child(top, 150, 30, 50, 50, 0, 0, 0, "RecorderNoBrush");
    synthesize_double_click(target, Point{3, 3});
    synthesize_double_click(plain, Point{3, 3});
    std::vector<std::uint32_t> with_style;
    for (const Message& message : input_of(target))
        with_style.push_back(message.id);
    std::vector<std::uint32_t> without_style;
    for (const Message& message : input_of(plain))
        without_style.push_back(message.id);
    EXPECT_EQ(with_style, (std::vector<std::uint32_t>{WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP}));
    EXPECT_EQ(without_style, (std::vector<std::uint32_t>{WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDOWN, WM_LBUTTONUP}));
}

TEST_F(InputTest, WheelCarriesSignedDeltaAndClientPosition)
{
    synthesize_wheel(target, Point{10, 12}, -2 * kWheelDelta, KeyState::Ctrl);
    std::vector<Message> got = input_of(target);
    ASSERT_EQ(got.size(), 1u);
    EXPECT_EQ(got[0].id, WM_MOUSEWHEEL);
    EXPECT_EQ(static_cast<std::int16_t>(high_word(got[0].wparam)), -240);
    EXPECT_EQ(low_word(got[0].wparam), static_cast<int>(MK_CONTROL));
    EXPECT_EQ(got[0].lparam, make_lparam(10, 12));
    EXPECT_EQ(got[0].key_state, KeyState::Ctrl);
}

TEST_F(InputTest, InputGoesToTheWindowAskedNotItsParent)
{
    WindowHandle inner = make_child(target, 0, 0, 30, 30);
    synthesize_click(inner, Point{4, 4});
    EXPECT_EQ(input_of(inner).size(), 2u);
    EXPECT_TRUE(input_of(target).empty());
    EXPECT_TRUE(input_of(top).empty());
}

TEST_F(InputTest, AWindowDestroyedByItsOwnInputHandlerIsSafe)
{
    log.handler = [&](WindowHandle window, Message& message) -> std::optional<std::intptr_t> {
        if (message.id == WM_LBUTTONDOWN && window == target)
            destroy_window(target);
        return std::nullopt;
    };
    synthesize_click(target, Point{4, 4});
    process_waiting_messages();
    EXPECT_FALSE(is_window(target));
    EXPECT_TRUE(is_window(top));
}

}  // namespace
}  // namespace platform_test
