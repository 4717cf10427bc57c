#pragma once
// The format probe: which decoder a picture's first eight bytes ask for.

#include "runtime/imaging/decoded_picture.h"

#include <cstdint>
#include <span>

namespace runtime::imaging {

// Fewer than 8 bytes give PictureKind::None.
PictureKind probe_picture(std::span<const std::uint8_t> bytes);

}  // namespace runtime::imaging
