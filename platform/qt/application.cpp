#include "platform/application.h"

#include "platform/qt/application_qt.h"
#include "platform/qt/device_context_qt.h"
#include "platform/qt/fonts_qt.h"
#include "platform/qt/input_routing_qt.h"
#include "platform/qt/lazy_icon_qt.h"
#include "platform/qt/message_loop_qt.h"
#include "platform/qt/native_window_qt.h"
#include "platform/qt/start_up_heap_qt.h"
#include "platform/qt/vector_state_qt.h"
#include "platform/system_colours.h"

#include <QApplication>
#include <QEvent>
#include <QIcon>
#include <QLatin1String>
#include <QLibraryInfo>
#include <QLocale>
#include <QPalette>
#include <QSettings>
#include <QStyleFactory>
#include <QTranslator>

#include <cstdio>
#include <cstdlib>
#include <memory>

namespace platform {
namespace {

class Application final : public QApplication {
public:
    using QApplication::QApplication;

    bool notify(QObject* receiver, QEvent* event) override
    {
        clear_wide_vector_state();
        bool handled = QApplication::notify(receiver, event);
        clear_wide_vector_state();
        return handled;
    }
};

std::unique_ptr<QApplication> g_application;
std::unique_ptr<QTranslator> g_qt_texts;
int g_argc = 1;
char g_program_name[] = "certmaker";
char* g_argv[] = {g_program_name, nullptr};

// Qt's colour roles in the system colours, so that Qt's own controls look like ours.
QPalette system_palette()
{
    QPalette palette;
    auto set = [&palette](QPalette::ColorRole role, int index) {
        palette.setColor(role, qt_colour(system_colour(index)));
    };
    set(QPalette::Window, SystemColour::ButtonFace);
    set(QPalette::WindowText, SystemColour::WindowText);
    set(QPalette::Base, SystemColour::Window);
    set(QPalette::AlternateBase, SystemColour::ButtonFace);
    set(QPalette::Text, SystemColour::WindowText);
    set(QPalette::Button, SystemColour::ButtonFace);
    set(QPalette::ButtonText, SystemColour::ButtonText);
    set(QPalette::Light, SystemColour::ButtonHighlight);
    set(QPalette::Midlight, SystemColour::Light);
    set(QPalette::Mid, SystemColour::ButtonShadow);
    set(QPalette::Dark, SystemColour::ButtonShadow);
    set(QPalette::Shadow, SystemColour::DarkShadow);
    set(QPalette::Highlight, SystemColour::Highlight);
    set(QPalette::HighlightedText, SystemColour::HighlightText);
    set(QPalette::ToolTipBase, SystemColour::InfoBackground);
    set(QPalette::ToolTipText, SystemColour::InfoText);
    palette.setColor(QPalette::Disabled, QPalette::WindowText, qt_colour(system_colour(SystemColour::GrayText)));
    palette.setColor(QPalette::Disabled, QPalette::Text, qt_colour(system_colour(SystemColour::GrayText)));
    palette.setColor(QPalette::Disabled, QPalette::ButtonText, qt_colour(system_colour(SystemColour::GrayText)));
    return palette;
}

// Qt's own texts (dialog titles and buttons, message box buttons, context menus) in Simplified
// Chinese like every other text of the program, whatever the desktop's language.
void use_chinese_texts()
{
    QLocale::setDefault(QLocale(QLocale::Chinese, QLocale::China));
    auto texts = std::make_unique<QTranslator>();
    if (texts->load(QStringLiteral("qtbase_zh_CN"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QCoreApplication::installTranslator(texts.get());
        g_qt_texts = std::move(texts);
    }
}

// The program keeps no settings, but Qt's file dialog keeps its history and layout in a settings
// file of the user's. Qt's settings are put below a file, where no folder can ever be made, so
// nothing is read from or written to the user's (or the system's) configuration folders.
void keep_no_settings()
{
    const QString nowhere = QStringLiteral("/dev/null");
    for (QSettings::Format format : {QSettings::NativeFormat, QSettings::IniFormat}) {
        QSettings::setPath(format, QSettings::UserScope, nowhere);
        QSettings::setPath(format, QSettings::SystemScope, nowhere);
    }
}

QtMessageHandler g_next_message_handler = nullptr;

void filter_platform_notices(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (type == QtWarningMsg && message.startsWith(QLatin1String("This plugin does not support ")))
        return;
    if (g_next_message_handler) {
        g_next_message_handler(type, context, message);
        return;
    }
    std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, context, message)));
}

}  // namespace

QtMessageHandler install_platform_notice_filter()
{
    QtMessageHandler previous = qInstallMessageHandler(filter_platform_notices);
    if (previous != filter_platform_notices)
        g_next_message_handler = previous;
    return g_next_message_handler;
}

std::vector<std::string> command_line_arguments(int argc, char** argv)
{
    std::vector<std::string> arguments;
    for (int index = 0; index < argc && argv && argv[index]; ++index)
        arguments.emplace_back(argv[index]);
    return arguments;
}

void start_platform(int argc, char** argv, Display display)
{
    if (g_application)
        return;
    prepare_start_up_heap();
    if (display == Display::Offscreen)
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    // Logical pixels everywhere: stored sizes are pixels of a 96-DPI screen.
    setenv("QT_ENABLE_HIGHDPI_SCALING", "0", 0);
    setenv("QT_FONT_DPI", "96", 0);
    if (argc > 0 && argv) {
        g_argc = 1;
        g_argv[0] = argv[0];
    }
    install_platform_notice_filter();
    g_application = std::make_unique<Application>(g_argc, g_argv);
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Windows")));
    QApplication::setFont(default_gui_font());
    QApplication::setPalette(system_palette());
    QApplication::setQuitOnLastWindowClosed(false);
    use_chinese_texts();
    keep_no_settings();
    install_input_routing();
    start_message_queue();
}

bool platform_started()
{
    return g_application != nullptr;
}

int set_default_window_icon(std::span<const std::span<const std::uint8_t>> png_files)
{
    if (!g_application)
        return 0;
    int sizes = 0;
    QIcon icon = icon_from_png_files(png_files, &sizes);
    if (sizes > 0)
        QApplication::setWindowIcon(icon);
    return sizes;
}

void stop_platform()
{
    if (!g_application)
        return;
    destroy_all_windows();
    remove_input_routing();
    stop_message_queue();
    if (g_qt_texts)
        QCoreApplication::removeTranslator(g_qt_texts.get());
    g_qt_texts.reset();
    forget_converted_fonts();
    g_application.reset();
}

}  // namespace platform
