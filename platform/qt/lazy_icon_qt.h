#pragma once
// An icon kept as PNG files and decoded only when something draws it: the program's icon is set
// at start-up, but only a desktop that shows window icons ever asks for its pixels.

#include <QIcon>

#include <cstdint>
#include <span>

namespace platform {

// The icon of the PNG files that are complete (signature, a header of a non-empty size, chunks up
// to the end chunk), with their sizes read from the headers; a null icon when there is none. The
// bytes are copied. Once any pixels are asked for, every file is decoded; one that turns out not to
// decode is left out then.
QIcon icon_from_png_files(std::span<const std::span<const std::uint8_t>> png_files, int* sizes);

}  // namespace platform
