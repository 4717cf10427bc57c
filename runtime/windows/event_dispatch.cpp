#include "runtime/windows/event_dispatch.h"

#include "runtime/components/component.h"
#include "runtime/components/transparent_label.h"
#include "runtime/components/window_kind.h"
#include "runtime/diagnostics/error_report.h"
#include "runtime/diagnostics/messages.h"
#include "runtime/windows/window_system.h"
#include "runtime/windows/window_table.h"

#include <algorithm>
#include <vector>

namespace runtime {
namespace {

EventSource g_source;

// Data type codes that decide how a typed argument becomes parameter words.
namespace ArgumentType {
constexpr std::uint32_t Byte = 0x80000101;
constexpr std::uint32_t Short = 0x80000201;
constexpr std::uint32_t TwoWordCodes[] = {0x80000003, 0x80000008, 0x80000401, 0x80000601};
constexpr std::uint32_t MenuItemReference = 0x00010003;
}  // namespace ArgumentType

// The handler for the event, or null when none runs. Reports the three dispatch errors.
EventHandler find_handler(WindowId window, ControlId control, std::int32_t event)
{
    if (load_nesting_count() >= 1 || runtime_error_count() >= 1)
        return nullptr;
    WindowEntry* entry = window_table().find(window);
    if (!entry)
        report_runtime_error(messages::event_window_missing(), 0, window, 0);
    form::UnitTable& units = entry->unit.units;
    const form::UnitRecord* record = units.find(control);
    if (!record)
        report_runtime_error(messages::event_control_missing(), 0, window, control);
    if (components::WindowObject* object = window_object(*entry); object && object->recreations_running > 0)
        return nullptr;

    // A unit may use the event table of another unit of the same kind. The walk is bounded so that
    // links that form a ring cannot hold the program.
    for (std::size_t steps = 0; steps < units.size() && record->event_link() != 0; ++steps) {
        const form::UnitRecord* linked = units.find(record->event_link());
        if (!linked || linked == record || linked->kind() != record->kind())
            break;
        record = linked;
    }

    const components::KindRecord* kind = components::find_kind(record->kind());
    if (!record->is_menu_item() &&
        (!kind || !(kind->flags & (components::KindFlag::Mnemonic | components::KindFlag::RaisesEvents))))
        report_runtime_error(messages::event_control_invalid(), 0, window, control);

    EventHandler handler = record->is_menu_item() ? record->menu_handler() : record->handler_for(event);
    if (!handler)
        return nullptr;
    g_source = {window, control != 0 ? control : units.id_at(0)};
    return handler;
}

HandlerResult call_handler(EventHandler handler, const std::int32_t* arguments, int count)
{
    // What the handler changes under transparent labels is painted once, as it returns.
    components::RefreshBatch refreshes;
    HandlerResult result = handler(arguments, count);
    g_source.window = 0;
    return result;
}

void append_typed_argument(std::vector<std::int32_t>& words, const TypedEventArgument& argument)
{
    auto word = [](Word value) { return static_cast<std::int32_t>(static_cast<std::uint32_t>(value)); };
    if (argument.flags & ArgumentFlag::ByReference) {
        words.push_back(word(argument.word1));
        return;
    }
    bool two_words = (argument.flags & ArgumentFlag::TwoWords) || argument.type == ArgumentType::MenuItemReference;
    for (std::uint32_t code : ArgumentType::TwoWordCodes)
        two_words = two_words || argument.type == code;
    if (two_words) {
        words.push_back(word(argument.word1));
        words.push_back(word(argument.word2));
    } else if (argument.type == ArgumentType::Byte) {
        words.push_back(static_cast<std::int32_t>(argument.word1 & 0xFF));
    } else if (argument.type == ArgumentType::Short) {
        words.push_back(static_cast<std::int16_t>(argument.word1 & 0xFFFF));
    } else {
        words.push_back(word(argument.word1));
    }
}

}  // namespace

EventSource event_source()
{
    return g_source;
}

bool raise_typed_event(TypedEventRecord& record)
{
    EventHandler handler = find_handler(record.window, record.control, record.event);
    if (!handler)
        return false;
    std::vector<std::int32_t> words;
    int count = std::clamp(record.argument_count, 0, kMaxTypedEventArguments);
    for (int index = 0; index < count; ++index)
        append_typed_argument(words, record.arguments[index]);
    HandlerResult result = call_handler(handler, words.data(), static_cast<int>(words.size()));
    if (result.present) {
        record.result_present = true;
        record.result[0] = static_cast<Word>(static_cast<std::uint32_t>(result.value));
        record.result[1] = 0;
    }
    return true;
}

}  // namespace runtime

namespace runtime::components {

bool raise_event(EventRecord& record)
{
    EventHandler handler = find_handler(record.window, record.control, record.event);
    if (!handler)
        return false;
    int count = std::clamp(record.argument_count, 0, kMaxPlainEventArguments);
    HandlerResult result = call_handler(handler, record.arguments, count);
    if (result.present) {
        record.result_present = true;
        record.result = result.value;
    }
    return true;
}

}  // namespace runtime::components
