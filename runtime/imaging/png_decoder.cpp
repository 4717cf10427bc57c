#include "runtime/imaging/png_decoder.h"

#include "runtime/imaging/checked_size.h"
#include "runtime/imaging/png_chunks.h"
#include "runtime/imaging/shown_rows.h"

#include <png.h>

#include <algorithm>
#include <csetjmp>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace runtime::imaging {
namespace {

// ---- Row by row, for a picture shown smaller than it is ---------------------------------------
//
// The simplified reader only writes a whole picture. For a picture that is only kept as shown the
// rows are read one at a time through the library's row interface instead, with the very
// transformations the simplified reader sets up for blue-green-red-alpha output (expansion, grey to
// colour, 16-bit input taken as linear and scaled down, an opaque alpha added, sRGB output gamma),
// so each row holds exactly what the simplified reader would have written.

// Called with each row, top row first, as blue, green, red, alpha. Every row is read even when a
// crop needs only the first ones, so that a picture damaged further down fails as a whole reading
// of it would.
using PngRowSink = void (*)(void* context, const std::uint8_t* bgra);

// Everything the library touches lives in this one trivially destructible record, so that a
// longjmp out of the library skips no destructor.
struct PngRowJob {
    const std::uint8_t* input;
    std::size_t input_size;
    std::size_t input_position;
    png_structp png;
    png_infop info;
    png_uint_32 width;
    png_uint_32 height;
    bool interlaced;
    int passes;
    std::uint8_t* row;   // std::malloc; width x 4 bytes
    std::uint8_t* band;  // std::malloc; rows of an interlaced picture being put together
};

// Interlaced rows arrive in seven passes over the whole picture, so no row is complete before the
// last pass. Such a picture is read several times, keeping one band of rows each time: this much
// memory per band keeps the number of readings of a huge picture small while staying well below
// what showing a picture may cost.
constexpr std::size_t kInterlacedBandBytes = std::size_t{64} * 1024 * 1024;

[[noreturn]] void on_png_error(png_structp png, png_const_charp)
{
    png_longjmp(png, 1);
}

void on_png_warning(png_structp, png_const_charp)
{
}

void read_input(png_structp png, png_bytep out, std::size_t count)
{
    auto* job = static_cast<PngRowJob*>(png_get_io_ptr(png));
    if (job->input_size - job->input_position < count)
        png_error(png, "read beyond the end of the data");
    std::memcpy(out, job->input + job->input_position, count);
    job->input_position += count;
}

// Reads the header and sets up the transformations. False on any error.
bool begin_rows(PngRowJob& job)
{
    job.png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &job, on_png_error, on_png_warning);
    if (!job.png)
        return false;
    job.info = png_create_info_struct(job.png);
    if (!job.info)
        return false;
    if (setjmp(png_jmpbuf(job.png)))
        return false;
    png_set_read_fn(job.png, &job, read_input);
    png_set_benign_errors(job.png, 1);
    png_read_info(job.png, job.info);
    job.width = png_get_image_width(job.png, job.info);
    job.height = png_get_image_height(job.png, job.info);
    job.interlaced = png_get_interlace_type(job.png, job.info) != PNG_INTERLACE_NONE;
    int colour_type = png_get_color_type(job.png, job.info);
    bool colour = (colour_type & PNG_COLOR_MASK_COLOR) != 0;
    bool alpha = (colour_type & PNG_COLOR_MASK_ALPHA) != 0 || png_get_valid(job.png, job.info, PNG_INFO_tRNS) != 0;
    bool sixteen = png_get_bit_depth(job.png, job.info) == 16;

    png_set_expand(job.png);
    if (!colour)
        png_set_gray_to_rgb(job.png);
    png_set_alpha_mode_fixed(job.png, PNG_ALPHA_PNG, sixteen ? PNG_GAMMA_LINEAR : PNG_DEFAULT_sRGB);
    if (sixteen)
        png_set_scale_16(job.png);
    if (!alpha)
        png_set_add_alpha(job.png, 255, PNG_FILLER_AFTER);
    png_set_alpha_mode_fixed(job.png, PNG_ALPHA_PNG, PNG_DEFAULT_sRGB);
    png_set_bgr(job.png);
    job.passes = png_set_interlace_handling(job.png);
    png_read_update_info(job.png, job.info);
    return png_get_rowbytes(job.png, job.info) == static_cast<std::size_t>(job.width) * 4;
}

// Reads every row into `sink`. False on any error.
bool read_rows(PngRowJob& job, PngRowSink sink, void* context)
{
    if (setjmp(png_jmpbuf(job.png)))
        return false;
    for (png_uint_32 y = 0; y < job.height; ++y) {
        png_read_row(job.png, job.row, nullptr);
        sink(context, job.row);
    }
    return true;
}

// Reads an interlaced picture until rows first..last - 1 are complete in job.band; the rows of the
// earlier passes outside the band go through job.row and are dropped. False on any error.
bool read_band(PngRowJob& job, png_uint_32 first, png_uint_32 last, std::size_t row_bytes)
{
    if (setjmp(png_jmpbuf(job.png)))
        return false;
    for (int pass = 0; pass < job.passes; ++pass) {
        for (png_uint_32 y = 0; y < job.height; ++y) {
            // The last pass is needed no further than the band's end.
            if (pass + 1 == job.passes && y >= last)
                return true;
            std::uint8_t* row = y >= first && y < last ? job.band + (y - first) * row_bytes : job.row;
            png_read_row(job.png, row, nullptr);
        }
    }
    return true;
}

// Starts the job over from the first byte, for another reading of the same picture.
bool restart_rows(PngRowJob& job)
{
    png_destroy_read_struct(job.png ? &job.png : nullptr, job.info ? &job.info : nullptr, nullptr);
    job.png = nullptr;
    job.info = nullptr;
    job.input_position = 0;
    return begin_rows(job);
}

struct ShownPngRows {
    ShownRows* rows;
    std::uint8_t* bgr;
    std::size_t width;
    int background[3];  // blue, green, red
};

// Transparency is laid over the background pixel by pixel, exactly as drawing does it.
void add_png_row(void* context, const std::uint8_t* bgra)
{
    auto* shown = static_cast<ShownPngRows*>(context);
    std::uint8_t* out = shown->bgr;
    for (std::size_t x = 0; x < shown->width; ++x, bgra += 4, out += 3) {
        if (bgra[3] == 255) {
            std::memcpy(out, bgra, 3);
            continue;
        }
        double a = bgra[3] / 255.0;
        for (int i = 0; i < 3; ++i)
            out[i] = static_cast<std::uint8_t>(
                std::clamp(static_cast<int>(bgra[i] * a + shown->background[i] * (1.0 - a)), 0, 255));
    }
    shown->rows->add_rows(shown->bgr);
}

// An interlaced picture band by band, each band from a reading of its own. False on any error.
bool read_bands(PngRowJob& job, std::size_t row_bytes, ShownPngRows& sink)
{
    const auto band_rows = static_cast<png_uint_32>(
        std::clamp<std::size_t>(kInterlacedBandBytes / row_bytes, 1, static_cast<std::size_t>(job.height)));
    job.band = static_cast<std::uint8_t*>(std::malloc(row_bytes * band_rows));
    if (!job.band)
        return false;
    for (png_uint_32 first = 0; first < job.height; first += band_rows) {
        png_uint_32 last = first + std::min(band_rows, job.height - first);
        if ((first > 0 && !restart_rows(job)) || !read_band(job, first, last, row_bytes))
            return false;
        for (png_uint_32 y = first; y < last; ++y)
            add_png_row(&sink, job.band + (y - first) * row_bytes);
    }
    return true;
}

// The picture kept as shown, or none when it is to be read whole (shown whole or no smaller than
// it is).
std::optional<DecodeResult<DecodedPicture>> decode_png_shown(std::span<const std::uint8_t> bytes, ShownSize shown)
{
    if (shown.as == ShownAs::Whole)
        return std::nullopt;
    auto* job = static_cast<PngRowJob*>(std::calloc(1, sizeof(PngRowJob)));
    if (!job)
        return DecodeResult<DecodedPicture>(DecodeError::OutOfMemory);
    job->input = bytes.data();
    job->input_size = bytes.size();
    std::optional<DecodeResult<DecodedPicture>> result;
    if (!begin_rows(*job)) {
        result = DecodeError::CorruptData;
    } else if (auto kept = kept_size(shown, static_cast<int>(std::min<png_uint_32>(job->width, 0x7FFFFFFF)),
                                     static_cast<int>(std::min<png_uint_32>(job->height, 0x7FFFFFFF)));
               kept) {
        // The cap holds as for a whole decode.
        auto row_bytes = checked_multiply(job->width, 4);
        std::optional<ShownRows> rows;
        if (!row_bytes || !checked_block_size(*row_bytes, job->height)) {
            result = DecodeError::TooLarge;
        } else if (!(rows = ShownRows::create(static_cast<int>(job->width), static_cast<int>(job->height), *kept,
                                              platform::RowOrder::TopDown)) ||
                   !(job->row = static_cast<std::uint8_t*>(std::malloc(*row_bytes)))) {
            result = DecodeError::OutOfMemory;
        } else {
            std::vector<std::uint8_t> bgr(static_cast<std::size_t>(job->width) * 3);
            ShownPngRows sink{&*rows,
                              bgr.data(),
                              job->width,
                              {static_cast<int>((shown.background >> 16) & 0xFF),
                               static_cast<int>((shown.background >> 8) & 0xFF),
                               static_cast<int>(shown.background & 0xFF)}};
            bool read = job->interlaced ? read_bands(*job, *row_bytes, sink) : read_rows(*job, add_png_row, &sink);
            if (read)
                result = rows->take_picture(PictureKind::Png, shown.background);
            else
                result = DecodeError::CorruptData;
        }
    }
    png_destroy_read_struct(job->png ? &job->png : nullptr, job->info ? &job->info : nullptr, nullptr);
    std::free(job->row);
    std::free(job->band);
    std::free(job);
    return result;
}

}  // namespace

DecodeResult<DecodedPicture> decode_png(std::span<const std::uint8_t> bytes, ShownSize shown)
{
    if (bytes.size() < kPngSignatureSize)
        return DecodeError::Truncated;
    if (!png_chunks_before_pixels_fit(bytes))
        return DecodeError::CorruptData;
    if (auto kept = decode_png_shown(bytes, shown))
        return std::move(*kept);
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    // The library frees the image description itself when beginning fails.
    if (!png_image_begin_read_from_memory(&image, bytes.data(), bytes.size()))
        return DecodeError::CorruptData;
    image.format = PNG_FORMAT_BGRA;

    // The declared size decides the allocation, so a small file declaring a huge image (a
    // decompression bomb) is refused here, before anything is inflated.
    auto row_bytes = checked_multiply(image.width, 4);
    auto total = row_bytes ? checked_block_size(*row_bytes, image.height) : std::nullopt;
    if (!total || *total == 0) {
        png_image_free(&image);
        return DecodeError::TooLarge;
    }
    PixelBlock pixels = PixelBlock::allocate(*total, PixelBlock::Fill::Uninitialised);
    if (pixels.empty()) {
        png_image_free(&image);
        return DecodeError::OutOfMemory;
    }
    if (!png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr)) {
        png_image_free(&image);
        return DecodeError::CorruptData;
    }
    DecodedPicture picture;
    picture.kind = PictureKind::Png;
    picture.width = static_cast<std::int32_t>(image.width);
    picture.height = static_cast<std::int32_t>(image.height);
    picture.pixels = std::move(pixels);
    png_image_free(&image);
    return picture;
}

}  // namespace runtime::imaging
