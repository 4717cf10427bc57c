// The template switch: the kind selector's content picks a row of the kind table; the preview gets
// that kind's template and the overlay labels move to the kind's blanks.

#include "app/data/embedded_data.h"
#include "app/handlers.h"
#include "app/kind_table.h"
#include "app/main_window.h"
#include "app/runtime_link.h"
#include "app/text_compare.h"

namespace app {
namespace {

bool selector_shows(const char* kind_name)
{
    // Read anew for every row; the copy is released whether or not it matched.
    char* content = as_text(get(control::KindSelector, property::ComboContent));
    bool matches = compare_texts(content, kind_name) == 0;
    if (content)
        rt().release(content);
    return matches;
}

void apply_layout(const KindLayout& layout)
{
    const MoveOrder& order = move_order(layout.move_order);
    for (int i = 0; i < order.count; ++i) {
        Overlay overlay = order.overlays[static_cast<std::size_t>(i)];
        const OverlayPosition& position = layout.positions[overlay];
        if (position.left == kUnmoved)
            continue;
        std::int32_t left = position.left;
        if (left == kLeftOfNameLabel)
            left = static_cast<std::int32_t>(get(control::NameLabel, property::Left).low);
        runtime::ControlId label = overlay_control(overlay);
        set_integer(label, property::Left, left);
        set_integer(label, property::Top, position.top);
    }
}

}  // namespace

HandlerResult on_kind_selected(const std::int32_t*, int)
{
    for (int kind = 1; kind <= data::kKindCount; ++kind) {
        if (!selector_shows(data::kind_name(kind)))
            continue;
        set(control::Preview, property::LabelBackgroundPicture,
            reinterpret_cast<runtime::Word>(data::kind_template(kind)));
        const KindLayout& layout = kKindLayouts[static_cast<std::size_t>(kind - 1)];
        apply_layout(layout);
        if (layout.refresh_captions)
            refresh_captions();
        return {};
    }
    return {};
}

}  // namespace app
