#include "driver.h"

#include "app/main_window.h"
#include "platform/controls/combo_control.h"
#include "platform/input_synthesis.h"
#include "platform/message_loop.h"
#include "platform/messages.h"
#include "platform/native_window.h"
#include "platform/screen_capture.h"
#include "platform/text_encoding.h"
#include "runtime/boundary/commands.h"
#include "runtime/boundary/entry_table.h"
#include "runtime/boundary/heap.h"
#include "runtime/components/component.h"
#include "runtime/form/byte_reader.h"
#include "runtime/imaging/picture_decoder.h"
#include "runtime/windows/window_system.h"
#include "runtime/windows/window_table.h"

#include "png_writer.h"
#include "sha256.h"

#include "platform/file_system.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <map>
#include <memory>
#include <sstream>

namespace drive {
namespace {

using runtime::components::TypeCode::Font;

struct Target {
    runtime::ControlId control = 0;
    runtime::KindId kind = 0;
};

std::optional<Target> find_control(const std::string& utf8_name)
{
    runtime::WindowEntry* window = runtime::window_table().find(app::kMainWindow);
    if (!window)
        return std::nullopt;
    if (utf8_name == "-")
        return Target{runtime::kWindowOwnUnit, runtime::Kind::Window};
    std::string name = platform::gbk_from_utf8(utf8_name);
    for (const runtime::form::UnitRecord& record : window->unit.units.records()) {
        if (!record.is_menu_item() && record.name() == name)
            return Target{record.id(), record.kind()};
    }
    return std::nullopt;
}

platform::WindowHandle native_window(const Target& target)
{
    runtime::TypedValue reference{static_cast<runtime::Word>(static_cast<std::uint32_t>(app::kMainWindow)),
                                  static_cast<runtime::Word>(static_cast<std::uint32_t>(target.control)),
                                  static_cast<std::uint32_t>(target.kind)};
    runtime::TypedValue handle = runtime::entry_table().call_command(runtime::commands::window_handle, 1, &reference);
    return static_cast<platform::WindowHandle>(handle.low);
}

platform::Point centre_of(platform::WindowHandle handle)
{
    platform::Rect client = platform::client_rect(handle);
    return {client.width() / 2, client.height() / 2};
}

// Lets posted messages (the combo box's item-selected event among them) and painting happen.
void settle()
{
    platform::process_waiting_messages();
}

// Dispatches as the message loop does, blocking while nothing happens, until the time is up or the
// program quits (the quit message stays queued for the program's loop).
void wait_for(int milliseconds)
{
    // Shared with the timer, which may still fire after a wait that the program's end cut short.
    auto done = std::make_shared<bool>(false);
    platform::call_after(std::max(milliseconds, 0), [done] { *done = true; });
    platform::process_waiting_messages();
    while (!*done && !platform::quit_waiting())
        platform::dispatch_one_message(platform::Wait::Yes);
}

std::uint16_t type_code_of(const Target& target, int index)
{
    const runtime::components::KindRecord* kind = runtime::components::find_kind(target.kind);
    if (!kind || index < 0 || index >= kind->property_count)
        return 0;
    return kind->properties[index].type_code;
}

bool is_text_type(std::uint16_t code)
{
    return code == 1005 || code == 1007 || code == 1008 || code == 1016 || code == 1018 || code == 1020;
}

bool is_bytes_type(std::uint16_t code)
{
    return code == 1009 || code == 1010 || code == 1011 || code == 1012 || code == 1023 || code == 1024;
}

std::string text_of(runtime::Word pointer)
{
    return pointer ? platform::utf8_from_gbk(reinterpret_cast<const char*>(pointer)) : std::string();
}

// The property as the application would read it, printed: integers in decimal, texts in UTF-8,
// byte sets as their length and SHA-256, a font as its seven members.
std::string read_property(const Target& target, int index)
{
    const runtime::EntryTable& entries = runtime::entry_table();
    std::uint16_t code = type_code_of(target, index);
    runtime::PropertyValue value = entries.get_property(app::kMainWindow, target.control, index, runtime::kWholeValue);
    if (is_text_type(code)) {
        std::string text = text_of(value.low);
        entries.release(reinterpret_cast<void*>(value.low));
        return text;
    }
    if (is_bytes_type(code)) {
        const void* block = reinterpret_cast<const void*>(value.low);
        std::int32_t count = runtime::byte_set_count(block);
        std::span<const std::uint8_t> bytes;
        if (block && count > 0)
            bytes = {runtime::byte_set_data(block), static_cast<std::size_t>(count)};
        std::string line = std::to_string(count) + " " + sha256_hex(bytes);
        entries.release(reinterpret_cast<void*>(value.low));
        return line;
    }
    if (code == Font) {
        auto* record = reinterpret_cast<runtime::FontRecord*>(value.low);
        if (!record)
            return "";
        std::ostringstream out;
        out << static_cast<std::int32_t>(record->angle) << ' ' << static_cast<std::int32_t>(record->bold) << ' '
            << static_cast<std::int32_t>(record->italic) << ' ' << static_cast<std::int32_t>(record->strikeout) << ' '
            << static_cast<std::int32_t>(record->underline) << ' ' << static_cast<std::int32_t>(record->size) << ' '
            << text_of(record->face_name);
        entries.release(reinterpret_cast<void*>(record->face_name));
        entries.release(record);
        return out.str();
    }
    return std::to_string(static_cast<std::int32_t>(value.low));
}

std::optional<int> key_code(const std::string& name)
{
    static const std::map<std::string, int> keys = {
        {"Enter", 0x0D},  {"Return", 0x0D},   {"Tab", 0x09},    {"Backspace", 0x08}, {"Escape", 0x1B}, {"Space", 0x20},
        {"PageUp", 0x21}, {"PageDown", 0x22}, {"End", 0x23},    {"Home", 0x24},      {"Left", 0x25},   {"Up", 0x26},
        {"Right", 0x27},  {"Down", 0x28},     {"Delete", 0x2E}, {"Insert", 0x2D},
    };
    auto found = keys.find(name);
    if (found != keys.end())
        return found->second;
    if (name.size() == 1 && std::isalnum(static_cast<unsigned char>(name[0])))
        return std::toupper(static_cast<unsigned char>(name[0]));
    if (name.size() >= 2 && name[0] == 'F') {
        int number = std::atoi(name.c_str() + 1);
        if (number >= 1 && number <= 12)
            return 0x70 + number - 1;
    }
    return std::nullopt;
}

// The kind selector's items, from its stored item list (property 20, text-list encoding).
std::optional<int> item_index(const Target& selector, const std::string& utf8_name)
{
    const runtime::EntryTable& entries = runtime::entry_table();
    runtime::PropertyValue value = entries.get_property(app::kMainWindow, selector.control, 20, runtime::kWholeValue);
    const void* block = reinterpret_cast<const void*>(value.low);
    std::vector<std::string> items;
    if (block) {
        std::span<const std::uint8_t> bytes(runtime::byte_set_data(block),
                                            static_cast<std::size_t>(runtime::byte_set_count(block)));
        runtime::form::ByteReader reader(bytes);
        items = reader.text_list();
        if (reader.failed())
            items.clear();
    }
    entries.release(reinterpret_cast<void*>(value.low));
    std::string wanted = platform::gbk_from_utf8(utf8_name);
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (items[i] == wanted)
            return static_cast<int>(i);
    }
    return std::nullopt;
}

}  // namespace

std::string current_folder()
{
    std::error_code error;
    std::u8string folder = std::filesystem::current_path(error).u8string();
    return error ? std::string(".") : std::string(folder.begin(), folder.end());
}

Driver::Driver(platform::ScriptedDialogService& dialogs, std::string base_folder)
    : m_dialogs(dialogs)
    , m_base_folder(std::move(base_folder))
{
}

std::string Driver::absolute(const std::string& path) const
{
    if (std::filesystem::path(std::u8string(path.begin(), path.end())).is_absolute())
        return path;
    return m_base_folder + "/" + path;
}

bool Driver::main_window_open() const
{
    runtime::WindowEntry* window = runtime::window_table().find(app::kMainWindow);
    return window && !window->unit.units.empty() && window->unit.units.record(0).object() != nullptr;
}

bool Driver::ready() const
{
    return main_window_open() && runtime::load_nesting_count() == 0 && runtime::message_loop_running();
}

std::string Driver::perform(const Command& command, std::string& output)
{
    if (!main_window_open())
        return "the main window is not open";

    auto control = [&](const std::string& name) -> std::optional<Target> { return find_control(name); };
    auto click_control = [&](const std::string& name) -> std::string {
        std::optional<Target> target = control(name);
        if (!target)
            return "no control named " + name;
        platform::WindowHandle handle = native_window(*target);
        platform::synthesize_click(handle, centre_of(handle));
        settle();
        return {};
    };

    switch (command.verb) {
    case Verb::Kind: {
        std::optional<Target> selector = control("组合框证件类型");
        if (!selector)
            return "no kind selector";
        std::optional<int> index = item_index(*selector, command.text);
        if (!index)
            return "the kind selector has no item " + command.text;
        platform::WindowHandle handle = native_window(*selector);
        // Open the list the way a user does, then click the item in it. On a busy machine a click
        // can come before the window system has finished closing the list of the last choice, and
        // the list stays shut; as a user would, click again a moment later.
        platform::synthesize_click(handle, centre_of(handle));
        settle();
        for (int retry = 0; retry < 3 && !platform::combo_dropped(handle); ++retry) {
            wait_for(100);
            platform::synthesize_click(handle, centre_of(handle));
            settle();
        }
        if (!platform::combo_dropped(handle))
            return "the kind selector's list did not open";
        if (!platform::click_combo_list_item(handle, *index))
            return "could not click the item in the open list";
        settle();
        return {};
    }
    case Verb::Type: {
        std::optional<Target> target = control(command.control);
        if (!target)
            return "no control named " + command.control;
        platform::WindowHandle handle = native_window(*target);
        platform::synthesize_click(handle, centre_of(handle));
        platform::synthesize_key_stroke(handle, 'A', platform::KeyState::Ctrl);
        if (command.text.empty())
            platform::synthesize_key_stroke(handle, 0x2E);
        else
            platform::synthesize_text_input(handle, platform::gbk_from_utf8(command.text));
        settle();
        return {};
    }
    case Verb::Key: {
        std::optional<Target> target = control(command.control);
        if (!target)
            return "no control named " + command.control;
        std::optional<int> key = key_code(command.text);
        if (!key)
            return "unknown key " + command.text;
        platform::WindowHandle handle = native_window(*target);
        platform::set_focus(handle);
        platform::synthesize_key_stroke(handle, *key);
        settle();
        return {};
    }
    case Verb::Click: {
        std::optional<Target> target = control(command.control);
        if (!target)
            return "no control named " + command.control;
        platform::WindowHandle handle = native_window(*target);
        platform::Point at = command.has_position ? platform::Point{command.x, command.y} : centre_of(handle);
        platform::synthesize_click(handle, at,
                                   command.right_button ? platform::MouseButton::Right : platform::MouseButton::Left);
        settle();
        return {};
    }
    case Verb::Photo:
    case Verb::Save: {
        platform::FileDialogAnswer answer;
        if (!command.cancel) {
            answer.confirmed = true;
            answer.path = platform::runtime_file_name(absolute(command.text));
        }
        std::size_t asked = m_dialogs.file_requests().size();
        m_dialogs.queue_file_answer(answer);
        std::string failure = click_control(command.verb == Verb::Photo ? "图片框1" : "按钮生成");
        if (!failure.empty())
            return failure;
        if (m_dialogs.file_requests().size() != asked + 1)
            return "no file dialog opened";
        return {};
    }
    case Verb::Font: {
        platform::FontDialogAnswer answer;
        if (!command.cancel) {
            answer.confirmed = true;
            std::string face = platform::gbk_from_utf8(command.text);
            if (face.size() >= sizeof answer.font.face_name)
                return "face name too long";
            std::memcpy(answer.font.face_name, face.c_str(), face.size() + 1);
            // Points to pixels at 96 pixels per inch, rounded as the platform's multiply-divide does.
            answer.font.height = -((command.number * platform::kLogicalPixelsPerInch + 36) / 72);
            answer.font.weight = 400;
            answer.font.char_set = 134;
        }
        std::size_t asked = m_dialogs.font_requests().size();
        m_dialogs.queue_font_answer(answer);
        std::string failure = click_control("按钮字体");
        if (!failure.empty())
            return failure;
        if (m_dialogs.font_requests().size() != asked + 1)
            return "no font dialog opened";
        return {};
    }
    case Verb::Get:
    case Verb::Expect: {
        std::optional<Target> target = control(command.control);
        if (!target)
            return "no control named " + command.control;
        output = read_property(*target, command.index);
        if (command.verb == Verb::Expect && output != command.text)
            return "reads \"" + output + "\", expected \"" + command.text + "\"";
        return {};
    }
    case Verb::Set: {
        std::optional<Target> target = control(command.control);
        if (!target)
            return "no control named " + command.control;
        if (!is_text_type(type_code_of(*target, command.index)))
            return "property " + std::to_string(command.index) + " is not a text";
        std::string text = platform::gbk_from_utf8(command.text);
        runtime::entry_table().set_property(app::kMainWindow, target->control, command.index, runtime::kWholeValue,
                                            reinterpret_cast<runtime::Word>(text.c_str()), 0);
        settle();
        return {};
    }
    case Verb::Shot: {
        std::optional<Target> window = control("-");
        settle();
        std::unique_ptr<platform::Bitmap> picture = platform::capture_window(native_window(*window));
        if (!picture)
            return "nothing to capture";
        std::vector<std::uint8_t> rows = picture->bgr_rows();
        std::vector<std::uint8_t> png = png_from_bgr_rows(rows, picture->width(), picture->height());
        std::FILE* file =
            png.empty() ? nullptr : platform::open_file(platform::runtime_file_name(absolute(command.text)), "wb");
        bool written = file && std::fwrite(png.data(), 1, png.size(), file) == png.size();
        if (file && std::fclose(file) != 0)
            written = false;
        if (!written)
            return "could not write " + command.text;
        return {};
    }
    case Verb::Wait:
        wait_for(command.number);
        return {};
    case Verb::Counts: {
        // Pending paints run first, so that the counts include what the last action shows.
        settle();
        const platform::GraphicsCounters& counters = platform::graphics_counters();
        output = "decoded " + std::to_string(runtime::imaging::pictures_decoded()) + " converted " +
                 std::to_string(counters.conversions) + " scaled " + std::to_string(counters.scalings) + " painted " +
                 std::to_string(platform::client_paints());
        return {};
    }
    case Verb::Close: {
        std::optional<Target> window = control("-");
        platform::post_message(native_window(*window), platform::WM_CLOSE);
        settle();
        return {};
    }
    }
    return "unknown command";
}

}  // namespace drive
