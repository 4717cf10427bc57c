// template_maker OUTPUT_DIR [--sheet PNG] [--preview PNG]
//
// Writes kind01.jpg ... kind16.jpg and photo_placeholder.jpg into OUTPUT_DIR. --sheet also writes a
// contact sheet of the sixteen templates; --preview writes kind 1 as the window opens and kinds 1,
// 8 and 12 as chosen, at twice their size, with the window's initial texts laid over them where the
// overlay labels stand. The output is the
// same byte for byte on every run on one machine: fixed fonts, fixed grain seeds, fixed encoder
// settings.

#include "tools/template_maker/contact_sheet.h"
#include "tools/template_maker/jpeg_writer.h"
#include "tools/template_maker/kind_designs.h"
#include "tools/template_maker/placeholder_painter.h"
#include "tools/template_maker/template_painter.h"

#include "certmaker_version.h"

#include <QDir>
#include <QFile>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QPainter>

#include <cstdio>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

namespace {

using namespace template_maker;

struct Options {
    QString output_dir;
    QString sheet_path;
    QString preview_path;
};

void print_usage(std::FILE* stream = stderr)
{
    std::fprintf(stream, "usage: template_maker OUTPUT_DIR [--sheet PNG] [--preview PNG]\n"
                         "Draws the sixteen certificate templates and the photo placeholder and writes\n"
                         "kind01.jpg ... kind16.jpg and photo_placeholder.jpg into OUTPUT_DIR.\n"
                         "  --sheet PNG    also write a contact sheet of the sixteen templates\n"
                         "  --preview PNG  also write kinds 1, 8 and 12 with the window's texts laid over\n"
                         "  --help         show this help and exit\n"
                         "  --version      show the version and exit\n");
}

std::optional<Options> parse_options(const QStringList& arguments)
{
    Options options;
    for (int index = 1; index < arguments.size(); ++index) {
        const QString& argument = arguments[index];
        if (argument == QLatin1String("--sheet") || argument == QLatin1String("--preview")) {
            if (index + 1 >= arguments.size())
                return std::nullopt;
            (argument == QLatin1String("--sheet") ? options.sheet_path : options.preview_path) = arguments[++index];
        } else if (argument.startsWith(QLatin1String("--")) || !options.output_dir.isEmpty()) {
            return std::nullopt;
        } else {
            options.output_dir = argument;
        }
    }
    if (options.output_dir.isEmpty())
        return std::nullopt;
    return options;
}

bool write_file(const QString& path, const std::vector<std::uint8_t>& bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    const auto size = static_cast<qint64>(bytes.size());
    return file.write(reinterpret_cast<const char*>(bytes.data()), size) == size && file.flush();
}

bool fonts_installed()
{
    const QStringList families = QFontDatabase::families();
    bool found = true;
    for (const char* family : {kSerifFamily, kSansFamily}) {
        if (!families.contains(QString::fromLatin1(family))) {
            std::fprintf(stderr, "template_maker: font family \"%s\" is not installed (fonts-noto-cjk)\n", family);
            found = false;
        }
    }
    return found;
}

bool save_jpeg(const QString& path, const QImage& image, LumaSampling sampling, std::vector<std::uint8_t>* bytes_out)
{
    auto bytes = encode_jpeg(image, {sampling, 90});
    if (!bytes || !write_file(path, *bytes)) {
        std::fprintf(stderr, "template_maker: cannot write %s\n", qPrintable(path));
        return false;
    }
    std::printf("%s %zu bytes\n", qPrintable(path), bytes->size());
    if (bytes_out)
        *bytes_out = std::move(*bytes);
    return true;
}

// What the preview label shows is the decoded JPEG; fall back on the painted picture when this Qt
// has no JPEG reader.
QImage as_shown(const std::vector<std::uint8_t>& bytes, const QImage& painted)
{
    QImage decoded = QImage::fromData(bytes.data(), static_cast<int>(bytes.size()), "JPEG");
    return decoded.isNull() ? painted : decoded;
}

}  // namespace

int main(int argc, char** argv)
{
    // Answered before the application object exists, so that no display or font is needed.
    for (int index = 1; index < argc; ++index) {
        if (std::strcmp(argv[index], "--help") == 0 || std::strcmp(argv[index], "-h") == 0) {
            print_usage(stdout);
            return 0;
        }
        if (std::strcmp(argv[index], "--version") == 0) {
            std::printf("template_maker %s\n", certmaker::kVersion);
            return 0;
        }
    }
    QStringList arguments;
    for (int index = 0; index < argc; ++index)
        arguments.append(QString::fromLocal8Bit(argv[index]));
    const auto options = parse_options(arguments);
    if (!options) {
        print_usage();
        return 2;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    int qt_argc = 1;
    QGuiApplication application(qt_argc, argv);
    if (!fonts_installed())
        return 1;
    if (!QDir().mkpath(options->output_dir)) {
        std::fprintf(stderr, "template_maker: cannot create %s\n", qPrintable(options->output_dir));
        return 1;
    }
    const QDir output(options->output_dir);

    std::vector<QImage> shown;
    for (const KindDesign& design : kind_designs()) {
        const QImage picture = paint_template(design);
        const LumaSampling sampling =
            design.sampling == ChromaSampling::Half ? LumaSampling::TwoByTwo : LumaSampling::OneByOne;
        const QString name = QStringLiteral("kind%1.jpg").arg(design.number, 2, 10, QLatin1Char('0'));
        std::vector<std::uint8_t> bytes;
        if (!save_jpeg(output.filePath(name), picture, sampling, &bytes))
            return 1;
        shown.push_back(as_shown(bytes, picture));
    }
    const QImage placeholder = paint_photo_placeholder();
    std::vector<std::uint8_t> placeholder_bytes;
    if (!save_jpeg(output.filePath(QStringLiteral("photo_placeholder.jpg")), placeholder, LumaSampling::TwoByTwo,
                   &placeholder_bytes))
        return 1;

    if (!options->sheet_path.isEmpty()) {
        // A palette image: a quarter of the size of a full-colour one, and good enough to look at.
        const QImage sheet = paint_contact_sheet(shown).convertToFormat(QImage::Format_Indexed8, Qt::DiffuseDither);
        if (!sheet.save(options->sheet_path, "PNG")) {
            std::fprintf(stderr, "template_maker: cannot write %s\n", qPrintable(options->sheet_path));
            return 1;
        }
    }
    if (!options->preview_path.isEmpty()) {
        const QImage shown_placeholder = as_shown(placeholder_bytes, placeholder);
        std::vector<QImage> previews;
        // Kind 1 as the window opens (labels at their initial places), then as chosen; then 8 and 12.
        previews.push_back(paint_overlay_preview(initial_places(), shown[0], shown_placeholder));
        for (int kind : {1, 8, 12})
            previews.push_back(
                paint_overlay_preview(kind_designs()[kind - 1].places, shown[kind - 1], shown_placeholder));
        QImage stacked(previews[0].width(), previews[0].height() * static_cast<int>(previews.size()),
                       QImage::Format_RGB32);
        QPainter painter(&stacked);
        for (std::size_t index = 0; index < previews.size(); ++index)
            painter.drawImage(0, static_cast<int>(index) * previews[0].height(), previews[index]);
        painter.end();
        if (!stacked.save(options->preview_path, "PNG")) {
            std::fprintf(stderr, "template_maker: cannot write %s\n", qPrintable(options->preview_path));
            return 1;
        }
    }
    return 0;
}
