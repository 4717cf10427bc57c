#include "runtime/imaging/jpeg_decoder.h"

#include "runtime/imaging/checked_size.h"

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

#include <jpeglib.h>

namespace runtime::imaging {
namespace {

// Bounds the library's own working memory (a progressive image keeps every coefficient); above it
// the library asks for a backing store, which it does not have, and fails.
constexpr long kMaxLibraryMemory = 1024L * 1024 * 1024;

const JOCTET kEndOfImage[2] = {0xFF, JPEG_EOI};

// Everything the decompression touches lives in this one trivially destructible record, so that a
// longjmp out of the library skips no destructor.
struct JpegJob {
    jpeg_decompress_struct decompressor;
    jpeg_error_mgr error_manager;
    jpeg_source_mgr source;
    jpeg_progress_mgr progress;
    std::jmp_buf jump;

    const std::uint8_t* input;
    std::size_t input_size;
    std::size_t input_position;

    std::uint8_t* pixels;  // std::malloc; owned by the job until handed over
    std::size_t pixel_bytes;
    // Set when the picture goes straight into a platform bitmap: where it is made (holding one to
    // write over, if it has the picture's size and no other owner). The bitmap is owned outside the
    // frame the library may jump out of.
    std::shared_ptr<platform::Bitmap>* bitmap;
    std::uint8_t* grey_row;  // std::malloc; one greyscale scanline
    std::uint8_t* crop_row;  // std::malloc; one whole scanline when only its start is kept
    int width;
    int height;
    int natural_width;
    int natural_height;
    ShownSize shown;
    DecodeError error;
};

JpegJob& job_of(j_common_ptr common)
{
    return *static_cast<JpegJob*>(common->client_data);
}

void fail_with(j_common_ptr common, DecodeError error)
{
    JpegJob& job = job_of(common);
    job.error = error;
    std::longjmp(job.jump, 1);
}

void on_error_exit(j_common_ptr common)
{
    fail_with(common, DecodeError::CorruptData);
}

// Warnings (and trace messages) are not shown anywhere.
void on_emit_message(j_common_ptr, int)
{
}
void on_output_message(j_common_ptr)
{
}

void on_progress(j_common_ptr common)
{
    auto decompressor = reinterpret_cast<j_decompress_ptr>(common);
    if (decompressor->input_scan_number > kMaxJpegScans)
        fail_with(common, DecodeError::TooManyScans);
}

void on_init_source(j_decompress_ptr)
{
}
void on_term_source(j_decompress_ptr)
{
}

boolean on_fill_input_buffer(j_decompress_ptr decompressor)
{
    JpegJob& job = job_of(reinterpret_cast<j_common_ptr>(decompressor));
    std::size_t left = job.input_size - job.input_position;
    if (left == 0) {
        if (job.input_position == 0)
            fail_with(reinterpret_cast<j_common_ptr>(decompressor), DecodeError::Truncated);
        // A truncated file: end the image here and let the library fill the rest as it does.
        job.source.next_input_byte = kEndOfImage;
        job.source.bytes_in_buffer = sizeof kEndOfImage;
        return TRUE;
    }
    // Everything left at once: the library's fast entropy decoding runs only while a few kilobytes
    // of input are at hand, so small blocks would send a part of every block the slow way.
    job.source.next_input_byte = job.input + job.input_position;
    job.source.bytes_in_buffer = left;
    job.input_position += left;
    return TRUE;
}

void on_skip_input_data(j_decompress_ptr decompressor, long count)
{
    if (count <= 0)
        return;
    JpegJob& job = job_of(reinterpret_cast<j_common_ptr>(decompressor));
    auto skip = static_cast<std::size_t>(count);
    if (skip <= job.source.bytes_in_buffer) {
        job.source.next_input_byte += skip;
        job.source.bytes_in_buffer -= skip;
        return;
    }
    // Discard the rest of this block and whole blocks after it; past the end, the next fill
    // supplies the end marker.
    skip -= job.source.bytes_in_buffer;
    job.source.bytes_in_buffer = 0;
    std::size_t left = job.input_size - job.input_position;
    job.input_position += skip < left ? skip : left;
}

// The blocks of all components, as the library counts them once it has read the frame header.
std::uint64_t count_blocks(const jpeg_decompress_struct& decompressor)
{
    std::uint64_t blocks = 0;
    for (int i = 0; i < decompressor.num_components; ++i) {
        const jpeg_component_info& component = decompressor.comp_info[i];
        blocks += std::uint64_t{component.width_in_blocks} * component.height_in_blocks;
    }
    return blocks;
}

void free_job_memory(JpegJob& job)
{
    std::free(job.pixels);
    std::free(job.grey_row);
    std::free(job.crop_row);
    job.pixels = nullptr;
    job.grey_row = nullptr;
    job.crop_row = nullptr;
}

// Runs the whole decompression. No C++ object with a destructor may live in this frame: the library's
// fatal errors come back here through longjmp.
bool run_decompression(JpegJob& job)
{
    j_decompress_ptr decompressor = &job.decompressor;
    decompressor->err = jpeg_std_error(&job.error_manager);
    job.error_manager.error_exit = on_error_exit;
    job.error_manager.emit_message = on_emit_message;
    job.error_manager.output_message = on_output_message;
    decompressor->client_data = &job;

    if (setjmp(job.jump)) {
        jpeg_destroy_decompress(decompressor);
        free_job_memory(job);
        return false;
    }

    jpeg_create_decompress(decompressor);
    decompressor->client_data = &job;
    decompressor->mem->max_memory_to_use = kMaxLibraryMemory;
    job.source.init_source = on_init_source;
    job.source.fill_input_buffer = on_fill_input_buffer;
    job.source.skip_input_data = on_skip_input_data;
    job.source.resync_to_restart = jpeg_resync_to_restart;
    job.source.term_source = on_term_source;
    job.source.bytes_in_buffer = 0;
    job.source.next_input_byte = nullptr;
    decompressor->src = &job.source;
    job.progress.progress_monitor = on_progress;
    decompressor->progress = &job.progress;

    jpeg_read_header(decompressor, TRUE);
    static_assert(sizeof(JBLOCK) == kJpegBlockBytes);
    if (decompressor->progressive_mode &&
        !progressive_blocks_in_proportion(count_blocks(*decompressor), job.input_size))
        fail_with(reinterpret_cast<j_common_ptr>(decompressor), DecodeError::Truncated);

    // Only greyscale and three-component images are shown; CMYK and other layouts are refused.
    switch (decompressor->out_color_space) {
    case JCS_GRAYSCALE:
        break;
    case JCS_RGB:
        // The library writes blue, green, red (and an opaque fourth byte for a bitmap) directly,
        // which saves a pass over the pixels.
        decompressor->out_color_space = job.bitmap ? JCS_EXT_BGRX : JCS_EXT_BGR;
        break;
    default:
        fail_with(reinterpret_cast<j_common_ptr>(decompressor), DecodeError::UnsupportedComponents);
    }

    job.natural_width = static_cast<int>(decompressor->image_width);
    job.natural_height = static_cast<int>(decompressor->image_height);
    const bool cropped = job.shown.as == ShownAs::Cropped;
    if (job.shown.width > 0 && job.shown.height > 0 && !cropped) {
        unsigned denominator = 1;
        while (denominator < 8 &&
               decompressor->image_width / (denominator * 2) >= static_cast<unsigned>(job.shown.width) &&
               decompressor->image_height / (denominator * 2) >= static_cast<unsigned>(job.shown.height))
            denominator *= 2;
        decompressor->scale_num = 1;
        decompressor->scale_denom = denominator;
    }

    // The declared size is checked before the library allocates anything for it.
    jpeg_calc_output_dimensions(decompressor);
    const std::size_t pixel_size = job.bitmap ? 4 : 3;
    auto row_bytes = checked_multiply(decompressor->output_width, pixel_size);
    auto total = row_bytes ? checked_block_size(*row_bytes, decompressor->output_height) : std::nullopt;
    if (!total || *total == 0)
        fail_with(reinterpret_cast<j_common_ptr>(decompressor), DecodeError::TooLarge);

    jpeg_start_decompress(decompressor);
    // Grey, or one pixel of the layout asked for.
    if (decompressor->output_components != 1 && decompressor->output_components != static_cast<int>(pixel_size))
        fail_with(reinterpret_cast<j_common_ptr>(decompressor), DecodeError::UnsupportedComponents);

    job.width = static_cast<int>(decompressor->output_width);
    job.height = static_cast<int>(decompressor->output_height);
    // A natural-size box sees only its top-left part: only those rows, and of each only its start,
    // are kept. Every row is still read, so that data damaged further down fails as it would when
    // the whole picture is kept.
    if (cropped && (job.width > job.shown.width || job.height > job.shown.height)) {
        job.width = job.width < job.shown.width ? job.width : job.shown.width;
        job.height = job.height < job.shown.height ? job.height : job.shown.height;
        job.crop_row = static_cast<std::uint8_t*>(std::malloc(*row_bytes));
        if (!job.crop_row)
            fail_with(reinterpret_cast<j_common_ptr>(decompressor), DecodeError::OutOfMemory);
    }
    std::size_t stride = static_cast<std::size_t>(job.width) * pixel_size;
    std::uint8_t* rows = nullptr;
    if (job.bitmap) {
        // A plain call that returns before the library can jump again.
        rows = bitmap_rows_to_write(*job.bitmap, job.width, job.height, stride);
    } else {
        job.pixel_bytes = stride * static_cast<std::size_t>(job.height);
        job.pixels = static_cast<std::uint8_t*>(std::malloc(job.pixel_bytes));
        rows = job.pixels;
    }
    if (decompressor->output_components == 1)
        job.grey_row = static_cast<std::uint8_t*>(std::malloc(decompressor->output_width));
    if (!rows || (decompressor->output_components == 1 && !job.grey_row))
        fail_with(reinterpret_cast<j_common_ptr>(decompressor), DecodeError::OutOfMemory);

    // Scanline n (top row first) goes straight to its place: bottom-up in a pixel block, top-down in
    // a bitmap.
    while (decompressor->output_scanline < decompressor->output_height) {
        std::size_t line = decompressor->output_scanline;
        bool keep = line < static_cast<std::size_t>(job.height);
        std::size_t place = job.bitmap ? line : static_cast<std::size_t>(job.height) - 1 - line;
        std::uint8_t* kept = keep ? rows + place * stride : nullptr;
        std::uint8_t* out = job.crop_row ? job.crop_row : kept;
        if (decompressor->output_components != 1) {
            JSAMPROW row = out;
            jpeg_read_scanlines(decompressor, &row, 1);
        } else {
            JSAMPROW row = job.grey_row;
            jpeg_read_scanlines(decompressor, &row, 1);
            for (std::size_t x = 0; x < decompressor->output_width; ++x) {
                std::uint8_t* pixel = out + pixel_size * x;
                pixel[0] = pixel[1] = pixel[2] = job.grey_row[x];
                if (pixel_size == 4)
                    pixel[3] = 255;
            }
        }
        if (job.crop_row && keep)
            std::memcpy(kept, job.crop_row, static_cast<std::size_t>(job.width) * pixel_size);
    }

    jpeg_finish_decompress(decompressor);
    jpeg_destroy_decompress(decompressor);
    std::free(job.grey_row);
    std::free(job.crop_row);
    job.grey_row = nullptr;
    job.crop_row = nullptr;
    return true;
}

DecodeResult<DecodedPicture> decode(std::span<const std::uint8_t> bytes, ShownSize shown,
                                    std::shared_ptr<platform::Bitmap>* bitmap)
{
    if (bytes.empty())
        return DecodeError::NoBytes;
    auto job = static_cast<JpegJob*>(std::calloc(1, sizeof(JpegJob)));
    if (!job)
        return DecodeError::OutOfMemory;
    job->input = bytes.data();
    job->input_size = bytes.size();
    job->error = DecodeError::CorruptData;
    job->shown = shown;
    job->bitmap = bitmap;
    bool decoded = run_decompression(*job);
    DecodeError error = job->error;
    DecodedPicture picture;
    if (decoded) {
        picture.kind = PictureKind::Jpeg;
        picture.width = job->width;
        picture.height = job->height;
        if (bitmap)
            picture.converted = std::move(*bitmap);
        else
            picture.pixels = PixelBlock::adopt(job->pixels, job->pixel_bytes);
        if (job->width != job->natural_width || job->height != job->natural_height) {
            picture.natural_width = job->natural_width;
            picture.natural_height = job->natural_height;
            if (shown.as == ShownAs::Cropped)
                picture.kept = ShownAs::Cropped;
        }
    }
    std::free(job);
    if (!decoded)
        return error;
    return picture;
}

}  // namespace

DecodeResult<DecodedPicture> decode_jpeg(std::span<const std::uint8_t> bytes, ShownSize shown)
{
    return decode(bytes, shown, nullptr);
}

DecodeResult<DecodedPicture> decode_jpeg_to_draw(std::span<const std::uint8_t> bytes,
                                                 std::shared_ptr<platform::Bitmap> reuse)
{
    return decode(bytes, ShownSize{}, &reuse);
}

}  // namespace runtime::imaging
