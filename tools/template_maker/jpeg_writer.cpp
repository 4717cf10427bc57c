#include "tools/template_maker/jpeg_writer.h"

#include <csetjmp>
#include <cstdio>
#include <cstdlib>

#include <jpeglib.h>

namespace template_maker {
namespace {

struct ErrorTrap {
    jpeg_error_mgr manager;
    std::jmp_buf resume;
};

void return_to_caller(j_common_ptr info)
{
    std::longjmp(reinterpret_cast<ErrorTrap*>(info->err)->resume, 1);
}

void stay_silent(j_common_ptr, int)
{
}

struct RawRows {
    const unsigned char* pixels;  // packed RGB, 3 bytes a pixel
    int width;
    int height;
    int stride;
};

// Runs the whole compression in a frame that owns no C++ object, since a libjpeg error leaves it
// through longjmp. On success *out is a malloc'd block the caller frees.
bool compress_rows(const RawRows& rows, int luma_factor, int quality, unsigned char** out, unsigned long* out_size)
{
    jpeg_compress_struct info;
    ErrorTrap trap;
    info.err = jpeg_std_error(&trap.manager);
    trap.manager.error_exit = return_to_caller;
    trap.manager.emit_message = stay_silent;
    *out = nullptr;
    *out_size = 0;
    if (setjmp(trap.resume)) {
        jpeg_destroy_compress(&info);
        std::free(*out);
        *out = nullptr;
        return false;
    }
    jpeg_create_compress(&info);
    jpeg_mem_dest(&info, out, out_size);
    info.image_width = static_cast<JDIMENSION>(rows.width);
    info.image_height = static_cast<JDIMENSION>(rows.height);
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, quality, TRUE);
    info.dct_method = JDCT_ISLOW;
    info.optimize_coding = TRUE;
    info.write_JFIF_header = TRUE;
    info.comp_info[0].h_samp_factor = luma_factor;
    info.comp_info[0].v_samp_factor = luma_factor;
    for (int chroma = 1; chroma < 3; ++chroma) {
        info.comp_info[chroma].h_samp_factor = 1;
        info.comp_info[chroma].v_samp_factor = 1;
    }
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(rows.pixels + static_cast<std::size_t>(info.next_scanline) * rows.stride);
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    return true;
}

}  // namespace

std::optional<std::vector<std::uint8_t>> encode_jpeg(const QImage& image, JpegSettings settings)
{
    if (image.isNull())
        return std::nullopt;
    const QImage rgb = image.convertToFormat(QImage::Format_RGB888);
    const RawRows rows{rgb.constBits(), rgb.width(), rgb.height(), static_cast<int>(rgb.bytesPerLine())};
    const int luma_factor = settings.sampling == LumaSampling::TwoByTwo ? 2 : 1;
    unsigned char* block = nullptr;
    unsigned long size = 0;
    if (!compress_rows(rows, luma_factor, settings.quality, &block, &size))
        return std::nullopt;
    std::vector<std::uint8_t> bytes(block, block + size);
    std::free(block);
    return bytes;
}

}  // namespace template_maker
