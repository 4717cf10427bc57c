// certmaker-drive [--show] [SCRIPT]: runs the certificate maker (its start routine, runtime and
// message loop) and performs each line of the script as a user would. Prints "ok LINE" or
// "FAIL LINE: reason" per line; exits with the program's exit code, or 3 when a line failed.

#include "driver.h"
#include "script.h"

#include "app/start.h"
#include "platform/application.h"
#include "platform/dialogs.h"

#include <QTimer>

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

namespace {

struct Run {
    std::vector<std::string> lines;
    std::size_t next = 0;
    bool failed = false;
    bool started = false;
    int waits = 0;
    std::unique_ptr<drive::Driver> driver;
};

Run g_run;

void report(const char* status, const std::string& line, const std::string& detail)
{
    std::printf("%s %s%s\n", status, line.c_str(), detail.c_str());
    std::fflush(stdout);
}

// One line per turn of the program's message loop.
void perform_next_line()
{
    // The program loads its window first; until it is open, look again a little later.
    if (!g_run.started) {
        if (!g_run.driver->ready()) {
            if (++g_run.waits < 1000)
                QTimer::singleShot(10, perform_next_line);
            return;
        }
        g_run.started = true;
    }
    while (g_run.next < g_run.lines.size()) {
        const std::string& line = g_run.lines[g_run.next++];
        drive::ParseResult parsed = drive::parse_line(line);
        if (!parsed.command) {
            if (!parsed.error.empty()) {
                report("FAIL", line, ": " + parsed.error);
                g_run.failed = true;
            }
            continue;
        }
        if (parsed.command->verb == drive::Verb::Wait) {
            // The program's own loop runs meanwhile and sleeps while nothing happens: its timers,
            // the GIF animator and idle processing go on as they would for a user.
            report("ok", line, "");
            QTimer::singleShot(std::max(parsed.command->number, 0), perform_next_line);
            return;
        }
        std::string output;
        std::string failure = g_run.driver->perform(*parsed.command, output);
        if (!failure.empty()) {
            report("FAIL", line, ": " + failure);
            g_run.failed = true;
        } else if (parsed.command->verb == drive::Verb::Get) {
            report("ok", line, " = " + output);
        } else {
            report("ok", line, "");
        }
        if (g_run.driver->main_window_open())
            QTimer::singleShot(0, perform_next_line);
        return;
    }
    // The script is done; a window still open is closed, so that the run ends.
    if (g_run.driver->main_window_open()) {
        drive::Command close;
        close.verb = drive::Verb::Close;
        std::string output;
        g_run.driver->perform(close, output);
    }
}

}  // namespace

int main(int argc, char** argv)
{
    bool show = false;
    std::string script_path;
    for (int i = 1; i < argc; ++i) {
        std::string argument = argv[i];
        if (argument == "--show")
            show = true;
        else if (argument == "-h" || argument == "--help") {
            std::printf("usage: certmaker-drive [--show] [SCRIPT]\n");
            return 0;
        } else if (script_path.empty())
            script_path = argument;
        else {
            std::fprintf(stderr, "usage: certmaker-drive [--show] [SCRIPT]\n");
            return 2;
        }
    }

    std::istream* input = &std::cin;
    std::ifstream file;
    if (!script_path.empty() && script_path != "-") {
        file.open(script_path);
        if (!file) {
            std::fprintf(stderr, "certmaker-drive: cannot read %s\n", script_path.c_str());
            return 2;
        }
        input = &file;
    }
    for (std::string line; std::getline(*input, line);)
        g_run.lines.push_back(line);

    char folder[4096];
    std::string base = getcwd(folder, sizeof folder) ? folder : ".";

    platform::start_platform(argc, argv, show ? platform::Display::Default : platform::Display::Offscreen);
    platform::ScriptedDialogService dialogs;
    platform::set_dialog_service(&dialogs);
    g_run.driver = std::make_unique<drive::Driver>(dialogs, base);
    // The first line runs once the program's message loop is running with the main window open.
    QTimer::singleShot(0, perform_next_line);

    int exit_code = runtime::run_program(argc, argv, app::program_header(), app::start_routine);
    for (; g_run.next < g_run.lines.size(); ++g_run.next) {
        drive::ParseResult parsed = drive::parse_line(g_run.lines[g_run.next]);
        if (parsed.command || !parsed.error.empty()) {
            report("FAIL", g_run.lines[g_run.next], ": the program had ended");
            g_run.failed = true;
        }
    }
    return g_run.failed ? 3 : exit_code;
}
