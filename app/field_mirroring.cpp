// Field mirroring: whatever is typed into an edit box is copied, verbatim, into the overlay label or
// labels that show it on the certificate.

#include "app/handlers.h"
#include "app/main_window.h"
#include "app/runtime_link.h"

namespace app {
namespace {

void copy_content(runtime::ControlId source, runtime::ControlId target, std::int32_t caption_index)
{
    runtime::PropertyValue text = get(source, property::EditContent);
    set(target, caption_index, text.low);
    if (text.low)
        rt().release(as_text(text));
}

}  // namespace

// The name appears twice on the certificate; the content is read anew for the second copy.
HandlerResult on_name_changed(const std::int32_t*, int)
{
    copy_content(control::NameBox, control::NameLabel, property::LabelCaption);
    copy_content(control::NameBox, control::SecondNameLabel, property::LabelCaption);
    return {};
}

HandlerResult on_sex_changed(const std::int32_t*, int)
{
    copy_content(control::SexBox, control::SexLabel, property::LabelCaption);
    return {};
}

HandlerResult on_date_changed(const std::int32_t*, int)
{
    copy_content(control::DateBox, control::DateLabel, property::TransparentLabelCaption);
    return {};
}

HandlerResult on_age_changed(const std::int32_t*, int)
{
    copy_content(control::AgeBox, control::AgeLabel, property::LabelCaption);
    return {};
}

HandlerResult on_number_changed(const std::int32_t*, int)
{
    copy_content(control::NumberBox, control::NumberLabel, property::TransparentLabelCaption);
    return {};
}

void refresh_captions()
{
    on_date_changed(nullptr, 0);
    on_number_changed(nullptr, 0);
}

}  // namespace app
