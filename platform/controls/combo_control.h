#pragma once
// The standard control "COMBOBOX": a list of texts with a selection field. Three styles: simple (an
// edit field above a list that is always shown), drop-down (an edit field and a list that drops
// down), drop-down list (a field that shows the selected item and a list that drops down).
//
// Its window text is the text of the field. It tells its parent with WM_COMMAND notifications when
// the user changes the selection (CBN_SELCHANGE), confirms a choice (CBN_SELENDOK), edits the text
// (CBN_EDITCHANGE), opens or closes the list (CBN_DROPDOWN, CBN_CLOSEUP), double-clicks an item of a
// simple combo box (CBN_DBLCLK), and gains or loses the focus. Programs changing the selection or the
// text cause no notification. Colours are asked of the parent with WM_CTLCOLOREDIT (the field) and
// WM_CTLCOLORLISTBOX (the list) when they paint.
//
// The window keeps the height it was made with; the room the dropped list may take is set apart
// (combo_set_drop_down_height). Edit positions are in characters. WM_SETFONT as for "EDIT".

#include "platform/controls/edit_control.h"
#include "platform/window_handle.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace platform {

inline constexpr char kComboClassName[] = "COMBOBOX";

namespace ComboStyle {
inline constexpr std::uint32_t Simple = 0x0001;
inline constexpr std::uint32_t DropDown = 0x0002;
inline constexpr std::uint32_t DropDownList = 0x0003;
inline constexpr std::uint32_t TypeMask = 0x0003;
inline constexpr std::uint32_t AutoHorizontalScroll = 0x0040;
inline constexpr std::uint32_t Sort = 0x0100;
}  // namespace ComboStyle

namespace ComboNotification {
inline constexpr int SelectionChange = 1;
inline constexpr int DoubleClick = 2;
inline constexpr int SetFocus = 3;
inline constexpr int KillFocus = 4;
inline constexpr int EditChange = 5;
inline constexpr int DropDown = 7;
inline constexpr int CloseUp = 8;
inline constexpr int SelectionEndOk = 9;
}  // namespace ComboNotification

void register_combo_class();
bool is_combo_control(WindowHandle handle);
// Whether the combo box has an edit field (simple and drop-down styles).
bool combo_has_edit(WindowHandle combo);

// Adds an item at the end, or at its sorted place with ComboStyle::Sort; returns its index, or -1.
int combo_add_item(WindowHandle combo, std::string_view gbk);
int combo_item_count(WindowHandle combo);
std::string combo_item_text(WindowHandle combo, int index);  // empty for an index out of range
void combo_clear_items(WindowHandle combo);
void combo_set_item_data(WindowHandle combo, int index, std::uint32_t data);
std::uint32_t combo_item_data(WindowHandle combo, int index);

// Selects the item (-1: none) and shows its text in the field; no notification. An index out of
// range selects nothing and returns false.
bool combo_set_current_selection(WindowHandle combo, int index);
int combo_current_selection(WindowHandle combo);

// Characters the user can type into the edit field; 0 the platform's maximum.
void combo_set_text_limit(WindowHandle combo, int characters);
// Selection in the edit field (start -1 removes it, end -1 is the end of the text); nothing happens
// without an edit field, and the reads give the empty range and text.
void combo_set_edit_selection(WindowHandle combo, int start, int end);
TextRange combo_edit_selection(WindowHandle combo);
std::string combo_edit_selected_text(WindowHandle combo);

// Height in pixels of one item of the list; the platform's height (from the font) until set.
void combo_set_item_height(WindowHandle combo, int height);
int combo_item_height(WindowHandle combo);

// The height the control takes with its list dropped, its own height included.
void combo_set_drop_down_height(WindowHandle combo, int height);

// Opens or closes the list of a drop-down style; whether it is open.
void combo_show_drop_down(WindowHandle combo, bool show);
bool combo_dropped(WindowHandle combo);

// A user's click on an item of the shown list (the dropped list, or the list of a simple combo box),
// delivered as mouse input to the list. False when the list is not shown or has no such item.
bool click_combo_list_item(WindowHandle combo, int index, bool double_click = false);

}  // namespace platform
