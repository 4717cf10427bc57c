#pragma once
// Device contexts on the system's own: a DeviceContext draws through a GDI HDC.

#include "platform/win32/win32.h"

#include <memory>

namespace platform {

// A context drawing on `dc` (which it does not own: the caller releases it after the context is
// gone), whose surface is `width` x `height` pixels, with the default GUI font selected.
std::unique_ptr<DeviceContext> device_context_on(HDC dc, int width, int height);
// The HDC a context draws on.
HDC native_device_context(DeviceContext& context);

}  // namespace platform
