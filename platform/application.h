#pragma once
// Bringing the platform up and down: one application object per process.

namespace platform {

enum class Display {
    Default,    // the desktop's display (or QT_QPA_PLATFORM when set)
    Offscreen,  // Qt's offscreen platform: tests and headless runs
};

// Creates the application object once; later calls do nothing. Also selects the classic look, the
// system colours and the logical resolution the runtime relies on.
void start_platform(int argc, char** argv, Display display);
bool platform_started();
// Destroys the application object (windows left open are destroyed with it).
void stop_platform();

}  // namespace platform
