#include "runtime/windows/input_events.h"

#include "platform/input_synthesis.h"
#include "tests/runtime/windows/window_test_support.h"

namespace window_test {
namespace {

using Input = std::vector<std::pair<ControlId, std::uint32_t>>;

constexpr ControlId kCombo = 0x16010008;
constexpr int kKeyA = 0x41;

struct InputEvents : WindowTest {
    void SetUp() override
    {
        WindowTest::SetUp();
        install_windows({{kWindow,
                          {{kOwnUnit, window_unit()},
                           {kBox1, box_unit(10, 10, 100, 80)},
                           {kCombo, box_unit(150, 10, 60, 40, 0, kTestComboKind)}}}});
        ASSERT_TRUE(load());
        platform::process_waiting_messages();
        test_log().events.clear();
    }
    const LoggedEvent* last_event(std::int32_t event) const
    {
        for (auto it = test_log().events.rbegin(); it != test_log().events.rend(); ++it) {
            if (it->event == event)
                return &*it;
        }
        return nullptr;
    }
};

TEST_F(InputEvents, MousePressCarriesClientCoordinatesAndKeyState)
{
    platform::synthesize_mouse_press(handle_of(kBox1), {7, 9}, platform::MouseButton::Left,
                                     platform::KeyState::Ctrl | platform::KeyState::Alt);
    const LoggedEvent* press = last_event(-1);
    ASSERT_NE(press, nullptr);
    EXPECT_EQ(*press, (LoggedEvent{kWindow, kBox1, -1, {7, 9, 5}}));
    // No result: the box gets the press as usual.
    EXPECT_EQ(test_log().input, (Input{{kBox1, platform::WM_LBUTTONDOWN}}));

    platform::synthesize_mouse_press(handle_of(kBox1), {3, 4}, platform::MouseButton::Right);
    ASSERT_NE(last_event(-4), nullptr);
    EXPECT_EQ(last_event(-4)->arguments, (std::vector<std::int32_t>{3, 4, 0}));
}

TEST_F(InputEvents, AFalseResultKeepsThePressFromTheControl)
{
    test_log().results[-1] = {true, 0};
    platform::synthesize_mouse_press(handle_of(kBox1), {7, 9}, platform::MouseButton::Left);
    EXPECT_NE(last_event(-1), nullptr);
    EXPECT_TRUE(test_log().input.empty());

    // Any other result lets it through.
    test_log().results[-1] = {true, 1};
    platform::synthesize_mouse_press(handle_of(kBox1), {7, 9}, platform::MouseButton::Left);
    EXPECT_EQ(test_log().input, (Input{{kBox1, platform::WM_LBUTTONDOWN}}));
}

TEST_F(InputEvents, AWindowInsideAComboRaisesAsTheCombo)
{
    platform::WindowHandle inner = platform::child_windows(handle_of(kCombo)).at(0);
    platform::synthesize_mouse_press(inner, {4, 5}, platform::MouseButton::Left);
    ASSERT_NE(last_event(-1), nullptr);
    EXPECT_EQ(*last_event(-1), (LoggedEvent{kWindow, kCombo, -1, {4, 5, 0}}));

    platform::synthesize_mouse_press(window_handle(), {300, 200}, platform::MouseButton::Left);
    EXPECT_EQ(last_event(-1)->control, kOwnUnit);
    EXPECT_EQ(last_event(-1)->arguments[0], 300);
}

TEST_F(InputEvents, CharacterResultSwallowsOrReplacesTheCharacter)
{
    platform::set_focus(handle_of(kBox1));
    test_log().input.clear();

    test_log().results[-11] = {true, 0};
    platform::synthesize_key_stroke(handle_of(kBox1), kKeyA);
    ASSERT_NE(last_event(-11), nullptr);
    EXPECT_EQ(last_event(-9)->arguments, (std::vector<std::int32_t>{kKeyA, 0}));
    EXPECT_EQ(test_log().input, (Input{{kBox1, platform::WM_KEYDOWN}}));

    test_log().input.clear();
    test_log().results[-11] = {true, 'B'};
    platform::synthesize_key_stroke(handle_of(kBox1), kKeyA);
    EXPECT_EQ(test_log().input, (Input{{kBox1, platform::WM_KEYDOWN}, {kBox1, 'B'}}));

    test_log().input.clear();
    test_log().results.erase(-11);
    platform::synthesize_key_stroke(handle_of(kBox1), kKeyA, platform::KeyState::Shift);
    EXPECT_EQ(last_event(-11)->arguments, (std::vector<std::int32_t>{'A'}));
    EXPECT_EQ(last_event(-10)->arguments, (std::vector<std::int32_t>{kKeyA, 2}));
    EXPECT_EQ(test_log().input, (Input{{kBox1, platform::WM_KEYDOWN}, {kBox1, 'A'}}));
}

TEST_F(InputEvents, WheelStepsAreTheDeltaInNotches)
{
    platform::synthesize_wheel(handle_of(kBox1), {5, 5}, -2 * platform::kWheelDelta, platform::KeyState::Shift);
    ASSERT_NE(last_event(-12), nullptr);
    EXPECT_EQ(last_event(-12)->arguments, (std::vector<std::int32_t>{-2, 2}));
}

TEST_F(InputEvents, WindowsOutsideTheProgramRaiseNothing)
{
    platform::CreateParams params;
    params.class_name = kTestInnerClass;
    params.width = 50;
    params.height = 50;
    platform::WindowHandle stranger = platform::create_window(params);
    platform::show_window(stranger, platform::ShowCommand::Show);
    platform::synthesize_mouse_press(stranger, {1, 1}, platform::MouseButton::Left);
    EXPECT_EQ(last_event(-1), nullptr);
    platform::destroy_window(stranger);
}

}  // namespace
}  // namespace window_test
