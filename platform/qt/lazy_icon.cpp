#include "platform/qt/lazy_icon_qt.h"

#include <QByteArray>
#include <QIconEngine>
#include <QList>
#include <QPainter>
#include <QPixmap>

#include <cstring>
#include <limits>
#include <optional>
#include <utility>
#include <vector>

namespace platform {
namespace {

std::uint32_t big_endian_u32(const std::uint8_t* bytes)
{
    return (std::uint32_t{bytes[0]} << 24) | (std::uint32_t{bytes[1]} << 16) | (std::uint32_t{bytes[2]} << 8) |
           std::uint32_t{bytes[3]};
}

// The size a PNG file declares, when the file is whole: the signature, the header chunk first, and
// chunks that follow one another up to the end chunk. Nothing is inflated or checked further.
std::optional<QSize> complete_png_size(std::span<const std::uint8_t> file)
{
    static constexpr std::uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    constexpr std::size_t kChunkFrame = 12;  // length, type, CRC
    if (file.size() < sizeof kSignature + kChunkFrame + 13 ||
        std::memcmp(file.data(), kSignature, sizeof kSignature) != 0)
        return std::nullopt;
    const std::uint8_t* header = file.data() + sizeof kSignature;
    if (big_endian_u32(header) != 13 || std::memcmp(header + 4, "IHDR", 4) != 0)
        return std::nullopt;
    std::uint32_t width = big_endian_u32(header + 8);
    std::uint32_t height = big_endian_u32(header + 12);
    if (width == 0 || height == 0 || width > std::numeric_limits<int>::max() ||
        height > std::numeric_limits<int>::max())
        return std::nullopt;
    std::size_t at = sizeof kSignature;
    while (file.size() - at >= kChunkFrame) {
        std::uint32_t length = big_endian_u32(file.data() + at);
        bool last = std::memcmp(file.data() + at + 4, "IEND", 4) == 0;
        if (length > file.size() - at - kChunkFrame)
            return std::nullopt;
        at += kChunkFrame + length;
        if (last)
            return QSize(static_cast<int>(width), static_cast<int>(height));
    }
    return std::nullopt;
}

class LazyPngIconEngine : public QIconEngine {
public:
    explicit LazyPngIconEngine(std::vector<std::pair<QByteArray, QSize>> files)
        : m_files(std::move(files))
    {
    }

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override
    {
        decoded().paint(painter, rect, Qt::AlignCenter, mode, state);
    }
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override
    {
        return decoded().pixmap(size, mode, state);
    }
    QSize actualSize(const QSize& size, QIcon::Mode mode, QIcon::State state) override
    {
        return decoded().actualSize(size, mode, state);
    }
    QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override
    {
        if (m_decoded)
            return m_decoded->availableSizes(mode, state);
        if (mode != QIcon::Normal || state != QIcon::Off)
            return {};
        QList<QSize> sizes;
        for (const auto& file : m_files)
            sizes.append(file.second);
        return sizes;
    }
    QIconEngine* clone() const override { return new LazyPngIconEngine(*this); }
    QString key() const override { return QStringLiteral("LazyPngIconEngine"); }

private:
    LazyPngIconEngine(const LazyPngIconEngine&) = default;

    const QIcon& decoded()
    {
        if (!m_decoded) {
            QIcon icon;
            for (const auto& file : m_files) {
                QPixmap pixmap;
                if (pixmap.loadFromData(file.first, "PNG"))
                    icon.addPixmap(pixmap);
            }
            m_decoded = std::move(icon);
        }
        return *m_decoded;
    }

    std::vector<std::pair<QByteArray, QSize>> m_files;
    std::optional<QIcon> m_decoded;
};

}  // namespace

QIcon icon_from_png_files(std::span<const std::span<const std::uint8_t>> png_files, int* sizes)
{
    std::vector<std::pair<QByteArray, QSize>> files;
    for (std::span<const std::uint8_t> file : png_files) {
        std::optional<QSize> size = complete_png_size(file);
        if (!size)
            continue;
        files.emplace_back(QByteArray(reinterpret_cast<const char*>(file.data()), static_cast<qsizetype>(file.size())),
                           *size);
    }
    *sizes = static_cast<int>(files.size());
    if (files.empty())
        return {};
    return QIcon(new LazyPngIconEngine(std::move(files)));
}

}  // namespace platform
