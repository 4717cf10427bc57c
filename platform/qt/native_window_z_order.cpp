// Z order and the window tree: the platform's list of top-level windows (topmost ones first),
// set_window_pos, parents, owners and children.

#include "platform/qt/native_window_shared_qt.h"

#include <algorithm>

namespace platform {

// Top-level windows, top of the Z order first.
std::vector<WindowHandle>& top_level_order()
{
    static std::vector<WindowHandle> order;
    return order;
}

void remove_from_top_level_order(WindowHandle handle)
{
    auto& order = top_level_order();
    order.erase(std::remove(order.begin(), order.end(), handle), order.end());
}

namespace {

bool is_topmost(WindowHandle handle)
{
    std::shared_ptr<NativeWindow> window = find_window(handle);
    return window && (window->ex_style & WS_EX_TOPMOST);
}

}  // namespace

// Puts a top-level window at `index` of the order list, keeping topmost windows above the others.
void place_in_top_level_order(WindowHandle handle, std::size_t index)
{
    auto& order = top_level_order();
    remove_from_top_level_order(handle);
    index = std::min(index, order.size());
    std::size_t first_plain = 0;
    while (first_plain < order.size() && is_topmost(order[first_plain]))
        ++first_plain;
    if (is_topmost(handle))
        index = std::min(index, first_plain);
    else
        index = std::max(index, first_plain);
    order.insert(order.begin() + static_cast<std::ptrdiff_t>(index), handle);
}

void bring_top_level_to_front(WindowHandle handle)
{
    place_in_top_level_order(handle, 0);
}

void set_window_pos(WindowHandle handle, WindowHandle insert_after, int x, int y, int width, int height,
                    std::uint32_t flags)
{
    std::shared_ptr<NativeWindow> window = find_window(handle);
    if (!window || !window->outer || window->destroying)
        return;
    if (!(flags & WindowPosFlag::NoZOrder) && insert_after != handle) {
        if (is_top_level(*window)) {
            if (insert_after == kInsertTopmost || insert_after == kInsertNotTopmost) {
                bool topmost = insert_after == kInsertTopmost;
                window->ex_style = topmost ? (window->ex_style | WS_EX_TOPMOST) : (window->ex_style & ~WS_EX_TOPMOST);
                bool shown = !window->outer->isHidden();
                window->outer->setWindowFlag(Qt::WindowStaysOnTopHint, topmost);
                if (shown)
                    window->outer->show();
                place_in_top_level_order(handle, 0);
            } else if (insert_after == kInsertAtBottom) {
                place_in_top_level_order(handle, top_level_order().size());
                window->outer->lower();
            } else if (insert_after == kInsertAtTop) {
                place_in_top_level_order(handle, 0);
                window->outer->raise();
            } else {
                auto& order = top_level_order();
                auto found = std::find(order.begin(), order.end(), insert_after);
                if (found != order.end()) {
                    std::size_t index = static_cast<std::size_t>(found - order.begin());
                    place_in_top_level_order(handle, index + 1);
                }
            }
        } else if (insert_after == kInsertAtTop || insert_after == kInsertTopmost ||
                   insert_after == kInsertNotTopmost) {
            window->outer->raise();
        } else if (insert_after == kInsertAtBottom) {
            window->outer->lower();
        } else if (std::shared_ptr<NativeWindow> above = find_window(insert_after);
                   above && above->outer && above->outer->parentWidget() == window->outer->parentWidget()) {
            window->outer->stackUnder(above->outer);
        }
    }
    if (!(flags & WindowPosFlag::NoMove) || !(flags & WindowPosFlag::NoSize) || (flags & WindowPosFlag::FrameChanged)) {
        QRect current = outer_rect_in_parent(*window);
        int new_x = (flags & WindowPosFlag::NoMove) ? current.x() : x;
        int new_y = (flags & WindowPosFlag::NoMove) ? current.y() : y;
        int new_width = (flags & WindowPosFlag::NoSize) ? current.width() : width;
        int new_height = (flags & WindowPosFlag::NoSize) ? current.height() : height;
        apply_geometry(window, new_x, new_y, new_width, new_height);
    }
    if (flags & WindowPosFlag::FrameChanged)
        window->outer->update();
    if (flags & WindowPosFlag::ShowWindow)
        show_window(handle, (flags & WindowPosFlag::NoActivate) ? ShowCommand::ShowNoActivate : ShowCommand::Show);
    else if (flags & WindowPosFlag::HideWindow)
        show_window(handle, ShowCommand::Hide);
}

WindowHandle parent_window(WindowHandle handle)
{
    std::shared_ptr<NativeWindow> window = find_window(handle);
    if (!window || !window->outer || is_top_level(*window))
        return 0;
    std::shared_ptr<NativeWindow> parent = window_of_widget(window->outer->parentWidget());
    return parent ? parent->handle : 0;
}

WindowHandle set_parent(WindowHandle handle, WindowHandle new_parent)
{
    std::shared_ptr<NativeWindow> window = find_window(handle);
    if (!window || !window->outer || handle == new_parent)
        return 0;
    std::shared_ptr<NativeWindow> parent = new_parent ? find_window(new_parent) : nullptr;
    if (new_parent && (!parent || !parent->client))
        return 0;
    // A window cannot become a child of its own descendant.
    for (WindowHandle up = new_parent; up; up = parent_window(up)) {
        if (up == handle)
            return 0;
    }
    WindowHandle previous = parent_window(handle);
    QRect rect = outer_rect_in_parent(*window);
    bool shown = !window->outer->isHidden();
    if (parent) {
        if (is_top_level(*window)) {
            remove_from_top_level_order(handle);
            window->style = (window->style | WS_CHILD) & ~WS_POPUP;
        }
        window->outer->setParent(parent->client, Qt::Widget);
    } else {
        window->style = (window->style & ~WS_CHILD) | WS_POPUP;
        window->outer->setParent(nullptr, top_level_flags(window->style, window->ex_style));
        bring_top_level_to_front(handle);
    }
    // The position numbers stay; they are now relative to the new parent.
    apply_geometry(window, rect.x(), rect.y(), rect.width(), rect.height());
    window->outer->raise();
    if (shown)
        window->outer->show();
    return previous;
}

WindowHandle owner_window(WindowHandle handle)
{
    std::shared_ptr<NativeWindow> window = find_window(handle);
    return window && is_window(window->owner) ? window->owner : 0;
}

std::vector<WindowHandle> child_windows(WindowHandle handle)
{
    std::vector<WindowHandle> children;
    std::shared_ptr<NativeWindow> window = find_window(handle);
    if (!window || !window->client)
        return children;
    const QObjectList& objects = window->client->children();
    // Qt keeps siblings bottom first.
    for (auto object = objects.rbegin(); object != objects.rend(); ++object) {
        auto found = widget_handles().find(*object);
        if (found == widget_handles().end())
            continue;
        std::shared_ptr<NativeWindow> child = find_window(found->second);
        if (child && child->outer == *object)
            children.push_back(child->handle);
    }
    return children;
}

std::vector<WindowHandle> top_level_windows()
{
    return top_level_order();
}

bool is_descendant(WindowHandle ancestor, WindowHandle window)
{
    if (!is_window(ancestor))
        return false;
    for (WindowHandle up = parent_window(window); up; up = parent_window(up)) {
        if (up == ancestor)
            return true;
    }
    return false;
}

WindowHandle top_level_ancestor(WindowHandle handle)
{
    if (!is_window(handle))
        return 0;
    for (WindowHandle up = parent_window(handle); up; up = parent_window(up))
        handle = up;
    return handle;
}

}  // namespace platform
