// The picture box.
//   - kind record and operations   what the runtime reaches
//   - creation and messages        the native window and its procedure
//   - properties                   property changed, read property, save, convert texts
//   - picture                      setting, decoding, display modes, border
//   - painting                     still pictures and the animation

#include "runtime/components/picture_box.h"

#include "runtime/components/kind_support.h"

#include "runtime/imaging/drawing.h"
#include "runtime/imaging/picture_decoder.h"
#include "runtime/imaging/probe.h"

#include "platform/message_loop.h"
#include "platform/native_window.h"

#include <algorithm>
#include <cstring>
#include <memory>

namespace runtime::components {
namespace {

constexpr std::uint32_t kBorderStyles = platform::WS_BORDER;
constexpr std::uint32_t kBorderExStyles =
    platform::WS_EX_CLIENTEDGE | platform::WS_EX_DLGMODALFRAME | platform::WS_EX_STATICEDGE;
constexpr int kMaxBorder = 5;
constexpr int kMaxWritableDisplayMode = 2;
constexpr int kMaxStoredDisplayMode = 3;

int clamp_choice(std::int64_t value, int highest)
{
    return static_cast<int>(std::clamp<std::int64_t>(value, 0, highest));
}

// The word of a pick property as the signed value the application wrote.
std::int64_t signed_word(Word word)
{
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(word));
}

std::string text_of(const PropertyData& data)
{
    const char* text = reinterpret_cast<const char*>(data.word1);
    return text ? std::string(text) : std::string();
}

platform::StretchMode stretch_mode_for_display()
{
    return platform::display_bits_per_pixel() > 16 ? platform::StretchMode::Halftone
                                                   : platform::StretchMode::ColourOnColour;
}

// ---- Kind record and operations ----------------------------------------------------------------

Operation picture_box_interface(int number)
{
    if (number == Interface::ConvertTexts)
        return as_operation(&convert_picture_box_texts);
    return standard_operation<PictureBox>(number);
}

constexpr PropertyEntry kPictureBoxProperties[] = {
    {TypeCode::Number, 0xE000},            // left
    {TypeCode::Number, 0xE000},            // top
    {TypeCode::Number, 0xE000},            // width
    {TypeCode::Number, 0xE000},            // height
    {TypeCode::Text, 0xE000},              // tag
    {TypeCode::Logical, 0xE000},           // visible
    {TypeCode::Logical, 0xE000},           // disabled
    {TypeCode::MousePointer, 0xE000},      // mouse pointer
    {TypeCode::Pick, 0x8000},              // border
    {TypeCode::BackgroundColour, 0x8000},  // background colour
    {TypeCode::Picture, 0x8000},           // picture
    {TypeCode::Pick, 0x8000},              // display mode
    {TypeCode::Logical, 0x8000},           // animate
    {TypeCode::DataSource, 0x8000},        // data source
    {TypeCode::DataColumn, 0x8000},        // data column
};

// ---- Window class ------------------------------------------------------------------------------

std::intptr_t picture_box_procedure(platform::WindowHandle handle, platform::Message& message)
{
    auto* box = reinterpret_cast<PictureBox*>(platform::window_user_data(handle));
    if (!box)
        return platform::default_window_procedure(handle, message);
    return box->handle_message_for(handle, message);
}

bool ensure_window_class()
{
    return register_kind_class(kPictureBoxClassName, platform::CS_HREDRAW | platform::CS_VREDRAW | platform::CS_DBLCLKS,
                               picture_box_procedure);
}

}  // namespace

const KindRecord& picture_box_kind()
{
    static const KindRecord record{
        "图片框",
        "PicBox",
        0x840100C0,
        static_cast<int>(std::size(kPictureBoxProperties)),
        kPictureBoxProperties,
        picture_box_interface,
    };
    return record;
}

// ==== Placement ===================================================================================

platform::Rect picture_placement(DisplayMode mode, int client_width, int client_height, int picture_width,
                                 int picture_height)
{
    switch (mode) {
    case DisplayMode::Natural:
        return platform::Rect{0, 0, picture_width, picture_height};
    case DisplayMode::Stretch:
    case DisplayMode::SizeToPicture:
        return platform::Rect{0, 0, client_width, client_height};
    case DisplayMode::Fit:
        break;
    }
    if (picture_width <= 0 || picture_height <= 0)
        return {};
    // Centred on each axis where it fits, shrunk to keep its proportions where it does not; the
    // decoders keep a fitted picture at this same size.
    imaging::PictureSize size = imaging::fitted_size(client_width, client_height, picture_width, picture_height);
    int box_width = client_width >= picture_width ? picture_width : client_width;
    int box_height = client_height >= picture_height ? picture_height : client_height;
    int x = client_width >= picture_width ? (client_width - picture_width) / 2 : 0;
    int y = client_height >= picture_height ? (client_height - picture_height) / 2 : 0;
    x += (box_width - size.width) / 2;
    y += (box_height - size.height) / 2;
    return platform::Rect{x, y, x + size.width, y + size.height};
}

// ==== Creation and messages =======================================================================

PictureBox::PictureBox(const CreateRequest& request, form::PictureBoxBlock properties)
    : Component(request.window, request.control)
    , m_properties(std::move(properties))
    , m_design_mode(request.design_mode)
{
    m_properties.border = static_cast<std::uint32_t>(clamp_choice(signed_word(m_properties.border), kMaxBorder));
    m_properties.display_mode =
        static_cast<std::uint32_t>(clamp_choice(signed_word(m_properties.display_mode), kMaxStoredDisplayMode));
    m_properties.animate = m_properties.animate != 0 ? 1 : 0;
    m_applied_mode = static_cast<DisplayMode>(m_properties.display_mode);
}

PictureBox* PictureBox::create(const CreateRequest& request)
{
    form::PictureBoxBlock properties;
    // An absent or empty block keeps every default.
    if (!request.block.empty()) {
        auto read = form::read_property_block<form::PictureBoxBlock>(request.block);
        if (!read)
            return nullptr;
        properties = std::move(*read);
    }
    if (!ensure_window_class())
        return nullptr;

    std::unique_ptr<PictureBox> box(new PictureBox(request, std::move(properties)));
    if (!box->m_picture.append(box->m_properties.picture.data(), box->m_properties.picture.size()))
        return nullptr;
    box->m_properties.picture.clear();
    box->m_properties.picture.shrink_to_fit();

    platform::CreateParams params;
    params.class_name = kPictureBoxClassName;
    params.style = request.style_bits | platform::WS_CHILD | platform::WS_CLIPSIBLINGS;
    params.x = request.left;
    params.y = request.top;
    params.width = request.width;
    params.height = request.height;
    params.parent = request.parent;
    params.id = request.child_id;
    platform::WindowHandle handle = platform::create_window(params);
    if (!handle)
        return nullptr;
    box->set_handle(handle);
    // From here the window owns the object: it deletes it when it is destroyed.
    PictureBox* owned = box.release();
    platform::set_window_user_data(handle, reinterpret_cast<std::intptr_t>(owned));

    owned->m_animation_requested = owned->m_properties.animate == 1;
    if (!owned->m_design_mode)
        owned->m_animation_flag = owned->m_animation_requested;
    owned->resolve_background();
    (void)owned->set_picture();
    owned->apply_display_mode(owned->m_applied_mode);
    owned->apply_border();
    return owned;
}

std::intptr_t PictureBox::handle_message_for(platform::WindowHandle handle, platform::Message& message)
{
    handle_common_message(*this, message);
    switch (message.id) {
    case platform::WM_ERASEBKGND:
        return 1;  // the paint fills the background itself
    case platform::WM_PAINT:
        if (auto* request = reinterpret_cast<const platform::PaintRequest*>(message.lparam))
            paint(*request);
        return 0;
    case kPresentFrameMessage:
        m_animator.frame_presented();
        if (animating())
            invalidate_changed_frame_area();
        return 0;
    case platform::WM_DESTROY:
        // The worker must be gone before the window and the canvas are.
        m_animator.stop();
        return platform::default_window_procedure(handle, message);
    case platform::WM_NCDESTROY: {
        std::intptr_t result = platform::default_window_procedure(handle, message);
        platform::set_window_user_data(handle, 0);
        WindowId window = window_id();
        ControlId control = control_id();
        delete this;
        notify_unit_destroyed(window, control);
        return result;
    }
    default:
        return platform::default_window_procedure(handle, message);
    }
}

// ==== Properties ==================================================================================

int PictureBox::property_changed(int index, const PropertyData& data)
{
    switch (index) {
    case PictureBoxProperty::Border:
        m_properties.border = static_cast<std::uint32_t>(clamp_choice(signed_word(data.word1), kMaxBorder));
        apply_border();
        break;
    case PictureBoxProperty::BackgroundColour:
        m_properties.background_colour = static_cast<std::uint32_t>(data.word1);
        resolve_background();
        platform::invalidate(handle(), std::nullopt, platform::Erase::Yes);
        break;
    case PictureBoxProperty::Picture:
        store_picture(reinterpret_cast<const std::uint8_t*>(data.word1),
                      static_cast<std::size_t>(std::max<std::int64_t>(signed_word(data.word2), 0)));
        (void)set_picture();
        break;
    case PictureBoxProperty::DisplayMode: {
        int mode = clamp_choice(signed_word(data.word1), kMaxWritableDisplayMode);
        m_properties.display_mode = static_cast<std::uint32_t>(mode);
        apply_display_mode(static_cast<DisplayMode>(mode));
        break;
    }
    case PictureBoxProperty::Animate: {
        bool animate = data.word1 != 0;
        m_properties.animate = animate ? 1 : 0;
        if (!m_design_mode && m_decoded && m_decoded->kind == imaging::PictureKind::Gif) {
            if (animate)
                m_first_paint_pending = true;
            m_animation_requested = animate;
            m_animation_flag = animate;
            (void)set_picture();
        }
        break;
    }
    // No data-binding service exists in this system: the names are kept for the stored block and
    // the picture stays as it is.
    case PictureBoxProperty::DataSource:
        m_properties.data_source = text_of(data);
        break;
    case PictureBoxProperty::DataColumn:
        m_properties.data_column = text_of(data);
        break;
    default:
        break;
    }
    return 0;
}

int PictureBox::read_property(int index, PropertyData& data)
{
    data = PropertyData{};
    switch (index) {
    case PictureBoxProperty::Border:
        data.word1 = m_properties.border;
        return 1;
    case PictureBoxProperty::BackgroundColour:
        data.word1 = m_properties.background_colour;
        return 1;
    case PictureBoxProperty::Picture:
        if (m_picture.length() > 0) {
            data.word1 = reinterpret_cast<Word>(m_picture.data());
            data.word2 = static_cast<Word>(m_picture.length());
        }
        return 1;
    case PictureBoxProperty::DisplayMode:
        data.word1 = m_properties.display_mode;
        return 1;
    case PictureBoxProperty::Animate:
        data.word1 = m_properties.animate;
        return 1;
    case PictureBoxProperty::DataSource:
        data.word1 = reinterpret_cast<Word>(m_properties.data_source.c_str());
        return 1;
    case PictureBoxProperty::DataColumn:
        data.word1 = reinterpret_cast<Word>(m_properties.data_column.c_str());
        return 1;
    default:
        return 0;
    }
}

std::vector<std::uint8_t> PictureBox::save_properties() const
{
    form::PictureBoxBlock block = m_properties;
    std::span<const std::uint8_t> bytes = picture_bytes();
    block.picture.assign(bytes.begin(), bytes.end());
    return form::write_property_block(block);
}

std::span<const std::uint8_t> PictureBox::picture_bytes() const
{
    if (m_picture.length() == 0)
        return {};
    return {m_picture.data(), m_picture.length()};
}

std::optional<std::vector<std::uint8_t>> convert_picture_box_texts(std::span<const std::uint8_t> block,
                                                                   TextConverter convert, void* context)
{
    form::PictureBoxBlock properties;
    if (!block.empty()) {
        auto read = form::read_property_block<form::PictureBoxBlock>(block);
        if (!read)
            return std::nullopt;
        properties = std::move(*read);
    }
    if (convert) {
        properties.data_source = convert(properties.data_source, 0, context);
        properties.data_column = convert(properties.data_column, 0, context);
    }
    return form::write_property_block(properties);
}

// ==== Picture =====================================================================================

void PictureBox::store_picture(const std::uint8_t* bytes, std::size_t count)
{
    // The new bytes go into a fresh buffer first, so that bytes handed back from our own buffer
    // survive the copy.
    ByteBuffer copy;
    if (bytes && count > 0 && !copy.append(bytes, count))
        copy.clear();  // memory short: the box ends up empty rather than half-written
    m_picture = std::move(copy);
}

void PictureBox::free_picture()
{
    // The animator stops (and its worker is joined) before anything it draws from is freed.
    m_animator.unload();
    m_decoded.reset();
    m_shown.reset();
    m_animation_started = false;
}

bool PictureBox::set_picture()
{
    free_picture();
    bool decoded = true;
    std::span<const std::uint8_t> bytes = picture_bytes();
    if (!bytes.empty()) {
        imaging::PictureKind kind = imaging::probe_picture(bytes);
        decoded = false;
        if (kind == imaging::PictureKind::Gif && m_animation_flag) {
            if (!m_animator.load(bytes, m_background)) {
                // A marker without pixels: the animator holds the frames.
                imaging::DecodedPicture marker;
                marker.kind = imaging::PictureKind::Gif;
                marker.width = m_animator.width();
                marker.height = m_animator.height();
                m_decoded = std::move(marker);
                decoded = true;
            }
        } else if (kind != imaging::PictureKind::None) {
            decode_picture(shown_size());
            decoded = m_decoded.has_value();
        }
    }
    if (m_applied_mode == DisplayMode::SizeToPicture)
        size_to_picture();
    platform::invalidate(handle(), std::nullopt, platform::Erase::Yes);
    return decoded;
}

imaging::ShownSize PictureBox::shown_size() const
{
    platform::Rect client = platform::client_rect(handle());
    imaging::ShownSize shown{std::max(client.width(), 1), std::max(client.height(), 1)};
    shown.background = m_background;
    bool halftone = stretch_mode_for_display() == platform::StretchMode::Halftone;
    switch (m_applied_mode) {
    case DisplayMode::Stretch:
        // Averaged down as it is read, exactly as drawing would average it; without halftone
        // stretching only a JPEG is reduced, by the library's scaling, when it is twice the size.
        shown.as = halftone ? imaging::ShownAs::Stretched : imaging::ShownAs::Whole;
        return shown;
    case DisplayMode::Fit:
        shown.as = halftone ? imaging::ShownAs::Fitted : imaging::ShownAs::Whole;
        return shown;
    case DisplayMode::Natural:
        // Only the part within the client area is ever seen.
        shown.as = imaging::ShownAs::Cropped;
        return shown;
    case DisplayMode::SizeToPicture:
        break;
    }
    return {};
}

void PictureBox::decode_picture(imaging::ShownSize shown)
{
    m_shown.reset();
    m_decoded.reset();
    m_decoded_for = shown;
    auto picture = imaging::decode_picture(picture_bytes(), shown);
    if (picture)
        m_decoded = std::move(*picture);
}

bool PictureBox::decoded_as_shown() const
{
    if (!m_decoded || m_decoded->kept == imaging::ShownAs::Whole)
        return true;
    imaging::ShownSize wanted = shown_size();
    bool blended = m_decoded->kind == imaging::PictureKind::Png;
    return wanted.as == m_decoded_for.as && wanted.width == m_decoded_for.width &&
           wanted.height == m_decoded_for.height && (!blended || wanted.background == m_decoded_for.background);
}

void PictureBox::apply_display_mode(DisplayMode mode)
{
    if (mode == m_applied_mode)
        return;
    m_applied_mode = mode;
    if (mode == DisplayMode::SizeToPicture)
        size_to_picture();
    platform::invalidate(handle(), std::nullopt, platform::Erase::Yes);
    platform::update_window(handle());
}

void PictureBox::size_to_picture()
{
    if (!m_decoded || m_decoded->width <= 0 || m_decoded->height <= 0)
        return;
    bool was_running = m_animator.state() == AnimationState::Running;
    m_animator.stop();
    platform::FrameInsets insets =
        platform::frame_insets(platform::window_style(handle()), platform::window_ex_style(handle()), false);
    platform::set_window_pos(handle(), 0, 0, 0, m_decoded->full_width() + insets.left + insets.right,
                             m_decoded->full_height() + insets.top + insets.bottom,
                             platform::WindowPosFlag::NoMove | platform::WindowPosFlag::NoZOrder |
                                 platform::WindowPosFlag::NoActivate);
    if (was_running)
        start_animation();
}

void PictureBox::apply_border()
{
    std::uint32_t style = platform::window_style(handle()) & ~kBorderStyles;
    std::uint32_t ex_style = platform::window_ex_style(handle()) & ~kBorderExStyles;
    switch (m_properties.border) {
    case 1:
        ex_style |= platform::WS_EX_CLIENTEDGE;
        break;
    case 2:
        ex_style |= platform::WS_EX_DLGMODALFRAME;
        break;
    case 3:
        ex_style |= platform::WS_EX_STATICEDGE;
        break;
    case 4:
        ex_style |= platform::WS_EX_CLIENTEDGE | platform::WS_EX_DLGMODALFRAME;
        break;
    case 5:
        style |= platform::WS_BORDER;
        break;
    default:
        break;
    }
    platform::set_window_style(handle(), style);
    platform::set_window_ex_style(handle(), ex_style);
    // A frame change keeps the outer size; a box sized to its picture grows around the new frame
    // so that the client area still holds the picture exactly.
    if (m_applied_mode == DisplayMode::SizeToPicture)
        size_to_picture();
}

void PictureBox::resolve_background()
{
    // The default colour follows the button face as it is at the time of the write.
    m_background = resolve_background_colour(m_properties.background_colour);
}

// ==== Painting ====================================================================================

platform::Rect PictureBox::animation_placement() const
{
    platform::Rect client = platform::client_rect(handle());
    return picture_placement(m_applied_mode, client.width(), client.height(), m_animator.width(), m_animator.height());
}

void PictureBox::invalidate_changed_frame_area()
{
    platform::Rect place = animation_placement();
    auto changed = m_animator.take_changed_area();
    if (!changed)
        return;
    // Drawn one to one, only what the frames changed is painted again; scaled, every box pixel
    // may take from the changed area, so the whole placement is.
    if (place.width() == m_animator.width() && place.height() == m_animator.height()) {
        place = platform::Rect{place.left + changed->left, place.top + changed->top, place.left + changed->right,
                               place.top + changed->bottom};
    }
    platform::invalidate(handle(), place, platform::Erase::No);
}

void PictureBox::start_animation()
{
    if (!platform::is_window(handle()) || !m_animator.loaded())
        return;
    platform::WindowHandle target = handle();
    m_animator.start([target] { platform::post_message(target, kPresentFrameMessage); });
}

void PictureBox::paint(const platform::PaintRequest& request)
{
    if (!request.context)
        return;
    platform::DeviceContext& context = *request.context;
    platform::Rect client = platform::client_rect(handle());
    bool animated = animating();
    context.save();
    // The first paint after an animation is asked for leaves the picture's place alone: the
    // animation will fill it.
    if (m_first_paint_pending && animated)
        context.exclude_clip_rect(animation_placement());
    m_first_paint_pending = false;
    context.fill_rect(client, m_background);
    if (m_decoded) {
        if (animated) {
            paint_animation(context);
        } else {
            // A picture kept only as shown is read again when the box shows it otherwise.
            if (!decoded_as_shown())
                decode_picture(shown_size());
            if (m_decoded)
                paint_still(context, still_placement(client));
        }
    }
    context.restore();
}

platform::Rect PictureBox::still_placement(const platform::Rect& client) const
{
    // A cropped picture is the visible top-left part of its natural-size placement.
    if (m_decoded->kept == imaging::ShownAs::Cropped)
        return platform::Rect{0, 0, m_decoded->width, m_decoded->height};
    return picture_placement(m_applied_mode, client.width(), client.height(), m_decoded->full_width(),
                             m_decoded->full_height());
}

void PictureBox::paint_still(platform::DeviceContext& context, const platform::Rect& place)
{
    if (place.empty())
        return;
    if (stretch_mode_for_display() != platform::StretchMode::Halftone ||
        m_decoded->kind == imaging::PictureKind::Icon || m_decoded->kind == imaging::PictureKind::Cursor) {
        imaging::draw_picture(&*m_decoded, &context, place.left, place.top, place.width(), place.height(),
                              m_background);
        return;
    }
    bool fits = m_shown && m_shown->width() == place.width() && m_shown->height() == place.height() &&
                m_shown_background == m_background;
    if (!fits) {
        // A picture decoded reduced for a smaller box is decoded again for the larger one.
        if (m_decoded->kept == imaging::ShownAs::Whole &&
            (m_decoded->width < std::min(place.width(), m_decoded->full_width()) ||
             m_decoded->height < std::min(place.height(), m_decoded->full_height()))) {
            decode_picture(imaging::ShownSize{place.width(), place.height()});
            if (!m_decoded)
                return;
        }
        m_shown =
            imaging::picture_bitmap(*m_decoded, m_background, platform::TargetSize{place.width(), place.height()});
        m_shown_background = m_background;
        if (!m_shown)
            return;
    }
    context.save();
    context.set_stretch_mode(platform::StretchMode::Halftone);
    platform::draw_bitmap(context, *m_shown, place);
    context.restore();
}

void PictureBox::paint_animation(platform::DeviceContext& context)
{
    if (!m_animator.single_frame() && !m_animation_started) {
        // The first paint starts the worker; its first frame arrives through kPresentFrameMessage.
        if (m_animation_requested) {
            m_animation_started = true;
            start_animation();
        }
        return;
    }
    context.save();
    context.set_stretch_mode(stretch_mode_for_display());
    (void)m_animator.present(context, animation_placement());
    context.restore();
}

}  // namespace runtime::components
