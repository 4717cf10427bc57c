#include "tools/template_maker/placeholder_painter.h"

#include "tools/template_maker/template_painter.h"

#include <QFont>
#include <QPainter>

namespace template_maker {

QImage paint_photo_placeholder()
{
    QImage image(kPlaceholderWidth, kPlaceholderHeight, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);

    // A light dashed edge, so the box reads as a place to click.
    QPen edge(QColor(0xb0, 0xb0, 0xb0), 1, Qt::DashLine);
    painter.setPen(edge);
    painter.drawRect(QRectF(2.5, 2.5, kPlaceholderWidth - 5, kPlaceholderHeight - 5));

    QFont font(QString::fromLatin1(kSansFamily));
    font.setPixelSize(14);
    font.setHintingPreference(QFont::PreferNoHinting);
    painter.setFont(font);
    painter.setPen(QColor(0x33, 0x33, 0x33));
    const QString lines[] = {QStringLiteral("点击此处"), QStringLiteral("上传"), QStringLiteral("照片")};
    const int line_height = 20;
    const int top = (kPlaceholderHeight - 3 * line_height) / 2;
    for (int index = 0; index < 3; ++index)
        painter.drawText(QRect(0, top + index * line_height, kPlaceholderWidth, line_height), Qt::AlignCenter,
                         lines[index]);
    return image;
}

}  // namespace template_maker
