// certmaker-drive [--show] [SCRIPT]: runs the certificate maker (its start routine, runtime and
// message loop) and performs each line of the script as a user would. Prints "ok LINE" or
// "FAIL LINE: reason" per line, and "box TITLE: TEXT" for every message box the program shows;
// exits with the program's exit code, or 3 when a line failed.

#include "driver.h"
#include "script.h"

#include "app/start.h"
#include "platform/application.h"
#include "platform/dialogs.h"
#include "platform/message_loop.h"
#include "platform/text_encoding.h"

#include "certmaker_version.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
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

// File and font dialogs are answered from the script; a message box is printed and answered with
// its default (its only) button at once, so that a script sees what the user would have read.
class DriveDialogs final : public platform::DialogService {
public:
    explicit DriveDialogs(platform::ScriptedDialogService& script)
        : m_script(script)
    {
    }
    void show_message_box(const platform::MessageBoxRequest& request) override
    {
        m_script.show_message_box(request);
        std::printf("box %s: %s\n", platform::utf8_from_gbk(request.title).c_str(),
                    platform::utf8_from_gbk(request.text).c_str());
        std::fflush(stdout);
    }
    platform::FileDialogAnswer ask_file(const platform::FileDialogRequest& request) override
    {
        return m_script.ask_file(request);
    }
    platform::FontDialogAnswer ask_font(const platform::FontDialogRequest& request) override
    {
        return m_script.ask_font(request);
    }

private:
    platform::ScriptedDialogService& m_script;
};

// One line per turn of the program's message loop.
void perform_next_line()
{
    // The program loads its window first; until it is open, look again a little later.
    if (!g_run.started) {
        if (!g_run.driver->ready()) {
            if (++g_run.waits < 1000)
                platform::call_after(10, perform_next_line);
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
            // the GIF animator and idle processing go on as they would for a user. A precise timer:
            // a coarse one may end the wait up to 5 % early.
            report("ok", line, "");
            platform::call_after(parsed.command->number, perform_next_line);
            return;
        }
        std::string output;
        std::string failure = g_run.driver->perform(*parsed.command, output);
        if (!failure.empty()) {
            report("FAIL", line, ": " + failure);
            g_run.failed = true;
        } else if (parsed.command->verb == drive::Verb::Get || parsed.command->verb == drive::Verb::Counts) {
            report("ok", line, " = " + output);
        } else {
            report("ok", line, "");
        }
        if (g_run.driver->main_window_open())
            platform::call_after(0, perform_next_line);
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

const char kUsage[] = "usage: certmaker-drive [--show] [SCRIPT]\n"
                      "Runs certmaker and performs each line of SCRIPT (standard input when absent or\n"
                      "\"-\") as a user would; prints \"ok LINE\" or \"FAIL LINE: reason\" for each line.\n"
                      "  --show     show the window on the display (default: offscreen)\n"
                      "  --help, --version\n"
                      "Script lines (UTF-8; # starts a comment; CONTROL is a stored control name,\n"
                      "\"-\" the window itself):\n"
                      "  kind NAME                   choose NAME in the kind list\n"
                      "  type CONTROL TEXT           select all in the edit box and type TEXT\n"
                      "  key CONTROL KEY             press KEY (Enter, Tab, Backspace, Up, Down, A...)\n"
                      "  click CONTROL [X Y] [left|right]\n"
                      "  photo PATH | photo cancel   click the photo box, answer the open dialog\n"
                      "  font FACE SIZE | font cancel\n"
                      "  save PATH | save cancel     click the save button, answer the save dialog\n"
                      "  get CONTROL INDEX           print a property\n"
                      "  expect CONTROL INDEX VALUE  fail unless the property reads VALUE\n"
                      "  shot PATH                   save the main window as PNG\n"
                      "  wait MS                     wait MS milliseconds with the program running\n"
                      "  counts                      print how many pictures were decoded, converted, scaled,\n"
                      "                              and client areas painted\n"
                      "  close                       close the main window\n"
                      "Every message box the program shows is printed as \"box TITLE: TEXT\" and\n"
                      "answered with its default button.\n"
                      "Exit status: the program's own, 3 when a line failed, 2 on a usage error.\n";

}  // namespace

int main(int argc, char** argv)
{
    bool show = false;
    std::string script_path;
    std::vector<std::string> arguments = platform::command_line_arguments(argc, argv);
    for (std::size_t i = 1; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (argument == "--show")
            show = true;
        else if (argument == "-h" || argument == "--help") {
            std::fputs(kUsage, stdout);
            return 0;
        } else if (argument == "--version") {
            std::printf("certmaker-drive %s\n", certmaker::kVersion);
            return 0;
        } else if (script_path.empty() && (argument == "-" || argument[0] != '-'))
            script_path = argument;
        else {
            std::fputs(kUsage, stderr);
            return 2;
        }
    }

    std::istream* input = &std::cin;
    std::ifstream file;
    if (!script_path.empty() && script_path != "-") {
        // The path is UTF-8 on every system; a char8_t path reaches the wide calls on Windows.
        file.open(std::filesystem::path(std::u8string(script_path.begin(), script_path.end())));
        if (!file) {
            std::fprintf(stderr, "certmaker-drive: cannot read %s\n", script_path.c_str());
            return 2;
        }
        input = &file;
    }
    for (std::string line; std::getline(*input, line);)
        g_run.lines.push_back(line);

    std::string base = drive::current_folder();

    platform::start_platform(argc, argv, show ? platform::Display::Default : platform::Display::Offscreen);
    platform::ScriptedDialogService dialogs;
    DriveDialogs reporting(dialogs);
    platform::set_dialog_service(&reporting);
    g_run.driver = std::make_unique<drive::Driver>(dialogs, base);
    // The first line runs once the program's message loop is running with the main window open.
    platform::call_after(0, perform_next_line);

    int exit_code = runtime::run_program(argc, argv, app::program_header(), app::start_routine, app::program_icon());
    for (; g_run.next < g_run.lines.size(); ++g_run.next) {
        drive::ParseResult parsed = drive::parse_line(g_run.lines[g_run.next]);
        if (parsed.command || !parsed.error.empty()) {
            report("FAIL", g_run.lines[g_run.next], ": the program had ended");
            g_run.failed = true;
        }
    }
    return g_run.failed ? 3 : exit_code;
}
