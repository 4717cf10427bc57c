#pragma once
// The window snapshot: what a window (or the whole screen) shows, as the bytes of a 24-bit BMP file
// with its 14-byte file header, 40-byte information header and rows bottom row first, each padded
// to a multiple of 4 bytes.

#include "runtime/files/byte_buffer.h"

#include "platform/graphics.h"
#include "platform/window_handle.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>

namespace runtime::imaging {

inline constexpr std::size_t kBmpFileHeaderBytes = 14;
inline constexpr std::size_t kBmpInfoHeaderBytes = 40;
inline constexpr std::size_t kBmpHeadersBytes = kBmpFileHeaderBytes + kBmpInfoHeaderBytes;

// One result dimension from the captured one and the requested one: 0 keeps the captured size, a
// positive value is the size in pixels, -p scales to p percent (p raised to 10), rounded to the
// nearest pixel. None when the result does not fit an int.
std::optional<int> resolve_snapshot_dimension(int captured, int requested);

// Bytes of a 24-bit row of `width` pixels, padded to a multiple of 4; none on overflow.
std::optional<std::size_t> bmp_row_bytes(int width);

// Writes the BMP file of `bitmap` into `out`. False (and `out` empty) when memory is short.
bool write_bmp_file(const platform::Bitmap& bitmap, ByteBuffer& out);

// The size of the BMP file of a bitmap of width x height; none when it cannot be written.
std::optional<std::size_t> bmp_file_bytes(int width, int height);
// Writes the BMP file of `bitmap` into `out`, which holds exactly bmp_file_bytes of its size.
void write_bmp_file_into(const platform::Bitmap& bitmap, std::uint8_t* out);
// The capture of the window (0: the whole primary screen) at the requested size (see
// resolve_snapshot_dimension); none as take_window_snapshot fails.
std::unique_ptr<platform::Bitmap> capture_for_snapshot(platform::WindowHandle handle, int width, int height);
// Captures the window (0: the whole primary screen), scales it to the requested size (see
// resolve_snapshot_dimension) and writes the BMP file into `out`. False with `out` empty for a
// handle that names no window, a size that resolves to 0 or less, or a capture that cannot be had.
bool take_window_snapshot(platform::WindowHandle handle, int width, int height, ByteBuffer& out);

}  // namespace runtime::imaging
