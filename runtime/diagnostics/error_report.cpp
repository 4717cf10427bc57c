#include "runtime/diagnostics/error_report.h"

#include "platform/dialogs.h"
#include "platform/text_encoding.h"
#include "runtime/boundary/program_end.h"

#include <array>
#include <cstdio>
#include <string>

namespace runtime {
namespace {

int g_error_count = 0;
ErrorHook g_hook = nullptr;
bool g_hook_running = false;
const ReportLookup* g_lookup = nullptr;

const std::string& gbk(const char* utf8_literal, std::string& cache)
{
    if (cache.empty())
        cache = platform::gbk_from_utf8(utf8_literal);
    return cache;
}

// The numbered errors of the application's own checks, indexed by code.
const std::string& numbered_message(std::int32_t code)
{
    static const std::array<const char*, 12> utf8 = {
        "",
        "数组成员引用下标超出定义范围",
        "未得到所需要的数值型数据",
        "引用数组成员时维数不为1且不等于该数组目前所具有的维数",
        "数组成员引用下标必须大于等于1",
        "数据或数组类型不匹配",
        "调用DLL命令后发现堆栈错误",
        "子语句参数未返回数据或者返回了非系统基本类型或数组型数据",
        "被比较数据只能使用等于或不等于命令比较",
        "“多项选择”命令的索引值参数小于零或超出了所提供参数表范围",
        "“重定义数组”命令的数组维定义参数值必须大于零或单维时大于等于零",
        "所提供参数的数据类型不符合要求",
    };
    static std::array<std::string, 12> texts;
    static const std::string empty;
    if (code < 1 || code > 11)
        return empty;
    return gbk(utf8[static_cast<std::size_t>(code)], texts[static_cast<std::size_t>(code)]);
}

bool is_window_identifier(WindowId window)
{
    return ((static_cast<std::uint32_t>(window) >> 24) & 0xF) == 2;
}

void append_quoted(std::string& text, const std::string& tag)
{
    text += "\r\n\"";
    text += tag;
    text += '"';
}

}  // namespace

std::string compose_report_detail(WindowId window, ControlId control)
{
    static std::string control_not_found_cache;
    static std::string window_not_found_cache;
    char numbers[48];
    std::snprintf(numbers, sizeof numbers, "\r\n%d, %d", window, control);
    std::string detail = numbers;
    if (window != 0 && is_window_identifier(window)) {
        std::optional<std::string> window_tag = g_lookup ? g_lookup->window_tag(window) : std::nullopt;
        if (window_tag) {
            append_quoted(detail, *window_tag);
            std::optional<ReportLookup::Unit> unit = g_lookup->find_unit(window, control);
            if (unit && !unit->is_menu_item)
                append_quoted(detail, unit->tag);
            else
                detail += "\r\n" + gbk("未找到所指定的窗口组件", control_not_found_cache);
        } else {
            detail += "\r\n" + gbk("未找到所指定的窗口", window_not_found_cache);
        }
    }
    detail += "\r\n";
    return detail;
}

std::string compose_report_text(std::string_view message, std::int32_t code, WindowId window, ControlId control)
{
    static std::string heading_cache;
    static std::string code_cache;
    static std::string message_cache;
    std::string text = gbk("运行时出错!\r\n", heading_cache);
    if (code != 0)
        text += gbk("\r\n错误代码：", code_cache) + std::to_string(code) + "\r\n";
    if (!message.empty()) {
        text += gbk("\r\n错误信息：", message_cache);
        text += message;
        text += "\r\n";
    }
    text += compose_report_detail(window, control);
    return text;
}

void report_runtime_error(std::string_view message, std::int32_t code, WindowId window, ControlId control)
{
    ++g_error_count;
    std::string detail = compose_report_detail(window, control);

    bool dealt_with = false;
    if (g_hook && !g_hook_running) {
        g_hook_running = true;
        std::string hook_text = std::string(message) + detail;
        dealt_with = g_hook(hook_text.c_str(), code) != 0;
        g_hook_running = false;
    }

    if (!dealt_with) {
        std::string text = compose_report_text(message, code, window, control);
        // Also on standard error, so that a run without a display leaves a trace of why it ended.
        std::fprintf(stderr, "%s\n", platform::utf8_from_gbk(text).c_str());
        static std::string title_cache;
        platform::dialog_service().show_message_box({gbk("错误", title_cache), text, platform::MessageBoxIcon::Error});
    }
    end_program(-1);
}

void report_numbered_error(std::int32_t code, WindowId window, ControlId control)
{
    report_runtime_error(numbered_message(code), code, window, control);
}

void report_allocation_failure(std::size_t count)
{
    static std::string format_cache;
    const std::string& format = gbk("分配 %d 字节内存失败!", format_cache);
    std::string::size_type at = format.find("%d");
    std::string text = format.substr(0, at) + std::to_string(count) + format.substr(at + 2);
    // The report builds its text in a 100-byte buffer.
    if (text.size() > 99)
        text.resize(99);
    report_runtime_error(text, 0, 0, 0);
}

int runtime_error_count()
{
    return g_error_count;
}

void set_error_hook(ErrorHook hook)
{
    g_hook = hook;
}

void set_report_lookup(const ReportLookup* lookup)
{
    g_lookup = lookup;
}

}  // namespace runtime
