// The combo box kind.
//
//   Kind record ..... property table and interface function
//   Window .......... creation on "COMBOBOX", items, the subclass procedure
//   Properties ...... write (in place or by re-creation), read, save

#include "runtime/components/combo_box.h"

#include "platform/controls/combo_control.h"
#include "platform/controls/window_subclass.h"
#include "platform/message_loop.h"
#include "platform/native_window.h"
#include "runtime/components/control_colours.h"
#include "runtime/components/kind_support.h"
#include "runtime/components/notification_reflection.h"
#include "runtime/components/property_values.h"
#include "runtime/form/byte_reader.h"
#include "runtime/form/byte_writer.h"

#include <algorithm>
#include <array>
#include <memory>

namespace runtime::components {

// ==== Kind record ================================================================================

namespace {

constexpr auto kComboBoxProperties = property_table<17>({{
                                                            TypeCode::Pick,              // 8 style
                                                            TypeCode::Text,              // 9 content
                                                            TypeCode::Number,            // 10 maximum length
                                                            TypeCode::Number,            // 11 selection start
                                                            TypeCode::Number,            // 12 selection length
                                                            TypeCode::Text,              // 13 selected text
                                                            TypeCode::Logical,           // 14 sorted
                                                            TypeCode::Number,            // 15 extra item height
                                                            TypeCode::Colour,            // 16 text colour
                                                            TypeCode::BackgroundColour,  // 17 background colour
                                                            TypeCode::Font,              // 18 font
                                                            TypeCode::Number,            // 19 current selection
                                                            TypeCode::CustomData1024,    // 20 items
                                                            TypeCode::CustomData1024,    // 21 item data
                                                            TypeCode::DataSource,        // 22 data source
                                                            TypeCode::DataColumn,        // 23 data column
                                                            TypeCode::Logical,           // 24 binding option
                                                        }},
                                                        kCoreLibraryPropertyFlags);
static_assert(kComboBoxProperties.size() == 25);

constexpr std::int32_t kHighestStyle = 2;
constexpr std::int32_t kMaximumTextLimit = 32767;
constexpr std::uint32_t kWhite = 0xFFFFFF;

Operation combo_box_interface(int number)
{
    return standard_operation<ComboBox>(number);
}

std::uint32_t item_data_at(const form::Bytes& data, std::size_t index)
{
    std::size_t at = index * 4;
    return static_cast<std::uint32_t>(data[at]) | static_cast<std::uint32_t>(data[at + 1]) << 8 |
           static_cast<std::uint32_t>(data[at + 2]) << 16 | static_cast<std::uint32_t>(data[at + 3]) << 24;
}

}  // namespace

const KindRecord& combo_box_kind()
{
    static const KindRecord record{"组合框",
                                   "ComboBox",
                                   0x80000240,
                                   static_cast<int>(kComboBoxProperties.size()),
                                   kComboBoxProperties.data(),
                                   &combo_box_interface};
    return record;
}

std::uint32_t combo_box_style(const form::ComboBoxBlock& block)
{
    using namespace platform;
    static constexpr std::uint32_t kTypes[] = {ComboStyle::Simple, ComboStyle::DropDown, ComboStyle::DropDownList};
    std::uint32_t style = WS_CHILD | WS_CLIPSIBLINGS | WS_VSCROLL | ComboStyle::AutoHorizontalScroll;
    style |= kTypes[stored_choice(block.style, kHighestStyle)];
    if (block.sorted)
        style |= ComboStyle::Sort;
    return style;
}

// ==== Window =====================================================================================

ComboBox::ComboBox(WindowId window, ControlId control, form::ComboBoxBlock block, bool design_mode)
    : Component(window, control)
    , m_block(std::move(block))
    , m_design_mode(design_mode)
{
}

ComboBox::~ComboBox() = default;

Component* ComboBox::create(const CreateRequest& request)
{
    form::Result<form::ComboBoxBlock> block = form::read_property_block<form::ComboBoxBlock>(request.block);
    if (!block)
        return nullptr;
    platform::register_combo_class();
    auto combo_box =
        std::make_unique<ComboBox>(request.window, request.control, std::move(block).value(), request.design_mode);
    form::ComboBoxBlock& stored = combo_box->m_block;
    stored.style = stored_choice(stored.style, kHighestStyle);

    platform::CreateParams params;
    params.class_name = platform::kComboClassName;
    params.style = request.style_bits | combo_box_style(stored);
    params.x = request.left;
    params.y = request.top;
    params.width = request.width;
    params.height = request.height;
    params.parent = request.parent;
    params.id = request.child_id;
    platform::WindowHandle handle = platform::create_window(params);
    if (!handle)
        return nullptr;
    combo_box->set_handle(handle);
    platform::set_window_user_data(handle, reinterpret_cast<std::intptr_t>(combo_box.get()));
    platform::subclass_window(handle, &forward_to_component<ComboBox>);

    // The control keeps the height it was given; the dropped list gets the room a window of at least
    // 160 pixels would leave it.
    if (stored.style != ComboBoxStyle::Simple)
        platform::combo_set_drop_down_height(handle, std::max(request.height, kComboDropDownHeight));
    send_control_font(handle, stored.font);
    platform::combo_set_item_height(handle, platform::combo_item_height(handle) + stored.extra_item_height);
    platform::combo_set_text_limit(handle, std::clamp(stored.maximum_length, 0, kMaximumTextLimit));
    combo_box->fill_items();
    if (combo_box->has_edit()) {
        platform::set_window_text(handle, stored.content);
        combo_box->apply_edit_selection();
    }
    return combo_box.release();
}

void ComboBox::fill_items()
{
    platform::WindowHandle combo = handle();
    std::size_t data_count = m_block.item_data.size() / 4;
    for (std::size_t i = 0; i < m_block.items.size(); ++i) {
        int index = platform::combo_add_item(combo, m_block.items[i]);
        if (index >= 0 && i < data_count)
            platform::combo_set_item_data(combo, index, item_data_at(m_block.item_data, i));
    }
    int count = platform::combo_item_count(combo);
    m_block.current_selection = std::clamp(m_block.current_selection, -1, count - 1);
    platform::combo_set_current_selection(combo, m_block.current_selection);
}

void ComboBox::apply_edit_selection()
{
    int start = std::max(m_block.selection_start, 0);
    int length = std::max(m_block.selection_length, 0);
    platform::combo_set_edit_selection(handle(), start, start + length);
}

void ComboBox::raise(std::int32_t event)
{
    EventRecord record = event_of(*this, event);
    raise_event(record);
}

std::intptr_t ComboBox::handle_message(platform::Message& message, const platform::WindowProcedure& previous)
{
    using namespace platform;
    WindowHandle combo = handle();
    switch (message.id) {
    case kReflectedCommand:
        switch (high_word(message.wparam)) {
        case ComboNotification::SelectionEndOk:
            // The control is still finishing the choice; the event runs once it is done.
            post_message(combo, kComboItemSelectedMessage);
            break;
        case ComboNotification::EditChange:
            raise(ComboBoxEvent::EditTextChanged);
            break;
        case ComboNotification::DropDown:
            raise(ComboBoxEvent::DroppingDown);
            break;
        case ComboNotification::CloseUp:
            raise(ComboBoxEvent::ClosedUp);
            break;
        case ComboNotification::DoubleClick:
            raise(ComboBoxEvent::DoubleClick);
            break;
        default:
            break;
        }
        return 0;
    case kComboItemSelectedMessage:
        raise(ComboBoxEvent::ItemSelected);
        return 0;
    case WM_SETFOCUS:
    case WM_KILLFOCUS: {
        std::intptr_t result = previous(combo, message);
        handle_common_message(*this, message);
        return result;
    }
    case WM_NCDESTROY: {
        std::intptr_t result = previous(combo, message);
        set_window_user_data(combo, 0);
        WindowId window = window_id();
        ControlId control = control_id();
        delete this;
        notify_unit_destroyed(window, control);
        return result;
    }
    default:
        if (is_reflected_colour_query(message))
            return answer_colour_query(message, m_block.text_colour, m_block.background_colour);
        return previous(combo, message);
    }
}

// ==== Properties =================================================================================

int ComboBox::property_changed(int index, const PropertyData& data)
{
    using namespace ComboBoxProperty;
    using namespace platform;
    WindowHandle combo = handle();
    switch (index) {
    case Style: {
        std::uint32_t style = choice_of(data, kHighestStyle);
        if (style == m_block.style)
            return 0;
        // A field that drops a list is white by default, a simple box takes the button face.
        if (style != ComboBoxStyle::Simple && m_block.background_colour == kDefaultColour)
            m_block.background_colour = kWhite;
        else if (style == ComboBoxStyle::Simple && m_block.background_colour == kWhite)
            m_block.background_colour = kDefaultColour;
        m_block.style = style;
        return 1;
    }
    case Content:
        m_block.content = text_of(data);
        if (has_edit())
            set_window_text(combo, m_block.content);
        return 0;
    case MaximumLength:
        m_block.maximum_length = std::clamp(integer_of(data), 0, kMaximumTextLimit);
        if (has_edit())
            combo_set_text_limit(combo, m_block.maximum_length);
        return 0;
    case SelectionStart:
    case SelectionLength:
        (index == SelectionStart ? m_block.selection_start : m_block.selection_length) = std::max(integer_of(data), 0);
        apply_edit_selection();
        return 0;
    case Sorted: {
        std::uint32_t sorted = data.word1 ? 1 : 0;
        if (sorted == m_block.sorted)
            return 0;
        // The order of the list is the control's style: a live list cannot change it.
        m_block.sorted = sorted;
        return 1;
    }
    case ExtraItemHeight: {
        std::int32_t extra = integer_of(data);
        combo_set_item_height(combo, combo_item_height(combo) + extra - m_block.extra_item_height);
        m_block.extra_item_height = extra;
        return 0;
    }
    case TextColour:
        m_block.text_colour = static_cast<std::uint32_t>(data.word1);
        invalidate(combo, std::nullopt, Erase::Yes);
        return 0;
    case BackgroundColour:
        m_block.background_colour = static_cast<std::uint32_t>(data.word1);
        redraw_window(combo, std::nullopt, RedrawFlag::Invalidate | RedrawFlag::Erase | RedrawFlag::Frame);
        return 0;
    case Font:
        m_block.font = font_of(data);
        send_control_font(combo, m_block.font);
        return 0;
    case CurrentSelection: {
        int last = combo_item_count(combo) - 1;
        int selection = integer_of(data);
        if (selection > last)
            selection = last;
        if (selection < -1)
            selection = -1;
        m_block.current_selection = selection;
        combo_set_current_selection(combo, selection);
        return 0;
    }
    case Items: {
        form::Bytes bytes = bytes_of(data);
        form::ByteReader in(bytes);
        std::vector<std::string> items = bytes.empty() ? std::vector<std::string>() : in.text_list();
        // A list that does not read is no list (the control is rebuilt empty) rather than a part of one.
        m_block.items = in.failed() ? std::vector<std::string>() : std::move(items);
        return 1;
    }
    case ItemData:
        m_block.item_data = bytes_of(data);
        return 1;
    case DataSource:
        // Data binding has no sources in this program; the settings are kept.
        m_block.data_source = text_of(data);
        return 0;
    case DataColumn:
        m_block.data_column = text_of(data);
        return 0;
    case BindingOption:
        m_block.binding_option = data.word1 ? 1 : 0;
        return 0;
    default:
        return 0;
    }
}

int ComboBox::read_property(int index, PropertyData& data)
{
    using namespace ComboBoxProperty;
    using namespace platform;
    WindowHandle combo = handle();
    bool live = !m_design_mode && is_window(combo);
    switch (index) {
    case Style:
        put_integer(data, m_block.style);
        return 1;
    case Content:
        m_read_text = live ? window_text(combo) : m_block.content;
        put_text(data, m_read_text);
        return 1;
    case MaximumLength:
        put_integer(data, static_cast<std::uint32_t>(m_block.maximum_length));
        return 1;
    case SelectionStart:
        put_integer(data, static_cast<std::uint32_t>(live ? combo_edit_selection(combo).start : 0));
        return 1;
    case SelectionLength: {
        TextRange range = live ? combo_edit_selection(combo) : TextRange{};
        put_integer(data, static_cast<std::uint32_t>(range.end - range.start));
        return 1;
    }
    case SelectedText:
        m_read_text = live ? combo_edit_selected_text(combo) : std::string();
        put_text(data, m_read_text);
        return 1;
    case Sorted:
        put_integer(data, m_block.sorted ? 1 : 0);
        return 1;
    case ExtraItemHeight:
        put_integer(data, static_cast<std::uint32_t>(m_block.extra_item_height));
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
    case CurrentSelection:
        put_integer(data,
                    static_cast<std::uint32_t>(live ? combo_current_selection(combo) : m_block.current_selection));
        return 1;
    case Items: {
        form::ByteWriter out;
        out.text_list(m_block.items);
        m_read_bytes = out.take();
        put_bytes(data, m_read_bytes);
        return 1;
    }
    case ItemData:
        put_bytes(data, m_block.item_data);
        return 1;
    case DataSource:
        put_text(data, m_block.data_source);
        return 1;
    case DataColumn:
        put_text(data, m_block.data_column);
        return 1;
    case BindingOption:
        put_integer(data, m_block.binding_option ? 1 : 0);
        return 1;
    default:
        return 0;
    }
}

std::vector<std::uint8_t> ComboBox::save_properties() const
{
    // Content and selections as the control has them now, so that a rebuilt control shows the same.
    form::ComboBoxBlock block = m_block;
    if (!m_design_mode && platform::is_window(handle())) {
        block.current_selection = platform::combo_current_selection(handle());
        if (has_edit()) {
            block.content = platform::window_text(handle());
            platform::TextRange range = platform::combo_edit_selection(handle());
            block.selection_start = range.start;
            block.selection_length = range.end - range.start;
        }
    }
    return form::write_property_block(block);
}

}  // namespace runtime::components
