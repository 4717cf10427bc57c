#pragma once
// The standard control "EDIT": a single-line edit field, or a multi-line one with ES_MULTILINE.
//
// Its text is the window text (set_window_text / window_text, GBK). It tells its parent about
// changes with WM_COMMAND notifications (EN_CHANGE on every change of the content, by the user or by
// a program; EN_SETFOCUS, EN_KILLFOCUS), and asks its parent for its colours with WM_CTLCOLOREDIT
// (WM_CTLCOLORSTATIC while read-only or disabled) each time it paints. Typed characters, input-method
// text included, arrive as WM_CHAR messages at its procedure first, so that a subclass procedure
// (window_subclass.h) can swallow or replace them. WM_SETFONT takes wparam const LogFont* (copied;
// null: the default GUI font), as set_control_font (control_fonts.h) does.
//
// Positions are in characters of the text, counted from 0.

#include "platform/window_handle.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace platform {

inline constexpr char kEditClassName[] = "EDIT";

// Style bits of an edit control (the low 16 bits of the window style).
namespace EditStyle {
inline constexpr std::uint32_t Left = 0x0000;
inline constexpr std::uint32_t Centre = 0x0001;
inline constexpr std::uint32_t Right = 0x0002;
inline constexpr std::uint32_t MultiLine = 0x0004;
inline constexpr std::uint32_t UpperCase = 0x0008;
inline constexpr std::uint32_t LowerCase = 0x0010;
inline constexpr std::uint32_t Password = 0x0020;
inline constexpr std::uint32_t AutoVerticalScroll = 0x0040;
inline constexpr std::uint32_t AutoHorizontalScroll = 0x0080;
inline constexpr std::uint32_t NoHideSelection = 0x0100;
inline constexpr std::uint32_t ReadOnly = 0x0800;
inline constexpr std::uint32_t WantReturn = 0x1000;
}  // namespace EditStyle

// Notification codes (high word of WM_COMMAND's wparam).
namespace EditNotification {
inline constexpr int SetFocus = 0x0100;
inline constexpr int KillFocus = 0x0200;
inline constexpr int Change = 0x0300;
inline constexpr int MaxText = 0x0501;
}  // namespace EditNotification

// Registers the class (once; later calls do nothing).
void register_edit_class();
bool is_edit_control(WindowHandle handle);

// Maximum number of characters the user can type; 0 is the platform's maximum.
void edit_set_text_limit(WindowHandle edit, int characters);
int edit_text_limit(WindowHandle edit);

// The character shown for each character of a password field (ES_PASSWORD or set here); 0 shows the
// text as it is.
void edit_set_password_character(WindowHandle edit, std::uint32_t character_code);
std::uint32_t edit_password_character(WindowHandle edit);

void edit_set_read_only(WindowHandle edit, bool read_only);

struct TextRange {
    int start = 0;
    int end = 0;  // one past the last selected character; start == end: the caret, nothing selected
    bool operator==(const TextRange&) const = default;
};
// Selects start..end (clamped to the text); end -1: to the end of the text; start -1: removes the
// selection and keeps the caret. The caret goes to `end`.
void edit_set_selection(WindowHandle edit, int start, int end);
TextRange edit_selection(WindowHandle edit);
std::string edit_selected_text(WindowHandle edit);  // GBK
// Replaces the selection (or inserts at the caret) as typing would, within the text limit.
void edit_replace_selection(WindowHandle edit, std::string_view gbk);
// Scrolls the caret into view.
void edit_scroll_caret(WindowHandle edit);
int edit_text_length(WindowHandle edit);  // characters

}  // namespace platform
