#pragma once
// Inside the platform only: GBK text to and from Qt strings, and the Qt pieces the standard controls
// of this folder share.

#include "platform/device_context.h"
#include "platform/text_encoding.h"

#include <QColor>
#include <QString>

#include <string>
#include <string_view>

namespace platform {

inline QString control_qstring(std::string_view gbk)
{
    std::u16string text = utf16_from_gbk(gbk);
    return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

inline std::string control_gbk(const QString& text)
{
    return gbk_from_utf16(
        std::u16string_view(reinterpret_cast<const char16_t*>(text.utf16()), static_cast<std::size_t>(text.size())));
}

inline QColor control_qcolor(Colour colour)
{
    return QColor(static_cast<int>(colour & 0xFF), static_cast<int>((colour >> 8) & 0xFF),
                  static_cast<int>((colour >> 16) & 0xFF));
}

}  // namespace platform
