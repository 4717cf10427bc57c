// The photo, font and save actions. All three use the one common dialog, switching its dialog type
// before each use, so its file name and font carry over from one use to the next.

#include "app/data/embedded_data.h"
#include "app/handlers.h"
#include "app/main_window.h"
#include "app/runtime_link.h"

#include <array>
#include <cstring>
#include <map>
#include <string>

namespace app {
namespace {

using runtime::TypedValue;
using runtime::Word;

TypedValue control_reference(runtime::ControlId control, runtime::KindId kind)
{
    return TypedValue{static_cast<Word>(static_cast<std::uint32_t>(kMainWindow)),
                      static_cast<Word>(static_cast<std::uint32_t>(control)), static_cast<std::uint32_t>(kind)};
}

bool open_dialog(std::int32_t type)
{
    set_integer(control::CommonDialog, property::DialogType, type);
    TypedValue dialog = control_reference(control::CommonDialog, runtime::Kind::CommonDialog);
    TypedValue result = rt().call_command(runtime::commands::common_dialog_open, 1, &dialog);
    return static_cast<std::int32_t>(result.low) == 1;
}

TypedValue text_value(const char* text)
{
    return TypedValue{reinterpret_cast<Word>(text ? text : data::empty_text()), 0, runtime::DataType::Text};
}

// The twelve controls that take the chosen font, in the order they get it.
struct FontTarget {
    runtime::ControlId control;
    std::int32_t index;
};
constexpr std::array<FontTarget, 12> kFontTargets = {{
    {control::NameLabel, property::LabelFont},
    {control::SexLabel, property::LabelFont},
    {control::AgeLabel, property::LabelFont},
    {control::SecondNameLabel, property::LabelFont},
    {control::NumberLabel, property::TransparentLabelFont},
    {control::DateLabel, property::TransparentLabelFont},
    {control::NumberBox, property::EditFont},
    {control::AgeBox, property::EditFont},
    {control::DateBox, property::EditFont},
    {control::SexBox, property::EditFont},
    {control::NameBox, property::EditFont},
    {control::KindSelector, property::ComboFont},
}};

// The application's own texts are UTF-8 in its sources; each is converted to the runtime's text
// once, on first use, and kept for the run.
const char* own_text(const char* utf8)
{
    static std::map<const char*, const char*> converted;
    auto found = converted.find(utf8);
    if (found != converted.end())
        return found->second;
    TypedValue argument{reinterpret_cast<Word>(utf8), 0, runtime::DataType::Text};
    TypedValue text = rt().call_command(runtime::commands::text_from_utf8, 1, &argument);
    const char* kept = text.low ? reinterpret_cast<const char*>(text.low) : data::empty_text();
    converted.emplace(utf8, kept);
    return kept;
}

const char* failure_reason(runtime::FileFailure failure)
{
    using runtime::FileFailure;
    switch (failure) {
    case FileFailure::NoName:
        return own_text("没有给出文件名");
    case FileFailure::NoSuchFolder:
        return own_text("文件夹不存在");
    case FileFailure::NoPermission:
        return own_text("没有写入权限");
    case FileFailure::ReadOnly:
        return own_text("该位置只读");
    case FileFailure::IsFolder:
        return own_text("这是一个文件夹");
    case FileFailure::NotRegularFile:
        return own_text("不是普通文件");
    case FileFailure::Locked:
        return own_text("文件被其他程序占用");
    case FileFailure::DiskFull:
        return own_text("磁盘空间不足");
    case FileFailure::TooLarge:
        return own_text("文件超出了系统允许的大小");
    case FileFailure::NameTooLong:
        return own_text("文件名太长");
    case FileFailure::None:
    case FileFailure::WriteError:
        break;
    }
    return own_text("写入时出错");
}

// Names the file and the reason; the user can then save elsewhere, nothing else has changed.
void tell_save_failed(const char* path)
{
    TypedValue failure = rt().call_command(runtime::commands::file_failure, 0, nullptr);
    std::string message = own_text("无法保存文件“");
    message += path ? path : "";
    message += own_text("”：");
    message += failure_reason(static_cast<runtime::FileFailure>(static_cast<std::int32_t>(failure.low)));
    message += own_text("。");
    std::array<TypedValue, 3> box = {
        text_value(own_text("保存失败")), text_value(message.c_str()),
        TypedValue{static_cast<Word>(runtime::MessageIcon::Error), 0, runtime::DataType::Integer}};
    rt().call_command(runtime::commands::message_box, 3, box.data());
}

}  // namespace

// Reports no result, so the photo box goes on with its ordinary handling of the press.
HandlerResult on_photo_pressed(const std::int32_t*, int)
{
    if (!open_dialog(dialog_type::OpenFile))
        return {};
    char* path = as_text(get(control::CommonDialog, property::DialogFileName));
    TypedValue name = text_value(path);
    TypedValue bytes = rt().call_command(runtime::commands::read_file, 1, &name);
    rt().release(path);
    set(control::Photo, property::PictureBoxPicture, bytes.low);
    rt().release(reinterpret_cast<void*>(bytes.low));
    return {};
}

HandlerResult on_font_clicked(const std::int32_t*, int)
{
    auto* record = static_cast<runtime::FontRecord*>(rt().allocate(sizeof(runtime::FontRecord)));
    std::memset(record, 0, sizeof *record);
    if (open_dialog(dialog_type::Font)) {
        record->face_name = get(control::CommonDialog, property::DialogFontName).low;
        record->size = get(control::CommonDialog, property::DialogFontSize).low;
        for (const FontTarget& target : kFontTargets)
            set(target.control, target.index, reinterpret_cast<Word>(record));
    }
    rt().release(reinterpret_cast<void*>(record->face_name));
    rt().release(record);
    return {};
}

HandlerResult on_save_clicked(const std::int32_t*, int)
{
    if (!open_dialog(dialog_type::SaveFile))
        return {};
    TypedValue preview = control_reference(control::Preview, runtime::Kind::Label);
    TypedValue handle = rt().call_command(runtime::commands::window_handle, 1, &preview);
    std::array<TypedValue, 3> snapshot_arguments = {TypedValue{handle.low, 0, runtime::DataType::Integer}, TypedValue{},
                                                    TypedValue{}};
    TypedValue bitmap = rt().call_command(runtime::commands::window_snapshot, 3, snapshot_arguments.data());
    char* path = as_text(get(control::CommonDialog, property::DialogFileName));
    const void* bytes = bitmap.low ? reinterpret_cast<const void*>(bitmap.low) : data::empty_byte_set();
    std::array<TypedValue, 2> write_arguments = {
        text_value(path), TypedValue{reinterpret_cast<Word>(bytes), 0, runtime::DataType::ByteSet}};
    TypedValue written = rt().call_command(runtime::commands::write_file, 2, write_arguments.data());
    if (static_cast<std::int32_t>(written.low) != 1)
        tell_save_failed(path);
    rt().release(path);
    rt().release(reinterpret_cast<void*>(bitmap.low));
    return {};
}

}  // namespace app
