// Window loading.
//
//   Load window and create window
//   Z order
//   Destruction and unit notifications

#include "runtime/windows/window_loading.h"

#include "platform/cursors.h"
#include "platform/message_loop.h"
#include "platform/native_window.h"
#include "runtime/components/component.h"
#include "runtime/components/mouse_pointer.h"
#include "runtime/components/window_kind.h"
#include "runtime/diagnostics/error_report.h"
#include "runtime/diagnostics/messages.h"
#include "runtime/windows/window_system.h"
#include "runtime/windows/window_table.h"

#include <vector>

namespace runtime {

using components::Component;
using components::KindRecord;
using components::WindowObject;

namespace {

constexpr int kFirstChildId = 100;
constexpr int kChildIdStep = 10;

struct CreatedUnit {
    std::size_t index = 0;
    Component* object = nullptr;
    bool visible = false;
};

platform::WindowHandle handle_of(const form::UnitRecord& record)
{
    Component* component = component_of(record);
    return component ? component->handle() : 0;
}

// The native window a component's stored parent names: a unit of the window, or the window itself.
platform::WindowHandle parent_handle_of(form::UnitTable& units, const form::UnitRecord& record)
{
    if (record.parent() != 0) {
        if (const form::UnitRecord* parent = units.find(record.parent()); parent && parent != &record) {
            if (platform::WindowHandle handle = handle_of(*parent))
                return handle;
        }
    }
    return handle_of(units.record(0));
}

void send_to_every_unit(form::UnitTable& units, std::uint32_t message)
{
    for (std::size_t index = units.size(); index-- > 0;) {
        const form::UnitRecord& record = units.record(index);
        if (record.is_menu_item())
            continue;
        if (platform::WindowHandle handle = handle_of(record))
            platform::send_message(handle, message);
    }
}

void destroy_unit_cursor(form::UnitRecord& record)
{
    if (record.cursor())
        platform::destroy_cursor(static_cast<platform::CursorHandle>(record.cursor()));
    record.set_cursor(0);
}

// Undoes a creation that failed part-way: what was made is destroyed and the description restored.
void abandon_creation(WindowEntry& entry)
{
    form::UnitTable& units = entry.unit.units;
    if (WindowObject* window = window_object(entry); window && platform::is_window(window->handle())) {
        // Destroying the window destroys the components made so far and swaps the description back.
        platform::destroy_window(window->handle());
    } else {
        for (std::size_t index = units.size(); index-- > 1;) {
            if (Component* component = component_of(units.record(index)); component && component->handle())
                platform::destroy_window(component->handle());
        }
        if (!entry.pristine.empty()) {
            units.swap(entry.pristine);
        }
    }
    entry.pristine = form::UnitTable();
}

void disable_other_windows(WindowEntry& entry, WindowObject& window)
{
    for (WindowEntry& other : window_table().entries()) {
        if (&other == &entry || !window_is_live(other))
            continue;
        platform::WindowHandle handle = window_object(other)->handle();
        if (platform::parent_window(handle))
            continue;
        bool was_enabled = platform::is_enabled(handle);
        platform::enable_window(handle, false);
        window.disabled_for_modal.push_back({handle, was_enabled});
    }
}

void end_modal_state(WindowObject& window)
{
    for (const WindowObject::DisabledWindow& disabled : window.disabled_for_modal) {
        if (platform::is_window(disabled.window))
            platform::enable_window(disabled.window, disabled.was_enabled);
    }
    window.disabled_for_modal.clear();
    window.modal = false;
}

// The native style bits and visibility of a unit.
struct UnitStyle {
    std::uint32_t bits = 0;
    bool visible = false;
};

UnitStyle style_of(const form::UnitRecord& record, const KindRecord& kind, bool is_window, NewInstance new_instance)
{
    UnitStyle style;
    if (kind.flags & components::KindFlag::NoNativeWindow)
        return style;
    if (is_window && new_instance == NewInstance::Yes)
        style.visible = true;
    else
        style.visible = record.visible();
    if (!(is_window && new_instance == NewInstance::Yes) && record.disabled())
        style.bits |= platform::WS_DISABLED;
    if (record.tab_stop())
        style.bits |= platform::WS_TABSTOP;
    return style;
}

}  // namespace

// ---- Load window and create window -------------------------------------------------------------

void load_start_window(WindowId window)
{
    WindowEntry* entry = window_table().find(window);
    if (!entry || !create_window(*entry, NewInstance::No, Modal::No, 0))
        report_runtime_error(messages::start_window_failed(), 0, window, 0);
}

bool create_window(WindowEntry& entry, NewInstance new_instance, Modal modal, platform::WindowHandle owner)
{
    form::UnitTable& units = entry.unit.units;
    if (units.empty())
        return false;

    if (new_instance == NewInstance::No && window_is_live(entry)) {
        platform::WindowHandle handle = window_object(entry)->handle();
        if (platform::is_minimized(handle))
            platform::show_window(handle, platform::ShowCommand::Restore);
        else
            platform::set_active_window(handle);
        return true;
    }
    if (modal == Modal::Yes)
        owner = 0;
    else if (owner && !platform::is_window(owner))
        return false;

    begin_load();
    entry.pristine = units;

    // FIXME: menu-item units would become a menu bar and its accelerator table here; no window of
    // this program has any, and they are skipped below.

    // Entry 0 first, then the components from the last entry to the first.
    std::vector<std::size_t> order;
    order.push_back(0);
    for (std::size_t index = units.size(); index-- > 1;)
        order.push_back(index);

    std::vector<CreatedUnit> created;
    std::vector<std::size_t> paged_containers;
    WindowObject* window = nullptr;
    int next_child_id = kFirstChildId;
    bool failed = false;
    for (std::size_t index : order) {
        form::UnitRecord& record = units.record(index);
        if (record.is_menu_item())
            continue;
        const KindRecord* kind = components::find_kind(record.kind());
        auto create =
            kind && kind->interface_function
                ? reinterpret_cast<components::CreateOperation>(kind->interface_function(components::Interface::Create))
                : nullptr;
        if (!create) {
            failed = true;
            break;
        }
        bool is_window = index == 0;
        UnitStyle style = style_of(record, *kind, is_window, new_instance);

        components::CreateRequest request;
        request.block = record.property_block();
        request.style_bits = style.bits;
        request.left = record.left();
        request.top = record.top();
        request.width = record.width();
        request.height = record.height();
        request.window = entry.unit.id;
        request.control = record.id();
        if (is_window) {
            request.parent = owner;
            request.modal = modal == Modal::Yes;
        } else {
            request.parent = window->handle();
            request.child_id = next_child_id;
            next_child_id += kChildIdStep;
        }
        Component* object = create(request);
        if (is_window) {
            window = dynamic_cast<WindowObject*>(object);
            if (!window || !platform::is_window(window->handle())) {
                delete object;
                failed = true;
                break;
            }
            window->new_instance = new_instance == NewInstance::Yes;
        } else if (!object) {
            failed = true;
            break;
        }
        record.set_object(object);
        created.push_back({index, object, style.visible});
        if (kind->flags & components::KindFlag::TabControl)
            paged_containers.push_back(index);
    }
    if (failed) {
        abandon_creation(entry);
        end_load();
        return false;
    }

    // Re-parent every component under its stored parent.
    for (std::size_t index = 1; index < units.size(); ++index) {
        const form::UnitRecord& record = units.record(index);
        if (record.is_menu_item())
            continue;
        if (platform::WindowHandle handle = handle_of(record))
            platform::set_parent(handle, parent_handle_of(units, record));
    }
    // Only the first page of a paged container shows: the children after its first 0 stay hidden.
    for (std::size_t container : paged_containers) {
        std::vector<ControlId> children = units.record(container).children();
        bool later_page = false;
        for (ControlId child : children) {
            if (child == 0) {
                later_page = true;
                continue;
            }
            if (!later_page)
                continue;
            for (CreatedUnit& unit : created) {
                if (units.id_at(unit.index) == child)
                    unit.visible = false;
            }
        }
    }

    for (std::size_t index = 1; index < units.size(); ++index)
        restore_z_place(entry, index);

    for (std::size_t index = 0; index < units.size(); ++index) {
        form::UnitRecord& record = units.record(index);
        if (record.is_menu_item())
            continue;
        platform::CursorHandle cursor = components::make_cursor(record.mouse_pointer());
        record.set_cursor(static_cast<std::uintptr_t>(cursor));
        if (cursor)
            platform::set_window_cursor(handle_of(record), cursor);
    }

    send_to_every_unit(units, components::PrivateMessage::Created);
    platform::send_message(window->handle(), components::PrivateMessage::ChildrenChanged);

    for (const CreatedUnit& unit : created) {
        if (unit.index == 0)
            continue;
        platform::show_window(unit.object->handle(),
                              unit.visible ? platform::ShowCommand::ShowNoActivate : platform::ShowCommand::Hide);
    }
    end_load();

    // A handler may destroy the window at any point from here on; each step checks first.
    const WindowId window_id = entry.unit.id;
    auto still_there = [&]() { return window_is_live(entry) && window_object(entry) == window; };
    // The window was made: a handler that closes it early ends the sequence, not the load.
    for (int event :
         {components::WindowEvent::Created, components::WindowEvent::Moved, components::WindowEvent::Resized}) {
        if (!still_there())
            return true;
        components::EventRecord record{window_id, 0, event};
        components::raise_event(record);
    }
    if (!still_there())
        return true;
    if (created.front().visible)
        window->show();
    if (!still_there())
        return true;

    if (modal == Modal::Yes) {
        window->modal = true;
        disable_other_windows(entry, *window);
    }

    platform::WindowHandle focus = platform::focus_window();
    send_to_every_unit(units, components::PrivateMessage::LoadFinished);
    if (focus && platform::is_window(focus) && platform::focus_window() != focus)
        platform::set_focus(focus);
    if (!still_there())
        return true;
    window->fully_created = true;
    return true;
}

// ---- Z order -----------------------------------------------------------------------------------

void restore_z_place(WindowEntry& entry, std::size_t index)
{
    using namespace platform;
    form::UnitTable& units = entry.unit.units;
    if (index == 0 || index >= units.size() || units.record(index).is_menu_item())
        return;
    WindowHandle handle = handle_of(units.record(index));
    if (!handle)
        return;
    constexpr std::uint32_t kKeepPlace = WindowPosFlag::NoMove | WindowPosFlag::NoSize | WindowPosFlag::NoActivate;
    // Within each parent, table order is stacking order from the top: place below the nearest
    // earlier unit with the same parent.
    ControlId parent = units.record(index).parent();
    WindowHandle above = kInsertAtTop;
    if (index > 1) {
        for (std::size_t earlier = index - 1; earlier >= 1; --earlier) {
            const form::UnitRecord& record = units.record(earlier);
            if (!record.is_menu_item() && record.parent() == parent) {
                if (WindowHandle earlier_handle = handle_of(record))
                    above = earlier_handle;
                break;
            }
        }
    }
    set_window_pos(handle, above, 0, 0, 0, 0, kKeepPlace);
}

// ---- Destruction and unit notifications ---------------------------------------------------------

void window_destroyed(WindowObject& window)
{
    WindowEntry* entry = window_table().find(window.window_id());
    if (window.modal || !window.disabled_for_modal.empty())
        end_modal_state(window);
    if (entry && window_object(*entry) == &window) {
        form::UnitTable& units = entry->unit.units;
        for (std::size_t index = 0; index < units.size(); ++index)
            destroy_unit_cursor(units.record(index));
        // The next load starts again from the stored description.
        if (!entry->pristine.empty())
            units.swap(entry->pristine);
        else
            units.record(0).set_object(nullptr);
        entry->pristine = form::UnitTable();
    }
    if (message_loop_running() && !any_window_live())
        platform::post_quit_message(0);
    delete &window;
}

void destroy_remaining_windows()
{
    for (WindowEntry& entry : window_table().entries()) {
        if (window_is_live(entry))
            platform::destroy_window(window_object(entry)->handle());
    }
    if (platform::WindowHandle owner = hidden_owner_window(); owner && platform::is_window(owner))
        platform::destroy_window(owner);
}

}  // namespace runtime

namespace runtime::components {

void notify_unit_destroyed(WindowId window, ControlId control)
{
    WindowEntry* entry = window_table().find(window);
    if (!entry)
        return;
    // The old native window of a control being rebuilt does not clear its unit.
    if (recreation_in_progress(window))
        return;
    form::UnitRecord* record = entry->unit.units.find(control);
    if (!record || record == &entry->unit.units.record(0))
        return;
    destroy_unit_cursor(*record);
    record->set_object(nullptr);
}

}  // namespace runtime::components
