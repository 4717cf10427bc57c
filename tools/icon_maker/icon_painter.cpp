#include "tools/icon_maker/icon_painter.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

namespace icon_maker {
namespace {

const QColor kPaper(0xFF, 0xF6, 0xDC);
const QColor kFrame(0x7A, 0x4E, 0x1E);
const QColor kGold(0xC8, 0x9B, 0x3C);
const QColor kTitle(0x9E, 0x1B, 0x1B);
const QColor kText(0x80, 0x76, 0x66);
const QColor kSeal(0xD2, 0x1F, 0x1F);
const QColor kSealDark(0x8C, 0x0C, 0x0C);
const QColor kSealLight(0xF2, 0x6B, 0x5B);

// The design lives on a 16-unit grid, so that at 16 pixels every edge falls on a pixel edge and the
// sheet, its lines and the seal stay apart. Larger sizes add the inner gold frame, the star on the
// seal and more text lines.
struct Grid {
    double unit;
    double at(double units) const { return units * unit; }
    // Pixel-snapped, so thin lines stay sharp at every size.
    double snap(double units) const { return std::round(units * unit); }
};

void paint_sheet(QPainter& painter, const Grid& grid, int size)
{
    const double border = std::max(1.0, std::round(size / 24.0));
    const QRectF sheet(grid.snap(0.5), grid.snap(1.5), grid.snap(15.5) - grid.snap(0.5),
                       grid.snap(13.5) - grid.snap(1.5));
    painter.fillRect(sheet, kFrame);
    painter.fillRect(sheet.adjusted(border, border, -border, -border), kPaper);
    if (size >= 32) {
        const double inset = std::round(size / 16.0) + border;
        const double line = std::max(1.0, std::round(size / 64.0));
        QRectF inner = sheet.adjusted(inset, inset, -inset, -inset);
        painter.fillRect(inner, kGold);
        painter.fillRect(inner.adjusted(line, line, -line, -line), kPaper);
    }
}

void paint_lines(QPainter& painter, const Grid& grid, int size)
{
    const double thick = std::max(1.0, std::round(size / 12.0));
    const double thin = std::max(1.0, std::round(size / 24.0));
    // The title: a bold red bar across the top of the sheet.
    painter.fillRect(QRectF(grid.snap(4), grid.snap(4), grid.snap(12) - grid.snap(4), thick), kTitle);
    // Text lines, stopping short of the seal on the right.
    const int lines = size >= 48 ? 4 : 2;
    const double first = size >= 48 ? 6.6 : 7.0;
    const double step = size >= 48 ? 1.25 : 2.0;
    for (int index = 0; index < lines; ++index) {
        const double y = grid.snap(first + index * step);
        const double right = index + 1 == lines ? 8.0 : 12.5;
        painter.fillRect(QRectF(grid.snap(3), y, grid.snap(right) - grid.snap(3), thin), kText);
    }
}

QPainterPath star(QPointF centre, double outer, double inner)
{
    QPainterPath path;
    for (int point = 0; point < 10; ++point) {
        const double angle = -M_PI / 2 + point * M_PI / 5;
        const double radius = point % 2 == 0 ? outer : inner;
        const QPointF corner(centre.x() + radius * std::cos(angle), centre.y() + radius * std::sin(angle));
        if (point == 0)
            path.moveTo(corner);
        else
            path.lineTo(corner);
    }
    path.closeSubpath();
    return path;
}

void paint_seal(QPainter& painter, const Grid& grid, int size)
{
    const QPointF centre(grid.at(11.5), grid.at(11.0));
    const double radius = grid.at(3.3);
    // Two ribbon tails hang from the seal, cut with a notch at their ends.
    painter.setPen(Qt::NoPen);
    painter.setBrush(kSealDark);
    for (double side : {-1.0, 1.0}) {
        QPainterPath tail;
        const double x = centre.x() + side * grid.at(1.3);
        tail.moveTo(centre.x() + side * grid.at(0.3), centre.y());
        tail.lineTo(x + side * grid.at(1.1), centre.y() + grid.at(1.6));
        tail.lineTo(x + side * grid.at(0.7), grid.at(16.0));
        tail.lineTo(x, grid.at(15.1));
        tail.lineTo(x - side * grid.at(1.0), grid.at(15.6));
        tail.closeSubpath();
        painter.drawPath(tail);
    }
    painter.setBrush(size >= 24 ? kSealDark : kSeal);
    painter.drawEllipse(centre, radius, radius);
    if (size >= 24) {
        const double rim = std::max(1.0, size / 24.0);
        painter.setBrush(kSeal);
        painter.drawEllipse(centre, radius - rim, radius - rim);
        // A thin light ring, as pressed into wax.
        if (size >= 48) {
            QPen ring(kSealLight, std::max(1.0, size / 96.0));
            painter.setPen(ring);
            painter.setBrush(Qt::NoBrush);
            painter.drawEllipse(centre, radius * 0.72, radius * 0.72);
            painter.setPen(Qt::NoPen);
        }
        painter.setBrush(kSealLight);
        painter.drawPath(star(centre, radius * (size >= 48 ? 0.5 : 0.55), radius * 0.22));
    } else {
        // At 16 pixels a single light dot keeps the disc from reading as a red blob.
        painter.fillRect(QRectF(std::floor(centre.x()) - 1, std::floor(centre.y()) - 1, 2, 2), kSealLight);
    }
}

}  // namespace

QImage paint_icon(int size)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    const Grid grid{size / 16.0};
    QPainter painter(&image);
    paint_sheet(painter, grid, size);
    paint_lines(painter, grid, size);
    painter.setRenderHint(QPainter::Antialiasing);
    paint_seal(painter, grid, size);
    painter.end();
    return image;
}

}  // namespace icon_maker
