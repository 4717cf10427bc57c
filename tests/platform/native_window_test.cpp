#include "window_test_support.h"

#include "platform/text_encoding.h"

#include <algorithm>

namespace platform_test {
namespace {

TEST_F(WindowTest, HandlesAreNeverReusedAndDeadHandlesAreHarmless)
{
    WindowHandle first = make_top_level(0, 0, 50, 50);
    ASSERT_NE(first, 0);
    ASSERT_TRUE(destroy_window(first));
    EXPECT_FALSE(is_window(first));
    WindowHandle second = make_top_level(0, 0, 50, 50);
    EXPECT_NE(second, first);
    EXPECT_GT(second, first);
    // Handles stay clear of the special insert-after values.
    EXPECT_GT(first, kInsertAtBottom);

    EXPECT_FALSE(destroy_window(first));
    EXPECT_EQ(send_message(first, WM_USER), 0);
    EXPECT_FALSE(post_message(first, WM_USER));
    EXPECT_EQ(window_rect(first), Rect{});
    EXPECT_TRUE(child_windows(first).empty());
    move_window(first, 1, 2, 3, 4);
    show_window(first, ShowCommand::Show);
}

TEST_F(WindowTest, CreationFailsForUnknownClassMissingParentOrRefusal)
{
    CreateParams params;
    params.class_name = "NoSuchClass";
    EXPECT_EQ(create_window(params), 0);

    params.class_name = "Recorder";
    params.style = WS_CHILD;
    params.parent = 0;
    EXPECT_EQ(create_window(params), 0);

    log.handler = [](WindowHandle, Message& message) -> std::optional<std::intptr_t> {
        if (message.id == WM_CREATE)
            return -1;
        return std::nullopt;
    };
    params.style = WS_POPUP;
    EXPECT_EQ(create_window(params), 0);
    // The refused window was taken down with its destroy messages.
    EXPECT_EQ(log.of(WM_DESTROY).size(), 1u);
    EXPECT_EQ(log.of(WM_NCDESTROY).size(), 1u);
    EXPECT_FALSE(is_window(log.of(WM_CREATE).front().window));
}

TEST_F(WindowTest, CreationAndDestructionSendTheirMessagesInOrder)
{
    WindowHandle top = make_top_level(0, 0, 200, 100);
    WindowHandle child = make_child(top, 0, 0, 50, 50);
    WindowHandle grandchild = make_child(child, 0, 0, 10, 10);
    std::vector<std::uint32_t> created = log.ids_of(child);
    ASSERT_GE(created.size(), 3u);
    EXPECT_EQ(created[0], WM_CREATE);
    EXPECT_NE(std::find(created.begin(), created.end(), WM_SIZE), created.end());
    EXPECT_NE(std::find(created.begin(), created.end(), WM_MOVE), created.end());
    EXPECT_NE(std::find(created.begin(), created.end(), WM_SHOWWINDOW), created.end());

    log.clear();
    bool alive_during_destroy = false;
    log.handler = [&](WindowHandle window, Message& message) -> std::optional<std::intptr_t> {
        if (message.id == WM_DESTROY && window == grandchild)
            alive_during_destroy = is_window(grandchild) && is_window(top);
        return std::nullopt;
    };
    ASSERT_TRUE(destroy_window(top));
    std::vector<std::pair<WindowHandle, std::uint32_t>> order;
    for (const Received& received : log.messages) {
        if (received.message.id == WM_DESTROY || received.message.id == WM_NCDESTROY)
            order.emplace_back(received.window, received.message.id);
    }
    std::vector<std::pair<WindowHandle, std::uint32_t>> expected = {
        {top, WM_DESTROY},          {child, WM_DESTROY},   {grandchild, WM_DESTROY},
        {grandchild, WM_NCDESTROY}, {child, WM_NCDESTROY}, {top, WM_NCDESTROY},
    };
    EXPECT_EQ(order, expected);
    EXPECT_TRUE(alive_during_destroy);
    EXPECT_FALSE(is_window(child));
    EXPECT_FALSE(is_window(grandchild));
}

TEST_F(WindowTest, OwnedWindowsAreDestroyedWithTheirOwner)
{
    WindowHandle owner = make_top_level(0, 0, 100, 100);
    CreateParams params;
    params.class_name = "Recorder";
    params.style = WS_POPUP;
    params.owner = owner;
    params.width = 10;
    params.height = 10;
    WindowHandle owned = create_window(params);
    ASSERT_NE(owned, 0);
    EXPECT_EQ(owner_window(owned), owner);
    // A hidden owner (the runtime's hidden owner window) does not keep its windows from showing.
    show_window(owned, ShowCommand::Show);
    process_waiting_messages();
    EXPECT_TRUE(is_visible(owned));
    EXPECT_FALSE(is_visible(owner));
    destroy_window(owner);
    EXPECT_FALSE(is_window(owned));
    EXPECT_EQ(log.of(WM_DESTROY).front().window, owned);
}

struct FrameCase {
    const char* name;
    std::uint32_t style;
    std::uint32_t ex_style;
    int inset;  // on every side
    int caption;
};

TEST_F(WindowTest, ChildOuterSizeIsClientPlusTheFramesOfItsBorderStyle)
{
    const FrameCase cases[] = {
        {"none", 0, 0, 0, 0},
        {"client edge", 0, WS_EX_CLIENTEDGE, 2, 0},
        {"static edge", 0, WS_EX_STATICEDGE, 1, 0},
        {"modal frame", 0, WS_EX_DLGMODALFRAME, 3, 0},
        {"client edge and modal frame", 0, WS_EX_CLIENTEDGE | WS_EX_DLGMODALFRAME, 5, 0},
        {"thin border", WS_BORDER, 0, 1, 0},
        {"sizing frame", WS_THICKFRAME, 0, 4, 0},
        {"caption", WS_CAPTION, 0, 3, 19},
    };
    WindowHandle top = make_top_level(100, 50, 400, 300);
    for (const FrameCase& frame : cases) {
        SCOPED_TRACE(frame.name);
        WindowHandle child = make_child(top, 10, 20, 100, 60, frame.style, frame.ex_style);
        ASSERT_NE(child, 0);
        EXPECT_EQ(window_rect_in_parent(child), (Rect{10, 20, 110, 80}));
        EXPECT_EQ(client_rect(child), (Rect{0, 0, 100 - 2 * frame.inset, 60 - 2 * frame.inset - frame.caption}));
        Point parent_origin = client_to_screen(top, Point{0, 0});
        EXPECT_EQ(client_to_screen(child, Point{0, 0}),
                  (Point{parent_origin.x + 10 + frame.inset, parent_origin.y + 20 + frame.inset + frame.caption}));
        EXPECT_EQ(window_rect(child),
                  (Rect{parent_origin.x + 10, parent_origin.y + 20, parent_origin.x + 110, parent_origin.y + 80}));
        FrameInsets insets = frame_insets(frame.style, frame.ex_style, false);
        EXPECT_EQ(insets.left, frame.inset);
        EXPECT_EQ(insets.top, frame.inset + frame.caption);
        destroy_window(child);
    }
}

TEST_F(WindowTest, TopLevelOuterSizeIsClientPlusTheMetricsTable)
{
    const FrameCase cases[] = {
        {"pop-up", WS_POPUP, 0, 0, 0},
        {"pop-up with border", WS_POPUP | WS_BORDER, 0, 1, 0},
        {"fixed dialog", WS_POPUP | WS_CAPTION | WS_SYSMENU, WS_EX_DLGMODALFRAME, 3, 19},
        {"resizable", WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX, 0, 4, 19},
        {"resizable with client edge", WS_CAPTION | WS_THICKFRAME, WS_EX_CLIENTEDGE, 6, 19},
        {"tool window", WS_POPUP | WS_CAPTION, WS_EX_TOOLWINDOW, 3, 19},
    };
    for (const FrameCase& frame : cases) {
        SCOPED_TRACE(frame.name);
        WindowHandle window = make_top_level(120, 80, 300, 200, frame.style, frame.ex_style);
        ASSERT_NE(window, 0);
        show_window(window, ShowCommand::Show);
        process_waiting_messages();
        EXPECT_EQ(window_rect(window), (Rect{120, 80, 420, 280}));
        EXPECT_EQ(window_rect_in_parent(window), (Rect{120, 80, 420, 280}));
        EXPECT_EQ(client_rect(window), (Rect{0, 0, 300 - 2 * frame.inset, 200 - 2 * frame.inset - frame.caption}));
        EXPECT_EQ(client_to_screen(window, Point{0, 0}), (Point{120 + frame.inset, 80 + frame.inset + frame.caption}));

        move_window(window, 30, 40, 250, 150);
        EXPECT_EQ(window_rect(window), (Rect{30, 40, 280, 190}));
        EXPECT_EQ(client_rect(window), (Rect{0, 0, 250 - 2 * frame.inset, 150 - 2 * frame.inset - frame.caption}));
        destroy_window(window);
    }
}

TEST_F(WindowTest, CentringUsesTheOuterSize)
{
    WindowHandle window = make_top_level(0, 0, 300, 200, WS_CAPTION | WS_SYSMENU);
    centre_window_on_screen(window);
    Rect area = screen_work_area();
    Rect rect = window_rect(window);
    EXPECT_EQ(rect.width(), 300);
    EXPECT_EQ(rect.height(), 200);
    EXPECT_EQ(rect.left, area.left + (area.width() - 300) / 2);
    EXPECT_EQ(rect.top, area.top + (area.height() - 200) / 2);
}

TEST_F(WindowTest, MovingSendsMoveAndSizeOnlyForWhatChanged)
{
    WindowHandle top = make_top_level(0, 0, 300, 200);
    WindowHandle child = make_child(top, 10, 10, 50, 40, 0, WS_EX_CLIENTEDGE);
    log.clear();
    move_window(child, 10, 10, 50, 40);
    EXPECT_TRUE(log.messages.empty());

    move_window(child, 20, 30, 50, 40);
    ASSERT_EQ(log.of(WM_MOVE).size(), 1u);
    EXPECT_TRUE(log.of(WM_SIZE).empty());
    // WM_MOVE carries the client origin in the parent's client coordinates.
    EXPECT_EQ(log.of(WM_MOVE)[0].message.lparam, make_lparam(22, 32));

    log.clear();
    set_window_pos(child, 0, 0, 0, 70, 45, WindowPosFlag::NoMove | WindowPosFlag::NoZOrder);
    EXPECT_TRUE(log.of(WM_MOVE).empty());
    ASSERT_EQ(log.of(WM_SIZE).size(), 1u);
    EXPECT_EQ(log.of(WM_SIZE)[0].message.lparam, make_lparam(66, 41));
    EXPECT_EQ(window_rect_in_parent(child), (Rect{20, 30, 90, 75}));

    // Negative sizes become empty windows.
    move_window(child, 0, 0, -5, -5);
    EXPECT_EQ(window_rect_in_parent(child), (Rect{0, 0, 0, 0}));
    EXPECT_EQ(client_rect(child), (Rect{0, 0, 0, 0}));
}

TEST_F(WindowTest, ZOrderOperationsReorderSiblings)
{
    WindowHandle top = make_top_level(0, 0, 300, 200);
    WindowHandle a = make_child(top, 0, 0, 50, 50);
    WindowHandle b = make_child(top, 0, 0, 50, 50);
    WindowHandle c = make_child(top, 0, 0, 50, 50);
    // A new window goes on top of its siblings.
    EXPECT_EQ(child_windows(top), (std::vector<WindowHandle>{c, b, a}));

    set_window_pos(a, kInsertAtTop, 0, 0, 0, 0, WindowPosFlag::NoMove | WindowPosFlag::NoSize);
    EXPECT_EQ(child_windows(top), (std::vector<WindowHandle>{a, c, b}));
    set_window_pos(a, c, 0, 0, 0, 0, WindowPosFlag::NoMove | WindowPosFlag::NoSize);
    EXPECT_EQ(child_windows(top), (std::vector<WindowHandle>{c, a, b}));
    set_window_pos(c, kInsertAtBottom, 0, 0, 0, 0, WindowPosFlag::NoMove | WindowPosFlag::NoSize);
    EXPECT_EQ(child_windows(top), (std::vector<WindowHandle>{a, b, c}));
    // No Z order change with the flag, and no change for a window that is not a sibling.
    set_window_pos(c, kInsertAtTop, 0, 0, 0, 0,
                   WindowPosFlag::NoMove | WindowPosFlag::NoSize | WindowPosFlag::NoZOrder);
    WindowHandle other = make_top_level(0, 0, 10, 10);
    set_window_pos(c, other, 0, 0, 0, 0, WindowPosFlag::NoMove | WindowPosFlag::NoSize);
    EXPECT_EQ(child_windows(top), (std::vector<WindowHandle>{a, b, c}));
}

TEST_F(WindowTest, TopLevelZOrderKeepsTopmostWindowsAbove)
{
    WindowHandle plain = make_top_level(0, 0, 10, 10);
    WindowHandle topmost = make_top_level(0, 0, 10, 10, WS_POPUP, WS_EX_TOPMOST);
    WindowHandle later = make_top_level(0, 0, 10, 10);
    std::vector<WindowHandle> order = top_level_windows();
    auto position = [&](WindowHandle window) { return std::find(order.begin(), order.end(), window) - order.begin(); };
    EXPECT_LT(position(topmost), position(later));
    EXPECT_LT(position(later), position(plain));

    set_window_pos(plain, kInsertAtTop, 0, 0, 0, 0, WindowPosFlag::NoMove | WindowPosFlag::NoSize);
    order = top_level_windows();
    EXPECT_LT(position(topmost), position(plain));
    EXPECT_LT(position(plain), position(later));
    set_window_pos(plain, kInsertAtBottom, 0, 0, 0, 0, WindowPosFlag::NoMove | WindowPosFlag::NoSize);
    order = top_level_windows();
    EXPECT_EQ(order.back(), plain);
}

TEST_F(WindowTest, ShowingHidingAndEnablingFollowTheParent)
{
    WindowHandle top = make_top_level(0, 0, 200, 100);
    WindowHandle child = make_child(top, 0, 0, 50, 50);
    // Shown, but inside a hidden parent.
    EXPECT_TRUE(window_style(child) & WS_VISIBLE);
    EXPECT_FALSE(is_visible(child));
    EXPECT_FALSE(show_window(top, ShowCommand::Show));
    EXPECT_TRUE(is_visible(child));
    EXPECT_TRUE(is_visible(top));

    log.clear();
    EXPECT_TRUE(show_window(child, ShowCommand::Hide));
    ASSERT_EQ(log.of(WM_SHOWWINDOW).size(), 1u);
    EXPECT_EQ(log.of(WM_SHOWWINDOW)[0].message.wparam, 0u);
    EXPECT_FALSE(is_visible(child));
    EXPECT_FALSE(window_style(child) & WS_VISIBLE);
    // Hiding a hidden window says so and sends nothing.
    log.clear();
    EXPECT_FALSE(show_window(child, ShowCommand::Hide));
    EXPECT_TRUE(log.messages.empty());
    EXPECT_FALSE(show_window(child, ShowCommand::ShowNoActivate));
    EXPECT_TRUE(is_visible(child));

    EXPECT_FALSE(enable_window(child, false));
    EXPECT_FALSE(is_enabled(child));
    EXPECT_TRUE(window_style(child) & WS_DISABLED);
    EXPECT_TRUE(enable_window(child, true));
    EXPECT_TRUE(is_enabled(child));
    EXPECT_EQ(log.of(WM_ENABLE).size(), 2u);
    // Disabling the parent leaves the child's own flag alone.
    enable_window(top, false);
    EXPECT_TRUE(is_enabled(child));
}

TEST_F(WindowTest, MinimizingAndMaximizingAreReportedAsStates)
{
    WindowHandle window = make_top_level(10, 10, 200, 100, WS_CAPTION | WS_THICKFRAME | WS_MAXIMIZEBOX);
    show_window(window, ShowCommand::Maximized);
    process_waiting_messages();
    EXPECT_TRUE(is_maximized(window));
    EXPECT_TRUE(window_style(window) & WS_MAXIMIZE);
    show_window(window, ShowCommand::Minimize);
    process_waiting_messages();
    EXPECT_TRUE(is_minimized(window));
    show_window(window, ShowCommand::Restore);
    process_waiting_messages();
    EXPECT_FALSE(is_minimized(window));
}

TEST_F(WindowTest, WindowTextRoundTripsGbk)
{
    const std::string caption = gbk_from_utf8("光棍证 & Co.");
    WindowHandle top = make_top_level(0, 0, 100, 100, WS_CAPTION);
    WindowHandle child = make_child(top, 0, 0, 10, 10);
    set_window_text(top, caption);
    set_window_text(child, caption);
    EXPECT_EQ(window_text(top), caption);
    EXPECT_EQ(window_text(child), caption);
    set_window_text(child, "");
    EXPECT_EQ(window_text(child), "");

    CreateParams params;
    params.class_name = "Recorder";
    params.style = WS_POPUP;
    params.text = gbk_from_utf8("证书");
    WindowHandle titled = create_window(params);
    made.push_back(titled);
    EXPECT_EQ(window_text(titled), gbk_from_utf8("证书"));
}

TEST_F(WindowTest, StyleChangesKeepTheOuterRectangleAndMoveTheClientArea)
{
    WindowHandle top = make_top_level(0, 0, 300, 200);
    WindowHandle child = make_child(top, 10, 10, 100, 60);
    EXPECT_EQ(client_rect(child), (Rect{0, 0, 100, 60}));
    log.clear();
    set_window_ex_style(child, WS_EX_CLIENTEDGE | WS_EX_DLGMODALFRAME);
    EXPECT_EQ(window_ex_style(child), WS_EX_CLIENTEDGE | WS_EX_DLGMODALFRAME);
    EXPECT_EQ(window_rect_in_parent(child), (Rect{10, 10, 110, 70}));
    EXPECT_EQ(client_rect(child), (Rect{0, 0, 90, 50}));
    ASSERT_EQ(log.of(WM_SIZE).size(), 1u);
    EXPECT_EQ(log.of(WM_SIZE)[0].message.lparam, make_lparam(90, 50));

    set_window_style(child, window_style(child) | WS_BORDER);
    set_window_ex_style(child, 0);
    EXPECT_EQ(client_rect(child), (Rect{0, 0, 98, 58}));
    // The visible and disabled bits are state, not style.
    set_window_style(child, WS_CHILD);
    EXPECT_TRUE(window_style(child) & WS_VISIBLE);
    EXPECT_EQ(client_rect(child), (Rect{0, 0, 100, 60}));
}

TEST_F(WindowTest, ReparentingKeepsPositionNumbersAndVisibility)
{
    WindowHandle top = make_top_level(0, 0, 300, 200);
    WindowHandle first = make_child(top, 0, 0, 150, 150, 0, WS_EX_CLIENTEDGE);
    WindowHandle second = make_child(top, 150, 0, 150, 150);
    WindowHandle moving = make_child(first, 5, 6, 20, 20);
    EXPECT_EQ(parent_window(moving), first);
    EXPECT_EQ(set_parent(moving, second), first);
    EXPECT_EQ(parent_window(moving), second);
    EXPECT_EQ(window_rect_in_parent(moving), (Rect{5, 6, 25, 26}));
    EXPECT_TRUE(window_style(moving) & WS_VISIBLE);
    EXPECT_EQ(child_windows(second), std::vector<WindowHandle>{moving});
    EXPECT_TRUE(child_windows(first).empty());
    // A window cannot go under its own descendant.
    EXPECT_EQ(set_parent(second, moving), 0);
    EXPECT_EQ(parent_window(second), top);
    EXPECT_EQ(top_level_ancestor(moving), top);
    EXPECT_TRUE(is_descendant(top, moving));
    EXPECT_TRUE(is_descendant(second, moving));
    EXPECT_FALSE(is_descendant(first, moving));
    EXPECT_FALSE(is_descendant(moving, moving));
}

TEST_F(WindowTest, FocusMessagesNameTheOtherWindow)
{
    WindowHandle top = make_shown_top_level(0, 0, 300, 200);
    WindowHandle a = make_child(top, 0, 0, 50, 50);
    WindowHandle b = make_child(top, 60, 0, 50, 50);
    set_focus(a);
    EXPECT_EQ(focus_window(), a);
    log.clear();
    EXPECT_EQ(set_focus(b), a);
    EXPECT_EQ(focus_window(), b);
    std::vector<Received> kills = log.of(WM_KILLFOCUS);
    std::vector<Received> sets = log.of(WM_SETFOCUS);
    ASSERT_EQ(kills.size(), 1u);
    ASSERT_EQ(sets.size(), 1u);
    EXPECT_EQ(kills[0].window, a);
    EXPECT_EQ(kills[0].message.wparam, static_cast<std::uintptr_t>(b));
    EXPECT_EQ(sets[0].window, b);
    EXPECT_EQ(sets[0].message.wparam, static_cast<std::uintptr_t>(a));
    EXPECT_EQ(active_window(), top);

    // Destroying the focus window leaves no focus window behind.
    destroy_window(b);
    EXPECT_NE(focus_window(), b);
}

TEST_F(WindowTest, ActivationMessagesGoOnceToEachSideAndFocusTheActivatedWindow)
{
    WindowHandle first = make_shown_top_level(0, 0, 100, 100);
    WindowHandle second = make_shown_top_level(200, 0, 100, 100);
    EXPECT_EQ(active_window(), second);
    EXPECT_EQ(top_level_windows().front(), second);
    log.clear();
    ASSERT_TRUE(set_active_window(first));
    process_waiting_messages();
    std::vector<Received> activations = log.of(WM_ACTIVATE);
    ASSERT_EQ(activations.size(), 2u);
    std::map<WindowHandle, std::uintptr_t> states;
    for (const Received& received : activations)
        states[received.window] = received.message.wparam;
    EXPECT_EQ(states[first], WA_ACTIVE);
    EXPECT_EQ(states[second], WA_INACTIVE);
    EXPECT_EQ(active_window(), first);
    EXPECT_EQ(top_level_windows().front(), first);
    // The default handling gave the activated window the focus.
    EXPECT_EQ(focus_window(), first);
}

TEST_F(WindowTest, CloseDestroysUnlessTheProcedureKeepsTheWindow)
{
    WindowHandle kept = make_top_level(0, 0, 10, 10);
    WindowHandle closed = make_top_level(0, 0, 10, 10);
    log.handler = [&](WindowHandle window, Message& message) -> std::optional<std::intptr_t> {
        if (message.id == WM_CLOSE && window == kept)
            return 0;
        return std::nullopt;
    };
    send_message(kept, WM_CLOSE);
    send_message(closed, WM_CLOSE);
    EXPECT_TRUE(is_window(kept));
    EXPECT_FALSE(is_window(closed));
}

TEST_F(WindowTest, ControlNotificationsAndColourQueriesReachTheParent)
{
    WindowHandle top = make_top_level(0, 0, 300, 200);
    WindowHandle child = make_child(top, 0, 0, 50, 50, 0, 0, 110);
    notify_parent(child, 0x300);
    std::vector<Received> commands = log.of(WM_COMMAND);
    ASSERT_EQ(commands.size(), 1u);
    EXPECT_EQ(commands[0].window, top);
    EXPECT_EQ(low_word(commands[0].message.wparam), 110);
    EXPECT_EQ(high_word(commands[0].message.wparam), 0x300);
    EXPECT_EQ(commands[0].message.lparam, child);

    // Unanswered: the system colours of the kind of control.
    ControlColours colours = query_control_colours(child, WM_CTLCOLOREDIT);
    EXPECT_EQ(colours.brush, system_colour(SystemColour::Window));
    colours = query_control_colours(child, WM_CTLCOLORSTATIC);
    EXPECT_EQ(colours.brush, system_colour(SystemColour::ButtonFace));

    log.handler = [&](WindowHandle window, Message& message) -> std::optional<std::intptr_t> {
        if (message.id == WM_CTLCOLOREDIT && window == top && message.lparam == child) {
            auto* answer = reinterpret_cast<ControlColours*>(message.wparam);
            answer->text = 0x0000FF;
            answer->brush = 0x00FF00;
            return 1;
        }
        return std::nullopt;
    };
    colours = query_control_colours(child, WM_CTLCOLOREDIT);
    EXPECT_EQ(colours.text, 0x0000FFu);
    EXPECT_EQ(colours.brush, 0x00FF00u);
}

TEST_F(WindowTest, TimersTickUntilKilled)
{
    WindowHandle window = make_top_level(0, 0, 10, 10);
    ASSERT_TRUE(set_timer(window, 7, 5));
    for (int i = 0; i < 200 && log.of(WM_TIMER).size() < 2; ++i)
        dispatch_one_message(Wait::Yes);
    ASSERT_GE(log.of(WM_TIMER).size(), 2u);
    EXPECT_EQ(log.of(WM_TIMER)[0].message.wparam, 7u);
    EXPECT_TRUE(kill_timer(window, 7));
    EXPECT_FALSE(kill_timer(window, 7));
}

TEST_F(WindowTest, UserDataAndIdsStayWithTheWindow)
{
    WindowHandle top = make_top_level(0, 0, 10, 10);
    WindowHandle child = make_child(top, 0, 0, 5, 5, 0, 0, 120);
    EXPECT_EQ(window_id(child), 120);
    set_window_user_data(child, 0x1234);
    EXPECT_EQ(window_user_data(child), 0x1234);
    EXPECT_EQ(window_class_name(child), "Recorder");
}

}  // namespace
}  // namespace platform_test
