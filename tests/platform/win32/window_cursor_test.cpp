// The cursor set on a window, as the system shows it when the pointer moves over the window.

#include "../window_test_support.h"

#include "platform/controls/combo_control.h"
#include "platform/controls/edit_control.h"
#include "platform/cursors.h"
#include "platform/win32/cursors_win32.h"
#include "platform/win32/native_window_win32.h"

namespace platform_test {
namespace {

// What shows after the pointer moved over `hwnd` at hit-test code `hit`: the system asks the window
// under the pointer with WM_SETCURSOR.
HCURSOR shown_over(HWND hwnd, int hit = HTCLIENT)
{
    SetCursor(nullptr);
    SendMessageW(hwnd, WM_SETCURSOR, reinterpret_cast<WPARAM>(hwnd), MAKELPARAM(hit, WM_MOUSEMOVE));
    return GetCursor();
}

HCURSOR stock(int id)
{
    return native_cursor(load_stock_cursor(id));
}

using WindowCursor = WindowTest;

TEST_F(WindowCursor, AWindowsCursorShowsOverItButNotOverItsChildrenNorOnItsFrame)
{
    register_edit_class();
    register_combo_class();
    WindowHandle top = make_top_level(100, 100, 320, 240, WS_OVERLAPPEDWINDOW);
    show_window(top, ShowCommand::Show);
    WindowHandle plain = make_child(top, 10, 10, 60, 30);
    WindowHandle pointed = make_child(top, 80, 10, 60, 30, WS_BORDER);
    WindowHandle edit = make_child(top, 10, 50, 120, 24, 0, 0, 1, kEditClassName);
    WindowHandle waiting_edit = make_child(top, 10, 80, 120, 24, 0, 0, 2, kEditClassName);
    WindowHandle combo = make_child(top, 10, 110, 120, 24, ComboStyle::DropDown, 0, 3, kComboClassName);
    set_window_cursor(top, load_stock_cursor(StockCursor::Cross));
    set_window_cursor(pointed, load_stock_cursor(StockCursor::Hand));
    set_window_cursor(waiting_edit, load_stock_cursor(StockCursor::Wait));
    set_window_cursor(combo, load_stock_cursor(StockCursor::Hand));
    HWND combo_field = GetWindow(native_window_handle(combo), GW_CHILD);
    ASSERT_NE(combo_field, nullptr);

    struct Case {
        const char* where;
        HWND hwnd;
        int hit;
        HCURSOR expected;
    };
    const Case cases[] = {
        {"the window's client area", native_window_handle(top), HTCLIENT, stock(StockCursor::Cross)},
        {"the window's sizing frame", native_window_handle(top), HTLEFT, LoadCursorW(nullptr, IDC_SIZEWE)},
        {"a child without a cursor", native_window_handle(plain), HTCLIENT, stock(StockCursor::Arrow)},
        {"a child with one", native_window_handle(pointed), HTCLIENT, stock(StockCursor::Hand)},
        {"its border", native_window_handle(pointed), HTBORDER, stock(StockCursor::Hand)},
        {"an edit field without one", native_window_handle(edit), HTCLIENT, LoadCursorW(nullptr, IDC_IBEAM)},
        {"an edit field with one", native_window_handle(waiting_edit), HTCLIENT, stock(StockCursor::Wait)},
        {"a combo box's own field", combo_field, HTCLIENT, stock(StockCursor::Hand)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.where);
        EXPECT_EQ(shown_over(c.hwnd, c.hit), c.expected);
    }

    // Taken away, the cursor gives way to the control's own.
    set_window_cursor(waiting_edit, 0);
    EXPECT_EQ(shown_over(native_window_handle(waiting_edit)), LoadCursorW(nullptr, IDC_IBEAM));
}

}  // namespace
}  // namespace platform_test
