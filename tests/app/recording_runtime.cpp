#include "recording_runtime.h"

#include "app/data/embedded_data.h"
#include "app/main_window.h"
#include "runtime/boundary/values.h"

#include <sstream>

namespace test_support {

RecordingRuntime* RecordingRuntime::s_current = nullptr;

RecordingRuntime::RecordingRuntime()
{
    s_current = this;
    m_table.get_property = get_property;
    m_table.set_property = set_property;
    m_table.allocate = allocate;
    m_table.reallocate = reallocate;
    m_table.release = release;
    m_table.call_command = call_command;
}

RecordingRuntime::~RecordingRuntime()
{
    for (void* block : m_blocks)
        std::free(block);
    s_current = nullptr;
}

void RecordingRuntime::put_integer(runtime::ControlId control, std::int32_t index, std::int32_t value)
{
    m_texts.erase({control, index});
    m_words[{control, index}] = static_cast<runtime::Word>(static_cast<std::uint32_t>(value));
}

void RecordingRuntime::put_text(runtime::ControlId control, std::int32_t index, const std::string& text)
{
    m_words.erase({control, index});
    m_texts[{control, index}] = text;
}

std::int32_t RecordingRuntime::integer(runtime::ControlId control, std::int32_t index) const
{
    return static_cast<std::int32_t>(word(control, index));
}

std::string RecordingRuntime::text(runtime::ControlId control, std::int32_t index) const
{
    auto found = m_texts.find({control, index});
    return found == m_texts.end() ? std::string() : found->second;
}

runtime::Word RecordingRuntime::word(runtime::ControlId control, std::int32_t index) const
{
    auto found = m_words.find({control, index});
    return found == m_words.end() ? 0 : found->second;
}

void* RecordingRuntime::hand_out(std::size_t size)
{
    void* block = std::malloc(size == 0 ? 1 : size);
    m_blocks.insert(block);
    return block;
}

char* RecordingRuntime::text_copy(const std::string& text)
{
    if (text.empty())
        return nullptr;
    auto* copy = static_cast<char*>(hand_out(text.size() + 1));
    std::memcpy(copy, text.c_str(), text.size() + 1);
    return copy;
}

runtime::PropertyValue RecordingRuntime::get_property(runtime::WindowId, runtime::ControlId control, std::int32_t index,
                                                      std::int32_t)
{
    RecordingRuntime& self = *s_current;
    self.calls.push_back("get " + name_of(control) + " " + std::to_string(index));
    auto text = self.m_texts.find({control, index});
    if (text != self.m_texts.end())
        return {reinterpret_cast<runtime::Word>(self.text_copy(text->second)), 0};
    return {self.word(control, index), 0};
}

void RecordingRuntime::set_property(runtime::WindowId window, runtime::ControlId control, std::int32_t index,
                                    std::int32_t member, runtime::Word low, runtime::Word)
{
    RecordingRuntime& self = *s_current;
    std::ostringstream line;
    line << "set " << name_of(control) << " " << index;
    if (window != app::kMainWindow || member != runtime::kWholeValue)
        line << " (wrong window or member)";
    self.calls.push_back(line.str());
    bool is_text = (index == 8 && control != app::control::CommonDialog && control != app::control::KindSelector);
    bool is_font = (index == 15 && control >= app::control::NameLabel && control <= app::control::SecondNameLabel) ||
                   (index == 10 && (control == app::control::DateLabel || control == app::control::NumberLabel)) ||
                   (index == 12 && (control & 0xFFFFFF00) == 0x16010200) ||
                   (index == 18 && control == app::control::KindSelector);
    if (is_font) {
        auto* record = reinterpret_cast<const runtime::Word*>(low);
        self.font_writes.push_back({control, std::vector<runtime::Word>(record, record + 7),
                                    record[6] ? reinterpret_cast<const char*>(record[6]) : ""});
        return;
    }
    if (is_text) {
        self.m_texts[{control, index}] = low ? reinterpret_cast<const char*>(low) : "";
        return;
    }
    self.m_words[{control, index}] = low;
}

void* RecordingRuntime::allocate(std::size_t size)
{
    s_current->calls.push_back("allocate " + std::to_string(size));
    return s_current->hand_out(size);
}

void* RecordingRuntime::reallocate(void*, std::size_t)
{
    s_current->calls.emplace_back("reallocate");
    return nullptr;
}

void RecordingRuntime::release(void* block)
{
    RecordingRuntime& self = *s_current;
    self.calls.emplace_back(block ? "release" : "release null");
    if (!block)
        return;
    // Constants are never handed out; releasing one is allowed and does nothing.
    if (self.m_blocks.erase(block) == 0) {
        if (block != app::data::empty_text() && block != app::data::empty_byte_set())
            ++self.m_bad_releases;
        return;
    }
    std::free(block);
}

runtime::TypedValue RecordingRuntime::call_command(runtime::CommandRoutine routine, int count,
                                                   const runtime::TypedValue* arguments)
{
    RecordingRuntime& self = *s_current;
    self.command_arguments.emplace_back(arguments, arguments + count);
    runtime::TypedValue result{};
    if (routine == runtime::commands::common_dialog_open) {
        self.calls.emplace_back("command open");
        result = {static_cast<runtime::Word>(self.dialog_result), 0, runtime::DataType::Integer};
    } else if (routine == runtime::commands::read_file) {
        self.calls.emplace_back("command read_file");
        void* block = nullptr;
        if (!self.read_file_content.empty()) {
            block = self.hand_out(8 + self.read_file_content.size());
            runtime::ByteSetHeader header{1, static_cast<std::int32_t>(self.read_file_content.size())};
            std::memcpy(block, &header, 8);
            std::memcpy(static_cast<char*>(block) + 8, self.read_file_content.data(), self.read_file_content.size());
        }
        result = {reinterpret_cast<runtime::Word>(block), 0, runtime::DataType::ByteSet};
    } else if (routine == runtime::commands::window_handle) {
        self.calls.emplace_back("command window_handle");
        result = {self.window_handle, 0, runtime::DataType::Integer};
    } else if (routine == runtime::commands::window_snapshot) {
        self.calls.emplace_back("command window_snapshot");
        void* block = nullptr;
        if (!self.snapshot_content.empty()) {
            block = self.hand_out(8 + self.snapshot_content.size());
            runtime::ByteSetHeader header{1, static_cast<std::int32_t>(self.snapshot_content.size())};
            std::memcpy(block, &header, 8);
            std::memcpy(static_cast<char*>(block) + 8, self.snapshot_content.data(), self.snapshot_content.size());
        }
        result = {reinterpret_cast<runtime::Word>(block), 0, runtime::DataType::ByteSet};
    } else if (routine == runtime::commands::write_file) {
        self.calls.emplace_back("command write_file");
        std::string line = count > 0 && arguments[0].low ? reinterpret_cast<const char*>(arguments[0].low) : "";
        line += "|";
        for (int i = 1; i < count; ++i) {
            const void* block = reinterpret_cast<const void*>(arguments[i].low);
            if (block)
                line.append(reinterpret_cast<const char*>(runtime::byte_set_data(block)),
                            static_cast<std::size_t>(runtime::byte_set_count(block)));
        }
        self.written_files.push_back(line);
        result = {1, 0, runtime::DataType::Integer};
    } else {
        self.calls.emplace_back("command unknown");
    }
    return result;
}

std::string name_of(runtime::ControlId control)
{
    using namespace app::control;
    switch (control) {
    case Window:
        return "window";
    case KindSelector:
        return "selector";
    case Preview:
        return "preview";
    case NameLabel:
        return "label10";
    case SexLabel:
        return "label11";
    case AgeLabel:
        return "label12";
    case SecondNameLabel:
        return "label13";
    case DateLabel:
        return "trans1";
    case NumberLabel:
        return "trans2";
    case NameBox:
        return "edit1";
    case SexBox:
        return "edit2";
    case DateBox:
        return "edit3";
    case AgeBox:
        return "edit4";
    case NumberBox:
        return "edit5";
    case CommonDialog:
        return "dialog";
    case Photo:
        return "photo";
    default:
        return std::to_string(control);
    }
}

}  // namespace test_support
