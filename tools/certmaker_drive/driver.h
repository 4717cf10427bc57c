#pragma once
// Performs script commands on the running certificate maker as a user would: synthetic mouse and
// keyboard input on the real controls, the common dialogs answered from the script, properties read
// through the runtime's get-property entry.

#include "script.h"

#include "platform/dialogs.h"

#include <string>

namespace drive {

class Driver {
public:
    // Relative paths in the script are taken from `base_folder` (the folder the driver started in:
    // the program itself moves to its own folder when it starts).
    Driver(platform::ScriptedDialogService& dialogs, std::string base_folder);

    // Performs one command; returns the empty string on success, else the reason it failed. `output`
    // receives what a get prints after "= ".
    std::string perform(const Command& command, std::string& output);

    bool main_window_open() const;
    // The window is open, its load has finished and the program's message loop is running: input
    // now reaches the handlers.
    bool ready() const;

private:
    std::string absolute(const std::string& path) const;

    platform::ScriptedDialogService& m_dialogs;
    std::string m_base_folder;
};

// The current folder as UTF-8 ("." when the system cannot tell): what relative script paths start from.
std::string current_folder();

}  // namespace drive
