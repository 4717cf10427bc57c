// The transparent label kind.
//
//   Kind record ..... property table and interface function
//   Window .......... class registration, creation, the window procedure
//   Properties ...... write (clamped, then refresh beneath), read, save
//   Painting ........ the caption alone, and the refresh of what lies beneath

#include "runtime/components/transparent_label.h"

#include "platform/native_window.h"
#include "runtime/components/kind_support.h"
#include "runtime/components/property_values.h"
#include "runtime/components/text_drawing.h"

#include <algorithm>
#include <array>
#include <vector>

namespace runtime::components {

// ==== Kind record ================================================================================

namespace {

constexpr auto kTransparentLabelProperties = property_table<7>({{
                                                                   TypeCode::Text,     // 8 caption
                                                                   TypeCode::Pick,     // 9 text effect
                                                                   TypeCode::Font,     // 10 font
                                                                   TypeCode::Colour,   // 11 text colour
                                                                   TypeCode::Pick,     // 12 horizontal alignment
                                                                   TypeCode::Logical,  // 13 word wrap
                                                                   TypeCode::Pick,     // 14 vertical alignment
                                                               }},
                                                               kExtendedLibraryPropertyFlags);
static_assert(kTransparentLabelProperties.size() == 15);

Operation transparent_label_interface(int number)
{
    return standard_operation<TransparentLabel>(number);
}

}  // namespace

const KindRecord& transparent_label_kind()
{
    static const KindRecord record{"透明标签",
                                   "TransLabel",
                                   0x00012040,
                                   static_cast<int>(kTransparentLabelProperties.size()),
                                   kTransparentLabelProperties.data(),
                                   &transparent_label_interface};
    return record;
}

// ==== Window =====================================================================================

namespace {

bool register_transparent_label_class()
{
    return register_kind_class(kTransparentLabelClassName,
                               platform::CS_VREDRAW | platform::CS_HREDRAW | platform::CS_DBLCLKS,
                               &transparent_label_window_procedure);
}

}  // namespace

TransparentLabel::TransparentLabel(WindowId window, ControlId control, form::TransparentLabelBlock block)
    : Component(window, control)
    , m_block(std::move(block))
{
}

Component* TransparentLabel::create(const CreateRequest& request)
{
    form::Result<form::TransparentLabelBlock> block =
        form::read_property_block<form::TransparentLabelBlock>(request.block);
    if (!block || !register_transparent_label_class())
        return nullptr;
    auto label = std::make_unique<TransparentLabel>(request.window, request.control, std::move(block).value());
    platform::CreateParams params;
    params.class_name = kTransparentLabelClassName;
    params.text = label->m_block.caption;
    params.style = request.style_bits | platform::WS_CHILD | platform::WS_CLIPSIBLINGS;
    params.ex_style = platform::WS_EX_TRANSPARENT;
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
    platform::set_window_user_data(handle, reinterpret_cast<std::intptr_t>(label.get()));
    return label.release();
}

std::intptr_t transparent_label_window_procedure(platform::WindowHandle handle, platform::Message& message)
{
    auto* label = component_of_window<TransparentLabel>(handle);
    if (!label)
        return platform::default_window_procedure(handle, message);
    switch (message.id) {
    case platform::WM_PAINT: {
        auto* request = reinterpret_cast<platform::PaintRequest*>(message.lparam);
        if (request && request->context && !request->update_region.empty())
            label->paint(*request->context);
        return 0;
    }
    case platform::WM_MOVE: {
        std::intptr_t result = platform::default_window_procedure(handle, message);
        refresh_beneath(handle);
        return result;
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

// ==== Properties =================================================================================

int TransparentLabel::property_changed(int index, const PropertyData& data)
{
    using namespace TransparentLabelProperty;
    form::TransparentLabelBlock& b = m_block;
    switch (index) {
    case Caption:
        b.caption = text_of(data);
        platform::set_window_text(handle(), b.caption);
        break;
    case Effect:
        b.text_effect = choice_of(data, kHighestTextEffect);
        break;
    case Font:
        b.font = font_of(data);
        break;
    case TextColour:
        b.text_colour = integer_of(data);
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
    default:
        break;
    }
    // Whatever was written, the old glyphs must go: what lies beneath is drawn again first.
    refresh_beneath(handle());
    return 0;
}

int TransparentLabel::read_property(int index, PropertyData& data)
{
    using namespace TransparentLabelProperty;
    const form::TransparentLabelBlock& b = m_block;
    switch (index) {
    case Caption:
        put_text(data, b.caption);
        return 1;
    case Effect:
        put_integer(data, b.text_effect);
        return 1;
    case Font:
        put_font(data, b.font);
        return 1;
    case TextColour:
        put_integer(data, b.text_colour);
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
    default:
        return 0;
    }
}

std::vector<std::uint8_t> TransparentLabel::save_properties() const
{
    return form::write_property_block(m_block);
}

// ==== Painting ===================================================================================

void TransparentLabel::paint(platform::DeviceContext& context)
{
    CaptionStyle style;
    style.effect = m_block.text_effect;
    style.horizontal_alignment = m_block.horizontal_alignment;
    style.vertical_alignment = m_block.vertical_alignment;
    style.word_wrap = m_block.word_wrap != 0;
    style.colour = m_block.text_colour & 0xFFFFFF;
    draw_caption(context, platform::window_text(handle()), platform::client_rect(handle()), m_block.font, style);
}

namespace {

// Visible descendants of `parent`: for each visible child from the top of the Z order, its own
// visible descendants first, then the child.
void collect_visible_descendants(platform::WindowHandle parent, std::vector<platform::WindowHandle>& windows)
{
    for (platform::WindowHandle child : platform::child_windows(parent)) {
        if (!(platform::window_style(child) & platform::WS_VISIBLE))
            continue;
        collect_visible_descendants(child, windows);
        windows.push_back(child);
    }
}

platform::Rect intersection(const platform::Rect& a, const platform::Rect& b)
{
    return platform::Rect{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
                          std::min(a.bottom, b.bottom)};
}

platform::Rect to_client(platform::WindowHandle window, const platform::Rect& screen)
{
    platform::Point origin = platform::screen_to_client(window, platform::Point{screen.left, screen.top});
    return platform::Rect{origin.x, origin.y, origin.x + screen.width(), origin.y + screen.height()};
}

}  // namespace

namespace {

// Refreshes held back by open batches: the windows they invalidated, the top-level window first.
int g_batch_depth = 0;
std::vector<platform::WindowHandle> g_waiting;

void hold_back(platform::WindowHandle window)
{
    if (std::find(g_waiting.begin(), g_waiting.end(), window) == g_waiting.end())
        g_waiting.push_back(window);
}

// One update of the top-level window paints everything invalidated in it, back to front; the rest
// only catch what that pass could not reach (a window outside its client area).
void paint_now(const std::vector<platform::WindowHandle>& windows)
{
    for (platform::WindowHandle window : windows)
        platform::update_window(window);
}

}  // namespace

void refresh_beneath(platform::WindowHandle label)
{
    using namespace platform;
    if (!is_window(label))
        return;
    WindowHandle top = label;
    for (WindowHandle up = parent_window(top); up && !(window_style(top) & WS_POPUP); up = parent_window(top))
        top = up;

    Rect client = client_rect(label);
    Point origin = client_to_screen(label, Point{0, 0});
    Rect covered{origin.x, origin.y, origin.x + client.width(), origin.y + client.height()};
    std::vector<WindowHandle> invalidated;
    if (top != label) {
        invalidate(top, to_client(top, covered), Erase::Yes);
        invalidated.push_back(top);
    }

    std::vector<WindowHandle> windows;
    collect_visible_descendants(top, windows);
    for (auto window = windows.rbegin(); window != windows.rend(); ++window) {
        // Frames are composed by the platform with the client areas they surround, so repainting
        // the client part inside the label's rectangle is enough.
        Rect shared = intersection(window_rect(*window), covered);
        if (shared.empty())
            continue;
        invalidate(*window, to_client(*window, shared), Erase::Yes);
        invalidated.push_back(*window);
    }
    invalidate(label, std::nullopt, Erase::No);
    invalidated.push_back(label);

    if (g_batch_depth > 0) {
        for (WindowHandle window : invalidated)
            hold_back(window);
        return;
    }
    paint_now(invalidated);
}

RefreshBatch::RefreshBatch()
{
    ++g_batch_depth;
}

RefreshBatch::~RefreshBatch()
{
    if (--g_batch_depth == 0)
        complete_pending_refreshes();
}

void complete_pending_refreshes()
{
    std::vector<platform::WindowHandle> waiting;
    waiting.swap(g_waiting);
    paint_now(waiting);
}

}  // namespace runtime::components
