// The window kind.
//
//   Property table and kind record
//   Frame styles and placement
//   Window procedure
//   Background
//   Properties
//   Unit lookup by native window

#include "runtime/components/window_kind.h"

#include "platform/native_window.h"
#include "platform/system_colours.h"
#include "runtime/components/kind_support.h"
#include "runtime/components/label.h"
#include "runtime/components/notification_reflection.h"
#include "runtime/components/property_values.h"
#include "runtime/form/blocks/block_stream.h"
#include "runtime/imaging/drawing.h"
#include "runtime/imaging/picture_decoder.h"
#include "runtime/windows/window_loading.h"
#include "runtime/windows/window_system.h"
#include "runtime/windows/window_table.h"

#include <algorithm>
#include <cstring>

namespace runtime::components {
namespace {

// ---- Property table and kind record ------------------------------------------------------------

constexpr std::uint16_t kCommonFlags = 0xE000;
constexpr std::uint16_t kCoreFlags = 0x8000;

constexpr PropertyEntry kWindowProperties[kWindowPropertyCount] = {
    {TypeCode::Number, kCommonFlags},          // 0 left
    {TypeCode::Number, kCommonFlags},          // 1 top
    {TypeCode::Number, kCommonFlags},          // 2 width
    {TypeCode::Number, kCommonFlags},          // 3 height
    {TypeCode::Text, kCommonFlags},            // 4 tag
    {TypeCode::Logical, kCommonFlags},         // 5 visible
    {TypeCode::Logical, kCommonFlags},         // 6 disabled
    {TypeCode::MousePointer, kCommonFlags},    // 7 mouse pointer
    {TypeCode::Text, kCoreFlags},              // 8 caption
    {TypeCode::Pick, kCoreFlags},              // 9 border style
    {TypeCode::BackgroundColour, kCoreFlags},  // 10 background colour
    {TypeCode::Picture, kCoreFlags},           // 11 picture
    {TypeCode::Pick, kCoreFlags},              // 12 picture layout
    {TypeCode::Sound, kCoreFlags},             // 13 sound
    {TypeCode::Pick, kCoreFlags},              // 14 sound play mode
    {TypeCode::Logical, kCoreFlags},           // 15 control box
    {TypeCode::Logical, kCoreFlags},           // 16 maximize box
    {TypeCode::Logical, kCoreFlags},           // 17 minimize box
    {TypeCode::Pick, kCoreFlags},              // 18 placement
    {TypeCode::Logical, kCoreFlags},           // 19 closable
    {TypeCode::Icon, kCoreFlags},              // 20 icon
    {TypeCode::Number, kCoreFlags},            // 21
    {TypeCode::Number, kCoreFlags},            // 22
    {TypeCode::Number, kCoreFlags},            // 23
    {TypeCode::FileName, kCoreFlags},          // 24
    {TypeCode::Number, kCoreFlags},            // 25
    {TypeCode::Logical, kCoreFlags},           // 26 shown in the task bar
    {TypeCode::Number, kCoreFlags},            // 27
    {TypeCode::Pick, kCoreFlags},              // 28
    {TypeCode::Logical, kCoreFlags},           // 29 always on top
    {TypeCode::Number, kCoreFlags},            // 30
    {TypeCode::Text, kCoreFlags},              // 31 window class name
};

// Own property indices (property index minus 8).
namespace Own {
constexpr int Caption = 0;
constexpr int BorderStyle = 1;
constexpr int BackgroundColour = 2;
constexpr int Picture = 3;
constexpr int PictureLayout = 4;
constexpr int Sound = 5;
constexpr int SoundPlayMode = 6;
constexpr int ControlBox = 7;
constexpr int MaximizeBox = 8;
constexpr int MinimizeBox = 9;
constexpr int Placement = 10;
constexpr int Closable = 11;
constexpr int Icon = 12;
constexpr int Property21 = 13;
constexpr int Property22 = 14;
constexpr int Property23 = 15;
constexpr int FileName = 16;
constexpr int Property25 = 17;
constexpr int ShownInTaskBar = 18;
constexpr int Property27 = 19;
constexpr int Property28 = 20;
constexpr int AlwaysOnTop = 21;
constexpr int Property30 = 22;
constexpr int WindowClassName = 23;
}  // namespace Own

namespace Placement {
constexpr std::uint32_t Stored = 0;
constexpr std::uint32_t Centred = 1;
constexpr std::uint32_t Minimized = 2;
constexpr std::uint32_t Maximized = 3;
}  // namespace Placement

WindowObject* object_of(platform::WindowHandle handle)
{
    return reinterpret_cast<WindowObject*>(platform::window_user_data(handle));
}

std::intptr_t window_procedure(platform::WindowHandle handle, platform::Message& message)
{
    if (message.id == platform::WM_CREATE) {
        const auto* params = reinterpret_cast<const platform::CreateParams*>(message.lparam);
        auto* object = reinterpret_cast<WindowObject*>(params->create_data);
        platform::set_window_user_data(handle, reinterpret_cast<std::intptr_t>(object));
        object->attach(handle);
        return 0;
    }
    WindowObject* object = object_of(handle);
    if (!object)
        return platform::default_window_procedure(handle, message);
    return object->procedure(handle, message);
}

void register_window_class_once(const std::string& name)
{
    register_kind_class(name, platform::CS_DBLCLKS, window_procedure);
}

Component* create_window_object(const CreateRequest& request)
{
    auto block = form::read_property_block<form::WindowBlock>(request.block);
    if (!block)
        return nullptr;
    auto* object = new WindowObject(request.window, request.control, std::move(block).value());
    const form::WindowBlock& stored = object->block();

    std::string class_name = stored.window_class_name.empty() ? kPlainWindowClass : stored.window_class_name;
    register_window_class_once(class_name);

    WindowObject::FrameStyles styles = WindowObject::frame_styles(stored);
    platform::CreateParams params;
    params.class_name = class_name;
    params.text = stored.caption;
    // The tab-stop bit means the maximize box on a top-level window; only "disabled" applies here.
    params.style = styles.style | (request.style_bits & platform::WS_DISABLED);
    params.ex_style = styles.ex_style;
    params.x = request.left;
    params.y = request.top;
    params.width = request.width;
    params.height = request.height;
    params.owner = request.parent;
    if (!params.owner && header_format_version() != 0 && (request.modal || stored.shown_in_task_bar == 0))
        params.owner = hidden_owner_window();
    params.create_data = reinterpret_cast<std::intptr_t>(object);

    platform::WindowHandle handle = platform::create_window(params);
    if (!handle) {
        delete object;
        return nullptr;
    }
    if (stored.placement == Placement::Centred)
        platform::centre_window_on_screen(handle);
    if (stored.always_on_top)
        platform::set_window_pos(handle, platform::kInsertTopmost, 0, 0, 0, 0,
                                 platform::WindowPosFlag::NoMove | platform::WindowPosFlag::NoSize |
                                     platform::WindowPosFlag::NoActivate);
    // Without icon data the window shows the program's default icon, which run_program hands to the
    // platform. FIXME: stored icon data (property 20) is kept but not yet made into the window's own
    // icon; such a window shows the default icon too.
    return object;
}

int window_property_changed(Component* component, int index, const PropertyData& data)
{
    return static_cast<WindowObject*>(component)->property_changed(index, data);
}

int window_read_property(Component* component, int index, PropertyData& data)
{
    return static_cast<WindowObject*>(component)->read_property(index, data);
}

std::optional<std::vector<std::uint8_t>> window_save_properties(Component* component)
{
    return form::write_property_block(static_cast<WindowObject*>(component)->block());
}

Operation window_interface(int number)
{
    switch (number) {
    case Interface::Create:
        return as_operation(&create_window_object);
    case Interface::PropertyChanged:
        return as_operation(&window_property_changed);
    case Interface::SaveProperties:
        return as_operation(&window_save_properties);
    case Interface::ReadProperty:
        return as_operation(&window_read_property);
    default:
        return nullptr;
    }
}

const KindRecord kWindowKind = {
    "窗口", "window", kWindowKindFlags, kWindowPropertyCount, kWindowProperties, window_interface,
};

std::uint32_t clamp_pick(const PropertyData& data, std::uint32_t highest)
{
    auto value = static_cast<std::int32_t>(data.word1);
    if (value < 0)
        return 0;
    return std::min(static_cast<std::uint32_t>(value), highest);
}

std::uint32_t logical(const PropertyData& data)
{
    return static_cast<std::int32_t>(data.word1) != 0 ? 1 : 0;
}

}  // namespace

const KindRecord& window_kind_record()
{
    return kWindowKind;
}

// ---- Frame styles and placement ----------------------------------------------------------------

WindowObject::WindowObject(WindowId window, ControlId control, form::WindowBlock block)
    : Component(window, control)
    , m_block(std::move(block))
{
}

WindowObject::FrameStyles WindowObject::frame_styles(const form::WindowBlock& block)
{
    using namespace platform;
    FrameStyles styles;
    styles.style = WS_CLIPCHILDREN;
    switch (block.border_style) {
    case 0:
        styles.style |= WS_POPUP;
        return styles;
    case 1:
        styles.style |= WS_THICKFRAME;
        break;
    case 3:
        styles.style |= WS_THICKFRAME;
        styles.ex_style |= WS_EX_TOOLWINDOW;
        break;
    case 4:
        styles.style |= WS_DLGFRAME;
        styles.ex_style |= WS_EX_TOOLWINDOW;
        break;
    case 5:
        styles.style |= WS_THICKFRAME;
        styles.ex_style |= WS_EX_CLIENTEDGE;
        break;
    case 6:
        styles.style |= WS_BORDER;
        styles.ex_style |= WS_EX_CLIENTEDGE;
        break;
    case 2:
    default:
        styles.style |= WS_DLGFRAME;
        styles.ex_style |= WS_EX_DLGMODALFRAME;
        break;
    }
    if (!block.caption.empty() || block.control_box)
        styles.style |= WS_CAPTION;
    if (block.control_box)
        styles.style |= WS_SYSMENU;
    if (block.minimize_box)
        styles.style |= WS_MINIMIZEBOX;
    if (block.maximize_box)
        styles.style |= WS_MAXIMIZEBOX;
    return styles;
}

void WindowObject::apply_frame_styles()
{
    FrameStyles styles = frame_styles(m_block);
    std::uint32_t kept = platform::window_style(handle()) &
                         (platform::WS_VISIBLE | platform::WS_DISABLED | platform::WS_MINIMIZE | platform::WS_MAXIMIZE);
    platform::set_window_style(handle(), styles.style | kept);
    std::uint32_t topmost = platform::window_ex_style(handle()) & platform::WS_EX_TOPMOST;
    platform::set_window_ex_style(handle(), styles.ex_style | topmost);
}

void WindowObject::show()
{
    platform::ShowCommand command = platform::ShowCommand::Normal;
    if (header_format_version() != 0) {
        if (m_block.placement == Placement::Maximized)
            command = platform::ShowCommand::Maximized;
        else if (m_block.placement == Placement::Minimized)
            command = platform::ShowCommand::Minimized;
    }
    platform::show_window(handle(), command);
    platform::WindowHandle focus = platform::focus_window();
    if (!focus)
        return;
    if (std::optional<ControlId> unit = unit_of_native_window(window_id(), focus)) {
        EventRecord record{window_id(), *unit, CommonEvent::GotFocus};
        raise_event(record);
    }
}

void WindowObject::apply_placement()
{
    if (!platform::is_visible(handle()))
        return;
    switch (m_block.placement) {
    case Placement::Stored:
        platform::show_window(handle(), platform::ShowCommand::Normal);
        break;
    case Placement::Centred:
        if (platform::is_minimized(handle()) || platform::is_maximized(handle()))
            platform::show_window(handle(), platform::ShowCommand::Restore);
        platform::centre_window_on_screen(handle());
        break;
    case Placement::Minimized:
        platform::show_window(handle(), platform::ShowCommand::Minimize);
        break;
    case Placement::Maximized:
        platform::show_window(handle(), platform::ShowCommand::Maximized);
        break;
    }
}

void WindowObject::apply_always_on_top()
{
    using namespace platform;
    constexpr std::uint32_t kKeepPlace = WindowPosFlag::NoMove | WindowPosFlag::NoSize | WindowPosFlag::NoActivate;
    if (m_block.always_on_top) {
        set_window_pos(handle(), kInsertTopmost, 0, 0, 0, 0, kKeepPlace);
        return;
    }
    set_window_pos(handle(), kInsertNotTopmost, 0, 0, 0, 0, kKeepPlace);
    // Turning one window off must not take the others down with it.
    for (const WindowEntry& entry : window_table().entries()) {
        WindowObject* other = window_object(entry);
        if (!other || other == this || !is_window(other->handle()))
            continue;
        if (other->m_block.always_on_top && other->m_block.shown_in_task_bar == 0)
            set_window_pos(other->handle(), kInsertTopmost, 0, 0, 0, 0, kKeepPlace);
    }
}

void WindowObject::pass_focus_on()
{
    WindowEntry* entry = window_table().find(window_id());
    if (!entry)
        return;
    form::UnitTable& units = entry->unit.units;
    auto focusable = [&](const form::UnitRecord& record) -> Component* {
        if (record.is_menu_item())
            return nullptr;
        Component* component = component_of(record);
        if (!component || !platform::is_window(component->handle()))
            return nullptr;
        const KindRecord* kind = find_kind(record.kind());
        if (kind && (kind->flags & (KindFlag::NoNativeWindow | KindFlag::NotFocusable)))
            return nullptr;
        if (!platform::is_visible(component->handle()) || !platform::is_enabled(component->handle()))
            return nullptr;
        return component;
    };
    if (focused_control) {
        if (const form::UnitRecord* record = units.find(focused_control); record && record != &units.record(0)) {
            if (Component* component = focusable(*record)) {
                platform::set_focus(component->handle());
                return;
            }
        }
    }
    // The lowest tab order wins; ties go to the unit found first from the last entry down.
    Component* best = nullptr;
    std::uint32_t best_order = 0;
    for (std::size_t index = units.size(); index-- > 1;) {
        const form::UnitRecord& record = units.record(index);
        if (!record.tab_stop())
            continue;
        Component* component = focusable(record);
        if (!component)
            continue;
        if (!best || record.tab_order() < best_order) {
            best = component;
            best_order = record.tab_order();
        }
    }
    if (best)
        platform::set_focus(best->handle());
}

// ---- Window procedure --------------------------------------------------------------------------

void WindowObject::raise(int event)
{
    EventRecord record{window_id(), 0, event};
    raise_event(record);
}

std::intptr_t WindowObject::procedure(platform::WindowHandle handle, platform::Message& message)
{
    using namespace platform;
    // Notifications and colour queries of standard controls go back to the control that sent them.
    if (std::optional<std::intptr_t> answer = reflect_to_child(handle, message))
        return *answer;
    switch (message.id) {
    case WM_ERASEBKGND: {
        auto* context = reinterpret_cast<DeviceContext*>(message.wparam);
        if (!context)
            return 0;
        paint_background(*context);
        return 1;
    }
    case WM_CLOSE: {
        // Without the Close command the frame cannot close the window.
        if (!m_block.closable)
            return 0;
        EventRecord asked{window_id(), 0, WindowEvent::CloseRequested};
        raise_event(asked);
        if (cancelled_by_handler(asked))
            return 0;
        EventRecord closing{window_id(), 0, WindowEvent::Closing};
        raise_event(closing);
        if (cancelled_by_handler(closing))
            return 0;
        destroy_window(handle);
        return 0;
    }
    case WM_DESTROY:
        raise(WindowEvent::Destroying);
        return default_window_procedure(handle, message);
    case WM_NCDESTROY: {
        std::intptr_t result = default_window_procedure(handle, message);
        // The window system swaps the pristine description back and deletes this object.
        window_destroyed(*this);
        return result;
    }
    case WM_MOVE:
        raise(WindowEvent::Moved);
        return default_window_procedure(handle, message);
    case WM_SIZE:
        raise(WindowEvent::Resized);
        return default_window_procedure(handle, message);
    case WM_ACTIVATE:
        if (low_word(message.wparam) != WA_INACTIVE) {
            if (!first_activation_done) {
                first_activation_done = true;
                raise(WindowEvent::FirstActivation);
            }
            raise(WindowEvent::Activated);
        } else {
            raise(WindowEvent::Deactivated);
        }
        return default_window_procedure(handle, message);
    case WM_SHOWWINDOW:
        raise(message.wparam ? WindowEvent::Shown : WindowEvent::Hidden);
        return default_window_procedure(handle, message);
    case WM_SETFOCUS:
        raise(CommonEvent::GotFocus);
        pass_focus_on();
        return 0;
    case WM_KILLFOCUS:
        raise(CommonEvent::LostFocus);
        return 0;
    default:
        return default_window_procedure(handle, message);
    }
}

// ---- Background --------------------------------------------------------------------------------

namespace WindowPictureLayout {
constexpr std::uint32_t TopLeft = 0;
constexpr std::uint32_t Tiled = 1;
constexpr std::uint32_t FitCentred = 2;
constexpr std::uint32_t Stretched = 3;
}  // namespace WindowPictureLayout

const imaging::DecodedPicture* WindowObject::background_picture()
{
    if (m_picture)
        return &*m_picture;
    if (m_block.picture.empty() || m_picture_undecodable)
        return nullptr;
    imaging::DecodeResult<imaging::DecodedPicture> decoded = imaging::decode_picture(m_block.picture);
    if (!decoded || decoded->width <= 0 || decoded->height <= 0) {
        // The bytes stay readable as written; only the drawing is given up.
        m_picture_undecodable = true;
        return nullptr;
    }
    m_picture = std::move(decoded.value());
    return &*m_picture;
}

void WindowObject::paint_background(platform::DeviceContext& context)
{
    platform::Rect client = platform::client_rect(handle());
    platform::Colour background = resolve_background_colour(m_block.background_colour);
    context.fill_rect(client, background);
    const imaging::DecodedPicture* picture = background_picture();
    if (!picture)
        return;
    int width = picture->width;
    int height = picture->height;
    context.save();
    context.intersect_clip_rect(client);
    switch (m_block.picture_layout) {
    case WindowPictureLayout::Tiled: {
        imaging::DrawingSurface surface;
        if (!imaging::prepare_surface(&context, picture, background, surface))
            break;
        platform::Rect area = context.clip_box();
        for (int top = client.top; top < client.bottom; top += height) {
            for (int left = client.left; left < client.right; left += width) {
                if (left < area.right && left + width > area.left && top < area.bottom && top + height > area.top)
                    imaging::blit_surface(surface, left, top, width, height);
            }
        }
        imaging::release_surface(surface);
        break;
    }
    case WindowPictureLayout::FitCentred: {
        platform::Rect place = fitted_picture_rect(client, width, height);
        imaging::draw_picture(picture, &context, place.left, place.top, place.width(), place.height(), background);
        break;
    }
    case WindowPictureLayout::Stretched:
        imaging::draw_picture(picture, &context, client.left, client.top, client.width(), client.height(), background);
        break;
    case WindowPictureLayout::TopLeft:
    default:
        imaging::draw_picture(picture, &context, client.left, client.top, width, height, background);
        break;
    }
    context.restore();
}

// ---- Properties --------------------------------------------------------------------------------

int WindowObject::read_property(int index, PropertyData& data) const
{
    switch (index) {
    case Own::Caption:
        put_text(data, m_block.caption);
        return 1;
    case Own::BorderStyle:
        data.word1 = m_block.border_style;
        return 1;
    case Own::BackgroundColour:
        data.word1 = m_block.background_colour;
        return 1;
    case Own::Picture:
        put_bytes(data, m_block.picture);
        return 1;
    case Own::PictureLayout:
        data.word1 = m_block.picture_layout;
        return 1;
    case Own::Sound:
        put_bytes(data, m_block.sound);
        return 1;
    case Own::SoundPlayMode:
        data.word1 = m_block.sound_play_mode;
        return 1;
    case Own::ControlBox:
        data.word1 = m_block.control_box;
        return 1;
    case Own::MaximizeBox:
        data.word1 = m_block.maximize_box;
        return 1;
    case Own::MinimizeBox:
        data.word1 = m_block.minimize_box;
        return 1;
    case Own::Placement:
        // What the window is now, never "centred".
        data.word1 = platform::is_minimized(handle())   ? Placement::Minimized
                     : platform::is_maximized(handle()) ? Placement::Maximized
                                                        : Placement::Stored;
        return 1;
    case Own::Closable:
        data.word1 = m_block.closable;
        return 1;
    case Own::Icon:
        put_bytes(data, m_block.icon);
        return 1;
    case Own::Property21:
        data.word1 = m_block.property_21;
        return 1;
    case Own::Property22:
        data.word1 = m_block.property_22;
        return 1;
    case Own::Property23:
        data.word1 = m_block.property_23;
        return 1;
    case Own::FileName:
        put_text(data, m_block.file_name);
        return 1;
    case Own::Property25:
        data.word1 = m_block.property_25;
        return 1;
    case Own::ShownInTaskBar:
        data.word1 = m_block.shown_in_task_bar;
        return 1;
    case Own::Property27:
        data.word1 = m_block.property_27;
        return 1;
    case Own::Property28:
        data.word1 = m_block.property_28;
        return 1;
    case Own::AlwaysOnTop:
        data.word1 = m_block.always_on_top;
        return 1;
    case Own::Property30:
        data.word1 = m_block.property_30;
        return 1;
    case Own::WindowClassName:
        put_text(data, m_block.window_class_name);
        return 1;
    default:
        return 0;
    }
}

int WindowObject::property_changed(int index, const PropertyData& data)
{
    switch (index) {
    case Own::Caption:
        m_block.caption = text_of(data);
        platform::set_window_text(handle(), m_block.caption);
        apply_frame_styles();
        break;
    case Own::BorderStyle:
        m_block.border_style = clamp_pick(data, 6);
        apply_frame_styles();
        break;
    case Own::BackgroundColour:
        m_block.background_colour = static_cast<std::uint32_t>(data.word1);
        platform::invalidate(handle(), std::nullopt, platform::Erase::Yes);
        break;
    case Own::Picture: {
        std::vector<std::uint8_t> bytes = bytes_of(data);
        if (bytes == m_block.picture)
            break;  // the picture already shown is neither decoded nor painted again
        m_block.picture = std::move(bytes);
        m_picture.reset();
        m_picture_undecodable = false;
        platform::invalidate(handle(), std::nullopt, platform::Erase::Yes);
        break;
    }
    case Own::PictureLayout:
        m_block.picture_layout = clamp_pick(data, 3);
        if (!m_block.picture.empty())
            platform::invalidate(handle(), std::nullopt, platform::Erase::Yes);
        break;
    case Own::Sound:
        // FIXME: sound playback is not offered by the platform; the bytes are kept.
        m_block.sound = bytes_of(data);
        break;
    case Own::SoundPlayMode:
        m_block.sound_play_mode = clamp_pick(data, 2);
        break;
    case Own::ControlBox:
        m_block.control_box = logical(data);
        apply_frame_styles();
        break;
    case Own::MaximizeBox:
        m_block.maximize_box = logical(data);
        apply_frame_styles();
        break;
    case Own::MinimizeBox:
        m_block.minimize_box = logical(data);
        apply_frame_styles();
        break;
    case Own::Placement:
        m_block.placement = clamp_pick(data, 3);
        apply_placement();
        break;
    case Own::Closable:
        m_block.closable = logical(data);
        break;
    case Own::Icon:
        m_block.icon = bytes_of(data);
        break;
    case Own::Property21:
        m_block.property_21 = static_cast<std::uint32_t>(data.word1);
        break;
    case Own::Property22:
        m_block.property_22 = static_cast<std::uint32_t>(data.word1);
        break;
    case Own::Property23:
        m_block.property_23 = static_cast<std::uint32_t>(data.word1);
        break;
    case Own::FileName:
        m_block.file_name = text_of(data);
        break;
    case Own::Property25:
        m_block.property_25 = static_cast<std::uint32_t>(data.word1);
        break;
    case Own::ShownInTaskBar:
        m_block.shown_in_task_bar = logical(data);
        break;
    case Own::Property27:
        m_block.property_27 = static_cast<std::uint32_t>(data.word1);
        break;
    case Own::Property28:
        // FIXME: what this value changes on the live window is not modelled; it is kept.
        m_block.property_28 = clamp_pick(data, 29);
        break;
    case Own::AlwaysOnTop:
        m_block.always_on_top = logical(data);
        apply_always_on_top();
        break;
    case Own::Property30:
        m_block.property_30 = static_cast<std::uint32_t>(data.word1);
        break;
    case Own::WindowClassName:
        m_block.window_class_name = text_of(data);
        break;
    default:
        break;
    }
    return 0;
}

// ---- Unit lookup by native window --------------------------------------------------------------

std::optional<ControlId> unit_of_native_window(WindowId window, platform::WindowHandle target)
{
    WindowEntry* entry = window_table().find(window);
    if (!entry || !target)
        return std::nullopt;
    const WindowObject* object = window_object(*entry);
    if (!object)
        return std::nullopt;
    const form::UnitTable& units = entry->unit.units;
    if (target == object->handle())
        return units.id_at(0);
    for (std::size_t index = 1; index < units.size(); ++index) {
        const form::UnitRecord& record = units.record(index);
        if (record.is_menu_item())
            continue;
        const Component* component = component_of(record);
        if (!component || !component->handle())
            continue;
        if (component->handle() == target)
            return record.id();
        const KindRecord* kind = find_kind(record.kind());
        if (!kind || !(kind->flags & (KindFlag::ContainsEditField | KindFlag::ContainsChildWindow)))
            continue;
        for (platform::WindowHandle up = platform::parent_window(target); up; up = platform::parent_window(up)) {
            if (up == component->handle())
                return record.id();
        }
    }
    return std::nullopt;
}

}  // namespace runtime::components
