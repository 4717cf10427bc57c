#include "runtime/components/common_properties.h"

#include "platform/cursors.h"
#include "platform/native_window.h"
#include "runtime/boundary/heap.h"
#include "runtime/components/component.h"
#include "runtime/components/mouse_pointer.h"
#include "runtime/components/window_kind.h"
#include "runtime/windows/window_system.h"
#include "runtime/windows/window_table.h"

#include <algorithm>

namespace runtime::components {
namespace {

// The control's live native window, or 0.
platform::WindowHandle live_handle(const form::UnitRecord& record)
{
    const Component* component = component_of(record);
    if (!component || !platform::is_window(component->handle()))
        return 0;
    return component->handle();
}

std::int32_t as_int(Word value)
{
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(value));
}

void write_mouse_pointer(form::UnitRecord& record, Word low)
{
    const void* block = reinterpret_cast<const void*>(low);
    std::int32_t count = byte_set_count(block);
    std::vector<std::uint8_t> data;
    if (block && count > 0)
        data = pointer_with_cursor_id(std::span(byte_set_data(block), static_cast<std::size_t>(count)));
    if (record.cursor())
        platform::destroy_cursor(static_cast<platform::CursorHandle>(record.cursor()));
    platform::CursorHandle cursor = make_cursor(data);
    record.set_mouse_pointer(data);
    record.set_cursor(static_cast<std::uintptr_t>(cursor));
    if (platform::WindowHandle handle = live_handle(record))
        platform::set_window_cursor(handle, cursor);
}

void show_control(WindowEntry& entry, form::UnitRecord& record, platform::WindowHandle handle)
{
    if (&record == &entry.unit.units.record(0)) {
        if (WindowObject* window = window_object(entry))
            window->show();
        return;
    }
    const KindRecord* kind = find_kind(record.kind());
    if (kind && (kind->flags & KindFlag::NoNativeWindow))
        return;
    // FIXME: a control on a page of a tab control that is not the current page would stay hidden
    // here; this runtime has no tab-control kind.
    platform::show_window(handle, platform::ShowCommand::Show);
}

}  // namespace

std::int32_t clamp_coordinate(std::int32_t value)
{
    return std::clamp(value, kMinCoordinate, kMaxCoordinate);
}

std::int32_t clamp_size(std::int32_t value)
{
    return std::clamp(value, 0, kMaxSize);
}

PropertyValue read_common_property(const form::UnitRecord& record, int index)
{
    platform::WindowHandle handle = live_handle(record);
    auto word = [](std::int32_t value) { return PropertyValue{static_cast<Word>(static_cast<SignedWord>(value)), 0}; };
    switch (index) {
    case CommonProperty::Left:
        return word(handle ? platform::window_rect_in_parent(handle).left : record.left());
    case CommonProperty::Top:
        return word(handle ? platform::window_rect_in_parent(handle).top : record.top());
    case CommonProperty::Width:
        return word(handle ? platform::window_rect(handle).width() : record.width());
    case CommonProperty::Height:
        return word(handle ? platform::window_rect(handle).height() : record.height());
    case CommonProperty::Tag: {
        std::string_view tag = record.tag();
        return {reinterpret_cast<Word>(heap_copy_text(tag.data(), tag.size())), 0};
    }
    case CommonProperty::Visible:
        return word(handle ? platform::is_visible(handle) : record.visible());
    case CommonProperty::Disabled:
        return word(handle ? !platform::is_enabled(handle) : record.disabled());
    case CommonProperty::MousePointer: {
        std::vector<std::uint8_t> data = pointer_with_index(record.mouse_pointer());
        return {reinterpret_cast<Word>(heap_copy_byte_set(data.data(), data.size())), 0};
    }
    default:
        return {};
    }
}

void write_common_property(WindowEntry& entry, form::UnitRecord& record, int index, Word low)
{
    platform::WindowHandle handle = live_handle(record);
    std::int32_t value = as_int(low);
    switch (index) {
    case CommonProperty::Left:
    case CommonProperty::Top: {
        value = clamp_coordinate(value);
        if (index == CommonProperty::Left)
            record.set_left(value);
        else
            record.set_top(value);
        if (handle) {
            platform::Rect place = platform::window_rect_in_parent(handle);
            int x = index == CommonProperty::Left ? value : place.left;
            int y = index == CommonProperty::Top ? value : place.top;
            platform::move_window(handle, x, y, place.width(), place.height(), platform::Repaint::Yes);
        }
        break;
    }
    case CommonProperty::Width:
    case CommonProperty::Height: {
        value = clamp_size(value);
        if (index == CommonProperty::Width)
            record.set_width(value);
        else
            record.set_height(value);
        if (handle) {
            platform::Rect outer = platform::window_rect(handle);
            int width = index == CommonProperty::Width ? value : outer.width();
            int height = index == CommonProperty::Height ? value : outer.height();
            platform::set_window_pos(handle, 0, 0, 0, width, height,
                                     platform::WindowPosFlag::NoMove | platform::WindowPosFlag::NoZOrder |
                                         platform::WindowPosFlag::NoActivate);
        }
        break;
    }
    case CommonProperty::Tag: {
        const char* text = reinterpret_cast<const char*>(low);
        record.set_tag(text ? std::string_view(text) : std::string_view());
        break;
    }
    case CommonProperty::Visible:
        record.set_visible(value != 0);
        if (handle) {
            if (value == 0)
                platform::show_window(handle, platform::ShowCommand::Hide);
            else
                show_control(entry, record, handle);
        }
        break;
    case CommonProperty::Disabled:
        record.set_disabled(value != 0);
        if (handle)
            platform::enable_window(handle, value == 0);
        break;
    case CommonProperty::MousePointer:
        write_mouse_pointer(record, low);
        break;
    default:
        break;
    }
}

}  // namespace runtime::components
