// Re-creation: rebuilding one control's native window from its saved property block, after a
// property change that the live native window cannot take.

#include "platform/cursors.h"
#include "platform/native_window.h"
#include "runtime/components/component.h"
#include "runtime/components/window_kind.h"
#include "runtime/windows/window_loading.h"
#include "runtime/windows/window_system.h"
#include "runtime/windows/window_table.h"

namespace runtime::components {
namespace {

// Raised for the window while one of its controls is rebuilt: events of the window are not
// dispatched and the old native window's destruction does not clear the unit.
class RecreationGuard {
public:
    explicit RecreationGuard(WindowObject* window)
        : m_window(window)
    {
        if (m_window)
            ++m_window->recreations_running;
    }
    ~RecreationGuard()
    {
        if (m_window)
            --m_window->recreations_running;
    }
    RecreationGuard(const RecreationGuard&) = delete;
    RecreationGuard& operator=(const RecreationGuard&) = delete;

private:
    WindowObject* m_window;
};

}  // namespace

bool recreation_in_progress(WindowId window)
{
    WindowEntry* entry = window_table().find(window);
    WindowObject* object = entry ? window_object(*entry) : nullptr;
    return object && object->recreations_running > 0;
}

bool recreate_component(WindowId window, ControlId control)
{
    WindowEntry* entry = window_table().find(window);
    if (!entry)
        return false;
    form::UnitTable& units = entry->unit.units;
    std::optional<std::size_t> index = units.index_of(control);
    if (!index || *index == 0 || units.record(*index).is_menu_item())
        return false;
    form::UnitRecord& record = units.record(*index);
    const KindRecord* kind = find_kind(record.kind());
    if (!kind || !kind->interface_function || (kind->flags & KindFlag::NeverRecreated))
        return false;
    auto save = reinterpret_cast<SavePropertiesOperation>(kind->interface_function(Interface::SaveProperties));
    auto create = reinterpret_cast<CreateOperation>(kind->interface_function(Interface::Create));
    Component* old_object = component_of(record);
    if (!save || !create || !old_object || !platform::is_window(old_object->handle()))
        return false;
    platform::WindowHandle old_handle = old_object->handle();

    platform::WindowHandle focus_before = platform::focus_window();
    bool had_focus = focus_before == old_handle;
    std::optional<std::vector<std::uint8_t>> saved = save(old_object);
    if (!saved)
        return false;

    platform::Rect place = platform::window_rect_in_parent(old_handle);
    std::uint32_t old_style = platform::window_style(old_handle);
    platform::WindowHandle parent = platform::parent_window(old_handle);

    RecreationGuard guard(window_object(*entry));
    CreateRequest request;
    request.block = *saved;
    request.style_bits = old_style & (platform::WS_DISABLED | platform::WS_TABSTOP);
    if (!platform::is_enabled(old_handle))
        request.style_bits |= platform::WS_DISABLED;
    request.parent = parent;
    request.child_id = platform::window_id(old_handle);
    request.left = place.left;
    request.top = place.top;
    request.width = place.width();
    request.height = place.height();
    request.window = window;
    request.control = control;
    Component* new_object = create(request);
    if (!new_object)
        return false;
    platform::WindowHandle new_handle = new_object->handle();
    if (!platform::is_window(new_handle)) {
        delete new_object;
        return false;
    }

    if (kind->flags & KindFlag::Container) {
        std::vector<platform::WindowHandle> children = platform::child_windows(old_handle);
        for (auto child = children.rbegin(); child != children.rend(); ++child)
            platform::set_parent(*child, new_handle);
    }
    record.set_object(new_object);
    if (record.cursor())
        platform::set_window_cursor(new_handle, static_cast<platform::CursorHandle>(record.cursor()));
    restore_z_place(*entry, *index);
    platform::send_message(new_handle, PrivateMessage::Created);
    platform::send_message(new_handle, PrivateMessage::LoadFinished);
    if ((kind->flags & KindFlag::Notify8004AfterRecreation) && parent)
        platform::send_message(parent, PrivateMessage::ChildrenChanged);
    if (old_style & platform::WS_VISIBLE)
        platform::show_window(new_handle, platform::ShowCommand::ShowNoActivate);
    // FIXME: a tab-control kind (flag 0x100) would copy its current page to the new window here;
    // no such kind exists in this runtime.

    platform::destroy_window(old_handle);
    if (had_focus)
        platform::set_focus(new_handle);
    else if (focus_before && platform::is_window(focus_before) && platform::focus_window() != focus_before)
        platform::set_focus(focus_before);
    return true;
}

}  // namespace runtime::components
