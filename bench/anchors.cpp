// The anchors the program's figures are measured against, each as plain as it can be:
//   anchors jpeg FILE COUNT          decode FILE COUNT times with libjpeg into an RGB buffer
//   anchors write BYTES COUNT PATH   write BYTES bytes to PATH COUNT times with fwrite
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

int decode_jpeg(const char* path, int count)
{
    std::ifstream in(path, std::ios::binary);
    std::vector<unsigned char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (bytes.empty())
        return 1;
    unsigned long checksum = 0;
    for (int i = 0; i < count; ++i) {
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

int write_file(std::size_t size, int count, const char* path)
{
    std::vector<unsigned char> bytes(size, 0x5A);
    for (int i = 0; i < count; ++i) {
        std::FILE* file = std::fopen(path, "wb");
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
        return decode_jpeg(argv[2], std::atoi(argv[3]));
    if (argc >= 5 && std::strcmp(argv[1], "write") == 0)
        return write_file(std::strtoul(argv[2], nullptr, 10), std::atoi(argv[3]), argv[4]);
    if (argc >= 2 && std::strcmp(argv[1], "window") == 0)
        return show_window(argc, argv);
    std::fprintf(stderr, "usage: anchors jpeg FILE COUNT | write BYTES COUNT PATH | window\n");
    return 2;
}
