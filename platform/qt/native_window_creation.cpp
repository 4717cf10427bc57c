// Creation and destruction of native windows, and the attributes they are created with: text,
// styles, identifier and user data.

#include "platform/qt/native_window_shared_qt.h"

#include "platform/qt/cursors_qt.h"
#include "platform/qt/input_routing_qt.h"

#include <algorithm>

namespace platform {

WindowHandle create_window(const CreateParams& params)
{
    auto found_class = classes().find(params.class_name);
    if (found_class == classes().end())
        return 0;
    std::uint32_t style = params.style;
    bool child = style & WS_CHILD;
    // An overlapped window always has a caption.
    if (!(style & (WS_CHILD | WS_POPUP)))
        style |= WS_CAPTION | WS_CLIPSIBLINGS;
    std::shared_ptr<NativeWindow> parent;
    std::shared_ptr<NativeWindow> owner;
    if (child) {
        parent = find_window(params.parent);
        if (!parent || parent->destroying)
            return 0;
    } else {
        // For a top-level window a parent given is its owner.
        WindowHandle owner_handle = params.owner ? params.owner : params.parent;
        if (owner_handle) {
            owner = find_window(owner_handle);
            if (!owner || owner->destroying)
                return 0;
            // The owner is always a top-level window.
            owner = find_window(top_level_ancestor(owner_handle));
        }
    }

    auto window = std::make_shared<NativeWindow>();
    window->handle = next_window_handle();
    window->window_class = found_class->second;
    window->text = params.text;
    window->style = style & ~(WS_VISIBLE | WS_DISABLED | WS_MINIMIZE | WS_MAXIMIZE);
    window->ex_style = params.ex_style;
    window->id = params.id;
    window->owner = owner ? owner->handle : 0;
    window->builtin = static_cast<bool>(window->window_class->client_factory);

    QWidget* qt_parent = child ? parent->client.data() : (owner ? owner->outer.data() : nullptr);
    auto* outer = new OuterWidget(window->handle, qt_parent);
    window->outer = outer;
    if (!child) {
        outer->setWindowFlags(top_level_flags(window->style, window->ex_style));
        outer->setWindowTitle(qt_from_gbk(window->text));
    }
    outer->hide();
    windows()[window->handle] = window;
    widget_handles()[outer] = window->handle;
    if (window->builtin) {
        QWidget* client = window->window_class->client_factory(*window, params);
        client->setParent(outer);
        client->setAttribute(Qt::WA_NoMousePropagation);
        window->client = client;
    } else {
        window->client = new ClientWidget(window->handle, outer);
    }
    widget_handles()[window->client.data()] = window->handle;
    window->client->show();
    if (params.style & WS_DISABLED)
        outer->setEnabled(false);
    set_window_cursor(window->handle, 0);
    if (!child)
        bring_top_level_to_front(window->handle);
    else
        outer->raise();

    // Geometry first without messages: WM_CREATE comes before WM_SIZE and WM_MOVE.
    apply_geometry(window, params.x, params.y, params.width, params.height);

    Message create{WM_CREATE, 0, reinterpret_cast<std::intptr_t>(&params), 0};
    if (call_window_procedure(window, create) == -1) {
        destroy_window(window->handle);
        return 0;
    }
    if (!is_window(window->handle))
        return 0;
    window->created = true;
    report_geometry(window);
    if (params.style & WS_VISIBLE) {
        ShowCommand command = ShowCommand::Show;
        if (params.style & WS_MAXIMIZE)
            command = ShowCommand::Maximized;
        else if (params.style & WS_MINIMIZE)
            command = ShowCommand::Minimized;
        show_window(window->handle, command);
    }
    return is_window(window->handle) ? window->handle : 0;
}

namespace {

void send_destroy_messages(const std::shared_ptr<NativeWindow>& window)
{
    Message destroy{WM_DESTROY, 0, 0, 0};
    call_window_procedure(window, destroy);
    for (WindowHandle child : child_windows(window->handle)) {
        if (std::shared_ptr<NativeWindow> child_window = find_window(child))
            send_destroy_messages(child_window);
    }
}

void finish_destruction(const std::shared_ptr<NativeWindow>& window)
{
    for (WindowHandle child : child_windows(window->handle)) {
        if (std::shared_ptr<NativeWindow> child_window = find_window(child))
            finish_destruction(child_window);
    }
    Message final_message{WM_NCDESTROY, 0, 0, 0};
    call_window_procedure(window, final_message);
    for (const auto& [id, qt_id] : window->timers) {
        if (window->outer)
            window->outer->killTimer(qt_id);
    }
    window->timers.clear();
    forget_focus(window->handle);
    remove_from_top_level_order(window->handle);
    widget_handles().erase(window->outer.data());
    widget_handles().erase(window->client.data());
    windows().erase(window->handle);
}

}  // namespace

bool destroy_window(WindowHandle handle)
{
    std::shared_ptr<NativeWindow> window = find_window(handle);
    if (!window || window->destroying)
        return false;
    // Owned windows go first.
    std::vector<WindowHandle> owned;
    for (const auto& [other_handle, other] : windows()) {
        if (other->owner == handle && !other->destroying)
            owned.push_back(other_handle);
    }
    std::sort(owned.begin(), owned.end());
    for (WindowHandle other : owned)
        destroy_window(other);

    window->destroying = true;
    if (window->outer)
        window->outer->hide();
    send_destroy_messages(window);
    finish_destruction(window);

    // The widget may be the one whose event is being handled further up the stack.
    if (window->outer) {
        if (inside_window_procedure()) {
            widgets_to_delete().emplace_back(window->outer.data());
        } else {
            delete window->outer.data();
        }
    }
    return true;
}

bool is_window(WindowHandle handle)
{
    return windows().count(handle) != 0;
}

std::string window_class_name(WindowHandle handle)
{
    std::shared_ptr<NativeWindow> window = find_window(handle);
    return window ? window->window_class->name : std::string();
}

std::uint32_t window_style(WindowHandle handle)
{
    std::shared_ptr<NativeWindow> window = find_window(handle);
    if (!window || !window->outer)
        return 0;
    std::uint32_t style = window->style;
    if (!window->outer->isHidden())
        style |= WS_VISIBLE;
    if (window->outer->testAttribute(Qt::WA_ForceDisabled))
        style |= WS_DISABLED;
    if (window->outer->isMinimized())
        style |= WS_MINIMIZE;
    if (window->outer->isMaximized())
        style |= WS_MAXIMIZE;
    return style;
}

std::uint32_t window_ex_style(WindowHandle handle)
{
    std::shared_ptr<NativeWindow> window = find_window(handle);
    return window ? window->ex_style : 0;
}

void set_window_style(WindowHandle handle, std::uint32_t style)
{
    std::shared_ptr<NativeWindow> window = find_window(handle);
    if (!window || !window->outer)
        return;
    std::uint32_t old_style = window->style;
    // Whether a window is a child is fixed at creation (set_parent changes it).
    style = (style & ~(WS_VISIBLE | WS_DISABLED | WS_MINIMIZE | WS_MAXIMIZE | WS_CHILD)) | (old_style & WS_CHILD);
    if (style == old_style)
        return;
    window->style = style;
    apply_frame_change(window, old_style, window->ex_style);
}

void set_window_ex_style(WindowHandle handle, std::uint32_t ex_style)
{
    std::shared_ptr<NativeWindow> window = find_window(handle);
    if (!window || !window->outer || window->ex_style == ex_style)
        return;
    std::uint32_t old_ex = window->ex_style;
    window->ex_style = ex_style;
    if ((old_ex ^ ex_style) & WS_EX_TOPMOST && is_top_level(*window))
        bring_top_level_to_front(handle);
    apply_frame_change(window, window->style, old_ex);
}

int window_id(WindowHandle handle)
{
    std::shared_ptr<NativeWindow> window = find_window(handle);
    return window ? window->id : 0;
}

void set_window_id(WindowHandle handle, int id)
{
    if (std::shared_ptr<NativeWindow> window = find_window(handle))
        window->id = id;
}

std::intptr_t window_user_data(WindowHandle handle)
{
    std::shared_ptr<NativeWindow> window = find_window(handle);
    return window ? window->user_data : 0;
}

void set_window_user_data(WindowHandle handle, std::intptr_t data)
{
    if (std::shared_ptr<NativeWindow> window = find_window(handle))
        window->user_data = data;
}

}  // namespace platform
