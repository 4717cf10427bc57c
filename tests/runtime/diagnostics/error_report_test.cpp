#include "runtime/diagnostics/error_report.h"

#include "platform/dialogs.h"
#include "platform/text_encoding.h"
#include "runtime/boundary/program_end.h"
#include "tests/support/exit_status.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace {

std::string gbk(const char* utf8)
{
    return platform::gbk_from_utf8(utf8);
}

// A small window table: one window with a tag, a component with a tag and a menu item.
class SmallWindowTable final : public runtime::ReportLookup {
public:
    std::optional<std::string> window_tag(runtime::WindowId window) const override
    {
        if (window != 0x52010001)
            return std::nullopt;
        return gbk("主窗口");
    }
    std::optional<Unit> find_unit(runtime::WindowId window, runtime::ControlId control) const override
    {
        if (window != 0x52010001)
            return std::nullopt;
        if (control == 0)
            return Unit{false, gbk("主窗口")};
        if (control == 0x16010039)
            return Unit{false, gbk("预览")};
        if (control == 0x26010005)
            return Unit{true, "menu"};
        return std::nullopt;
    }
};

struct ReportText : testing::Test {
    SmallWindowTable table;
    void SetUp() override { runtime::set_report_lookup(&table); }
    void TearDown() override { runtime::set_report_lookup(nullptr); }
};

TEST_F(ReportText, ComposesEveryPartInOrder)
{
    struct Case {
        const char* name;
        std::string message;
        std::int32_t code;
        runtime::WindowId window;
        runtime::ControlId control;
        std::string expected;
    };
    const std::string heading = gbk("运行时出错!\r\n");
    const Case cases[] = {
        {"numbered error, no identifiers", gbk("数组成员引用下标超出定义范围"), 1, 0, 0,
         heading + gbk("\r\n错误代码：1\r\n\r\n错误信息：数组成员引用下标超出定义范围\r\n") + "\r\n0, 0\r\n"},
        {"no code, no message", "", 0, 0, 0, heading + "\r\n0, 0\r\n"},
        {"negative code", "", -3, 0, 0, heading + gbk("\r\n错误代码：-3\r\n") + "\r\n0, 0\r\n"},
        {"window and control found", "x", 0, 0x52010001, 0x16010039,
         heading + gbk("\r\n错误信息：x\r\n") + "\r\n1375797249, 369164345" + gbk("\r\n\"主窗口\"\r\n\"预览\"\r\n")},
        {"control 0 names the window's own unit, its tag twice", "", 0, 0x52010001, 0,
         heading + "\r\n1375797249, 0" + gbk("\r\n\"主窗口\"\r\n\"主窗口\"\r\n")},
        {"control not found", "", 0, 0x52010001, 0x16019999,
         heading + "\r\n1375797249, 369203609" + gbk("\r\n\"主窗口\"\r\n未找到所指定的窗口组件\r\n")},
        {"a menu item is not a control", "", 0, 0x52010001, 0x26010005,
         heading + "\r\n1375797249, 637599749" + gbk("\r\n\"主窗口\"\r\n未找到所指定的窗口组件\r\n")},
        {"window not loaded", "", 0, 0x52010002, 5, heading + "\r\n1375797250, 5" + gbk("\r\n未找到所指定的窗口\r\n")},
        {"not a window identifier: only the numbers", "", 0, 0x16010039, 7, heading + "\r\n369164345, 7\r\n"},
        {"negative identifiers print signed", "", 0, -5, -6, heading + "\r\n-5, -6\r\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(runtime::compose_report_text(c.message, c.code, c.window, c.control), c.expected);
    }
}

TEST(ReportTextWithoutTable, AWindowIdentifierWithNoTableIsNotFound)
{
    EXPECT_EQ(runtime::compose_report_detail(0x52010001, 0), "\r\n1375797249, 0" + gbk("\r\n未找到所指定的窗口\r\n"));
}

platform::ScriptedDialogService& scripted_dialogs()
{
    static platform::ScriptedDialogService dialogs;
    platform::set_dialog_service(&dialogs);
    return dialogs;
}

// Runs at the end of the program, after the report: says what the user was shown.
void describe_boxes(int)
{
    const auto& boxes = scripted_dialogs().message_boxes();
    std::fprintf(stderr, "[boxes=%zu", boxes.size());
    if (!boxes.empty()) {
        std::fprintf(stderr, " title=%s icon=%d text=%s", platform::utf8_from_gbk(boxes[0].title).c_str(),
                     static_cast<int>(boxes[0].icon), platform::utf8_from_gbk(boxes[0].text).c_str());
    }
    std::fprintf(stderr, " count=%d]", runtime::runtime_error_count());
}

TEST(ErrorReportDeathTest, ShowsTheReportInABoxTitledErrorAndExitsWithMinusOne)
{
    EXPECT_EXIT(
        {
            scripted_dialogs();
            runtime::register_program_end_routine(describe_boxes);
            runtime::report_numbered_error(2, 0, 0);
        },
        test_support::ended_with_minus_one(),
        "\\[boxes=1 title=错误 icon=1 "
        "text=运行时出错!\r\n\r\n错误代码：2\r\n\r\n错误信息：未得到所需要的数值型数据\r\n\r\n0, "
        "0\r\n count=1\\]");
}

int hook_dealing_with_it(const char* text, std::int32_t code)
{
    std::fprintf(stderr, "hook(%d):%s|", code, platform::utf8_from_gbk(text).c_str());
    return 1;
}

TEST(ErrorReportDeathTest, AHookThatDealsWithTheReportSuppressesTheBoxButNotTheExit)
{
    EXPECT_EXIT(
        {
            scripted_dialogs();
            runtime::register_program_end_routine(describe_boxes);
            runtime::set_error_hook(hook_dealing_with_it);
            runtime::report_runtime_error(gbk("坏"), 0, 0, 0);
        },
        test_support::ended_with_minus_one(), "hook\\(0\\):坏\r\n0, 0\r\n\\|\\[boxes=0 count=1\\]");
}

int g_hook_depth = 0;
int hook_that_fails_itself(const char*, std::int32_t)
{
    // A runtime error inside the hook must not call the hook again: it shows the box and ends.
    ++g_hook_depth;
    std::fprintf(stderr, "hook depth %d|", g_hook_depth);
    runtime::report_runtime_error(gbk("内层"), 0, 0, 0);
}

TEST(ErrorReportDeathTest, AnErrorInsideTheHookShowsTheBoxWithoutCallingTheHookAgain)
{
    EXPECT_EXIT(
        {
            scripted_dialogs();
            runtime::register_program_end_routine(describe_boxes);
            runtime::set_error_hook(hook_that_fails_itself);
            runtime::report_runtime_error(gbk("外层"), 0, 0, 0);
        },
        test_support::ended_with_minus_one(),
        // Whitespace, not "." across lines: Windows' death tests match with a simpler regex.
        "hook depth 1\\|运行时出错!\\s*错误信息：内层\\s*0, 0\\s*"
        "\\[boxes=1 title=错误 icon=1 text=运行时出错!\\s*错误信息：内层\\s*0, 0\\s*count=2\\]");
}

}  // namespace
