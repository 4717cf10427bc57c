// The edit box kind.
//
//   Kind record ..... property table and interface function
//   Window .......... creation on "EDIT", font and growth, border, spin button, subclass procedure
//   Properties ...... write (in place or by re-creation), read, save

#include "runtime/components/edit_box.h"

#include "platform/controls/control_fonts.h"
#include "platform/controls/edit_control.h"
#include "platform/controls/updown_control.h"
#include "platform/controls/window_subclass.h"
#include "platform/key_codes.h"
#include "platform/native_window.h"
#include "platform/system_colours.h"
#include "platform/text_encoding.h"
#include "runtime/components/control_colours.h"
#include "runtime/components/edit_input.h"
#include "runtime/components/kind_support.h"
#include "runtime/components/notification_reflection.h"
#include "runtime/components/property_values.h"

#include <algorithm>
#include <array>
#include <memory>

namespace runtime::components {

// ==== Kind record ================================================================================

namespace {

constexpr auto kEditBoxProperties = property_table<21>({{
                                                           TypeCode::Text,              // 8 content
                                                           TypeCode::Pick,              // 9 border
                                                           TypeCode::Colour,            // 10 text colour
                                                           TypeCode::BackgroundColour,  // 11 background colour
                                                           TypeCode::Font,              // 12 font
                                                           TypeCode::Logical,           // 13 hide selection
                                                           TypeCode::Number,            // 14 maximum length
                                                           TypeCode::Logical,           // 15 multi-line
                                                           TypeCode::Pick,              // 16 scroll bars
                                                           TypeCode::Pick,              // 17 alignment
                                                           TypeCode::Pick,              // 18 input mode
                                                           TypeCode::Text,              // 19 password character
                                                           TypeCode::Pick,              // 20 letter case
                                                           TypeCode::Pick,              // 21 spin mode
                                                           TypeCode::Number,            // 22 spin lower bound
                                                           TypeCode::Number,            // 23 spin upper bound
                                                           TypeCode::Number,            // 24 selection start
                                                           TypeCode::Number,            // 25 selection length
                                                           TypeCode::Text,              // 26 selected text
                                                           TypeCode::DataSource,        // 27 data source
                                                           TypeCode::DataColumn,        // 28 data column
                                                       }},
                                                       kCoreLibraryPropertyFlags);
static_assert(kEditBoxProperties.size() == 29);

constexpr std::int32_t kHighestBorder = 5;
constexpr std::int32_t kHighestScrollBars = 3;
constexpr std::int32_t kHighestAlignment = 2;
constexpr std::int32_t kHighestLetterCase = 2;
constexpr std::int32_t kHighestSpinMode = 2;
constexpr std::uint32_t kSpinIdOffset = 4;

namespace Spin {
constexpr std::uint32_t None = 0;
constexpr std::uint32_t Automatic = 1;
constexpr std::uint32_t Manual = 2;
}  // namespace Spin

int edit_box_wants_key(Component* component, int key_code)
{
    return static_cast<EditBox*>(component)->wants_key(key_code);
}

Operation edit_box_interface(int number)
{
    if (number == Interface::WantsKey)
        return as_operation(&edit_box_wants_key);
    return standard_operation<EditBox>(number);
}

// The stored password character: its byte, or the two bytes of a double-byte character (lead first).
std::uint16_t stored_password_character(const std::string& text)
{
    if (text.empty())
        return 0;
    auto lead = static_cast<unsigned char>(text[0]);
    if (lead >= 0x81 && text.size() >= 2)
        return static_cast<std::uint16_t>(lead | (static_cast<unsigned char>(text[1]) << 8));
    return lead;
}

std::string password_text(std::uint16_t stored)
{
    std::string text;
    if (stored & 0xFF)
        text += static_cast<char>(stored & 0xFF);
    if (stored & 0xFF00)
        text += static_cast<char>(stored >> 8);
    return text;
}

std::uint32_t password_code(std::uint16_t stored)
{
    if (stored & 0xFF00)
        return static_cast<std::uint32_t>((stored & 0xFF) << 8 | (stored >> 8));
    return stored & 0xFF;
}

}  // namespace

const KindRecord& edit_box_kind()
{
    static const KindRecord record{"编辑框",
                                   "EditBox",
                                   0x80000040,
                                   static_cast<int>(kEditBoxProperties.size()),
                                   kEditBoxProperties.data(),
                                   &edit_box_interface};
    return record;
}

std::uint32_t edit_box_style(const form::EditBoxBlock& block)
{
    using namespace platform;
    std::uint32_t style = WS_CHILD | WS_CLIPSIBLINGS;
    if (!block.hide_selection)
        style |= EditStyle::NoHideSelection;
    if (block.multi_line) {
        style |= EditStyle::MultiLine | EditStyle::AutoVerticalScroll | EditStyle::WantReturn;
        std::uint32_t bars = stored_choice(block.scroll_bars, kHighestScrollBars);
        if (bars == 1 || bars == 3)
            style |= EditStyle::AutoHorizontalScroll | WS_HSCROLL;
        if (bars == 2 || bars == 3)
            style |= WS_VSCROLL;
    } else {
        style |= EditStyle::AutoHorizontalScroll;
    }
    std::uint32_t alignment = stored_choice(block.alignment, kHighestAlignment);
    if (alignment == 1)
        style |= EditStyle::Centre;
    else if (alignment == 2)
        style |= EditStyle::Right;
    if (block.input_mode == EditInputMode::ReadOnly)
        style |= EditStyle::ReadOnly;
    else if (block.input_mode == EditInputMode::Password)
        style |= EditStyle::Password;
    std::uint32_t letter_case = stored_choice(block.letter_case, kHighestLetterCase);
    if (letter_case == 1)
        style |= EditStyle::LowerCase;
    else if (letter_case == 2)
        style |= EditStyle::UpperCase;
    return style;
}

// ==== Window =====================================================================================

EditBox::EditBox(WindowId window, ControlId control, form::EditBoxBlock block, bool design_mode)
    : Component(window, control)
    , m_block(std::move(block))
    , m_design_mode(design_mode)
{
}

EditBox::~EditBox() = default;

Component* EditBox::create(const CreateRequest& request)
{
    form::Result<form::EditBoxBlock> block = form::read_property_block<form::EditBoxBlock>(request.block);
    if (!block)
        return nullptr;
    platform::register_edit_class();
    platform::register_updown_class();
    auto edit_box =
        std::make_unique<EditBox>(request.window, request.control, std::move(block).value(), request.design_mode);
    form::EditBoxBlock& stored = edit_box->m_block;
    stored.input_mode = std::min<std::uint32_t>(stored.input_mode, EditInputMode::Highest);

    platform::CreateParams params;
    params.class_name = platform::kEditClassName;
    params.text = stored.content;
    params.style = request.style_bits | edit_box_style(stored);
    params.x = request.left;
    params.y = request.top;
    params.width = request.width;
    params.height = request.height;
    params.parent = request.parent;
    params.id = request.child_id;
    platform::WindowHandle handle = platform::create_window(params);
    if (!handle)
        return nullptr;
    edit_box->set_handle(handle);
    platform::set_window_user_data(handle, reinterpret_cast<std::intptr_t>(edit_box.get()));
    platform::subclass_window(handle, &forward_to_component<EditBox>);

    edit_box->apply_font();
    platform::edit_set_text_limit(handle, std::max(stored.maximum_length, 0));
    edit_box->apply_password_character();
    edit_box->apply_selection();
    edit_box->apply_border();
    if (!stored.multi_line && stored.spin_mode != Spin::None)
        edit_box->make_spin(request);
    return edit_box.release();
}

void EditBox::apply_font()
{
    using namespace platform;
    WindowHandle edit = handle();
    if (!m_block.multi_line) {
        // A single line needs the height of its text and the frame's edges; a lower box grows.
        int needed = measure_text_in_font(m_block.font, gbk_from_utf8("吴")).height +
                     2 * system_metric(SystemMetric::EdgeHeight);
        Rect rect = window_rect_in_parent(edit);
        if (rect.height() < needed)
            move_window(edit, rect.left, rect.top, rect.width(), needed, Repaint::Yes);
    }
    send_control_font(edit, m_block.font);
    set_window_pos(edit, 0, 0, 0, 0, 0,
                   WindowPosFlag::NoMove | WindowPosFlag::NoSize | WindowPosFlag::NoZOrder | WindowPosFlag::NoActivate |
                       WindowPosFlag::FrameChanged);
}

void EditBox::apply_border()
{
    using namespace platform;
    m_block.border = stored_choice(m_block.border, kHighestBorder);
    std::uint32_t ex_style = window_ex_style(handle()) & ~(WS_EX_CLIENTEDGE | WS_EX_STATICEDGE | WS_EX_DLGMODALFRAME);
    std::uint32_t style = window_style(handle()) & ~(WS_BORDER | WS_VISIBLE | WS_DISABLED);
    switch (m_block.border) {
    case 1:
        ex_style |= WS_EX_CLIENTEDGE;
        break;
    case 2:
        ex_style |= WS_EX_DLGMODALFRAME;
        break;
    case 3:
        ex_style |= WS_EX_STATICEDGE;
        break;
    case 4:
        ex_style |= WS_EX_CLIENTEDGE | WS_EX_DLGMODALFRAME;
        break;
    case 5:
        style |= WS_BORDER;
        break;
    default:
        break;
    }
    set_window_style(handle(), style);
    set_window_ex_style(handle(), ex_style);
    if (m_spin) {
        std::uint32_t spin_ex = window_ex_style(m_spin) & ~WS_EX_STATICEDGE;
        if (m_block.border == 0 || m_block.border == 1 || m_block.border == 3)
            spin_ex |= WS_EX_STATICEDGE;
        set_window_ex_style(m_spin, spin_ex);
    }
}

void EditBox::apply_selection()
{
    int length = platform::edit_text_length(handle());
    int start = m_block.selection_start == -1 ? length : std::max(m_block.selection_start, 0);
    if (m_block.selection_length == -1)
        platform::edit_set_selection(handle(), 0, -1);
    else
        platform::edit_set_selection(handle(), start, start + std::max(m_block.selection_length, 0));
    platform::edit_scroll_caret(handle());
}

void EditBox::apply_password_character()
{
    if (m_block.input_mode != EditInputMode::Password) {
        platform::edit_set_password_character(handle(), 0);
        return;
    }
    // A password box always hides what is typed: without a stored character it shows "*".
    std::uint32_t code = password_code(m_block.password_character);
    platform::edit_set_password_character(handle(), code ? code : '*');
}

void EditBox::make_spin(const CreateRequest& request)
{
    using namespace platform;
    Rect rect = window_rect_in_parent(handle());
    CreateParams params;
    params.class_name = kUpDownClassName;
    params.style = WS_CHILD | WS_CLIPSIBLINGS;
    if (request.style_bits & WS_DISABLED)
        params.style |= WS_DISABLED;
    if (m_block.border == 0 || m_block.border == 1 || m_block.border == 3)
        params.ex_style = WS_EX_STATICEDGE;
    params.x = rect.right;
    params.y = rect.top;
    params.width = kUpDownWidth;
    params.height = rect.height();
    params.parent = parent_window(handle());
    params.id = request.child_id + static_cast<int>(kSpinIdOffset);
    m_spin = create_window(params);
    if (!m_spin) {
        m_block.spin_mode = Spin::None;
        return;
    }
    updown_set_target(m_spin, handle());
    updown_set_range(m_spin, std::min(m_block.spin_lower_bound, m_block.spin_upper_bound),
                     std::max(m_block.spin_lower_bound, m_block.spin_upper_bound));
    place_spin();
    if (is_visible(handle()))
        show_window(m_spin, ShowCommand::ShowNoActivate);
}

void EditBox::place_spin()
{
    using namespace platform;
    if (!m_spin)
        return;
    Rect rect = window_rect_in_parent(handle());
    // Just behind the edit box, right beside it.
    set_window_pos(m_spin, handle(), rect.right, rect.top, kUpDownWidth, rect.height(), WindowPosFlag::NoActivate);
}

void EditBox::press_spin(int step)
{
    using namespace platform;
    if (m_block.spin_mode == Spin::Manual) {
        if (is_enabled(handle()) && is_visible(handle()))
            raise(EditBoxEvent::SpinPressed, step, 1);
        return;
    }
    if (m_block.spin_mode != Spin::Automatic)
        return;
    std::int64_t lower = std::min(m_block.spin_lower_bound, m_block.spin_upper_bound);
    std::int64_t upper = std::max(m_block.spin_lower_bound, m_block.spin_upper_bound);
    std::int64_t value = std::strtoll(window_text(handle()).c_str(), nullptr, 10) + step;
    if (value > upper)
        value = lower;
    else if (value < lower)
        value = upper;
    set_window_text(handle(), std::to_string(value));
    edit_set_selection(handle(), 0, -1);
    set_focus(handle());
}

void EditBox::normalise_text()
{
    using namespace platform;
    if (m_block.input_mode < EditInputMode::Byte || m_block.input_mode > EditInputMode::DateTime)
        return;
    std::string text = window_text(handle());
    std::string normal = normalise_input(m_block.input_mode, text);
    if (normal == text)
        return;
    int caret = edit_selection(handle()).start;
    set_window_text(handle(), normal);
    edit_set_selection(handle(), caret, caret);
}

void EditBox::raise(std::int32_t event, std::int32_t argument, int argument_count)
{
    EventRecord record = event_of(*this, event);
    record.argument_count = argument_count;
    record.arguments[0] = argument;
    raise_event(record);
}

std::intptr_t EditBox::handle_message(platform::Message& message, const platform::WindowProcedure& previous)
{
    using namespace platform;
    WindowHandle edit = handle();
    switch (message.id) {
    case kReflectedCommand:
        if (high_word(message.wparam) == EditNotification::Change && !m_setting_text)
            raise(EditBoxEvent::ContentChanged);
        return 0;
    case kUpDownPressed:
        if (m_spin && static_cast<WindowHandle>(message.lparam) == m_spin)
            press_spin(static_cast<std::intptr_t>(message.wparam) > 0 ? 1 : -1);
        return 0;
    case WM_CHAR:
        if (!accepts_character(m_block.input_mode, static_cast<std::uint32_t>(message.wparam)))
            return 0;  // held back: neither the control nor Qt sees it
        return previous(edit, message);
    case WM_SETFOCUS: {
        std::intptr_t result = previous(edit, message);
        handle_common_message(*this, message);
        return result;
    }
    case WM_KILLFOCUS: {
        std::intptr_t result = previous(edit, message);
        normalise_text();
        handle_common_message(*this, message);
        return result;
    }
    case WM_MOVE:
    case WM_SIZE: {
        std::intptr_t result = previous(edit, message);
        place_spin();
        return result;
    }
    case WM_SHOWWINDOW: {
        std::intptr_t result = previous(edit, message);
        if (m_spin)
            show_window(m_spin, message.wparam ? ShowCommand::ShowNoActivate : ShowCommand::Hide);
        return result;
    }
    case WM_ENABLE: {
        std::intptr_t result = previous(edit, message);
        if (m_spin)
            enable_window(m_spin, message.wparam != 0);
        return result;
    }
    case WM_DESTROY:
        if (m_spin) {
            WindowHandle spin = m_spin;
            m_spin = 0;
            destroy_window(spin);
        }
        return previous(edit, message);
    case WM_NCDESTROY: {
        std::intptr_t result = previous(edit, message);
        set_window_user_data(edit, 0);
        WindowId window = window_id();
        ControlId control = control_id();
        delete this;
        notify_unit_destroyed(window, control);
        return result;
    }
    default:
        if (is_reflected_colour_query(message))
            return answer_colour_query(message, m_block.text_colour, m_block.background_colour);
        return previous(edit, message);
    }
}

// ==== Properties =================================================================================

int EditBox::property_changed(int index, const PropertyData& data)
{
    using namespace EditBoxProperty;
    using namespace platform;
    WindowHandle edit = handle();
    auto recreate_if_changed = [](std::uint32_t& stored, std::uint32_t value) {
        if (stored == value)
            return 0;
        stored = value;
        return 1;
    };
    switch (index) {
    case Content:
        // The write raises exactly one change event, whether or not the text differs.
        m_block.content = text_of(data);
        m_setting_text = true;
        set_window_text(edit, m_block.content);
        m_setting_text = false;
        raise(EditBoxEvent::ContentChanged);
        return 0;
    case Border:
        m_block.border = choice_of(data, kHighestBorder);
        apply_border();
        return 0;
    case TextColour:
        m_block.text_colour = static_cast<std::uint32_t>(data.word1);
        invalidate(edit, std::nullopt, Erase::Yes);
        return 0;
    case BackgroundColour:
        m_block.background_colour = static_cast<std::uint32_t>(data.word1);
        redraw_window(edit, std::nullopt, RedrawFlag::Invalidate | RedrawFlag::Erase | RedrawFlag::Frame);
        return 0;
    case Font:
        m_block.font = font_of(data);
        apply_font();
        return 0;
    case HideSelection: {
        std::uint32_t value = data.word1 ? 1 : 0;
        if (m_block.hide_selection == value)
            return 0;
        m_block.hide_selection = value;
        return m_design_mode ? 0 : 1;
    }
    case MaximumLength:
        m_block.maximum_length = std::max(integer_of(data), 0);
        edit_set_text_limit(edit, m_block.maximum_length);
        return 0;
    case MultiLine:
        return recreate_if_changed(m_block.multi_line, data.word1 ? 1 : 0);
    case ScrollBars:
        return recreate_if_changed(m_block.scroll_bars, choice_of(data, kHighestScrollBars));
    case Alignment:
        return recreate_if_changed(m_block.alignment, choice_of(data, kHighestAlignment));
    case LetterCase:
        return recreate_if_changed(m_block.letter_case, choice_of(data, kHighestLetterCase));
    case SpinMode:
        return recreate_if_changed(m_block.spin_mode, choice_of(data, kHighestSpinMode));
    case InputMode:
        m_block.input_mode = choice_of(data, static_cast<std::int32_t>(EditInputMode::Highest));
        apply_password_character();
        edit_set_read_only(edit, m_block.input_mode == EditInputMode::ReadOnly);
        invalidate(edit, std::nullopt, Erase::Yes);
        return 0;
    case PasswordCharacter:
        m_block.password_character = stored_password_character(text_of(data));
        apply_password_character();
        return 0;
    case SpinLowerBound:
    case SpinUpperBound:
        (index == SpinLowerBound ? m_block.spin_lower_bound : m_block.spin_upper_bound) = integer_of(data);
        if (m_spin)
            updown_set_range(m_spin, std::min(m_block.spin_lower_bound, m_block.spin_upper_bound),
                             std::max(m_block.spin_lower_bound, m_block.spin_upper_bound));
        return 0;
    case SelectionStart:
    case SelectionLength: {
        std::int32_t value = integer_of(data);
        value = value == -1 ? -1 : std::max(value, 0);
        if (index == SelectionStart) {
            m_block.selection_start = value;
            // The length keeps what the control has now.
            TextRange current = edit_selection(edit);
            m_block.selection_length = current.end - current.start;
        } else {
            m_block.selection_start = edit_selection(edit).start;
            m_block.selection_length = value;
        }
        apply_selection();
        return 0;
    }
    case SelectedText:
        edit_replace_selection(edit, text_of(data));
        return 0;
    case DataSource:
        // Data binding has no sources in this program; the names are kept.
        m_block.data_source = text_of(data);
        return 0;
    case DataColumn:
        m_block.data_column = text_of(data);
        return 0;
    default:
        return 0;
    }
}

int EditBox::read_property(int index, PropertyData& data)
{
    using namespace EditBoxProperty;
    using namespace platform;
    bool live = !m_design_mode && is_window(handle());
    switch (index) {
    case Content:
        m_read_text = live ? window_text(handle()) : m_block.content;
        put_text(data, m_read_text);
        return 1;
    case Border:
        put_integer(data, m_block.border);
        return 1;
    case TextColour:
        put_integer(data, m_block.text_colour);
        return 1;
    case BackgroundColour:
        put_integer(data, m_block.background_colour);
        return 1;
    case Font:
        put_font(data, m_block.font);
        return 1;
    case HideSelection:
        put_integer(data, m_block.hide_selection ? 1 : 0);
        return 1;
    case MaximumLength:
        put_integer(data, static_cast<std::uint32_t>(m_block.maximum_length));
        return 1;
    case MultiLine:
        put_integer(data, m_block.multi_line ? 1 : 0);
        return 1;
    case ScrollBars:
        put_integer(data, m_block.scroll_bars);
        return 1;
    case Alignment:
        put_integer(data, m_block.alignment);
        return 1;
    case InputMode:
        put_integer(data, m_block.input_mode);
        return 1;
    case PasswordCharacter:
        m_read_text = password_text(m_block.password_character);
        put_text(data, m_read_text);
        return 1;
    case LetterCase:
        put_integer(data, m_block.letter_case);
        return 1;
    case SpinMode:
        put_integer(data, m_block.spin_mode);
        return 1;
    case SpinLowerBound:
        put_integer(data, static_cast<std::uint32_t>(m_block.spin_lower_bound));
        return 1;
    case SpinUpperBound:
        put_integer(data, static_cast<std::uint32_t>(m_block.spin_upper_bound));
        return 1;
    case SelectionStart:
        put_integer(data, static_cast<std::uint32_t>(live ? edit_selection(handle()).start : m_block.selection_start));
        return 1;
    case SelectionLength: {
        TextRange range = live ? edit_selection(handle()) : TextRange{0, m_block.selection_length};
        put_integer(data, static_cast<std::uint32_t>(range.end - range.start));
        return 1;
    }
    case SelectedText:
        m_read_text = live ? edit_selected_text(handle()) : std::string();
        put_text(data, m_read_text);
        return 1;
    case DataSource:
        put_text(data, m_block.data_source);
        return 1;
    case DataColumn:
        put_text(data, m_block.data_column);
        return 1;
    default:
        return 0;
    }
}

std::vector<std::uint8_t> EditBox::save_properties() const
{
    // Content and selection as the control has them now, so that a rebuilt control shows the same.
    form::EditBoxBlock block = m_block;
    if (!m_design_mode && platform::is_window(handle())) {
        block.content = platform::window_text(handle());
        platform::TextRange range = platform::edit_selection(handle());
        block.selection_start = range.start;
        block.selection_length = range.end - range.start;
    }
    return form::write_property_block(block);
}

int EditBox::wants_key(int key_code) const
{
    return key_code == platform::VK_RETURN && m_block.multi_line && m_block.input_mode != EditInputMode::ReadOnly ? 1
                                                                                                                  : 0;
}

}  // namespace runtime::components
