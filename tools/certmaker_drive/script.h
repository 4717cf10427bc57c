#pragma once
// The driver's script: one user action per line. kScriptHelp lists the commands; it is what
// certmaker-drive --help prints.

#include <optional>
#include <string>
#include <vector>

namespace drive {

inline constexpr const char kScriptHelp[] =
    "\nThe script has one user action per line (UTF-8; a line starting with # is a comment):\n"
    "  kind NAME                  choose NAME in the kind selector's list\n"
    "  type CONTROL TEXT          click into the edit box, select all, type TEXT (empty TEXT clears)\n"
    "  key CONTROL KEY            press one key (Enter, Tab, Backspace, Up, Down, Space, A, ...)\n"
    "  click CONTROL [X Y] [left|right]\n"
    "  photo PATH | photo cancel  click the photo box and answer the open dialog\n"
    "  font FACE SIZE | font cancel\n"
    "  save PATH | save cancel    click 按钮生成 and answer the save dialog\n"
    "  get CONTROL INDEX          print the property as read through get property\n"
    "  expect CONTROL INDEX VALUE fail unless the property reads VALUE\n"
    "  shot PATH                  save the main window as PNG\n"
    "  wait MS\n"
    "  close                      close the main window as its close button does\n"
    "Controls are named by their stored names; \"-\" names the window's own unit.\n"
    "Each line prints \"ok LINE\" or \"FAIL LINE: reason\". Every message box the program shows is\n"
    "printed as \"box TITLE: TEXT\" and answered with its default button at once.\n";

enum class Verb { Kind, Type, Key, Click, Photo, Font, Save, Get, Expect, Shot, Wait, Close };

struct Command {
    Verb verb = Verb::Close;
    std::string line;       // as written, for the report
    std::string control;    // UTF-8 stored name, or "-"
    std::string text;       // TEXT, VALUE, NAME, KEY, PATH or FACE
    bool cancel = false;    // photo / font / save cancel
    int index = 0;          // property index
    int number = 0;         // SIZE or MS
    bool has_position = false;
    int x = 0;
    int y = 0;
    bool right_button = false;
};

struct ParseResult {
    std::optional<Command> command;  // nothing for a blank line or a comment
    std::string error;               // why the line is not a command
};

ParseResult parse_line(const std::string& line);

}  // namespace drive
