// The button kind.
//
//   Kind record ..... property table and interface function
//   Window .......... creation on "BUTTON", the picture, the font, the subclass procedure
//   Properties ...... write (in place or by re-creation), read, save

#include "runtime/components/button.h"

#include "platform/controls/button_control.h"
#include "platform/controls/window_subclass.h"
#include "platform/native_window.h"
#include "platform/system_colours.h"
#include "runtime/components/kind_support.h"
#include "runtime/components/notification_reflection.h"
#include "runtime/components/property_values.h"
#include "runtime/components/text_drawing.h"
#include "runtime/imaging/drawing.h"
#include "runtime/imaging/picture_decoder.h"

#include <array>

namespace runtime::components {

// ==== Kind record ================================================================================

namespace {

constexpr auto kButtonProperties = property_table<6>({{
                                                         TypeCode::Picture,  // 8 picture
                                                         TypeCode::Pick,     // 9 default button
                                                         TypeCode::Text,     // 10 caption
                                                         TypeCode::Pick,     // 11 horizontal alignment
                                                         TypeCode::Pick,     // 12 vertical alignment
                                                         TypeCode::Font,     // 13 font
                                                     }},
                                                     kCoreLibraryPropertyFlags);
static_assert(kButtonProperties.size() == 14);

int button_default_activation(Component* component)
{
    return static_cast<Button*>(component)->default_activation();
}

Operation button_interface(int number)
{
    if (number == Interface::DefaultActivation)
        return as_operation(&button_default_activation);
    return standard_operation<Button>(number);
}

constexpr std::uint32_t kHorizontalBits[] = {platform::BS_LEFT, platform::BS_CENTER, platform::BS_RIGHT};
constexpr std::uint32_t kVerticalBits[] = {platform::BS_TOP, platform::BS_VCENTER, platform::BS_BOTTOM};

}  // namespace

const KindRecord& button_kind()
{
    static const KindRecord record{
        "按钮",           "Button", 0x80000840, static_cast<int>(kButtonProperties.size()), kButtonProperties.data(),
        &button_interface};
    return record;
}

std::uint32_t button_style(const form::ButtonBlock& block)
{
    std::uint32_t style = platform::WS_CHILD | platform::WS_CLIPSIBLINGS | platform::BS_MULTILINE;
    if (block.default_button == 1)
        style |= platform::BS_DEFPUSHBUTTON;
    style |= kHorizontalBits[stored_choice(block.horizontal_alignment, kHighestAlignment)];
    style |= kVerticalBits[stored_choice(block.vertical_alignment, kHighestAlignment)];
    return style;
}

// ==== Window =====================================================================================

namespace {

std::intptr_t button_subclass_procedure(platform::WindowHandle handle, platform::Message& message,
                                        const platform::WindowProcedure& previous)
{
    auto* button = component_of_window<Button>(handle);
    if (!button)
        return previous(handle, message);
    switch (message.id) {
    case kReflectedCommand:
        if (platform::high_word(message.wparam) == platform::BN_CLICKED)
            button->activate();
        return 0;
    case platform::WM_SETFOCUS:
    case platform::WM_KILLFOCUS: {
        std::intptr_t result = previous(handle, message);
        handle_common_message(*button, message);
        return result;
    }
    case platform::WM_NCDESTROY: {
        std::intptr_t result = previous(handle, message);
        platform::set_window_user_data(handle, 0);
        WindowId window = button->window_id();
        ControlId control = button->control_id();
        delete button;
        notify_unit_destroyed(window, control);
        return result;
    }
    default:
        return previous(handle, message);
    }
}

}  // namespace

Button::Button(WindowId window, ControlId control, form::ButtonBlock block)
    : Component(window, control)
    , m_block(std::move(block))
{
}

Button::~Button() = default;

Component* Button::create(const CreateRequest& request)
{
    form::Result<form::ButtonBlock> block = form::read_property_block<form::ButtonBlock>(request.block);
    if (!block || !platform::register_button_class())
        return nullptr;
    auto button = std::make_unique<Button>(request.window, request.control, std::move(block).value());
    button->prepare_picture();
    platform::CreateParams params;
    params.class_name = platform::kButtonClassName;
    params.text = button->m_block.caption;
    params.style = request.style_bits | button_style(button->m_block);
    if (button->m_picture)
        params.style |= button->m_picture->icon ? platform::BS_ICON : platform::BS_BITMAP;
    params.x = request.left;
    params.y = request.top;
    params.width = request.width;
    params.height = request.height;
    params.parent = request.parent;
    params.id = request.child_id;
    platform::WindowHandle handle = platform::create_window(params);
    if (!handle)
        return nullptr;
    button->set_handle(handle);
    platform::subclass_window(handle, &button_subclass_procedure);
    if (button->m_picture && button->m_picture->icon)
        platform::send_message(handle, platform::BM_SETIMAGE, platform::ButtonImage::Icon,
                               reinterpret_cast<std::intptr_t>(button->m_picture->icon.get()));
    else if (button->m_bitmap)
        platform::send_message(handle, platform::BM_SETIMAGE, platform::ButtonImage::Bitmap,
                               reinterpret_cast<std::intptr_t>(button->m_bitmap.get()));
    button->apply_font();
    platform::set_window_user_data(handle, reinterpret_cast<std::intptr_t>(button.get()));
    return button.release();
}

void Button::prepare_picture()
{
    m_picture.reset();
    m_bitmap.reset();
    if (m_block.picture.empty())
        return;
    imaging::DecodeResult<imaging::DecodedPicture> decoded = imaging::decode_picture(m_block.picture);
    if (decoded && decoded->icon) {
        m_picture = std::move(decoded.value());
        return;
    }
    if (decoded) {
        // Transparent parts of the picture show the button face.
        m_bitmap = imaging::picture_bitmap(*decoded, platform::system_colour(platform::SystemColour::ButtonFace));
        if (m_bitmap) {
            m_picture = std::move(decoded.value());
            return;
        }
    }
    // A picture that cannot be shown is dropped; the caption shows instead.
    m_block.picture.clear();
}

void Button::apply_font()
{
    const platform::LogFont* font = m_block.font ? &*m_block.font : nullptr;
    platform::send_message(handle(), platform::WM_SETFONT, reinterpret_cast<std::uintptr_t>(font), 1);
}

void Button::replace_style_bits(std::uint32_t mask, std::uint32_t bits)
{
    std::uint32_t style = platform::window_style(handle());
    platform::set_window_style(handle(), (style & ~mask) | bits);
    platform::invalidate(handle(), std::nullopt, platform::Erase::Yes);
}

int Button::default_activation() const
{
    return (platform::window_style(handle()) & platform::BS_TYPEMASK) == platform::BS_DEFPUSHBUTTON ? 1 : 0;
}

bool Button::activate()
{
    EventRecord record = event_of(*this, 0);
    return raise_event(record);
}

bool activate_button(Component* component)
{
    auto* button = dynamic_cast<Button*>(component);
    return button && button->activate();
}

// ==== Properties =================================================================================

int Button::property_changed(int index, const PropertyData& data)
{
    using namespace ButtonProperty;
    switch (index) {
    case Picture:
        // The picture is prepared only when the native control is made.
        m_block.picture = bytes_of(data);
        return 1;
    case DefaultButton:
        m_block.default_button = choice_of(data, 1);
        replace_style_bits(platform::BS_TYPEMASK,
                           m_block.default_button == 1 ? platform::BS_DEFPUSHBUTTON : platform::BS_PUSHBUTTON);
        return 0;
    case Caption:
        m_block.caption = text_of(data);
        platform::set_window_text(handle(), m_block.caption);
        return 0;
    case HorizontalAlignment:
        m_block.horizontal_alignment = choice_of(data, kHighestAlignment);
        replace_style_bits(platform::BS_HORIZONTAL_MASK, kHorizontalBits[m_block.horizontal_alignment]);
        return 0;
    case VerticalAlignment:
        m_block.vertical_alignment = choice_of(data, kHighestAlignment);
        replace_style_bits(platform::BS_VERTICAL_MASK, kVerticalBits[m_block.vertical_alignment]);
        return 0;
    case Font:
        m_block.font = font_of(data);
        apply_font();
        return 0;
    default:
        return 0;
    }
}

int Button::read_property(int index, PropertyData& data)
{
    using namespace ButtonProperty;
    switch (index) {
    case Picture:
        put_bytes(data, m_block.picture);
        return 1;
    case DefaultButton:
        put_integer(data, m_block.default_button);
        return 1;
    case Caption:
        put_text(data, m_block.caption);
        return 1;
    case HorizontalAlignment:
        put_integer(data, m_block.horizontal_alignment);
        return 1;
    case VerticalAlignment:
        put_integer(data, m_block.vertical_alignment);
        return 1;
    case Font:
        put_font(data, m_block.font);
        return 1;
    default:
        return 0;
    }
}

std::vector<std::uint8_t> Button::save_properties() const
{
    return form::write_property_block(m_block);
}

}  // namespace runtime::components
