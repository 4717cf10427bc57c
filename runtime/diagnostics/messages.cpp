#include "runtime/diagnostics/messages.h"

#include "platform/text_encoding.h"

namespace runtime::messages {
namespace {

// Each text is converted to GBK once, on first use.
#define RUNTIME_MESSAGE(function, utf8)                                                                                \
    const std::string& function()                                                                                      \
    {                                                                                                                  \
        static const std::string text = platform::gbk_from_utf8(utf8);                                                 \
        return text;                                                                                                   \
    }

}  // namespace

RUNTIME_MESSAGE(window_or_control_missing, "指定窗口或窗口组件不存在或尚未载入")
RUNTIME_MESSAGE(start_window_failed, "载入启动窗口失败")
RUNTIME_MESSAGE(form_description_unreadable, "载入窗口模板数据段出错!")
RUNTIME_MESSAGE(window_not_described, "未载入欲访问窗口组件所在的窗口")
RUNTIME_MESSAGE(read_property_window_not_loaded, "读取组件属性时发现指定窗口尚未载入")
RUNTIME_MESSAGE(write_property_window_not_loaded, "修改组件属性时发现指定窗口尚未载入")
RUNTIME_MESSAGE(event_window_missing, "未找到引发事件的窗口")
RUNTIME_MESSAGE(event_control_missing, "未找到引发事件的窗口组件")
RUNTIME_MESSAGE(event_control_invalid, "引发事件的窗口组件无效")
RUNTIME_MESSAGE(value_not_numeric, "欲转换数据类型不是数值")
// A property access naming a control the window does not have ends the run like any other unknown
// control; the message is the one the control-reference commands use.
RUNTIME_MESSAGE(control_missing, "指定窗口或窗口组件不存在或尚未载入")

#undef RUNTIME_MESSAGE

std::string dll_routine_missing(const std::string& routine)
{
    static const std::string before = platform::gbk_from_utf8("无法找到指定DLL库文件中的输出命令“");
    static const std::string after = platform::gbk_from_utf8("”");
    return before + routine + after;
}

}  // namespace runtime::messages
