// Template painting, back to front:
//   cover      the kind's colour, light, guilloche waves and grain, clipped to the rounded card
//   left page  gold frame, emblem with laurel, title, issuing body
//   spine      the fold's shadow
//   right page white sheet, field captions and blanks, portrait frame, certificate sentence,
//              validity, issue date and number lines, seal

#include "tools/template_maker/template_painter.h"

#include <QFont>
#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numbers>
#include <vector>

namespace template_maker {
namespace {

// Page geometry, in template pixels.
constexpr QRectF kCard{1.5, 1.5, 497, 313};
constexpr double kSpineX = 250;
constexpr QRectF kLeftFrame{11.5, 11.5, 227, 293};
constexpr QRectF kRightPage{258, 8, 234, 300};
constexpr double kTextLeft = 272;
constexpr double kTextRight = 482;
constexpr double kSentenceLineStep = 19;
constexpr double kSealCentreX = 450;
constexpr double kSealRadius = 37;

const QColor kInk(0x1e, 0x1e, 0x1e);
const QColor kBlankLine(0x60, 0x60, 0x60);
const QColor kSealRed(0xd7, 0x1f, 0x1f);

// A small fixed-seed generator, so that every run draws the same grain.
class Grain {
public:
    explicit Grain(std::uint32_t seed)
        : m_state(seed ? seed : 1)
    {
    }

    std::uint32_t next()
    {
        m_state ^= m_state << 13;
        m_state ^= m_state >> 17;
        m_state ^= m_state << 5;
        return m_state;
    }

    // Uniform in [-spread, spread].
    int centred(int spread) { return static_cast<int>(next() % static_cast<std::uint32_t>(2 * spread + 1)) - spread; }

private:
    std::uint32_t m_state;
};

QFont make_font(const char* family, int pixel_size, QFont::Weight weight = QFont::Normal)
{
    QFont font(QString::fromLatin1(family));
    font.setPixelSize(pixel_size);
    font.setWeight(weight);
    font.setHintingPreference(QFont::PreferNoHinting);
    font.setStyleStrategy(QFont::PreferAntialias);
    return font;
}

double luminance(const QColor& colour)
{
    return (0.299 * colour.red() + 0.587 * colour.green() + 0.114 * colour.blue()) / 255.0;
}

bool is_light(const QColor& colour)
{
    return luminance(colour) > 0.5;
}

int clamp_channel(int value)
{
    return value < 0 ? 0 : (value > 255 ? 255 : value);
}

// ---------------------------------------------------------------------------------------------
// Cover: the kind's colour with a soft light, fine guilloche waves and a grain.

QImage paint_cover(const KindDesign& design)
{
    QImage cover(kTemplateWidth, kTemplateHeight, QImage::Format_RGB32);
    cover.fill(design.cover);
    {
        QPainter painter(&cover);
        painter.setRenderHint(QPainter::Antialiasing);

        QRadialGradient light(QPointF(125, 110), 260);
        light.setColorAt(0, QColor(255, 255, 255, 46));
        light.setColorAt(1, QColor(0, 0, 0, 40));
        painter.fillRect(cover.rect(), light);

        // Guilloche: families of sine waves crossing the cover.
        const QColor wave = is_light(design.cover) ? QColor(255, 255, 255, 44) : QColor(255, 255, 255, 26);
        painter.setPen(QPen(wave, 0.7));
        for (int line = 0; line < 26; ++line) {
            QPainterPath path;
            const double base = -20 + line * 14.0;
            const double phase = line * 0.37;
            for (int x = 0; x <= kTemplateWidth; x += 2) {
                const double y = base + 9 * std::sin(x / 23.0 + phase) + 5 * std::sin(x / 57.0 - phase * 0.5);
                if (x == 0)
                    path.moveTo(x, y);
                else
                    path.lineTo(x, y);
            }
            painter.drawPath(path);
        }
        painter.setPen(QPen(wave, 0.5));
        for (int line = 0; line < 26; ++line) {
            QPainterPath path;
            const double base = -20 + line * 14.0 + 7;
            for (int x = 0; x <= kTemplateWidth; x += 2) {
                const double y = base - 9 * std::sin(x / 23.0 + line * 0.37);
                if (x == 0)
                    path.moveTo(x, y);
                else
                    path.lineTo(x, y);
            }
            painter.drawPath(path);
        }
    }

    // A leather-like grain: a fine per-pixel variation plus a coarser one per 2 x 2 block.
    Grain grain(0x5eed0000u + static_cast<std::uint32_t>(design.number));
    std::vector<int> coarse(static_cast<std::size_t>((kTemplateWidth / 2 + 1) * (kTemplateHeight / 2 + 1)));
    for (int& value : coarse)
        value = grain.centred(4);
    for (int y = 0; y < kTemplateHeight; ++y) {
        auto* row = reinterpret_cast<QRgb*>(cover.scanLine(y));
        for (int x = 0; x < kTemplateWidth; ++x) {
            std::size_t cell =
                static_cast<std::size_t>(y / 2) * (kTemplateWidth / 2 + 1) + static_cast<std::size_t>(x / 2);
            const int shift = coarse[cell] + grain.centred(2);
            const QRgb pixel = row[x];
            row[x] = qRgb(clamp_channel(qRed(pixel) + shift), clamp_channel(qGreen(pixel) + shift),
                          clamp_channel(qBlue(pixel) + shift));
        }
    }
    return cover;
}

// ---------------------------------------------------------------------------------------------
// Left page.

QColor accent_for(const KindDesign& design)
{
    return is_light(design.cover) ? QColor(0xff, 0xfb, 0xe8) : QColor(0xf0, 0xcf, 0x72);
}

QColor shade_for(const KindDesign& design)
{
    return design.cover.darker(is_light(design.cover) ? 170 : 150);
}

QPainterPath star_path(QPointF centre, double outer, double inner, double rotation = -90)
{
    QPainterPath path;
    for (int point = 0; point < 10; ++point) {
        const double radius = point % 2 == 0 ? outer : inner;
        const double angle = (rotation + point * 36.0) * std::numbers::pi / 180.0;
        const QPointF at(centre.x() + radius * std::cos(angle), centre.y() + radius * std::sin(angle));
        if (point == 0)
            path.moveTo(at);
        else
            path.lineTo(at);
    }
    path.closeSubpath();
    return path;
}

void paint_left_frame(QPainter& painter, const QColor& accent)
{
    painter.save();
    QColor line = accent;
    line.setAlpha(200);
    painter.setPen(QPen(line, 1.4));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(kLeftFrame);
    line.setAlpha(150);
    painter.setPen(QPen(line, 0.7));
    painter.drawRect(kLeftFrame.adjusted(4, 4, -4, -4));
    // Small diamonds on the corners.
    painter.setPen(Qt::NoPen);
    painter.setBrush(accent);
    for (QPointF corner :
         {kLeftFrame.topLeft(), kLeftFrame.topRight(), kLeftFrame.bottomLeft(), kLeftFrame.bottomRight()}) {
        QPolygonF diamond;
        diamond << corner + QPointF(0, -4) << corner + QPointF(4, 0) << corner + QPointF(0, 4)
                << corner + QPointF(-4, 0);
        painter.drawPolygon(diamond);
    }
    painter.restore();
}

void paint_laurel(QPainter& painter, QPointF centre, double radius, const QColor& colour)
{
    painter.save();
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour);
    for (int side = -1; side <= 1; side += 2) {
        for (int leaf = 0; leaf < 7; ++leaf) {
            const double degrees = 90 + side * (28 + leaf * 17.0);
            const double angle = degrees * std::numbers::pi / 180.0;
            const QPointF at(centre.x() + radius * std::cos(angle), centre.y() + radius * std::sin(angle));
            painter.save();
            painter.translate(at);
            painter.rotate(degrees + side * 60);
            painter.drawEllipse(QRectF(-5.5, -2.2, 11, 4.4));
            painter.restore();
        }
    }
    painter.restore();
}

void paint_emblem(QPainter& painter, QPointF centre, double radius, const KindDesign& design)
{
    const QColor accent = accent_for(design);
    const QColor shade = shade_for(design);
    painter.save();
    paint_laurel(painter, centre, radius + 7, accent);

    QRadialGradient rim(centre - QPointF(radius * 0.3, radius * 0.3), radius * 1.6);
    rim.setColorAt(0, accent.lighter(115));
    rim.setColorAt(1, accent.darker(135));
    painter.setPen(QPen(shade, 1));
    painter.setBrush(rim);
    painter.drawEllipse(centre, radius, radius);

    QRadialGradient field(centre, radius);
    field.setColorAt(0, design.cover.lighter(112));
    field.setColorAt(1, shade);
    painter.setBrush(field);
    painter.setPen(Qt::NoPen);
    painter.drawEllipse(centre, radius - 4, radius - 4);

    painter.setBrush(accent);
    for (int dot = 0; dot < 36; ++dot) {
        const double angle = dot * 10.0 * std::numbers::pi / 180.0;
        painter.drawEllipse(
            QPointF(centre.x() + (radius - 8) * std::cos(angle), centre.y() + (radius - 8) * std::sin(angle)), 1.1,
            1.1);
    }
    painter.setPen(QPen(accent, 0.8));
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(centre, radius - 12, radius - 12);

    // The big star with four small ones on an arc above it.
    painter.setPen(QPen(shade, 0.6));
    painter.setBrush(accent);
    painter.drawPath(star_path(centre + QPointF(0, 2), radius * 0.42, radius * 0.17));
    for (int small = 0; small < 4; ++small) {
        const double degrees = -90 + (small - 1.5) * 26;
        const double angle = degrees * std::numbers::pi / 180.0;
        const QPointF at(centre.x() + radius * 0.6 * std::cos(angle), centre.y() + 1 + radius * 0.6 * std::sin(angle));
        painter.drawPath(star_path(at, radius * 0.1, radius * 0.04, degrees + 180));
    }
    painter.restore();
}

// Text filled with a metallic gradient over a soft shadow, centred on the given point.
void paint_title(QPainter& painter, const QString& text, const QFont& font, QPointF centre, double spacing,
                 const KindDesign& design)
{
    const QFontMetricsF metrics(font);
    double width = 0;
    for (QChar c : text)
        width += metrics.horizontalAdvance(c);
    width += spacing * (text.size() - 1);
    QPainterPath path;
    double x = centre.x() - width / 2;
    const double baseline = centre.y() + (metrics.ascent() - metrics.descent()) / 2;
    for (QChar c : text) {
        path.addText(QPointF(x, baseline), font, QString(c));
        x += metrics.horizontalAdvance(c) + spacing;
    }
    painter.save();
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0, 0, 0, is_light(design.cover) ? 50 : 90));
    painter.drawPath(path.translated(1.6, 1.8));
    // Gold on dark covers; on light ones a deep shade of the cover reads better.
    const bool light = is_light(design.cover);
    const QColor face = light ? design.cover.darker(260) : accent_for(design);
    QLinearGradient metal(0, baseline - metrics.ascent(), 0, baseline);
    metal.setColorAt(0, face.lighter(light ? 140 : 118));
    metal.setColorAt(0.55, face);
    metal.setColorAt(1, face.darker(125));
    painter.setPen(QPen(light ? QColor(255, 255, 255, 200) : shade_for(design), 0.8));
    painter.setBrush(metal);
    painter.drawPath(path);
    painter.restore();
}

void paint_centred_text(QPainter& painter, const QString& text, const QFont& font, QPointF centre, const QColor& colour,
                        double spacing = 0)
{
    QFont spaced = font;
    if (spacing != 0)
        spaced.setLetterSpacing(QFont::AbsoluteSpacing, spacing);
    painter.save();
    painter.setFont(spaced);
    painter.setPen(colour);
    const QRectF box(centre.x() - 200, centre.y() - 20, 400, 40);
    painter.drawText(box, Qt::AlignCenter, text);
    painter.restore();
}

void paint_left_page(QPainter& painter, const KindDesign& design)
{
    const QColor accent = accent_for(design);
    paint_left_frame(painter, accent);
    paint_emblem(painter, QPointF(125, 82), 38, design);

    const QString name = QString::fromUtf8(design.name);
    const int title_size = name.size() <= 3 ? 40 : 34;
    const double spacing = name.size() <= 3 ? 12 : 3;
    paint_title(painter, name, make_font(kSerifFamily, title_size, QFont::Bold), QPointF(125, 168), spacing, design);

    QColor soft = accent;
    soft.setAlpha(210);
    paint_centred_text(painter, QStringLiteral("CERTIFICATE"), make_font(kSerifFamily, 9, QFont::Bold),
                       QPointF(125, 199), soft, 3.2);

    // A rule with a diamond in its middle.
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(soft, 0.9));
    painter.drawLine(QPointF(52, 214), QPointF(117, 214));
    painter.drawLine(QPointF(133, 214), QPointF(198, 214));
    painter.setPen(Qt::NoPen);
    painter.setBrush(accent);
    QPolygonF diamond;
    diamond << QPointF(125, 210) << QPointF(129, 214) << QPointF(125, 218) << QPointF(121, 214);
    painter.drawPolygon(diamond);
    painter.restore();

    const QColor plain = is_light(design.cover) ? QColor(255, 255, 255) : QColor(0xf6, 0xec, 0xd0);
    paint_centred_text(painter, QString::fromUtf8(design.issuer), make_font(kSerifFamily, 14, QFont::DemiBold),
                       QPointF(125, 246), plain);
    paint_centred_text(painter, QStringLiteral("颁  发"), make_font(kSerifFamily, 12), QPointF(125, 268), plain);
}

// ---------------------------------------------------------------------------------------------
// Spine and right page.

void paint_spine(QPainter& painter)
{
    painter.save();
    QLinearGradient fold(kSpineX - 10, 0, kSpineX + 10, 0);
    fold.setColorAt(0, QColor(0, 0, 0, 0));
    fold.setColorAt(0.45, QColor(0, 0, 0, 70));
    fold.setColorAt(0.5, QColor(0, 0, 0, 110));
    fold.setColorAt(0.55, QColor(255, 255, 255, 30));
    fold.setColorAt(1, QColor(0, 0, 0, 0));
    painter.fillRect(QRectF(kSpineX - 10, kCard.top(), 20, kCard.height()), fold);
    painter.restore();
}

void paint_page_sheet(QPainter& painter, const KindDesign& design)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    // A soft shadow where the sheet lies on the cover.
    for (int step = 3; step >= 1; --step) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(0, 0, 0, 28));
        painter.drawRoundedRect(kRightPage.translated(step * 0.6, step * 0.8), 10, 10);
    }
    painter.setBrush(Qt::white);
    painter.drawRoundedRect(kRightPage, 10, 10);
    // An inner border in the kind's colour, kept well away from every blank.
    QColor border = design.cover;
    border.setAlpha(150);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(border, 1.2));
    painter.drawRoundedRect(kRightPage.adjusted(5, 5, -5, -5), 7, 7);
    border.setAlpha(90);
    painter.setPen(QPen(border, 0.6));
    painter.drawRoundedRect(kRightPage.adjusted(8, 8, -8, -8), 5, 5);
    painter.restore();
}

// A blank: where the kind puts its label (the text is centred on that), and the whole area that
// label may cover over this template (printed text keeps clear of that).
struct Blank {
    QRect own;
    QRect covered;
};

Blank blank_of(const KindDesign& design, QPoint OverlayPlaces::*label, QSize size)
{
    Blank blank{template_rect(design.places.*label, size), {}};
    for (const OverlayPlaces& places : places_shown_over(design))
        blank.covered = blank.covered.united(template_rect(places.*label, size));
    return blank;
}

// Draws text vertically centred on the blank's own place, ending two pixels left of `right_edge`.
void paint_caption_before(QPainter& painter, const QString& text, const QFont& font, const Blank& blank, int right_edge)
{
    painter.save();
    painter.setFont(font);
    painter.setPen(kInk);
    const QRectF box(right_edge - 2 - 200, blank.own.top() - 10, 200, blank.own.height() + 20);
    painter.drawText(box, Qt::AlignRight | Qt::AlignVCenter, text);
    painter.restore();
}

void paint_caption_before(QPainter& painter, const QString& text, const QFont& font, const Blank& blank)
{
    paint_caption_before(painter, text, font, blank, blank.covered.left());
}

void paint_caption_after(QPainter& painter, const QString& text, const QFont& font, const Blank& blank)
{
    painter.save();
    painter.setFont(font);
    painter.setPen(kInk);
    const QRectF box(blank.covered.right() + 1 + 2, blank.own.top() - 10, 200, blank.own.height() + 20);
    painter.drawText(box, Qt::AlignLeft | Qt::AlignVCenter, text);
    painter.restore();
}

enum class LineStyle { Solid, Dotted };

// The line under a blank: on the row just below everything the label may cover, so that the
// label never hides it.
void paint_blank_line(QPainter& painter, const Blank& blank, LineStyle style)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    QPen pen(kBlankLine, 1);
    if (style == LineStyle::Dotted) {
        pen.setColor(QColor(0x80, 0x80, 0x80));
        pen.setStyle(Qt::DotLine);
    }
    painter.setPen(pen);
    const int y = blank.covered.bottom() + 1;
    painter.drawLine(blank.covered.left(), y, blank.covered.right(), y);
    painter.restore();
}

void paint_fields(QPainter& painter, const KindDesign& design)
{
    const QFont font = make_font(kSerifFamily, 12, QFont::DemiBold);
    const int captions_end = kLeftmostFieldLeftInWindow - kTemplateOriginInWindow.x();
    const Blank name = blank_of(design, &OverlayPlaces::name, kNameSize);
    const Blank sex = blank_of(design, &OverlayPlaces::sex, kSexSize);
    const Blank age = blank_of(design, &OverlayPlaces::age, kAgeSize);
    paint_caption_before(painter, QStringLiteral("姓名："), font, name, captions_end);
    paint_caption_before(painter, QStringLiteral("性别："), font, sex, captions_end);
    paint_caption_before(painter, QStringLiteral("年龄："), font, age, captions_end);
    for (const Blank& blank : {name, sex, age})
        paint_blank_line(painter, blank, LineStyle::Solid);
}

void paint_portrait_frame(QPainter& painter)
{
    const QRect photo = template_rect(kPhotoBoxInWindow.topLeft(), kPhotoBoxInWindow.size());
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    const QRect outer = photo.adjusted(-3, -3, 3, 3);
    painter.setPen(QPen(QColor(0x8c, 0x8c, 0x8c), 1));
    painter.setBrush(QColor(0xe6, 0xe6, 0xe6));
    painter.drawRect(outer);
    painter.setPen(QPen(QColor(0xb4, 0xb4, 0xb4), 1));
    painter.setBrush(QColor(0xf0, 0xf0, 0xf0));
    painter.drawRect(photo.adjusted(-1, -1, 0, 0));
    painter.setPen(QColor(0xa0, 0xa0, 0xa0));
    painter.setFont(make_font(kSansFamily, 12));
    painter.drawText(photo, Qt::AlignCenter, QStringLiteral("照片"));
    painter.restore();
}

bool is_closing_punctuation(QChar c)
{
    return QStringLiteral("，。、；：！？）》”").contains(c);
}

// Breaks text into lines of the given widths (the first line may differ). A line never starts
// with closing punctuation: the character before it moves down with it.
std::vector<QString> wrap_text(const QString& text, const QFontMetricsF& metrics, double first_width,
                               double other_width)
{
    std::vector<QString> lines;
    QString line;
    double used = 0;
    for (QChar c : text) {
        const double advance = metrics.horizontalAdvance(c);
        const double limit = lines.empty() ? first_width : other_width;
        if (used + advance > limit && !line.isEmpty()) {
            QString carried;
            if (is_closing_punctuation(c) && line.size() > 1) {
                carried = line.right(1);
                line.chop(1);
            }
            lines.push_back(line);
            line = carried;
            used = carried.isEmpty() ? 0 : metrics.horizontalAdvance(carried);
        }
        line += c;
        used += advance;
    }
    if (!line.isEmpty())
        lines.push_back(line);
    return lines;
}

// The certificate sentence: the certifying formula, the name blank, then the kind's text.
// Returns the vertical centre of its last line.
double paint_sentence(QPainter& painter, const KindDesign& design)
{
    const Blank blank = blank_of(design, &OverlayPlaces::second_name, kSecondNameSize);
    const QFont formula_font = make_font(kSerifFamily, 14, QFont::Bold);
    const QFont body_font = make_font(kSerifFamily, 13);
    paint_caption_before(painter, QStringLiteral("兹证明"), formula_font, blank);
    paint_blank_line(painter, blank, LineStyle::Solid);

    const QFontMetricsF metrics(body_font);
    const double first_left = blank.covered.right() + 1 + 4;
    const auto lines =
        wrap_text(QString::fromUtf8(design.statement), metrics, kTextRight - first_left, kTextRight - kTextLeft);
    painter.save();
    painter.setFont(body_font);
    painter.setPen(kInk);
    double centre = blank.own.top() + blank.own.height() / 2.0;
    for (std::size_t index = 0; index < lines.size(); ++index) {
        if (index > 0)
            centre += kSentenceLineStep;
        const double left = index == 0 ? first_left : kTextLeft;
        painter.drawText(QRectF(left, centre - 10, kTextRight + 20 - left, 20), Qt::AlignLeft | Qt::AlignVCenter,
                         lines[index]);
    }
    painter.restore();
    return centre;
}

void paint_issue_lines(QPainter& painter, const KindDesign& design)
{
    const QFont font = make_font(kSerifFamily, 11, QFont::DemiBold);
    const Blank date = blank_of(design, &OverlayPlaces::issue_date, kIssueDateSize);
    const Blank number = blank_of(design, &OverlayPlaces::number, kNumberSize);
    paint_caption_before(painter, QStringLiteral("颁发日期："), font, date);
    paint_caption_before(painter, QStringLiteral("证件编号：第"), font, number);
    paint_caption_after(painter, QStringLiteral("号"), font, number);
    paint_blank_line(painter, date, LineStyle::Dotted);
    paint_blank_line(painter, number, LineStyle::Dotted);
}

// A round red seal pressed over the lower right of the page: a double ring, the issuing body's
// name around the top, a star in the middle and a line below it. Drawn on a layer of its own that
// is worn by a fixed-seed speckle and multiplied onto the page, so print under it stays legible.
void paint_seal(QPainter& page_painter, const KindDesign& design, double lowest_text_above)
{
    constexpr double radius = kSealRadius;
    constexpr int size = 80;
    QImage layer(size, size, QImage::Format_ARGB32_Premultiplied);
    layer.fill(Qt::transparent);
    const QPointF centre(size / 2.0, size / 2.0);
    {
        QPainter painter(&layer);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(QPen(kSealRed, 2.6));
        painter.setBrush(Qt::NoBrush);
        painter.drawEllipse(centre, radius - 1.5, radius - 1.5);
        painter.setPen(QPen(kSealRed, 0.7));
        painter.drawEllipse(centre, radius - 4.5, radius - 4.5);
        painter.setPen(Qt::NoPen);
        painter.setBrush(kSealRed);
        painter.drawPath(star_path(centre, 11, 4.4));

        const QString issuer = QString::fromUtf8(design.issuer);
        const QFont font = make_font(kSerifFamily, issuer.size() > 8 ? 9 : 10, QFont::Bold);
        const QFontMetricsF metrics(font);
        const double span = std::min(250.0, 28.0 * (issuer.size() - 1));
        for (int index = 0; index < issuer.size(); ++index) {
            const double degrees = issuer.size() == 1 ? -90 : -90 - span / 2 + span * index / (issuer.size() - 1);
            painter.save();
            painter.translate(centre);
            painter.rotate(degrees + 90);
            QPainterPath glyph;
            const QString c(issuer[index]);
            glyph.addText(QPointF(-metrics.horizontalAdvance(c) / 2, -(radius - 7) + metrics.ascent() - 1), font, c);
            painter.drawPath(glyph);
            painter.restore();
        }
        const QFont line_font = make_font(kSerifFamily, 7, QFont::Bold);
        painter.setFont(line_font);
        painter.setPen(kSealRed);
        painter.drawText(QRectF(centre.x() - 30, centre.y() + 12, 60, 12), Qt::AlignCenter,
                         QStringLiteral("证件专用章"));
    }
    // Wear: knock out small specks of ink.
    Grain grain(0xa11ce000u + static_cast<std::uint32_t>(design.number));
    for (int speck = 0; speck < 150; ++speck) {
        const int x = static_cast<int>(grain.next() % size);
        const int y = static_cast<int>(grain.next() % size);
        const int keep = 60 + static_cast<int>(grain.next() % 120);
        QRgb pixel = layer.pixel(x, y);
        if (qAlpha(pixel) == 0)
            continue;
        layer.setPixel(x, y,
                       qRgba(qRed(pixel) * keep / 255, qGreen(pixel) * keep / 255, qBlue(pixel) * keep / 255,
                             qAlpha(pixel) * keep / 255));
    }
    page_painter.save();
    page_painter.setCompositionMode(QPainter::CompositionMode_Multiply);
    page_painter.setOpacity(0.85);
    // Pressed over the end of the issue date, as a clerk would, but clear of the validity line.
    const QRect date = template_rect(design.places.issue_date, kIssueDateSize);
    const double centre_y = std::max(date.top() - 7.0, lowest_text_above + 8 + radius);
    page_painter.drawImage(QPointF(kSealCentreX - size / 2.0, centre_y - size / 2.0), layer);
    page_painter.restore();
}

void paint_right_page(QPainter& painter, const KindDesign& design)
{
    paint_page_sheet(painter, design);
    paint_fields(painter, design);
    paint_portrait_frame(painter);
    const double validity_centre = paint_sentence(painter, design) + 22;
    const QFont validity_font = make_font(kSerifFamily, 12);
    const QString validity = QString::fromUtf8(design.validity);
    const double validity_left = kTextLeft + 26;
    painter.save();
    painter.setFont(validity_font);
    painter.setPen(kInk);
    painter.drawText(QRectF(validity_left, validity_centre - 10, 200, 20), Qt::AlignLeft | Qt::AlignVCenter, validity);
    painter.restore();
    paint_issue_lines(painter, design);
    // A long validity line reaches under the seal; the seal then sits lower.
    const double validity_right = validity_left + QFontMetricsF(validity_font).horizontalAdvance(validity);
    paint_seal(painter, design, validity_right > kSealCentreX - kSealRadius ? validity_centre + 6 : 0);
}

}  // namespace

QImage paint_template(const KindDesign& design)
{
    QImage image(kTemplateWidth, kTemplateHeight, QImage::Format_RGB32);
    image.fill(Qt::white);
    const QImage cover = paint_cover(design);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    {
        QPainterPath card;
        card.addRoundedRect(kCard, 12, 12);
        painter.save();
        painter.setClipPath(card);
        painter.drawImage(0, 0, cover);
        paint_spine(painter);
        painter.restore();
        painter.setPen(QPen(shade_for(design), 1));
        painter.setBrush(Qt::NoBrush);
        painter.drawPath(card);
        // Stitching round the cover's edge.
        QColor thread = accent_for(design);
        thread.setAlpha(110);
        QPen stitch(thread, 0.9);
        stitch.setDashPattern({3.5, 2.5});
        painter.setPen(stitch);
        painter.drawRoundedRect(kCard.adjusted(3.5, 3.5, -3.5, -3.5), 9, 9);
    }
    paint_left_page(painter, design);
    paint_right_page(painter, design);
    return image;
}

}  // namespace template_maker
