// The registry of native windows: window classes, handles and the widgets behind them, the window
// procedure call, and deletion of widgets that had to wait for the stack to unwind.

#include "platform/qt/native_window_shared_qt.h"

#include "platform/text_encoding.h"

namespace platform {

std::map<std::string, std::shared_ptr<const WindowClass>>& classes()
{
    static std::map<std::string, std::shared_ptr<const WindowClass>> table;
    return table;
}

std::unordered_map<WindowHandle, std::shared_ptr<NativeWindow>>& windows()
{
    static std::unordered_map<WindowHandle, std::shared_ptr<NativeWindow>> table;
    return table;
}

std::unordered_map<const QObject*, WindowHandle>& widget_handles()
{
    static std::unordered_map<const QObject*, WindowHandle> table;
    return table;
}

std::vector<QPointer<QWidget>>& widgets_to_delete()
{
    static std::vector<QPointer<QWidget>> pending;
    return pending;
}

namespace {

// Handles start above the special insert-after values of set_window_pos and are never reused.
WindowHandle g_next_handle = 16;
int g_procedure_depth = 0;

}  // namespace

WindowHandle next_window_handle()
{
    return g_next_handle++;
}

QString qt_from_gbk(const std::string& gbk)
{
    std::u16string text = utf16_from_gbk(gbk);
    return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

bool is_top_level(const NativeWindow& window)
{
    return !(window.style & WS_CHILD);
}

std::shared_ptr<NativeWindow> find_window(WindowHandle handle)
{
    auto found = windows().find(handle);
    if (found == windows().end())
        return nullptr;
    return found->second;
}

std::shared_ptr<NativeWindow> window_of_widget(const QObject* widget)
{
    for (const QObject* object = widget; object; object = object->parent()) {
        auto found = widget_handles().find(object);
        if (found != widget_handles().end())
            return find_window(found->second);
        if (object->isWidgetType() && static_cast<const QWidget*>(object)->isWindow())
            break;
    }
    return nullptr;
}

QWidget* input_widget(NativeWindow& window)
{
    if (!window.client)
        return window.outer;
    if (QWidget* proxy = window.client->focusProxy())
        return proxy;
    return window.client;
}

bool inside_window_procedure()
{
    return g_procedure_depth > 0;
}

std::intptr_t call_window_procedure(const std::shared_ptr<NativeWindow>& window, Message& message)
{
    if (!window)
        return 0;
    ++g_procedure_depth;
    std::intptr_t result = 0;
    const WindowProcedure& procedure = window->window_class->info.procedure;
    if (procedure)
        result = procedure(window->handle, message);
    else
        result = default_window_procedure(window->handle, message);
    --g_procedure_depth;
    return result;
}

void delete_destroyed_widgets()
{
    if (g_procedure_depth > 0)
        return;
    std::vector<QPointer<QWidget>> pending;
    pending.swap(widgets_to_delete());
    for (QPointer<QWidget>& widget : pending)
        delete widget.data();
}

void destroy_all_windows()
{
    while (!top_level_order().empty())
        destroy_window(top_level_order().front());
    while (!windows().empty())
        destroy_window(windows().begin()->first);
    delete_destroyed_widgets();
}

bool register_window_class(const std::string& name, ClassInfo info)
{
    if (name.empty() || classes().count(name))
        return false;
    auto window_class = std::make_shared<WindowClass>();
    window_class->name = name;
    window_class->info = std::move(info);
    classes()[name] = std::move(window_class);
    return true;
}

bool register_builtin_window_class(const std::string& name, ClassInfo info, ClientFactory factory)
{
    if (name.empty() || classes().count(name))
        return false;
    auto window_class = std::make_shared<WindowClass>();
    window_class->name = name;
    window_class->info = std::move(info);
    window_class->client_factory = std::move(factory);
    classes()[name] = std::move(window_class);
    return true;
}

bool is_window_class_registered(const std::string& name)
{
    return classes().count(name) != 0;
}

}  // namespace platform
