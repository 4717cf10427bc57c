// Qt input events to window messages, through the application-wide input filter.
//
// Every keyboard, mouse, wheel and input-method event aimed at a widget of a native window becomes
// one or more messages: the input filter sees each first and may swallow it or change a character;
// then the window procedure gets it. Windows of our own classes take the event completely. For a
// standard control (a Qt widget) the Qt widget gets the event afterwards when the procedure asked
// for the default handling, rewritten when characters were swallowed or replaced.

#include "platform/qt/input_routing_qt.h"

#include "platform/qt/key_codes_qt.h"
#include "platform/qt/native_window_qt.h"
#include "platform/text_encoding.h"

#include <QApplication>
#include <QFocusEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWheelEvent>

namespace platform {
namespace {

InputFilter g_filter;
WindowHandle g_focus = 0;
WindowHandle g_focus_lost = 0;  // between the focus-out and the focus-in of one change
std::uint64_t g_idle_ending_inputs = 0;
bool g_default_requested = false;
bool g_resending = false;
QObject* g_router = nullptr;

std::uint32_t key_state_of(Qt::KeyboardModifiers modifiers)
{
    std::uint32_t state = 0;
    if (modifiers & Qt::ControlModifier)
        state |= KeyState::Ctrl;
    if (modifiers & Qt::ShiftModifier)
        state |= KeyState::Shift;
    if (modifiers & Qt::AltModifier)
        state |= KeyState::Alt;
    return state;
}

std::uintptr_t mouse_key_bits(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers)
{
    std::uintptr_t bits = 0;
    if (buttons & Qt::LeftButton)
        bits |= MK_LBUTTON;
    if (buttons & Qt::RightButton)
        bits |= MK_RBUTTON;
    if (buttons & Qt::MiddleButton)
        bits |= MK_MBUTTON;
    if (modifiers & Qt::ShiftModifier)
        bits |= MK_SHIFT;
    if (modifiers & Qt::ControlModifier)
        bits |= MK_CONTROL;
    return bits;
}

// Filter, then window procedure. Returns whether the procedure asked for the default handling;
// `swallowed` tells whether the filter kept the message from the window.
bool route(const std::shared_ptr<NativeWindow>& window, Message& message, bool& swallowed)
{
    swallowed = false;
    if (message.id != WM_MOUSEMOVE)
        ++g_idle_ending_inputs;
    if (g_filter) {
        // The filter may replace itself while it runs.
        InputFilter filter = g_filter;
        if (filter(window->handle, message) == FilterVerdict::Swallow) {
            swallowed = true;
            return false;
        }
    }
    if (!is_window(window->handle))
        return false;
    bool saved = g_default_requested;
    g_default_requested = false;
    call_window_procedure(window, message);
    bool wanted = g_default_requested;
    g_default_requested = saved;
    return wanted;
}

QString qt_from_gbk(const std::string& gbk)
{
    std::u16string text = utf16_from_gbk(gbk);
    return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

// Character messages for each character of `text`; returns the text the Qt widget should still
// get (the characters whose default handling was asked for, with the filter's replacements).
QString route_characters(const std::shared_ptr<NativeWindow>& window, const QString& text, std::uint32_t id,
                         std::uint32_t key_state)
{
    QString passed;
    qsizetype i = 0;
    while (i < text.size()) {
        qsizetype length = (text[i].isHighSurrogate() && i + 1 < text.size()) ? 2 : 1;
        QString character = text.mid(i, length);
        i += length;
        // Delete produces no character.
        if (character == QString(QChar(0x7F)))
            continue;
        std::string gbk = gbk_from_utf16(std::u16string_view(reinterpret_cast<const char16_t*>(character.utf16()),
                                                             static_cast<std::size_t>(character.size())));
        Message message{id, gbk_char_code(gbk), 1, key_state};
        bool swallowed = false;
        bool wanted = route(window, message, swallowed);
        if (!swallowed && wanted)
            passed += qt_from_gbk(gbk_from_char_code(static_cast<std::uint32_t>(message.wparam)));
        if (!is_window(window->handle))
            break;
    }
    return passed;
}

bool deliver_rewritten(QObject* receiver, QEvent* replacement)
{
    g_resending = true;
    QCoreApplication::sendEvent(receiver, replacement);
    g_resending = false;
    return true;
}

bool route_mouse(const std::shared_ptr<NativeWindow>& window, QWidget* receiver, QMouseEvent* event)
{
    std::uint32_t id = 0;
    Qt::MouseButton button = event->button();
    switch (event->type()) {
    case QEvent::MouseMove:
        id = WM_MOUSEMOVE;
        break;
    case QEvent::MouseButtonPress:
        id = button == Qt::LeftButton     ? WM_LBUTTONDOWN
             : button == Qt::RightButton  ? WM_RBUTTONDOWN
             : button == Qt::MiddleButton ? WM_MBUTTONDOWN
                                          : 0;
        break;
    case QEvent::MouseButtonRelease:
        id = button == Qt::LeftButton     ? WM_LBUTTONUP
             : button == Qt::RightButton  ? WM_RBUTTONUP
             : button == Qt::MiddleButton ? WM_MBUTTONUP
                                          : 0;
        break;
    case QEvent::MouseButtonDblClick: {
        // Without the double-click class style a second press is just a press.
        bool doubles = window->window_class->info.style & CS_DBLCLKS;
        if (button == Qt::LeftButton)
            id = doubles ? WM_LBUTTONDBLCLK : WM_LBUTTONDOWN;
        else if (button == Qt::RightButton)
            id = doubles ? WM_RBUTTONDBLCLK : WM_RBUTTONDOWN;
        else if (button == Qt::MiddleButton)
            id = doubles ? 0x0209u : WM_MBUTTONDOWN;
        break;
    }
    default:
        return false;
    }
    if (id == 0)
        return false;
    QPoint position = receiver->mapTo(window->client, event->position().toPoint());
    Message message{id, mouse_key_bits(event->buttons(), event->modifiers()), make_lparam(position.x(), position.y()),
                    key_state_of(event->modifiers())};
    bool swallowed = false;
    bool wanted = route(window, message, swallowed);
    event->accept();
    return !(window->builtin && wanted && !swallowed && is_window(window->handle));
}

bool route_wheel(const std::shared_ptr<NativeWindow>& window, QWidget* receiver, QWheelEvent* event)
{
    int delta = event->angleDelta().y();
    QPoint position = receiver->mapTo(window->client, event->position().toPoint());
    Message message{WM_MOUSEWHEEL,
                    mouse_key_bits(event->buttons(), event->modifiers()) |
                        (static_cast<std::uintptr_t>(static_cast<std::uint16_t>(delta)) << 16),
                    make_lparam(position.x(), position.y()), key_state_of(event->modifiers())};
    bool swallowed = false;
    bool wanted = route(window, message, swallowed);
    event->accept();
    return !(window->builtin && wanted && !swallowed && is_window(window->handle));
}

bool route_key(const std::shared_ptr<NativeWindow>& window, QObject* receiver, QKeyEvent* event)
{
    bool press = event->type() == QEvent::KeyPress;
    int virtual_key = virtual_key_from_qt(event->key(), event->modifiers());
    bool alt = event->modifiers() & Qt::AltModifier;
    bool system = alt || virtual_key == VK_F10 || virtual_key == VK_MENU;
    std::uint32_t id = press ? (system ? WM_SYSKEYDOWN : WM_KEYDOWN) : (system ? WM_SYSKEYUP : WM_KEYUP);
    // Repeat count 1; bit 30 the previous key state, bit 31 the transition.
    std::intptr_t flags = 1;
    if (!press)
        flags |= (1 << 30) | static_cast<std::intptr_t>(0x80000000u);
    else if (event->isAutoRepeat())
        flags |= (1 << 30);
    std::uint32_t key_state = key_state_of(event->modifiers());
    Message message{id, static_cast<std::uintptr_t>(virtual_key), flags, key_state};
    bool swallowed = false;
    bool wanted = virtual_key != 0 ? route(window, message, swallowed) : true;
    event->accept();
    if (swallowed || !is_window(window->handle))
        return true;
    QString text = event->text();
    QString passed;
    if (press && !text.isEmpty())
        passed = route_characters(window, text, alt ? WM_SYSCHAR : WM_CHAR, key_state);
    if (!window->builtin || !wanted || !is_window(window->handle))
        return true;
    if (!press || passed == text)
        return false;
    QKeyEvent rewritten(event->type(), event->key(), event->modifiers(), passed, event->isAutoRepeat(),
                        static_cast<quint16>(event->count()));
    return deliver_rewritten(receiver, &rewritten);
}

bool route_input_method(const std::shared_ptr<NativeWindow>& window, QObject* receiver, QInputMethodEvent* event)
{
    QString commit = event->commitString();
    if (commit.isEmpty())
        return !window->builtin;
    QString passed = route_characters(window, commit, WM_CHAR, 0);
    event->accept();
    if (!window->builtin || !is_window(window->handle))
        return true;
    if (passed == commit)
        return false;
    QInputMethodEvent rewritten(event->preeditString(), event->attributes());
    rewritten.setCommitString(passed, event->replacementStart(), event->replacementLength());
    return deliver_rewritten(receiver, &rewritten);
}

void route_focus(QObject* receiver, QEvent* event)
{
    std::shared_ptr<NativeWindow> window = window_of_widget(receiver);
    if (event->type() == QEvent::FocusOut) {
        std::shared_ptr<NativeWindow> next = window_of_widget(QApplication::focusWidget());
        WindowHandle next_handle = next ? next->handle : 0;
        if (!window || window->handle != g_focus || next_handle == g_focus)
            return;
        g_focus = 0;
        g_focus_lost = next_handle ? window->handle : 0;
        Message message{WM_KILLFOCUS, static_cast<std::uintptr_t>(next_handle), 0, 0};
        call_window_procedure(window, message);
        return;
    }
    if (!window || window->destroying || window->handle == g_focus)
        return;
    WindowHandle previous = g_focus ? g_focus : g_focus_lost;
    g_focus_lost = 0;
    g_focus = window->handle;
    Message message{WM_SETFOCUS, static_cast<std::uintptr_t>(previous), 0, 0};
    call_window_procedure(window, message);
}

class InputRouter final : public QObject {
public:
    bool eventFilter(QObject* receiver, QEvent* event) override
    {
        if (g_resending || !receiver->isWidgetType())
            return false;
        switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseMove:
        case QEvent::Wheel:
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::InputMethod:
            break;
        case QEvent::FocusIn:
        case QEvent::FocusOut:
            route_focus(receiver, event);
            return false;
        default:
            return false;
        }
        std::shared_ptr<NativeWindow> window = window_of_widget(receiver);
        if (!window)
            return false;
        if (window->destroying) {
            event->accept();
            return true;
        }
        auto* widget = static_cast<QWidget*>(receiver);
        // The platform's frame takes no input.
        if (widget == window->outer.data() || !window->client ||
            (widget != window->client && !window->client->isAncestorOf(widget))) {
            event->accept();
            return true;
        }
        switch (event->type()) {
        case QEvent::Wheel:
            return route_wheel(window, widget, static_cast<QWheelEvent*>(event));
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
            return route_key(window, receiver, static_cast<QKeyEvent*>(event));
        case QEvent::InputMethod:
            return route_input_method(window, receiver, static_cast<QInputMethodEvent*>(event));
        default:
            return route_mouse(window, widget, static_cast<QMouseEvent*>(event));
        }
    }
};

}  // namespace

InputFilter set_input_filter(InputFilter filter)
{
    InputFilter previous = std::move(g_filter);
    g_filter = std::move(filter);
    return previous;
}

void install_input_routing()
{
    if (g_router || !QCoreApplication::instance())
        return;
    g_router = new InputRouter;
    QCoreApplication::instance()->installEventFilter(g_router);
}

void remove_input_routing()
{
    delete g_router;
    g_router = nullptr;
    g_focus = 0;
}

WindowHandle tracked_focus()
{
    return is_window(g_focus) ? g_focus : 0;
}

void forget_focus(WindowHandle handle)
{
    if (g_focus == handle)
        g_focus = 0;
    if (g_focus_lost == handle)
        g_focus_lost = 0;
}

std::uint64_t idle_ending_input_count()
{
    return g_idle_ending_inputs;
}

void note_default_input_handling()
{
    g_default_requested = true;
}

}  // namespace platform
