// The common dialog kind.
//
//   Kind record ..... property table and interface function
//   Window .......... class registration, creation, the window procedure
//   Properties ...... write (clamped), read, save
//   Opening ......... file dialogs, the font dialog, help

#include "runtime/components/common_dialog.h"

#include "platform/native_window.h"
#include "platform/system_colours.h"
#include "platform/text_encoding.h"
#include "runtime/components/kind_support.h"
#include "runtime/components/property_values.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <cstring>

namespace runtime::components {

// ==== Kind record ================================================================================

namespace {

constexpr auto kCommonDialogProperties = property_table<22>({{
                                                                TypeCode::Pick,     // 8 dialog type
                                                                TypeCode::Text,     // 9 title
                                                                TypeCode::Text,     // 10 file name
                                                                TypeCode::Text,     // 11 filter
                                                                TypeCode::Number,   // 12 initial filter
                                                                TypeCode::Text,     // 13 initial directory
                                                                TypeCode::Text,     // 14 default extension
                                                                TypeCode::Logical,  // 15 create prompt
                                                                TypeCode::Logical,  // 16 file must exist
                                                                TypeCode::Logical,  // 17 overwrite prompt
                                                                TypeCode::Logical,  // 18 path must exist
                                                                TypeCode::Logical,  // 19 keep directory
                                                                TypeCode::Colour,   // 20 font colour
                                                                TypeCode::Logical,  // 21 bold
                                                                TypeCode::Logical,  // 22 italic
                                                                TypeCode::Logical,  // 23 strike-out
                                                                TypeCode::Logical,  // 24 underline
                                                                TypeCode::Text,     // 25 font name
                                                                TypeCode::Number,   // 26 font size
                                                                TypeCode::Text,     // 27 help file
                                                                TypeCode::Pick,     // 28 help command
                                                                TypeCode::Number,   // 29 help topic
                                                            }},
                                                            kCoreLibraryPropertyFlags);
static_assert(kCommonDialogProperties.size() == 30);

Operation common_dialog_interface(int number)
{
    return standard_operation<CommonDialog>(number);
}

}  // namespace

const KindRecord& common_dialog_kind()
{
    static const KindRecord record{"通用对话框",
                                   "CommonDlg",
                                   0x80008040,
                                   static_cast<int>(kCommonDialogProperties.size()),
                                   kCommonDialogProperties.data(),
                                   &common_dialog_interface};
    return record;
}

// ==== Window =====================================================================================

namespace {

std::intptr_t common_dialog_window_procedure(platform::WindowHandle handle, platform::Message& message)
{
    auto* dialog = component_of_window<CommonDialog>(handle);
    if (dialog && message.id == platform::WM_NCDESTROY) {
        std::intptr_t result = platform::default_window_procedure(handle, message);
        platform::set_window_user_data(handle, 0);
        WindowId window = dialog->window_id();
        ControlId control = dialog->control_id();
        delete dialog;
        notify_unit_destroyed(window, control);
        return result;
    }
    return platform::default_window_procedure(handle, message);
}

bool register_common_dialog_class()
{
    return register_kind_class(kCommonDialogClassName, platform::CS_DBLCLKS, &common_dialog_window_procedure);
}

}  // namespace

CommonDialog::CommonDialog(WindowId window, ControlId control, form::CommonDialogBlock block)
    : Component(window, control)
    , m_block(std::move(block))
{
}

Component* CommonDialog::create(const CreateRequest& request)
{
    form::Result<form::CommonDialogBlock> block = form::read_property_block<form::CommonDialogBlock>(request.block);
    if (!block || !register_common_dialog_class())
        return nullptr;
    auto dialog = std::make_unique<CommonDialog>(request.window, request.control, std::move(block).value());
    platform::CreateParams params;
    params.class_name = kCommonDialogClassName;
    // The window only carries the component: it is never shown.
    params.style = (request.style_bits & ~platform::WS_VISIBLE) | platform::WS_CHILD | platform::WS_CLIPSIBLINGS;
    if (request.design_mode)
        params.style |= platform::WS_BORDER;
    params.x = request.left;
    params.y = request.top;
    params.width = request.width;
    params.height = request.height;
    params.parent = request.parent;
    params.id = request.child_id;
    platform::WindowHandle handle = platform::create_window(params);
    if (!handle)
        return nullptr;
    dialog->set_handle(handle);
    platform::set_window_user_data(handle, reinterpret_cast<std::intptr_t>(dialog.get()));
    return dialog.release();
}

// ==== Properties =================================================================================

namespace {

// The stored fields by own property index, in table order.
struct Fields {
    std::uint32_t* integers[22] = {};
    std::string* texts[22] = {};
};

Fields fields_of(form::CommonDialogBlock& b)
{
    using namespace CommonDialogProperty;
    Fields f;
    f.integers[Type] = &b.dialog_type;
    f.texts[Title] = &b.title;
    f.texts[FileName] = &b.file_name;
    f.texts[Filter] = &b.filter;
    f.integers[InitialFilter] = &b.initial_filter;
    f.texts[InitialDirectory] = &b.initial_directory;
    f.texts[DefaultExtension] = &b.default_extension;
    f.integers[CreatePrompt] = &b.create_prompt;
    f.integers[FileMustExist] = &b.file_must_exist;
    f.integers[OverwritePrompt] = &b.overwrite_prompt;
    f.integers[PathMustExist] = &b.path_must_exist;
    f.integers[KeepDirectory] = &b.keep_directory;
    f.integers[FontColour] = &b.font_colour;
    f.integers[Bold] = &b.bold;
    f.integers[Italic] = &b.italic;
    f.integers[StrikeOut] = &b.strike_out;
    f.integers[Underline] = &b.underline;
    f.texts[FontName] = &b.font_name;
    f.integers[FontSize] = &b.font_size;
    f.texts[HelpFile] = &b.help_file;
    f.integers[HelpCommand] = &b.help_command;
    f.integers[HelpTopic] = &b.help_topic;
    return f;
}

}  // namespace

int CommonDialog::property_changed(int index, const PropertyData& data)
{
    using namespace CommonDialogProperty;
    if (index < 0 || index >= 22)
        return 0;
    Fields fields = fields_of(m_block);
    if (std::string* text = fields.texts[index]) {
        *text = text_of(data);
        return 0;
    }
    std::int32_t value = integer_of(data);
    switch (index) {
    case Type:
        value = std::clamp(value, 0, static_cast<std::int32_t>(DialogType::Help));
        break;
    case HelpCommand:
        value = std::clamp(value, 0, kHighestHelpCommand);
        break;
    case InitialFilter:
    case FontSize:
        value = std::max(value, 0);
        break;
    default:
        break;
    }
    *fields.integers[index] = static_cast<std::uint32_t>(value);
    return 0;
}

int CommonDialog::read_property(int index, PropertyData& data)
{
    if (index < 0 || index >= 22)
        return 0;
    Fields fields = fields_of(m_block);
    if (const std::string* text = fields.texts[index])
        put_text(data, *text);
    else
        put_integer(data, *fields.integers[index]);
    return 1;
}

std::vector<std::uint8_t> CommonDialog::save_properties() const
{
    return form::write_property_block(m_block);
}

// ==== Opening ====================================================================================

std::int32_t multiply_divide(std::int32_t a, std::int32_t b, std::int32_t c)
{
    if (c == 0)
        return -1;
    std::int64_t product = static_cast<std::int64_t>(a) * b;
    bool negative = (product < 0) != (c < 0);
    std::int64_t magnitude = (std::llabs(product) + std::llabs(c) / 2) / std::llabs(c);
    std::int64_t result = negative ? -magnitude : magnitude;
    if (result > INT32_MAX || result < INT32_MIN)
        return -1;
    return static_cast<std::int32_t>(result);
}

std::string file_dialog_filter(std::string_view filter)
{
    std::string result(filter);
    while (!result.empty() && std::strchr(" \t\r\n\v\f", result.back()))
        result.pop_back();
    if (!result.empty() && !(result.size() >= 2 && result.ends_with("||")))
        result += "||";
    return result;
}

namespace {

bool is_set(std::uint32_t logical)
{
    return logical == 1;
}

// Copies a face name into a LOGFONT's 32 bytes, cut at a character boundary when too long.
void copy_face_name(const std::string& face, char (&target)[32])
{
    std::memset(target, 0, sizeof target);
    std::string_view kept = platform::cut_at_character(face, sizeof target - 1);
    std::memcpy(target, kept.data(), kept.size());
}

}  // namespace

platform::FileDialogRequest CommonDialog::file_request() const
{
    using namespace platform::FileDialogFlag;
    const form::CommonDialogBlock& b = m_block;
    platform::FileDialogRequest request;
    request.mode = b.dialog_type == static_cast<std::uint32_t>(DialogType::Save) ? platform::FileDialogMode::Save
                                                                                 : platform::FileDialogMode::Open;
    request.flags = HideReadOnly;
    if (is_set(b.create_prompt))
        request.flags |= CreatePrompt;
    if (is_set(b.file_must_exist))
        request.flags |= FileMustExist;
    if (is_set(b.overwrite_prompt))
        request.flags |= OverwritePrompt;
    if (is_set(b.path_must_exist))
        request.flags |= PathMustExist;
    if (is_set(b.keep_directory))
        request.flags |= NoChangeDirectory;
    request.filter = file_dialog_filter(b.filter);
    if (!request.filter.empty()) {
        auto initial = static_cast<std::int32_t>(b.initial_filter);
        request.initial_filter_index = initial < 0 ? 1 : initial + 1;
    }
    request.title = b.title;
    request.initial_directory = b.initial_directory;
    request.initial_file_name = b.file_name;
    request.default_extension = b.default_extension;
    request.owner = platform::top_level_ancestor(handle());
    return request;
}

platform::FontDialogRequest CommonDialog::font_request() const
{
    const form::CommonDialogBlock& b = m_block;
    platform::FontDialogRequest request;
    request.font.weight = is_set(b.bold) ? 700 : 0;
    request.font.italic = is_set(b.italic) ? 1 : 0;
    request.font.strike_out = is_set(b.strike_out) ? 1 : 0;
    request.font.underline = is_set(b.underline) ? 1 : 0;
    if (!b.font_name.empty())
        copy_face_name(b.font_name, request.font.face_name);
    auto size = static_cast<std::int32_t>(b.font_size);
    if (size != 0)
        request.font.height = -multiply_divide(size, platform::screen_pixels_per_inch(), 72);
    request.colour = b.font_colour & 0xFFFFFF;
    request.owner = platform::top_level_ancestor(handle());
    return request;
}

int CommonDialog::open_file_dialog()
{
    platform::FileDialogAnswer answer = platform::dialog_service().ask_file(file_request());
    if (!answer.confirmed)
        return 0;
    m_block.file_name = answer.path;
    return 1;
}

int CommonDialog::open_font_dialog()
{
    platform::FontDialogAnswer answer = platform::dialog_service().ask_font(font_request());
    if (!answer.confirmed)
        return 0;
    const platform::LogFont& font = answer.font;
    m_block.font_colour = answer.colour & 0xFFFFFF;
    m_block.bold = font.weight >= 700 ? 1 : 0;
    m_block.italic = font.italic ? 1 : 0;
    m_block.strike_out = font.strike_out ? 1 : 0;
    m_block.underline = font.underline ? 1 : 0;
    m_block.font_name.assign(font.face_name, strnlen(font.face_name, sizeof font.face_name));
    auto height = static_cast<std::int32_t>(std::min<std::int64_t>(std::llabs(font.height), INT32_MAX));
    m_block.font_size =
        static_cast<std::uint32_t>(std::max(0, multiply_divide(height, 72, platform::screen_pixels_per_inch())));
    return 1;
}

int CommonDialog::open()
{
    switch (static_cast<DialogType>(m_block.dialog_type)) {
    case DialogType::Open:
    case DialogType::Save:
        return open_file_dialog();
    case DialogType::Font:
        return open_font_dialog();
    default:
        // FIXME: no help viewer exists on this platform; the help dialog type always gives 0.
        return 0;
    }
}

int open_common_dialog(Component* component)
{
    auto* dialog = dynamic_cast<CommonDialog*>(component);
    return dialog ? dialog->open() : 0;
}

}  // namespace runtime::components
