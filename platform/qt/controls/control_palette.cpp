#include "platform/qt/controls/control_palette_qt.h"

#include "platform/native_window.h"
#include "platform/qt/controls/control_text_qt.h"

#include <QApplication>
#include <QPalette>

namespace platform {

void apply_control_colours(QWidget* widget, WindowHandle control, std::uint32_t message_id, SelectionPainting selection)
{
    if (!widget)
        return;
    ControlColours colours = query_control_colours(control, message_id);
    QPalette palette = widget->palette();
    QColor text = control_qcolor(colours.text);
    QColor brush = control_qcolor(colours.brush);
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
        palette.setColor(group, QPalette::Text, text);
        palette.setColor(group, QPalette::WindowText, text);
        palette.setColor(group, QPalette::ButtonText, text);
    }
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        palette.setColor(group, QPalette::Base, brush);
        palette.setColor(group, QPalette::Window, brush);
    }
    if (selection == SelectionPainting::Hidden) {
        for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
            palette.setColor(group, QPalette::Highlight, brush);
            palette.setColor(group, QPalette::HighlightedText, text);
        }
    } else {
        const QPalette& standard = QApplication::palette();
        palette.setColor(QPalette::Active, QPalette::Highlight, standard.color(QPalette::Active, QPalette::Highlight));
        palette.setColor(QPalette::Active, QPalette::HighlightedText,
                         standard.color(QPalette::Active, QPalette::HighlightedText));
        palette.setColor(QPalette::Inactive, QPalette::Highlight, palette.color(QPalette::Active, QPalette::Highlight));
        palette.setColor(QPalette::Inactive, QPalette::HighlightedText,
                         palette.color(QPalette::Active, QPalette::HighlightedText));
    }
    if (palette != widget->palette())
        widget->setPalette(palette);
}

}  // namespace platform
