#include "tools/template_maker/contact_sheet.h"

#include "tools/template_maker/template_painter.h"

#include <QFont>
#include <QPainter>

namespace template_maker {
namespace {

constexpr int kColumns = 4;
constexpr int kGap = 12;
constexpr int kCaptionHeight = 24;

QFont pixel_font(const char* family, int pixel_size)
{
    QFont font(QString::fromLatin1(family));
    font.setPixelSize(pixel_size);
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}

struct Overlay {
    QPoint place;
    QSize size;
    const char* text;
    bool opaque;  // labels 10 to 13 paint a white background; the transparent labels do not
};

}  // namespace

QImage paint_contact_sheet(const std::vector<QImage>& templates)
{
    const int tile_width = kTemplateWidth / 2;
    const int tile_height = kTemplateHeight / 2;
    const int rows = (static_cast<int>(templates.size()) + kColumns - 1) / kColumns;
    QImage sheet(kGap + kColumns * (tile_width + kGap), kGap + rows * (tile_height + kCaptionHeight + kGap),
                 QImage::Format_RGB32);
    sheet.fill(QColor(0xe8, 0xe8, 0xe8));
    QPainter painter(&sheet);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setFont(pixel_font(kSansFamily, 13));
    const auto& designs = kind_designs();
    for (std::size_t index = 0; index < templates.size(); ++index) {
        const int column = static_cast<int>(index) % kColumns;
        const int row = static_cast<int>(index) / kColumns;
        const QRect tile(kGap + column * (tile_width + kGap), kGap + row * (tile_height + kCaptionHeight + kGap),
                         tile_width, tile_height);
        painter.drawImage(tile, templates[index]);
        painter.setPen(QColor(0x22, 0x22, 0x22));
        const QString caption =
            QString::number(designs[index].number) + QStringLiteral("  ") + QString::fromUtf8(designs[index].name);
        painter.drawText(QRect(tile.left(), tile.bottom() + 1, tile_width, kCaptionHeight), Qt::AlignCenter, caption);
    }
    return sheet;
}

QImage paint_overlay_preview(const OverlayPlaces& places, const QImage& template_picture, const QImage& placeholder)
{
    constexpr int scale = 2;
    // The preview label's client area is 518 x 326; draw the window region it covers.
    const QRect client_in_window(-1, 1, 518, 326);
    QImage window_image(client_in_window.size(), QImage::Format_RGB32);
    window_image.fill(Qt::white);
    {
        QPainter painter(&window_image);
        painter.translate(-client_in_window.topLeft());
        painter.drawImage(kTemplateOriginInWindow, template_picture);
        painter.drawImage(kPhotoBoxInWindow.topLeft(), placeholder);

        const Overlay overlays[] = {
            {places.name, kNameSize, "张三", true},
            {places.sex, kSexSize, "男", true},
            {places.age, kAgeSize, "未知", true},
            {places.second_name, kSecondNameSize, "张三", true},
            {places.number, kNumberSize, "V3471G52452G50", false},
            {places.issue_date, kIssueDateSize, "2013年9月28日", false},
        };
        for (const Overlay& overlay : overlays) {
            const QRect box(overlay.place, overlay.size);
            painter.save();
            painter.setClipRect(box);
            if (overlay.opaque)
                painter.fillRect(box, Qt::white);
            painter.setFont(pixel_font(kSerifFamily, overlay.opaque ? 12 : 10));
            painter.setPen(Qt::black);
            painter.drawText(box, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                             QString::fromUtf8(overlay.text));
            painter.restore();
        }
    }
    return window_image.scaled(window_image.size() * scale, Qt::IgnoreAspectRatio, Qt::FastTransformation);
}

}  // namespace template_maker
