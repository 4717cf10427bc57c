// The "EDIT" class on Qt: a QLineEdit for a single line, a QPlainTextEdit for several.
//
// Index: widgets / class procedure / public functions.

#include "platform/controls/edit_control.h"

#include "platform/controls/control_fonts.h"
#include "platform/qt/controls/control_palette_qt.h"
#include "platform/qt/controls/control_text_qt.h"
#include "platform/qt/native_window_qt.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProxyStyle>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextOption>

#include <algorithm>
#include <map>

namespace platform {
namespace {

// Qt's own ceiling for a line edit, used for "the platform's maximum".
constexpr int kMaximumTextLimit = 0x7FFFFFFE;

struct EditState {
    int limit = kMaximumTextLimit;
    std::uint32_t password = 0;
};

std::map<WindowHandle, EditState>& edit_states()
{
    static std::map<WindowHandle, EditState> states;
    return states;
}

std::uint32_t edit_style(WindowHandle handle)
{
    return window_style(handle);
}

bool shows_read_only_colours(const QWidget* widget)
{
    if (!widget->isEnabled())
        return true;
    if (auto* line = qobject_cast<const QLineEdit*>(widget))
        return line->isReadOnly();
    if (auto* text = qobject_cast<const QPlainTextEdit*>(widget))
        return text->isReadOnly();
    return false;
}

// Without the keep-selection style a field shows its selection only while it has the focus. Qt
// paints the selection of every field of the active window, focused or not.
void paint_colours(QWidget* widget, WindowHandle handle)
{
    bool shown = (edit_style(handle) & EditStyle::NoHideSelection) || widget->hasFocus();
    apply_control_colours(widget, handle, shows_read_only_colours(widget) ? WM_CTLCOLORSTATIC : WM_CTLCOLOREDIT,
                          shown ? SelectionPainting::Shown : SelectionPainting::Hidden);
}

// ==== Widgets ===================================================================================

// The character a password field shows, as a style hint of a style of the field's own.
class PasswordStyle final : public QProxyStyle {
public:
    explicit PasswordStyle(QChar character)
        : m_character(character)
    {
    }

    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* result) const override
    {
        if (hint == SH_LineEdit_PasswordCharacter)
            return m_character.unicode();
        if (hint == SH_LineEdit_PasswordMaskDelay)
            return 0;
        return QProxyStyle::styleHint(hint, option, widget, result);
    }

private:
    QChar m_character;
};

class EditLine final : public QLineEdit {
public:
    explicit EditLine(WindowHandle handle)
        : m_handle(handle)
    {
    }

protected:
    void paintEvent(QPaintEvent* event) override
    {
        paint_colours(this, m_handle);
        QLineEdit::paintEvent(event);
    }

    // Qt drops the selection when the field loses the focus; an edit control keeps it (and shows it
    // or not by its style), so that the selection can still be read and is back on return.
    void focusOutEvent(QFocusEvent* event) override
    {
        int start = selectionStart();
        int length = selectionLength();
        int caret = cursorPosition();
        QLineEdit::focusOutEvent(event);
        if (start >= 0 && length > 0 && !hasSelectedText()) {
            if (caret == start)
                setSelection(start + length, -length);
            else
                setSelection(start, length);
        }
    }

private:
    WindowHandle m_handle;
};

class EditText final : public QPlainTextEdit {
public:
    explicit EditText(WindowHandle handle)
        : m_handle(handle)
    {
    }

protected:
    void paintEvent(QPaintEvent* event) override
    {
        paint_colours(this, m_handle);
        QPlainTextEdit::paintEvent(event);
    }

private:
    WindowHandle m_handle;
};

QWidget* edit_widget(WindowHandle handle)
{
    std::shared_ptr<NativeWindow> window = find_window(handle);
    if (!window || !window->client || window->window_class->name != kEditClassName)
        return nullptr;
    return window->client;
}

QLineEdit* line_of(WindowHandle handle)
{
    return qobject_cast<QLineEdit*>(edit_widget(handle));
}

QPlainTextEdit* text_of(WindowHandle handle)
{
    return qobject_cast<QPlainTextEdit*>(edit_widget(handle));
}

Qt::Alignment alignment_of(std::uint32_t style)
{
    if (style & EditStyle::Right)
        return Qt::AlignRight;
    if (style & EditStyle::Centre)
        return Qt::AlignHCenter;
    return Qt::AlignLeft;
}

// The edit control's text has "\r\n" line ends; Qt's "\n".
QString qt_text_from_gbk(std::string_view gbk)
{
    QString text = control_qstring(gbk);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return text;
}

QString control_text_from_qt(QString text)
{
    text.replace(QStringLiteral("\n"), QStringLiteral("\r\n"));
    return text;
}

void apply_password(QLineEdit* line, std::uint32_t code)
{
    QStyle* previous = line->style();
    if (code == 0) {
        line->setEchoMode(QLineEdit::Normal);
        line->setStyle(nullptr);
    } else {
        QString character = control_qstring(gbk_from_char_code(code));
        auto* style = new PasswordStyle(character.isEmpty() ? QChar('*') : character.front());
        style->setParent(line);
        line->setStyle(style);
        line->setEchoMode(QLineEdit::Password);
    }
    if (auto* old = dynamic_cast<PasswordStyle*>(previous); old && old != line->style())
        old->deleteLater();
}

QWidget* make_edit_widget(NativeWindow& window, const CreateParams& params)
{
    WindowHandle handle = window.handle;
    std::uint32_t style = params.style;
    EditState& state = edit_states()[handle];
    state = EditState{};
    if (style & EditStyle::MultiLine) {
        auto* text = new EditText(handle);
        text->setFrameShape(QFrame::NoFrame);
        text->setReadOnly(style & EditStyle::ReadOnly);
        text->setLineWrapMode((style & EditStyle::AutoHorizontalScroll) ? QPlainTextEdit::NoWrap
                                                                        : QPlainTextEdit::WidgetWidth);
        text->setVerticalScrollBarPolicy((style & WS_VSCROLL) ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
        text->setHorizontalScrollBarPolicy((style & WS_HSCROLL) ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
        QTextOption option = text->document()->defaultTextOption();
        option.setAlignment(alignment_of(style));
        text->document()->setDefaultTextOption(option);
        text->setPlainText(qt_text_from_gbk(params.text));
        QObject::connect(text, &QPlainTextEdit::textChanged, text, [handle] {
            if (is_window(handle))
                notify_parent(handle, EditNotification::Change);
        });
        return text;
    }
    auto* line = new EditLine(handle);
    line->setFrame(false);
    // The text limit is kept by the class procedure: it holds back typed characters only, so that a
    // program may still set a longer text.
    line->setMaxLength(kMaximumTextLimit);
    line->setAlignment(alignment_of(style) | Qt::AlignVCenter);
    line->setReadOnly(style & EditStyle::ReadOnly);
    if (style & EditStyle::Password) {
        state.password = '*';
        apply_password(line, state.password);
    }
    line->setText(control_qstring(params.text));
    line->setCursorPosition(0);
    QObject::connect(line, &QLineEdit::textChanged, line, [handle] {
        if (is_window(handle))
            notify_parent(handle, EditNotification::Change);
    });
    return line;
}

// ==== Class procedure ===========================================================================

std::intptr_t edit_procedure(WindowHandle handle, Message& message)
{
    switch (message.id) {
    case WM_SETTEXT: {
        const char* gbk = reinterpret_cast<const char*>(message.lparam);
        std::string_view text = gbk ? gbk : "";
        if (QLineEdit* line = line_of(handle)) {
            line->setText(control_qstring(text));
            line->setCursorPosition(0);
        } else if (QPlainTextEdit* plain = text_of(handle)) {
            plain->setPlainText(qt_text_from_gbk(text));
        }
        return 1;
    }
    case WM_GETTEXT: {
        auto* out = reinterpret_cast<std::string*>(message.lparam);
        if (!out)
            return 0;
        if (QLineEdit* line = line_of(handle))
            *out = control_gbk(line->text());
        else if (QPlainTextEdit* plain = text_of(handle))
            *out = control_gbk(control_text_from_qt(plain->toPlainText()));
        return static_cast<std::intptr_t>(out->size());
    }
    case WM_CHAR: {
        std::uint32_t style = edit_style(handle);
        std::uintptr_t code = message.wparam;
        if ((style & EditStyle::UpperCase) && code >= 'a' && code <= 'z')
            message.wparam = code - 'a' + 'A';
        else if ((style & EditStyle::LowerCase) && code >= 'A' && code <= 'Z')
            message.wparam = code - 'A' + 'a';
        if (code >= 0x20 && code != 0x7F) {
            TextRange selection = edit_selection(handle);
            if (edit_text_length(handle) - (selection.end - selection.start) >= edit_states()[handle].limit) {
                notify_parent(handle, EditNotification::MaxText);
                return 0;
            }
        }
        return default_window_procedure(handle, message);
    }
    case WM_SETFONT: {
        const auto* font = reinterpret_cast<const LogFont*>(message.wparam);
        set_control_font(handle, font ? std::optional<LogFont>(*font) : std::nullopt);
        return 0;
    }
    case WM_SETFOCUS:
        notify_parent(handle, EditNotification::SetFocus);
        return 0;
    case WM_KILLFOCUS:
        notify_parent(handle, EditNotification::KillFocus);
        return 0;
    case WM_NCDESTROY:
        edit_states().erase(handle);
        return default_window_procedure(handle, message);
    default:
        return default_window_procedure(handle, message);
    }
}

}  // namespace

// ==== Public functions ==========================================================================

void register_edit_class()
{
    if (is_window_class_registered(kEditClassName))
        return;
    ClassInfo info;
    info.style = CS_DBLCLKS;
    info.background = Brush::system(5);  // the window colour
    info.procedure = &edit_procedure;
    register_builtin_window_class(kEditClassName, std::move(info), &make_edit_widget);
}

bool is_edit_control(WindowHandle handle)
{
    return edit_widget(handle) != nullptr;
}

void edit_set_text_limit(WindowHandle edit, int characters)
{
    if (!edit_widget(edit))
        return;
    edit_states()[edit].limit = characters <= 0 ? kMaximumTextLimit : characters;
}

int edit_text_limit(WindowHandle edit)
{
    auto found = edit_states().find(edit);
    return found == edit_states().end() ? 0 : found->second.limit;
}

void edit_set_password_character(WindowHandle edit, std::uint32_t character_code)
{
    QLineEdit* line = line_of(edit);
    if (!line)
        return;
    EditState& state = edit_states()[edit];
    if (state.password == character_code)
        return;
    state.password = character_code;
    apply_password(line, character_code);
}

std::uint32_t edit_password_character(WindowHandle edit)
{
    auto found = edit_states().find(edit);
    return found == edit_states().end() ? 0 : found->second.password;
}

void edit_set_read_only(WindowHandle edit, bool read_only)
{
    if (QLineEdit* line = line_of(edit))
        line->setReadOnly(read_only);
    else if (QPlainTextEdit* plain = text_of(edit))
        plain->setReadOnly(read_only);
    else
        return;
    std::uint32_t style = window_style(edit) & ~(WS_VISIBLE | WS_DISABLED);
    std::uint32_t changed = read_only ? (style | EditStyle::ReadOnly) : (style & ~EditStyle::ReadOnly);
    if (changed != style)
        set_window_style(edit, changed);
    if (QWidget* widget = edit_widget(edit))
        widget->update();
}

void edit_set_selection(WindowHandle edit, int start, int end)
{
    if (QLineEdit* line = line_of(edit)) {
        int length = static_cast<int>(line->text().size());
        if (start < 0) {
            line->deselect();
            return;
        }
        start = std::min(start, length);
        end = (end < 0 || end > length) ? length : end;
        if (start == end)
            line->setCursorPosition(end);
        else
            line->setSelection(start, end - start);
        return;
    }
    if (QPlainTextEdit* plain = text_of(edit)) {
        QTextCursor cursor = plain->textCursor();
        int length = static_cast<int>(plain->document()->characterCount()) - 1;
        if (start < 0) {
            cursor.clearSelection();
        } else {
            start = std::min(start, length);
            end = (end < 0 || end > length) ? length : end;
            cursor.setPosition(start);
            cursor.setPosition(end, QTextCursor::KeepAnchor);
        }
        plain->setTextCursor(cursor);
    }
}

TextRange edit_selection(WindowHandle edit)
{
    if (QLineEdit* line = line_of(edit)) {
        if (!line->hasSelectedText())
            return TextRange{line->cursorPosition(), line->cursorPosition()};
        int start = line->selectionStart();
        return TextRange{start, start + line->selectionLength()};
    }
    if (QPlainTextEdit* plain = text_of(edit)) {
        QTextCursor cursor = plain->textCursor();
        return TextRange{cursor.selectionStart(), cursor.selectionEnd()};
    }
    return {};
}

std::string edit_selected_text(WindowHandle edit)
{
    if (QLineEdit* line = line_of(edit))
        return control_gbk(line->selectedText());
    if (QPlainTextEdit* plain = text_of(edit)) {
        QString text = plain->textCursor().selectedText();
        text.replace(QChar(0x2029), QChar('\n'));
        return control_gbk(control_text_from_qt(text));
    }
    return {};
}

void edit_replace_selection(WindowHandle edit, std::string_view gbk)
{
    if (QLineEdit* line = line_of(edit))
        line->insert(control_qstring(gbk));
    else if (QPlainTextEdit* plain = text_of(edit))
        plain->insertPlainText(qt_text_from_gbk(gbk));
}

void edit_scroll_caret(WindowHandle edit)
{
    if (QLineEdit* line = line_of(edit)) {
        // Re-setting the caret makes the field scroll it into view.
        if (!line->hasSelectedText())
            line->setCursorPosition(line->cursorPosition());
    } else if (QPlainTextEdit* plain = text_of(edit)) {
        plain->ensureCursorVisible();
    }
}

int edit_text_length(WindowHandle edit)
{
    if (QLineEdit* line = line_of(edit))
        return static_cast<int>(line->text().size());
    if (QPlainTextEdit* plain = text_of(edit))
        return static_cast<int>(control_text_from_qt(plain->toPlainText()).size());
    return 0;
}

}  // namespace platform
