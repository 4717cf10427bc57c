#pragma once
// Handles of the platform's objects: small integers, never reused within a run, 0 for none.

#include <cstdint>

namespace platform {

using WindowHandle = std::int32_t;
using CursorHandle = std::int32_t;

}  // namespace platform
