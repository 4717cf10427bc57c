// The window snapshot and its command.

#include "runtime/imaging/window_snapshot.h"

#include "runtime/boundary/commands.h"
#include "runtime/boundary/heap.h"
#include "runtime/imaging/checked_size.h"

#include "platform/device_context.h"
#include "platform/native_window.h"
#include "platform/screen_capture.h"

#include <cmath>
#include <cstring>
#include <limits>
#include <vector>

namespace runtime::imaging {
namespace {

constexpr int kMinimumPercent = 10;

void store_u16(std::uint8_t* out, std::uint32_t value)
{
    out[0] = static_cast<std::uint8_t>(value);
    out[1] = static_cast<std::uint8_t>(value >> 8);
}

void store_u32(std::uint8_t* out, std::uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        out[i] = static_cast<std::uint8_t>(value >> (8 * i));
}

// a x b / c rounded to the nearest integer, halves away from zero; none when it does not fit.
std::optional<int> multiply_divide(std::int64_t a, std::int64_t b, std::int64_t c)
{
    long double exact = static_cast<long double>(a) * static_cast<long double>(b) / static_cast<long double>(c);
    long double rounded = std::round(exact);
    if (rounded > std::numeric_limits<int>::max() || rounded < std::numeric_limits<int>::min())
        return std::nullopt;
    return static_cast<int>(rounded);
}

std::unique_ptr<platform::Bitmap> stretched(const platform::Bitmap& source, int width, int height)
{
    std::unique_ptr<platform::Bitmap> target = platform::filled_bitmap(width, height, 0);
    if (!target)
        return nullptr;
    std::unique_ptr<platform::DeviceContext> context = platform::bitmap_device_context(*target);
    if (!context)
        return nullptr;
    context->set_stretch_mode(platform::display_bits_per_pixel() > 16 ? platform::StretchMode::Halftone
                                                                      : platform::StretchMode::ColourOnColour);
    platform::draw_bitmap(*context, source, platform::Rect{0, 0, width, height});
    context.reset();  // finishes the painting
    return target;
}

}  // namespace

std::optional<int> resolve_snapshot_dimension(int captured, int requested)
{
    if (requested >= 0)
        return requested == 0 ? captured : requested;
    std::int64_t percent = -static_cast<std::int64_t>(requested);
    if (percent < kMinimumPercent)
        percent = kMinimumPercent;
    return multiply_divide(captured, percent, 100);
}

std::optional<std::size_t> bmp_row_bytes(int width)
{
    if (width < 0)
        return std::nullopt;
    return checked_row_bytes(static_cast<std::size_t>(width), 24, 4);
}

std::optional<std::size_t> bmp_file_bytes(int width, int height)
{
    auto row_bytes = bmp_row_bytes(width);
    if (!row_bytes || width <= 0 || height <= 0)
        return std::nullopt;
    auto image_bytes = checked_block_size(*row_bytes, static_cast<std::size_t>(height));
    if (!image_bytes || *image_bytes > std::numeric_limits<std::uint32_t>::max() - kBmpHeadersBytes)
        return std::nullopt;
    return kBmpHeadersBytes + *image_bytes;
}

void write_bmp_file_into(const platform::Bitmap& bitmap, std::uint8_t* out)
{
    int width = bitmap.width();
    int height = bitmap.height();
    std::size_t row_bytes = *bmp_row_bytes(width);
    auto image_bytes = static_cast<std::uint32_t>(row_bytes * static_cast<std::size_t>(height));

    std::uint8_t* headers = out;
    std::memset(headers, 0, kBmpHeadersBytes);
    // File header.
    headers[0] = 'B';
    headers[1] = 'M';
    store_u32(headers + 2, static_cast<std::uint32_t>(kBmpHeadersBytes) + image_bytes);  // file size
    store_u32(headers + 10, static_cast<std::uint32_t>(kBmpHeadersBytes));  // pixel data: no colour entries
    // Information header; resolutions, colours used and colours important stay 0.
    std::uint8_t* info = headers + kBmpFileHeaderBytes;
    store_u32(info + 0, static_cast<std::uint32_t>(kBmpInfoHeaderBytes));
    store_u32(info + 4, static_cast<std::uint32_t>(width));
    store_u32(info + 8, static_cast<std::uint32_t>(height));  // positive: bottom row first
    store_u16(info + 12, 1);                                  // planes
    store_u16(info + 14, 24);                                 // bits per pixel
    store_u32(info + 16, 0);                                  // uncompressed
    store_u32(info + 20, image_bytes);

    bitmap.write_bmp_rows(out + kBmpHeadersBytes, row_bytes);
}

bool write_bmp_file(const platform::Bitmap& bitmap, ByteBuffer& out)
{
    out.clear();
    auto size = bmp_file_bytes(bitmap.width(), bitmap.height());
    if (!size)
        return false;
    if (!out.append(nullptr, *size)) {
        out.clear();
        return false;
    }
    write_bmp_file_into(bitmap, out.data());
    return true;
}

std::unique_ptr<platform::Bitmap> capture_for_snapshot(platform::WindowHandle handle, int width, int height)
{
    // The snapshot copies what the display shows, as a copy of the screen's pixels would.
    std::unique_ptr<platform::Bitmap> captured;
    if (handle == 0)
        captured = platform::capture_screen_rect(platform::primary_screen_rect(), platform::CapturePixels::Shown);
    else if (platform::is_window(handle))
        captured = platform::capture_window(handle, platform::CapturePixels::Shown);
    if (!captured)
        return nullptr;

    auto result_width = resolve_snapshot_dimension(captured->width(), width);
    auto result_height = resolve_snapshot_dimension(captured->height(), height);
    if (!result_width || !result_height || *result_width <= 0 || *result_height <= 0)
        return nullptr;
    // A size beyond what any decoder here would allocate is refused like memory that cannot be had
    // (the stretched bitmap takes 4 bytes a pixel).
    auto bitmap_bytes = checked_multiply(static_cast<std::size_t>(*result_width), 4);
    if (!bitmap_bytes || !checked_block_size(*bitmap_bytes, static_cast<std::size_t>(*result_height)))
        return nullptr;

    if (*result_width != captured->width() || *result_height != captured->height())
        captured = stretched(*captured, *result_width, *result_height);
    return captured;
}

bool take_window_snapshot(platform::WindowHandle handle, int width, int height, ByteBuffer& out)
{
    out.clear();
    std::unique_ptr<platform::Bitmap> captured = capture_for_snapshot(handle, width, height);
    if (!captured)
        return false;
    return write_bmp_file(*captured, out);
}

}  // namespace runtime::imaging

namespace runtime::commands {
namespace {

// An omitted optional argument counts as 0.
int integer_argument_value(int count, const TypedValue* arguments, int index)
{
    if (index >= count || arguments[index].type == DataType::Omitted)
        return 0;
    return static_cast<int>(static_cast<std::int32_t>(arguments[index].low));
}

}  // namespace

void window_snapshot(TypedValue* result, int count, const TypedValue* arguments)
{
    *result = TypedValue{0, 0, DataType::ByteSet};
    auto handle = static_cast<platform::WindowHandle>(integer_argument_value(count, arguments, 0));
    std::unique_ptr<platform::Bitmap> captured = imaging::capture_for_snapshot(
        handle, integer_argument_value(count, arguments, 1), integer_argument_value(count, arguments, 2));
    if (!captured)
        return;
    auto size = imaging::bmp_file_bytes(captured->width(), captured->height());
    if (!size || *size > static_cast<std::size_t>(INT32_MAX) - kByteSetHeaderSize)
        return;
    // The file is written straight into the byte set handed back.
    auto* block = static_cast<std::uint8_t*>(heap_allocate(kByteSetHeaderSize + *size));
    ByteSetHeader header{1, static_cast<std::int32_t>(*size)};
    std::memcpy(block, &header, sizeof header);
    imaging::write_bmp_file_into(*captured, block + kByteSetHeaderSize);
    result->low = reinterpret_cast<Word>(block);
}

}  // namespace runtime::commands
