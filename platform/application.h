#pragma once
// Bringing the platform up and down: one application object per process.

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace platform {

enum class Display {
    Default,    // the desktop's display (or QT_QPA_PLATFORM when set)
    Offscreen,  // Qt's offscreen platform: tests and headless runs
};

// The command line, the program's own name first, each argument as UTF-8 text. On Linux these are
// argv's bytes as they are (file names there are UTF-8); on Windows they come from the system's
// wide command line, because argv holds only what the ANSI code page can spell and a folder named
// in any other script would arrive as question marks.
std::vector<std::string> command_line_arguments(int argc, char** argv);

// Creates the application object once; later calls do nothing. Also selects the classic look, the
// system colours and the logical resolution the runtime relies on.
void start_platform(int argc, char** argv, Display display);
bool platform_started();
// The icon every window shows unless it is given its own: one picture as PNG files of several sizes.
// Files that do not decode are skipped; returns how many sizes the icon has (0: nothing changed).
// Needs the application object.
int set_default_window_icon(std::span<const std::span<const std::uint8_t>> png_files);
// Destroys the application object (windows left open are destroyed with it).
void stop_platform();

}  // namespace platform
