#include "platform/controls/control_fonts.h"

#include "platform/qt/controls/control_text_qt.h"
#include "platform/qt/fonts_qt.h"
#include "platform/qt/native_window_qt.h"

#include <QFontMetrics>

namespace platform {

void set_control_font(WindowHandle control, const std::optional<LogFont>& font)
{
    std::shared_ptr<NativeWindow> window = find_window(control);
    if (!window || !window->client)
        return;
    QFont qt_font = font ? qt_font_from_log_font(*font) : default_gui_font();
    // Children (the edit part and list of a combo box) follow the client.
    window->client->setFont(qt_font);
    window->client->update();
}

Size measure_text_in_font(const std::optional<LogFont>& font, std::string_view gbk)
{
    QFontMetrics metrics(font ? qt_font_from_log_font(*font) : default_gui_font());
    return Size{metrics.horizontalAdvance(control_qstring(gbk)), metrics.height()};
}

}  // namespace platform
