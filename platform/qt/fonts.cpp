#include "platform/qt/fonts_qt.h"

#include "platform/qt/device_context_qt.h"
#include "platform/text_encoding.h"

#include <QString>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace platform {
namespace {

QString face_from_gbk(const char* face, std::size_t capacity)
{
    std::size_t length = strnlen(face, capacity);
    std::u16string text = utf16_from_gbk(std::string_view(face, length));
    return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

QString installed_family(const QString& face)
{
    if (face == QStringLiteral(u"宋体") || face == QStringLiteral(u"新宋体") || face.isEmpty())
        return QStringLiteral("Noto Serif CJK SC");
    if (face == QStringLiteral(u"黑体") || face == QStringLiteral(u"微软雅黑"))
        return QStringLiteral("Noto Sans CJK SC");
    return face;
}

QString stored_face(const QString& family)
{
    if (family == QStringLiteral("Noto Serif CJK SC"))
        return QStringLiteral(u"宋体");
    if (family == QStringLiteral("Noto Sans CJK SC"))
        return QStringLiteral(u"黑体");
    return family;
}

QFont converted_font(const LogFont& font)
{
    count_font_conversion();
    QFont result(installed_family(face_from_gbk(font.face_name, sizeof font.face_name)));
    // A negative height is the character height; a positive one the cell height, of which the
    // character takes about seven eighths in the CJK fonts we map to.
    int height = font.height;
    if (height < 0)
        result.setPixelSize(-height);
    else if (height > 0)
        result.setPixelSize(std::max(1, height * 7 / 8));
    else
        result.setPixelSize(12);
    result.setWeight(font.weight == 0 ? QFont::Normal
                                      : static_cast<QFont::Weight>(std::clamp(font.weight / 10 * 10, 100, 900)));
    result.setItalic(font.italic != 0);
    result.setUnderline(font.underline != 0);
    result.setStrikeOut(font.strike_out != 0);
    result.setStyleStrategy(QFont::PreferAntialias);
    return result;
}

// Fonts are kept only within one run of the application object: Qt's font caches go with it.
std::atomic<int> g_font_generation{0};

}  // namespace

// Every drawing surface starts from the default font and every paint selects one of the few fonts
// the windows use; the face name goes through the text converter and a family lookup, which is what
// a paint would mostly pay for. So the last few descriptions seen are kept with their fonts, per
// thread (the GIF animator composes on a thread of its own).
QFont qt_font_from_log_font(const LogFont& font)
{
    constexpr std::size_t kKeptFonts = 16;
    struct Kept {
        LogFont description;
        QFont font;
    };
    thread_local std::vector<Kept> kept;
    thread_local int kept_generation = 0;
    int generation = g_font_generation.load(std::memory_order_relaxed);
    if (kept_generation != generation) {
        kept.clear();
        kept_generation = generation;
    }
    for (std::size_t i = 0; i < kept.size(); ++i) {
        if (std::memcmp(&kept[i].description, &font, sizeof font) == 0) {
            // The one found moves to the front, so that the fonts in use stay while others go.
            std::rotate(kept.begin(), kept.begin() + static_cast<std::ptrdiff_t>(i),
                        kept.begin() + static_cast<std::ptrdiff_t>(i) + 1);
            return kept.front().font;
        }
    }
    QFont result = converted_font(font);
    if (kept.size() == kKeptFonts)
        kept.pop_back();
    kept.insert(kept.begin(), Kept{font, result});
    return result;
}

void forget_converted_fonts()
{
    g_font_generation.fetch_add(1, std::memory_order_relaxed);
}

LogFont log_font_from_qt_font(const QFont& font)
{
    LogFont result;
    if (font.pixelSize() > 0)
        result.height = -font.pixelSize();
    else
        result.height = -static_cast<std::int32_t>(std::lround(font.pointSizeF() * kLogicalPixelsPerInch / 72.0));
    result.weight = font.weight() >= QFont::Bold ? 700 : 400;
    result.italic = font.italic() ? 1 : 0;
    result.underline = font.underline() ? 1 : 0;
    result.strike_out = font.strikeOut() ? 1 : 0;
    result.char_set = 134;
    std::string face =
        gbk_from_utf16(std::u16string_view(reinterpret_cast<const char16_t*>(stored_face(font.family()).utf16()),
                                           static_cast<std::size_t>(stored_face(font.family()).size())));
    std::string_view kept = cut_at_character(face, sizeof result.face_name - 1);
    std::memcpy(result.face_name, kept.data(), kept.size());
    return result;
}

QFont default_gui_font()
{
    return qt_font_from_log_font(default_gui_log_font());
}

}  // namespace platform
