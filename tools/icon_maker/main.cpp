// icon_maker OUTPUT_DIR
//
// Writes certmaker_16.png ... certmaker_256.png into OUTPUT_DIR: the program's icon at each
// freedesktop size. The output is the same byte for byte on every run.

#include "tools/icon_maker/icon_painter.h"

#include "certmaker_version.h"

#include <QDir>
#include <QGuiApplication>

#include <cstdio>
#include <cstring>

namespace {

void print_usage(std::FILE* stream)
{
    std::fprintf(stream, "usage: icon_maker OUTPUT_DIR\n"
                         "Draws the program's icon and writes certmaker_SIZE.png into OUTPUT_DIR for\n"
                         "each size 16, 24, 32, 48, 64, 128 and 256.\n"
                         "  --help     show this help and exit\n"
                         "  --version  show the version and exit\n");
}

}  // namespace

int main(int argc, char** argv)
{
    const char* output_dir = nullptr;
    for (int index = 1; index < argc; ++index) {
        if (std::strcmp(argv[index], "--help") == 0 || std::strcmp(argv[index], "-h") == 0) {
            print_usage(stdout);
            return 0;
        }
        if (std::strcmp(argv[index], "--version") == 0) {
            std::printf("icon_maker %s\n", certmaker::kVersion);
            return 0;
        }
        if (argv[index][0] == '-' || output_dir) {
            print_usage(stderr);
            return 2;
        }
        output_dir = argv[index];
    }
    if (!output_dir) {
        print_usage(stderr);
        return 2;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    int qt_argc = 1;
    QGuiApplication application(qt_argc, argv);

    if (!QDir().mkpath(QString::fromLocal8Bit(output_dir))) {
        std::fprintf(stderr, "icon_maker: cannot create %s\n", output_dir);
        return 1;
    }
    const QDir output(QString::fromLocal8Bit(output_dir));
    for (int size : icon_maker::kIconSizes) {
        const QString path = output.filePath(QStringLiteral("certmaker_%1.png").arg(size));
        if (!icon_maker::paint_icon(size).save(path, "PNG")) {
            std::fprintf(stderr, "icon_maker: cannot write %s\n", qPrintable(path));
            return 1;
        }
        std::printf("%s\n", qPrintable(path));
    }
    return 0;
}
