// The label kind.
//
//   Kind record ..... property table and interface function
//   Window .......... class registration, creation, the window procedure, borders
//   Properties ...... write (clamped), read, save
//   Painting ........ frame, background picture by layout, gradient, colour, caption

#include "runtime/components/label.h"

#include "platform/native_window.h"
#include "runtime/components/gradient.h"
#include "runtime/components/kind_support.h"
#include "runtime/components/property_values.h"
#include "runtime/components/text_drawing.h"
#include "runtime/imaging/drawing.h"
#include "runtime/imaging/picture_decoder.h"

#include <algorithm>
#include <array>

namespace runtime::components {

// ==== Kind record ================================================================================

namespace {

constexpr auto kLabelProperties = property_table<21>({{
                                                         TypeCode::Text,              // 8 caption
                                                         TypeCode::Pick,              // 9 text effect
                                                         TypeCode::Pick,              // 10 border
                                                         TypeCode::Number,            // 11 frame width
                                                         TypeCode::ColourOrNone,      // 12 frame colour 1
                                                         TypeCode::ColourOrNone,      // 13 frame colour 2
                                                         TypeCode::ColourOrNone,      // 14 frame colour 3
                                                         TypeCode::Font,              // 15 font
                                                         TypeCode::Colour,            // 16 text colour
                                                         TypeCode::BackgroundColour,  // 17 background colour
                                                         TypeCode::Picture,           // 18 background picture
                                                         TypeCode::Pick,              // 19 picture layout
                                                         TypeCode::Pick,              // 20 background gradient
                                                         TypeCode::ColourOrNone,      // 21 gradient colour 1
                                                         TypeCode::ColourOrNone,      // 22 gradient colour 2
                                                         TypeCode::ColourOrNone,      // 23 gradient colour 3
                                                         TypeCode::Pick,              // 24 horizontal alignment
                                                         TypeCode::Logical,           // 25 word wrap
                                                         TypeCode::Pick,              // 26 vertical alignment
                                                         TypeCode::DataSource,        // 27 data source
                                                         TypeCode::DataColumn,        // 28 data column
                                                     }},
                                                     kCoreLibraryPropertyFlags);
static_assert(kLabelProperties.size() == 29);

Operation label_interface(int number)
{
    return standard_operation<Label>(number);
}

}  // namespace

const KindRecord& label_kind()
{
    static const KindRecord record{
        "标签",          "Label", 0x84012040, static_cast<int>(kLabelProperties.size()), kLabelProperties.data(),
        &label_interface};
    return record;
}

// ==== Window =====================================================================================

namespace {

bool register_label_class()
{
    return register_kind_class(kLabelClassName, platform::CS_VREDRAW | platform::CS_HREDRAW | platform::CS_DBLCLKS,
                               &label_window_procedure);
}

}  // namespace

Label::Label(WindowId window, ControlId control, form::LabelBlock block)
    : Component(window, control)
    , m_block(std::move(block))
{
}

Component* Label::create(const CreateRequest& request)
{
    form::Result<form::LabelBlock> block = form::read_property_block<form::LabelBlock>(request.block);
    if (!block || !register_label_class())
        return nullptr;
    auto label = std::make_unique<Label>(request.window, request.control, std::move(block).value());
    platform::CreateParams params;
    params.class_name = kLabelClassName;
    params.text = label->m_block.caption;
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
    label->set_handle(handle);
    label->apply_border();
    // From here the window owns the object: it deletes it when it is destroyed.
    platform::set_window_user_data(handle, reinterpret_cast<std::intptr_t>(label.get()));
    return label.release();
}

std::intptr_t label_window_procedure(platform::WindowHandle handle, platform::Message& message)
{
    auto* label = component_of_window<Label>(handle);
    if (!label)
        return platform::default_window_procedure(handle, message);
    switch (message.id) {
    case platform::WM_PAINT: {
        auto* request = reinterpret_cast<platform::PaintRequest*>(message.lparam);
        if (request && request->context)
            label->paint(*request->context, request->update_region);
        return 0;
    }
    case kLabelFeedbackMessage: {
        EventRecord record = event_of(*label, 0);
        record.argument_count = 2;
        record.arguments[0] = static_cast<std::int32_t>(message.wparam);
        record.arguments[1] = static_cast<std::int32_t>(message.lparam);
        raise_event(record);
        return record.result_present ? record.result : 0;
    }
    case platform::WM_NCDESTROY: {
        std::intptr_t result = platform::default_window_procedure(handle, message);
        platform::set_window_user_data(handle, 0);
        WindowId window = label->window_id();
        ControlId control = label->control_id();
        delete label;
        notify_unit_destroyed(window, control);
        return result;
    }
    default:
        return platform::default_window_procedure(handle, message);
    }
}

void Label::apply_border()
{
    using namespace platform;
    std::uint32_t ex_style = window_ex_style(handle()) & ~(WS_EX_CLIENTEDGE | WS_EX_STATICEDGE | WS_EX_DLGMODALFRAME);
    std::uint32_t style = window_style(handle()) & ~WS_BORDER;
    switch (static_cast<Border>(m_block.border)) {
    case Border::ClientEdge:
        ex_style |= WS_EX_CLIENTEDGE;
        break;
    case Border::ModalFrame:
        ex_style |= WS_EX_DLGMODALFRAME;
        break;
    case Border::StaticEdge:
        ex_style |= WS_EX_STATICEDGE;
        break;
    case Border::ClientEdgeAndModalFrame:
        ex_style |= WS_EX_CLIENTEDGE | WS_EX_DLGMODALFRAME;
        break;
    case Border::SingleLine:
        style |= WS_BORDER;
        break;
    default:
        break;
    }
    set_window_style(handle(), style);
    set_window_ex_style(handle(), ex_style);
}

// ==== Properties =================================================================================

int Label::property_changed(int index, const PropertyData& data)
{
    using namespace LabelProperty;
    form::LabelBlock& b = m_block;
    switch (index) {
    case Caption:
        b.caption = text_of(data);
        platform::set_window_text(handle(), b.caption);
        break;
    case Effect:
        b.text_effect = choice_of(data, kHighestTextEffect);
        break;
    case BorderStyle:
        b.border = choice_of(data, static_cast<std::int32_t>(Border::GradientFrame));
        apply_border();
        break;
    case FrameWidth:
        b.frame_width = static_cast<std::uint32_t>(std::max(integer_of(data), kMinimumFrameWidth));
        break;
    case FrameColour1:
        b.frame_colour_1 = integer_of(data);
        break;
    case FrameColour1 + 1:
        b.frame_colour_2 = integer_of(data);
        break;
    case FrameColour3:
        b.frame_colour_3 = integer_of(data);
        break;
    case Font:
        b.font = font_of(data);
        break;
    case TextColour:
        b.text_colour = integer_of(data);
        break;
    case BackgroundColour:
        b.background_colour = integer_of(data);
        break;
    case BackgroundPicture: {
        // The picture already shown is neither decoded nor painted again.
        std::vector<std::uint8_t> bytes = bytes_of(data);
        if (bytes == b.background_picture)
            return 0;
        b.background_picture = std::move(bytes);
        // A template after a template of the same size is decoded into the same memory; no picture
        // keeps none.
        m_reusable_bitmap = m_picture && !b.background_picture.empty() ? std::move(m_picture->converted) : nullptr;
        m_picture.reset();
        break;
    }
    case Layout:
        b.picture_layout = choice_of(data, static_cast<std::int32_t>(PictureLayout::FitCentred));
        break;
    case BackgroundGradient:
        b.background_gradient = choice_of(data, kHighestGradientDirection);
        break;
    case GradientColour1:
        b.gradient_colour_1 = integer_of(data);
        break;
    case GradientColour1 + 1:
        b.gradient_colour_2 = integer_of(data);
        break;
    case GradientColour3:
        b.gradient_colour_3 = integer_of(data);
        break;
    case HorizontalAlignment:
        b.horizontal_alignment = choice_of(data, kHighestAlignment);
        break;
    case WordWrap:
        b.word_wrap = integer_of(data);
        break;
    case VerticalAlignment:
        b.vertical_alignment = choice_of(data, kHighestAlignment);
        break;
    // No data source exists in this system: the binding is kept but inert.
    case DataSource:
        b.data_source = text_of(data);
        break;
    case DataColumn:
        b.data_column = text_of(data);
        break;
    default:
        return 0;
    }
    platform::invalidate(handle(), std::nullopt, platform::Erase::No);
    return 0;
}

int Label::read_property(int index, PropertyData& data)
{
    using namespace LabelProperty;
    const form::LabelBlock& b = m_block;
    switch (index) {
    case Caption:
        put_text(data, b.caption);
        return 1;
    case Effect:
        put_integer(data, b.text_effect);
        return 1;
    case BorderStyle:
        put_integer(data, b.border);
        return 1;
    case FrameWidth:
        put_integer(data, b.frame_width);
        return 1;
    case FrameColour1:
        put_integer(data, b.frame_colour_1);
        return 1;
    case FrameColour1 + 1:
        put_integer(data, b.frame_colour_2);
        return 1;
    case FrameColour3:
        put_integer(data, b.frame_colour_3);
        return 1;
    case Font:
        put_font(data, b.font);
        return 1;
    case TextColour:
        put_integer(data, b.text_colour);
        return 1;
    case BackgroundColour:
        put_integer(data, b.background_colour);
        return 1;
    case BackgroundPicture:
        put_bytes(data, b.background_picture);
        return 1;
    case Layout:
        put_integer(data, b.picture_layout);
        return 1;
    case BackgroundGradient:
        put_integer(data, b.background_gradient);
        return 1;
    case GradientColour1:
        put_integer(data, b.gradient_colour_1);
        return 1;
    case GradientColour1 + 1:
        put_integer(data, b.gradient_colour_2);
        return 1;
    case GradientColour3:
        put_integer(data, b.gradient_colour_3);
        return 1;
    case HorizontalAlignment:
        put_integer(data, b.horizontal_alignment);
        return 1;
    case WordWrap:
        put_integer(data, b.word_wrap);
        return 1;
    case VerticalAlignment:
        put_integer(data, b.vertical_alignment);
        return 1;
    case DataSource:
        put_text(data, b.data_source);
        return 1;
    case DataColumn:
        put_text(data, b.data_column);
        return 1;
    default:
        return 0;
    }
}

std::vector<std::uint8_t> Label::save_properties() const
{
    return form::write_property_block(m_block);
}

// ==== Painting ===================================================================================

platform::Rect fitted_picture_rect(const platform::Rect& area, int picture_width, int picture_height)
{
    platform::Rect place = area;
    if (picture_width <= 0 || picture_height <= 0)
        return platform::Rect{area.left, area.top, area.left, area.top};
    if (place.width() >= picture_width) {
        place.left += (place.width() - picture_width) / 2;
        place.right = place.left + picture_width;
    }
    if (place.height() >= picture_height) {
        place.top += (place.height() - picture_height) / 2;
        place.bottom = place.top + picture_height;
    }
    if (place.width() < picture_width || place.height() < picture_height) {
        double scale = std::min(static_cast<double>(place.width()) / picture_width,
                                static_cast<double>(place.height()) / picture_height);
        int width = static_cast<int>(picture_width * scale);
        int height = static_cast<int>(picture_height * scale);
        int left = place.left + (place.width() - width) / 2;
        int top = place.top + (place.height() - height) / 2;
        place = platform::Rect{left, top, left + width, top + height};
    }
    return place;
}

const imaging::DecodedPicture* Label::background_picture()
{
    if (m_picture)
        return &*m_picture;
    if (m_block.background_picture.empty())
        return nullptr;
    imaging::DecodeResult<imaging::DecodedPicture> decoded =
        imaging::decode_picture_to_draw(m_block.background_picture, std::move(m_reusable_bitmap));
    if (!decoded) {
        m_block.background_picture.clear();
        return nullptr;
    }
    m_picture = std::move(decoded.value());
    return &*m_picture;
}

platform::Region Label::draw_background_picture(platform::DeviceContext& context,
                                                const imaging::DecodedPicture& picture, const platform::Rect& rect,
                                                const platform::Region& area, platform::Region fill,
                                                platform::Colour background)
{
    int width = picture.width;
    int height = picture.height;
    context.save();
    context.intersect_clip_rect(rect);
    switch (static_cast<PictureLayout>(m_block.picture_layout)) {
    case PictureLayout::Tiled: {
        imaging::DrawingSurface surface;
        if (width > 0 && height > 0 && imaging::prepare_surface(&context, &picture, background, surface)) {
            for (int top = rect.top; top < rect.bottom; top += height) {
                for (int left = rect.left; left < rect.right; left += width) {
                    if (area.intersects(platform::Rect{left, top, left + width, top + height}))
                        imaging::blit_surface(surface, left, top, width, height);
                }
            }
            imaging::release_surface(surface);
            fill = platform::Region();
        }
        break;
    }
    case PictureLayout::FitCentred: {
        platform::Rect place = fitted_picture_rect(rect, width, height);
        imaging::draw_picture(&picture, &context, place.left, place.top, place.width(), place.height(), background);
        fill = fill.subtracted(platform::Region(place));
        break;
    }
    default: {
        platform::Rect place{rect.left, rect.top, rect.left + width, rect.top + height};
        imaging::draw_picture(&picture, &context, place.left, place.top, width, height, background);
        fill = fill.subtracted(platform::Region(place));
        break;
    }
    }
    context.restore();
    return fill;
}

void Label::paint(platform::DeviceContext& context, const platform::Region& area)
{
    if (area.empty())
        return;
    const form::LabelBlock& b = m_block;
    platform::Rect rect = platform::client_rect(handle());

    int frame_width = static_cast<std::int32_t>(b.frame_width);
    if (b.border == static_cast<std::uint32_t>(Border::GradientFrame) && frame_width > 0) {
        const std::uint32_t slots[] = {b.frame_colour_1, b.frame_colour_2, b.frame_colour_3};
        std::vector<platform::Colour> colours = usable_colours(slots);
        if (colours.size() >= 2 && draw_gradient_frame(context, rect, frame_width, colours, area))
            rect = platform::Rect{rect.left + frame_width, rect.top + frame_width, rect.right - frame_width,
                                  rect.bottom - frame_width};
    }

    platform::Region fill = area.intersected(platform::Region(rect));
    platform::Colour background = resolve_background_colour(b.background_colour);
    bool had_picture = !b.background_picture.empty();
    if (const imaging::DecodedPicture* picture = background_picture()) {
        fill = draw_background_picture(context, *picture, rect, area, fill, background);
    } else if (!had_picture && b.background_gradient >= 1 &&
               b.background_gradient <= static_cast<std::uint32_t>(kHighestGradientDirection)) {
        const std::uint32_t slots[] = {b.gradient_colour_1, b.gradient_colour_2, b.gradient_colour_3};
        std::vector<platform::Colour> colours = usable_colours(slots);
        if (colours.size() >= 2 &&
            fill_gradient(context, rect, static_cast<GradientDirection>(b.background_gradient), colours, area))
            fill = platform::Region();
    }
    context.fill_region(fill, background);

    CaptionStyle style;
    style.effect = b.text_effect;
    style.horizontal_alignment = b.horizontal_alignment;
    style.vertical_alignment = b.vertical_alignment;
    style.word_wrap = b.word_wrap != 0;
    style.colour = b.text_colour & 0xFFFFFF;
    draw_caption(context, platform::window_text(handle()), rect, b.font, style);
}

}  // namespace runtime::components
