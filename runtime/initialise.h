#pragma once
// Runtime initialisation (runtime service 6).

namespace runtime {

// Reads the stored window descriptions into the window table (after the program header has been
// adopted), and prepares what the window system needs.
void initialise_runtime();

}  // namespace runtime
