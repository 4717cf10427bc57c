// The group box kind.
//
//   Kind record ..... property table and interface function
//   Window .......... creation on "BUTTON", the subclass procedure (erasing, colours, reflection)
//   Properties ...... write, read, save

#include "runtime/components/group_box.h"

#include "platform/controls/button_control.h"
#include "platform/controls/window_subclass.h"
#include "platform/native_window.h"
#include "runtime/components/kind_support.h"
#include "runtime/components/notification_reflection.h"
#include "runtime/components/property_values.h"
#include "runtime/components/text_drawing.h"

#include <array>

namespace runtime::components {

// ==== Kind record ================================================================================

namespace {

constexpr auto kGroupBoxProperties = property_table<5>({{
                                                           TypeCode::Text,              // 8 caption
                                                           TypeCode::Pick,              // 9 title alignment
                                                           TypeCode::Colour,            // 10 text colour
                                                           TypeCode::BackgroundColour,  // 11 background colour
                                                           TypeCode::Font,              // 12 font
                                                       }},
                                                       kCoreLibraryPropertyFlags);
static_assert(kGroupBoxProperties.size() == 13);

Operation group_box_interface(int number)
{
    return standard_operation<GroupBox>(number);
}

constexpr std::uint32_t kTitleBits[] = {platform::BS_LEFT, platform::BS_CENTER, platform::BS_RIGHT};

}  // namespace

const KindRecord& group_box_kind()
{
    static const KindRecord record{"分组框",
                                   "GroupBox",
                                   0x840140C0,
                                   static_cast<int>(kGroupBoxProperties.size()),
                                   kGroupBoxProperties.data(),
                                   &group_box_interface};
    return record;
}

// ==== Window =====================================================================================

namespace {

std::intptr_t group_box_subclass_procedure(platform::WindowHandle handle, platform::Message& message,
                                           const platform::WindowProcedure& previous)
{
    auto* group = component_of_window<GroupBox>(handle);
    if (!group)
        return previous(handle, message);
    switch (message.id) {
    case platform::WM_ERASEBKGND: {
        auto* context = reinterpret_cast<platform::DeviceContext*>(message.wparam);
        if (!context)
            return 0;
        context->fill_rect(platform::client_rect(handle), group->brush_colour());
        return 1;
    }
    // Its own colour query, passed back by its parent.
    case kReflectedControlColourStatic:
    case kReflectedControlColourButton: {
        auto* colours = reinterpret_cast<platform::ControlColours*>(message.wparam);
        if (!colours)
            return 0;
        colours->text = group->block().text_colour & 0xFFFFFF;
        colours->text_background = group->brush_colour();
        colours->brush = group->brush_colour();
        return 1;
    }
    case platform::WM_NCDESTROY: {
        std::intptr_t result = previous(handle, message);
        platform::set_window_user_data(handle, 0);
        WindowId window = group->window_id();
        ControlId control = group->control_id();
        delete group;
        notify_unit_destroyed(window, control);
        return result;
    }
    default:
        // Notifications and colour queries of the controls inside go back to them.
        if (std::optional<std::intptr_t> answer = reflect_to_child(handle, message))
            return *answer;
        return previous(handle, message);
    }
}

}  // namespace

GroupBox::GroupBox(WindowId window, ControlId control, form::GroupBoxBlock block)
    : Component(window, control)
    , m_block(std::move(block))
{
    remake_brush();
}

Component* GroupBox::create(const CreateRequest& request)
{
    form::Result<form::GroupBoxBlock> block = form::read_property_block<form::GroupBoxBlock>(request.block);
    if (!block || !platform::register_button_class())
        return nullptr;
    auto group = std::make_unique<GroupBox>(request.window, request.control, std::move(block).value());
    platform::CreateParams params;
    params.class_name = platform::kButtonClassName;
    params.text = group->m_block.caption;
    params.style = request.style_bits | platform::WS_CHILD | platform::WS_CLIPSIBLINGS | platform::BS_GROUPBOX |
                   kTitleBits[stored_choice(group->m_block.title_alignment, kHighestAlignment)];
    params.x = request.left;
    params.y = request.top;
    params.width = request.width;
    params.height = request.height;
    params.parent = request.parent;
    params.id = request.child_id;
    platform::WindowHandle handle = platform::create_window(params);
    if (!handle)
        return nullptr;
    group->set_handle(handle);
    platform::subclass_window(handle, &group_box_subclass_procedure);
    platform::set_window_user_data(handle, reinterpret_cast<std::intptr_t>(group.get()));
    group->apply_font();
    return group.release();
}

void GroupBox::remake_brush()
{
    m_brush = resolve_background_colour(m_block.background_colour);
}

void GroupBox::apply_font()
{
    const platform::LogFont* font = m_block.font ? &*m_block.font : nullptr;
    platform::send_message(handle(), platform::WM_SETFONT, reinterpret_cast<std::uintptr_t>(font), 1);
}

// ==== Properties =================================================================================

int GroupBox::property_changed(int index, const PropertyData& data)
{
    using namespace GroupBoxProperty;
    switch (index) {
    case Caption:
        m_block.caption = text_of(data);
        platform::set_window_text(handle(), m_block.caption);
        break;
    case TitleAlignment: {
        m_block.title_alignment = choice_of(data, kHighestAlignment);
        std::uint32_t style = platform::window_style(handle()) & ~platform::BS_HORIZONTAL_MASK;
        platform::set_window_style(handle(), style | kTitleBits[m_block.title_alignment]);
        platform::invalidate(handle(), std::nullopt, platform::Erase::Yes);
        break;
    }
    case TextColour:
        m_block.text_colour = integer_of(data);
        platform::invalidate(handle(), std::nullopt, platform::Erase::Yes);
        break;
    case BackgroundColour:
        m_block.background_colour = integer_of(data);
        remake_brush();
        platform::invalidate(handle(), std::nullopt, platform::Erase::Yes);
        break;
    case Font:
        m_block.font = font_of(data);
        apply_font();
        break;
    default:
        break;
    }
    return 0;
}

int GroupBox::read_property(int index, PropertyData& data)
{
    using namespace GroupBoxProperty;
    switch (index) {
    case Caption:
        put_text(data, m_block.caption);
        return 1;
    case TitleAlignment:
        put_integer(data, m_block.title_alignment);
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
    default:
        return 0;
    }
}

std::vector<std::uint8_t> GroupBox::save_properties() const
{
    return form::write_property_block(m_block);
}

}  // namespace runtime::components
