#pragma once
// The runtime's own message texts, each kept in one place, as GBK bytes.

#include <string>

namespace runtime::messages {

const std::string& window_or_control_missing();         // "指定窗口或窗口组件不存在或尚未载入"
const std::string& start_window_failed();               // "载入启动窗口失败"
const std::string& form_description_unreadable();       // "载入窗口模板数据段出错!"
const std::string& window_not_described();              // "未载入欲访问窗口组件所在的窗口"
const std::string& read_property_window_not_loaded();   // "读取组件属性时发现指定窗口尚未载入"
const std::string& write_property_window_not_loaded();  // "修改组件属性时发现指定窗口尚未载入"
const std::string& event_window_missing();              // "未找到引发事件的窗口"
const std::string& event_control_missing();             // "未找到引发事件的窗口组件"
const std::string& event_control_invalid();             // "引发事件的窗口组件无效"
const std::string& value_not_numeric();                 // "欲转换数据类型不是数值"
const std::string& control_missing();                   // unknown control of a loaded window
// "无法找到指定DLL库文件中的输出命令“%s”" with the routine's name.
std::string dll_routine_missing(const std::string& routine);

}  // namespace runtime::messages
