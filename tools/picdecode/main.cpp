// picdecode FILE [--pam OUT]
//
// Prints the format probe's kind (number and name), width and height of a picture file, decoded
// through the same entry the picture box uses, and optionally writes the picture as a PAM file
// (RGB_ALPHA, top row first). Icons and cursors are drawn on white; PNG keeps its alpha; other
// formats are opaque. Exit 0 for a picture, 1 for "no picture", 2 for a usage or output error.

#include "runtime/imaging/decoded_picture.h"
#include "runtime/imaging/drawing.h"
#include "runtime/imaging/picture_decoder.h"
#include "runtime/imaging/probe.h"

#include "platform/application.h"
#include "platform/graphics.h"

#include "certmaker_version.h"

#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

using namespace runtime::imaging;

std::vector<std::uint8_t> rgba_of(const DecodedPicture& picture)
{
    std::size_t count = static_cast<std::size_t>(picture.width) * picture.height;
    std::vector<std::uint8_t> rgba(count * 4);
    if (picture.kind == PictureKind::Png) {
        const std::uint8_t* in = picture.pixels.data();
        for (std::size_t i = 0; i < count; ++i) {
            rgba[i * 4 + 0] = in[i * 4 + 2];
            rgba[i * 4 + 1] = in[i * 4 + 1];
            rgba[i * 4 + 2] = in[i * 4 + 0];
            rgba[i * 4 + 3] = in[i * 4 + 3];
        }
        return rgba;
    }
    // Everything else goes through the drawing routines, as a component would show it.
    auto canvas = platform::filled_bitmap(picture.width, picture.height, kWhite);
    if (!canvas)
        return {};
    {
        auto context = platform::bitmap_device_context(*canvas);
        draw_picture(&picture, context.get(), 0, 0, -1, -1, kWhite);
    }
    std::vector<std::uint8_t> bgr = canvas->bgr_rows();
    for (std::size_t i = 0; i < count; ++i) {
        rgba[i * 4 + 0] = bgr[i * 3 + 2];
        rgba[i * 4 + 1] = bgr[i * 3 + 1];
        rgba[i * 4 + 2] = bgr[i * 3 + 0];
        rgba[i * 4 + 3] = 255;
    }
    return rgba;
}

bool write_pam(const char* path, const DecodedPicture& picture)
{
    std::vector<std::uint8_t> rgba = rgba_of(picture);
    if (rgba.empty())
        return false;
    std::FILE* out = std::fopen(path, "wb");
    if (!out)
        return false;
    std::fprintf(out, "P7\nWIDTH %d\nHEIGHT %d\nDEPTH 4\nMAXVAL 255\nTUPLTYPE RGB_ALPHA\nENDHDR\n", picture.width,
                 picture.height);
    bool written = std::fwrite(rgba.data(), 1, rgba.size(), out) == rgba.size();
    return std::fclose(out) == 0 && written;
}

void print_usage(std::FILE* stream)
{
    std::fprintf(stream, "usage: picdecode FILE [--pam OUT]\n"
                         "Prints what the certificate maker's decoders make of a picture file (JPEG, PNG,\n"
                         "BMP, GIF, PCX, icon or cursor): its kind, width and height.\n"
                         "  --pam OUT  also write the decoded picture as a PAM file (RGB_ALPHA)\n"
                         "  --help     show this help and exit\n"
                         "  --version  show the version and exit\n"
                         "Exit status: 0 a picture, 1 no picture, 2 a usage or output error.\n");
}

}  // namespace

int main(int argc, char** argv)
{
    const char* input = nullptr;
    const char* pam = nullptr;
    bool usage_error = false;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            print_usage(stdout);
            return 0;
        }
        if (std::strcmp(argv[i], "--version") == 0) {
            std::printf("picdecode %s\n", certmaker::kVersion);
            return 0;
        }
        if (std::strcmp(argv[i], "--pam") == 0 && i + 1 < argc) {
            pam = argv[++i];
        } else if ((argv[i][0] == '-' && argv[i][1] != '\0') || input) {
            usage_error = true;  // an unknown option, or a second file
        } else {
            input = argv[i];
        }
    }
    if (!input || usage_error) {
        print_usage(stderr);
        return 2;
    }
    std::ifstream file(input, std::ios::binary);
    if (!file) {
        std::fprintf(stderr, "picdecode: cannot read %s\n", input);
        std::printf("no picture\n");
        return 1;
    }
    std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());

    platform::start_platform(argc, argv, platform::Display::Offscreen);
    PictureKind kind = probe_picture(bytes);
    auto picture = decode_picture(bytes);
    if (!picture) {
        std::printf("kind %d (%s)\nno picture (%s)\n", static_cast<int>(kind), picture_kind_name(kind),
                    decode_error_name(picture.error()));
        platform::stop_platform();
        return 1;
    }
    std::printf("kind %d (%s)\nwidth %d\nheight %d\n", static_cast<int>(kind), picture_kind_name(kind), picture->width,
                picture->height);
    int status = 0;
    if (pam && !write_pam(pam, *picture)) {
        std::fprintf(stderr, "picdecode: cannot write %s\n", pam);
        status = 2;
    }
    platform::stop_platform();
    return status;
}
