// Commands that let the application speak to the user: a message box, and its own texts (UTF-8 in
// its sources) in the runtime's encoding.

#include "platform/dialogs.h"
#include "platform/text_encoding.h"
#include "runtime/boundary/commands.h"
#include "runtime/boundary/heap.h"

#include <string>

namespace runtime::commands {
namespace {

std::string text_argument(int count, const TypedValue* arguments, int index)
{
    if (index >= count || arguments[index].type != DataType::Text || arguments[index].low == 0)
        return {};
    return reinterpret_cast<const char*>(arguments[index].low);
}

platform::MessageBoxIcon icon_of(std::int32_t icon)
{
    switch (static_cast<MessageIcon>(icon)) {
    case MessageIcon::Error:
        return platform::MessageBoxIcon::Error;
    case MessageIcon::Warning:
        return platform::MessageBoxIcon::Warning;
    case MessageIcon::Information:
        return platform::MessageBoxIcon::Information;
    case MessageIcon::None:
        break;
    }
    return platform::MessageBoxIcon::None;
}

}  // namespace

void message_box(TypedValue* result, int count, const TypedValue* arguments)
{
    std::int32_t icon = count > 2 ? static_cast<std::int32_t>(arguments[2].low) : 0;
    platform::dialog_service().show_message_box(
        {text_argument(count, arguments, 0), text_argument(count, arguments, 1), icon_of(icon)});
    *result = TypedValue{1, 0, DataType::Integer};
}

void text_from_utf8(TypedValue* result, int count, const TypedValue* arguments)
{
    std::string text = platform::gbk_from_utf8(text_argument(count, arguments, 0));
    *result = TypedValue{reinterpret_cast<Word>(heap_copy_text(text.data(), text.size())), 0, DataType::Text};
}

}  // namespace runtime::commands
