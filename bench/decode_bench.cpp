// Decoding the sixteen certificate templates three ways, side by side: with the runtime's decoder
// (what the label does on every template switch), with plain libjpeg into an RGB buffer, and with
// Qt's QImageReader.

#include "runtime/imaging/picture_decoder.h"

#include "platform/application.h"

#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <QImageReader>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <jpeglib.h>

namespace {

using Bytes = std::vector<std::uint8_t>;

const std::vector<Bytes>& templates()
{
    static const std::vector<Bytes> files = [] {
        std::vector<Bytes> loaded;
        for (int kind = 1; kind <= 16; ++kind) {
            char name[64];
            std::snprintf(name, sizeof name, "/app/data/templates/kind%02d.jpg", kind);
            std::ifstream in(std::string(CERTMAKER_SOURCE_DIR) + name, std::ios::binary);
            Bytes bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
            if (!bytes.empty())
                loaded.push_back(std::move(bytes));
        }
        return loaded;
    }();
    return files;
}

void decode_with_runtime(benchmark::State& state)
{
    for (auto _ : state) {
        for (const Bytes& file : templates()) {
            auto picture = runtime::imaging::decode_picture(file);
            if (!picture)
                state.SkipWithError("a template did not decode");
            benchmark::DoNotOptimize(picture->pixels.data());
        }
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(templates().size()));
}

// The library's own memory source and default output, rows into one malloc'd block.
void decode_with_plain_libjpeg(benchmark::State& state)
{
    for (auto _ : state) {
        for (const Bytes& file : templates()) {
            jpeg_decompress_struct decompressor;
            jpeg_error_mgr errors;
            decompressor.err = jpeg_std_error(&errors);
            jpeg_create_decompress(&decompressor);
            jpeg_mem_src(&decompressor, file.data(), file.size());
            jpeg_read_header(&decompressor, TRUE);
            jpeg_start_decompress(&decompressor);
            std::size_t stride = static_cast<std::size_t>(decompressor.output_width) * decompressor.output_components;
            auto pixels = static_cast<std::uint8_t*>(std::malloc(stride * decompressor.output_height));
            while (decompressor.output_scanline < decompressor.output_height) {
                JSAMPROW row = pixels + decompressor.output_scanline * stride;
                jpeg_read_scanlines(&decompressor, &row, 1);
            }
            jpeg_finish_decompress(&decompressor);
            jpeg_destroy_decompress(&decompressor);
            benchmark::DoNotOptimize(pixels);
            std::free(pixels);
        }
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(templates().size()));
}

void decode_with_qimagereader(benchmark::State& state)
{
    std::vector<QByteArray> files;
    for (const Bytes& file : templates())
        files.emplace_back(reinterpret_cast<const char*>(file.data()), static_cast<qsizetype>(file.size()));
    for (auto _ : state) {
        for (QByteArray& file : files) {
            QBuffer buffer(&file);
            buffer.open(QIODevice::ReadOnly);
            QImageReader reader(&buffer, "jpeg");
            QImage image = reader.read();
            if (image.isNull())
                state.SkipWithError("QImageReader could not read a template");
            benchmark::DoNotOptimize(image.constBits());
        }
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(templates().size()));
}

BENCHMARK(decode_with_runtime)->Unit(benchmark::kMillisecond);
BENCHMARK(decode_with_plain_libjpeg)->Unit(benchmark::kMillisecond);
BENCHMARK(decode_with_qimagereader)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv)
{
    platform::start_platform(argc, argv, platform::Display::Offscreen);
    benchmark::Initialize(&argc, argv);
    if (templates().size() != 16)
        std::fprintf(stderr, "decode_bench: found %zu of 16 templates\n", templates().size());
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    platform::stop_platform();
    return 0;
}
