#include "platform/application.h"

#include "platform/fonts.h"

#include <QApplication>
#include <QStyleFactory>

#include <cstdlib>
#include <memory>

namespace platform {
namespace {

std::unique_ptr<QApplication> g_application;
int g_argc = 1;
char g_program_name[] = "certmaker";
char* g_argv[] = {g_program_name, nullptr};

}  // namespace

void start_platform(int argc, char** argv, Display display)
{
    if (g_application)
        return;
    if (display == Display::Offscreen)
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    // Logical pixels everywhere: stored sizes are pixels of a 96-DPI screen.
    setenv("QT_ENABLE_HIGHDPI_SCALING", "0", 0);
    setenv("QT_FONT_DPI", "96", 0);
    if (argc > 0 && argv) {
        g_argc = 1;
        g_argv[0] = argv[0];
    }
    g_application = std::make_unique<QApplication>(g_argc, g_argv);
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Windows")));
    QApplication::setFont(default_gui_font());
    QApplication::setQuitOnLastWindowClosed(false);
}

bool platform_started()
{
    return g_application != nullptr;
}

void stop_platform()
{
    g_application.reset();
}

}  // namespace platform
