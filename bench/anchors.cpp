// The anchors the program's figures are measured against, each as plain as it can be:
//   anchors jpeg COUNT FILE...       decode COUNT times with libjpeg into an RGB buffer, taking the
//                                    FILEs in turn (as a run of kind switches shows their templates)
//   anchors write BYTES COUNT PATH   write BYTES bytes to PATH COUNT times with fwrite
//   anchors write-new BYTES COUNT PREFIX
//                                    write BYTES bytes with fwrite to COUNT files that do not exist
//                                    yet, PREFIX0.bmp ... (as a run of saves under new names does)
//   anchors window                   show a minimal Qt window, wait for its first paint, close

#include <QApplication>
#include <QPainter>
#include <QTimer>
#include <QWidget>

#include <jpeglib.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

std::vector<unsigned char> read_file(const char* path)
{
    std::ifstream in(path, std::ios::binary);
    return std::vector<unsigned char>((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

int decode_jpeg(int count, const std::vector<const char*>& paths)
{
    std::vector<std::vector<unsigned char>> files;
    for (const char* path : paths) {
        files.push_back(read_file(path));
        if (files.back().empty())
            return 1;
    }
    unsigned long checksum = 0;
    for (int i = 0; i < count; ++i) {
        const std::vector<unsigned char>& bytes = files[static_cast<std::size_t>(i) % files.size()];
        jpeg_decompress_struct decompressor;
        jpeg_error_mgr errors;
        decompressor.err = jpeg_std_error(&errors);
        jpeg_create_decompress(&decompressor);
        jpeg_mem_src(&decompressor, bytes.data(), bytes.size());
        jpeg_read_header(&decompressor, TRUE);
        jpeg_start_decompress(&decompressor);
        std::size_t stride = static_cast<std::size_t>(decompressor.output_width) * decompressor.output_components;
        std::vector<unsigned char> pixels(stride * decompressor.output_height);
        while (decompressor.output_scanline < decompressor.output_height) {
            JSAMPROW row = pixels.data() + stride * decompressor.output_scanline;
            jpeg_read_scanlines(&decompressor, &row, 1);
        }
        jpeg_finish_decompress(&decompressor);
        jpeg_destroy_decompress(&decompressor);
        checksum += pixels[pixels.size() / 2];
    }
    std::printf("%lu\n", checksum);
    return 0;
}

int write_file(std::size_t size, int count, const char* path, bool new_files)
{
    std::vector<unsigned char> bytes(size, 0x5A);
    for (int i = 0; i < count; ++i) {
        std::string name = new_files ? path + std::to_string(i) + ".bmp" : path;
        std::FILE* file = std::fopen(name.c_str(), "wb");
        if (!file)
            return 1;
        std::fwrite(bytes.data(), 1, bytes.size(), file);
        std::fclose(file);
    }
    return 0;
}

class PaintedOnce : public QWidget {
protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.drawText(rect(), Qt::AlignCenter, QStringLiteral("certificate"));
        QTimer::singleShot(0, qApp, &QApplication::quit);
    }
};

int show_window(int argc, char** argv)
{
    QApplication application(argc, argv);
    PaintedOnce window;
    window.resize(520, 328);
    window.show();
    return application.exec();
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc >= 4 && std::strcmp(argv[1], "jpeg") == 0)
        return decode_jpeg(std::atoi(argv[2]), std::vector<const char*>(argv + 3, argv + argc));
    if (argc >= 5 && (std::strcmp(argv[1], "write") == 0 || std::strcmp(argv[1], "write-new") == 0))
        return write_file(std::strtoul(argv[2], nullptr, 10), std::atoi(argv[3]), argv[4],
                          std::strcmp(argv[1], "write-new") == 0);
    if (argc >= 2 && std::strcmp(argv[1], "window") == 0)
        return show_window(argc, argv);
    std::fprintf(
        stderr, "usage: anchors jpeg COUNT FILE... | write BYTES COUNT PATH | write-new BYTES COUNT PREFIX | window\n");
    return 2;
}
