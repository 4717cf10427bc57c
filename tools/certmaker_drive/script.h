#pragma once
// The driver's script: one user action per line.
//
//   kind NAME                  choose NAME in the kind selector's list
//   type CONTROL TEXT          click into the edit box, select all, type TEXT (empty TEXT clears)
//   key CONTROL KEY            press one key (Enter, Tab, Backspace, Up, Down, Space, A, ...)
//   click CONTROL [X Y] [left|right]
//   photo PATH | photo cancel  click the photo box and answer the open dialog
//   font FACE SIZE | font cancel
//   save PATH | save cancel    click 按钮生成 and answer the save dialog
//   get CONTROL INDEX          print the property as read through get property
//   expect CONTROL INDEX VALUE fail unless the property reads VALUE
//   set CONTROL INDEX TEXT     write a text property as the program's own code would
//   shot PATH                  save the main window as PNG
//   wait MS                    let the program run on its own for MS milliseconds (it sleeps when idle)
//   counts                     print how many pictures were decoded, converted and scaled and how
//                              many client areas were painted so far
//   close                      close the main window as its close button does
//
// Lines are UTF-8. Controls are named by their stored names; "-" names the window's own unit.
// TEXT and VALUE are the rest of the line after one space; a line starting with "#" is a comment.
// Every message box the program shows is printed as "box TITLE: TEXT" and answered with its default
// button.

#include <optional>
#include <string>
#include <vector>

namespace drive {

enum class Verb { Kind, Type, Key, Click, Photo, Font, Save, Get, Expect, Set, Shot, Wait, Counts, Close };

struct Command {
    Verb verb = Verb::Close;
    std::string line;     // as written, for the report
    std::string control;  // UTF-8 stored name, or "-"
    std::string text;     // TEXT, VALUE, NAME, KEY, PATH or FACE
    bool cancel = false;  // photo / font / save cancel
    int index = 0;        // property index
    int number = 0;       // SIZE or MS
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
