#include "platform/controls/updown_control.h"

#include "tests/platform/controls/control_test_parent.h"

#include "platform/input_synthesis.h"

#include <gtest/gtest.h>

namespace platform {
namespace {

using namespace control_test;

TEST(UpDownControl, ArrowPressesGoToTheTarget)
{
    register_updown_class();
    WindowHandle parent = make_recording_parent();
    std::vector<std::intptr_t> steps;
    constexpr const char* kTargetClass = "UpDownTestTarget";
    static std::vector<std::intptr_t>* sink = nullptr;
    sink = &steps;
    if (!is_window_class_registered(kTargetClass)) {
        ClassInfo info;
        info.procedure = [](WindowHandle handle, Message& message) -> std::intptr_t {
            if (message.id == kUpDownPressed && sink)
                sink->push_back(static_cast<std::intptr_t>(message.wparam));
            return default_window_procedure(handle, message);
        };
        register_window_class(kTargetClass, std::move(info));
    }
    WindowHandle target = make_child(kTargetClass, parent, 0, 1, {10, 10, 100, 34});
    WindowHandle updown = make_child(kUpDownClassName, parent, 0, 5, {100, 10, 118, 34});
    ASSERT_NE(updown, 0);
    EXPECT_EQ(updown_target(updown), parent);
    updown_set_target(updown, target);
    updown_set_range(updown, 3, -3);
    EXPECT_EQ(updown_range(updown), (UpDownRange{3, -3}));

    synthesize_click(updown, updown_arrow_point(updown, UpDownArrow::Up));
    synthesize_click(updown, updown_arrow_point(updown, UpDownArrow::Down));
    process_waiting_messages();
    EXPECT_EQ(steps, (std::vector<std::intptr_t>{1, -1}));

    enable_window(updown, false);
    synthesize_click(updown, updown_arrow_point(updown, UpDownArrow::Up));
    process_waiting_messages();
    EXPECT_EQ(steps.size(), 2u);
    sink = nullptr;
    destroy_window(parent);
}

}  // namespace
}  // namespace platform
