// The standard "BUTTON" class on Qt widgets.
//
//   Widgets ......... the push button (a QAbstractButton painted in the classic look) and the group box
//   Procedure ....... the class's window procedure: text, font, image, click
//   Registration .... the class and its client factory

#include "platform/controls/button_control.h"

#include "platform/graphics.h"
#include "platform/qt/device_context_qt.h"
#include "platform/qt/fonts_qt.h"
#include "platform/qt/native_window_qt.h"
#include "platform/system_colours.h"
#include "platform/text_encoding.h"

#include <QAbstractButton>
#include <QKeyEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionButton>
#include <QStyleOptionFocusRect>

namespace platform {
namespace {

// ==== Widgets ====================================================================================

QString qt_text(const std::string& gbk)
{
    std::u16string text = utf16_from_gbk(gbk);
    return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

std::uint32_t button_style(WindowHandle handle)
{
    std::shared_ptr<NativeWindow> window = find_window(handle);
    return window ? window->style : 0;
}

std::string button_text(WindowHandle handle)
{
    std::shared_ptr<NativeWindow> window = find_window(handle);
    return window ? window->text : std::string();
}

// The images both widgets were sent (their font is the widget's own).
struct ButtonLook {
    const Bitmap* bitmap = nullptr;
    const Icon* icon = nullptr;
};

int horizontal_alignment(std::uint32_t style, int when_unset)
{
    switch (style & BS_HORIZONTAL_MASK) {
    case BS_LEFT:
        return Qt::AlignLeft;
    case BS_RIGHT:
        return Qt::AlignRight;
    case BS_CENTER:
        return Qt::AlignHCenter;
    default:
        return when_unset;
    }
}

int vertical_alignment(std::uint32_t style)
{
    switch (style & BS_VERTICAL_MASK) {
    case BS_TOP:
        return Qt::AlignTop;
    case BS_BOTTOM:
        return Qt::AlignBottom;
    default:
        return Qt::AlignVCenter;
    }
}

class PushButtonWidget final : public QAbstractButton {
public:
    explicit PushButtonWidget(WindowHandle handle)
        : m_handle(handle)
    {
        setFocusPolicy(Qt::StrongFocus);
        setFont(default_gui_font());
        connect(this, &QAbstractButton::clicked, this, [handle] { notify_parent(handle, BN_CLICKED); });
    }

    ButtonLook look;

protected:
    void paintEvent(QPaintEvent*) override
    {
        std::uint32_t style_bits = button_style(m_handle);
        QPainter painter(this);
        QStyleOptionButton option;
        option.initFrom(this);
        option.state |= isDown() ? QStyle::State_Sunken : QStyle::State_Raised;
        if ((style_bits & BS_TYPEMASK) == BS_DEFPUSHBUTTON)
            option.features |= QStyleOptionButton::DefaultButton;
        style()->drawControl(QStyle::CE_PushButtonBevel, &option, &painter, this);

        QRect content = rect().adjusted(4, 4, -4, -4);
        if (isDown())
            content.translate(1, 1);
        int alignment = horizontal_alignment(style_bits, Qt::AlignHCenter) | vertical_alignment(style_bits);
        if (!paint_image(painter, style_bits, content, alignment))
            paint_caption(painter, style_bits, content, alignment);

        if (hasFocus()) {
            QStyleOptionFocusRect focus;
            focus.initFrom(this);
            focus.rect = rect().adjusted(3, 3, -3, -3);
            style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &painter, this);
        }
    }

    // Enter belongs to the window's keyboard handling (the default button), never to the button.
    void keyPressEvent(QKeyEvent* event) override
    {
        if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
            event->ignore();
            return;
        }
        QAbstractButton::keyPressEvent(event);
    }

private:
    bool paint_image(QPainter& painter, std::uint32_t style_bits, const QRect& content, int alignment)
    {
        bool icon = (style_bits & BS_ICON) && look.icon;
        bool bitmap = (style_bits & BS_BITMAP) && look.bitmap;
        if (!icon && !bitmap)
            return false;
        QSize size =
            icon ? QSize(look.icon->width(), look.icon->height()) : QSize(look.bitmap->width(), look.bitmap->height());
        QRect place = QStyle::alignedRect(Qt::LeftToRight, Qt::Alignment(alignment), size, content);
        std::unique_ptr<DeviceContext> context = device_context_for_painter(painter, width(), height());
        if (icon)
            draw_icon(*context, *look.icon, place.x(), place.y(), -1, -1);
        else
            draw_bitmap(*context, *look.bitmap, rect_from_qt(place));
        return true;
    }

    void paint_caption(QPainter& painter, std::uint32_t style_bits, const QRect& content, int alignment)
    {
        ControlColours colours = query_control_colours(m_handle, WM_CTLCOLORBTN);
        Colour text = isEnabled() ? colours.text : system_colour(SystemColour::GrayText);
        int flags = alignment | Qt::TextShowMnemonic;
        flags |= (style_bits & BS_MULTILINE) ? Qt::TextWordWrap : Qt::TextSingleLine;
        painter.setFont(font());
        painter.setPen(qt_colour(text));
        painter.drawText(content, flags, qt_text(button_text(m_handle)));
    }

    WindowHandle m_handle;
};

class GroupBoxWidget final : public QWidget {
public:
    explicit GroupBoxWidget(WindowHandle handle)
        : m_handle(handle)
    {
        setFont(default_gui_font());
    }

    ButtonLook look;

protected:
    void paintEvent(QPaintEvent* event) override
    {
        std::shared_ptr<NativeWindow> window = find_window(m_handle);
        if (!window || window->destroying)
            return;
        QPainter painter(this);
        painter.setClipRegion(event->region());
        std::unique_ptr<DeviceContext> context = device_context_for_painter(painter, width(), height());
        // Whoever handles the window's messages erases first (a group box kind fills its brush).
        Message erase{WM_ERASEBKGND, reinterpret_cast<std::uintptr_t>(context.get()), 0, 0};
        call_window_procedure(window, erase);

        ControlColours colours = query_control_colours(m_handle, WM_CTLCOLORSTATIC);
        QFontMetrics metrics(font());
        QString title = qt_text(window->text);
        int title_height = metrics.height();
        int frame_top = title_height / 2;
        Rect frame{0, frame_top, width() - 1, height() - 1};
        context->frame_rect(frame, system_colour(SystemColour::ButtonShadow));
        context->frame_rect(Rect{1, frame_top + 1, width(), height()}, system_colour(SystemColour::ButtonHighlight));
        if (title.isEmpty())
            return;

        int title_width = metrics.size(Qt::TextShowMnemonic, title).width();
        constexpr int kTitleIndent = 8;
        int x = kTitleIndent;
        switch (window->style & BS_HORIZONTAL_MASK) {
        case BS_CENTER:
            x = (width() - title_width) / 2;
            break;
        case BS_RIGHT:
            x = width() - kTitleIndent - title_width;
            break;
        default:
            break;
        }
        QRect cell(x - 2, 0, title_width + 4, title_height);
        painter.fillRect(cell, qt_colour(colours.text_background));
        Colour text = isEnabled() ? colours.text : system_colour(SystemColour::GrayText);
        painter.setFont(font());
        painter.setPen(qt_colour(text));
        painter.drawText(cell, Qt::AlignCenter | Qt::TextSingleLine | Qt::TextShowMnemonic, title);
    }

private:
    WindowHandle m_handle;
};

ButtonLook* look_of(QWidget* client)
{
    if (auto* button = dynamic_cast<PushButtonWidget*>(client))
        return &button->look;
    if (auto* group = dynamic_cast<GroupBoxWidget*>(client))
        return &group->look;
    return nullptr;
}

// ==== Procedure ==================================================================================

std::intptr_t button_procedure(WindowHandle handle, Message& message)
{
    std::shared_ptr<NativeWindow> window = find_window(handle);
    QWidget* client = window ? window->client.data() : nullptr;
    ButtonLook* look = look_of(client);
    switch (message.id) {
    case WM_SETTEXT: {
        std::intptr_t result = default_window_procedure(handle, message);
        if (client)
            client->update();
        return result;
    }
    case WM_SETFONT:
        if (client) {
            const auto* font = reinterpret_cast<const LogFont*>(message.wparam);
            client->setFont(font ? qt_font_from_log_font(*font) : default_gui_font());
            if (message.lparam)
                client->update();
        }
        return 0;
    case BM_SETIMAGE: {
        if (!look)
            return 0;
        std::intptr_t previous = 0;
        if (message.wparam == ButtonImage::Icon) {
            previous = reinterpret_cast<std::intptr_t>(look->icon);
            look->icon = reinterpret_cast<const Icon*>(message.lparam);
        } else {
            previous = reinterpret_cast<std::intptr_t>(look->bitmap);
            look->bitmap = reinterpret_cast<const Bitmap*>(message.lparam);
        }
        client->update();
        return previous;
    }
    case BM_CLICK:
        if (auto* button = dynamic_cast<PushButtonWidget*>(client))
            button->click();
        return 0;
    default:
        return default_window_procedure(handle, message);
    }
}

}  // namespace

// ==== Registration ===============================================================================

bool register_button_class()
{
    if (is_window_class_registered(kButtonClassName))
        return true;
    ClassInfo info;
    info.style = CS_DBLCLKS;
    info.background = Brush::null_brush();
    info.procedure = button_procedure;
    return register_builtin_window_class(kButtonClassName, std::move(info),
                                         [](NativeWindow& window, const CreateParams& params) -> QWidget* {
                                             if ((params.style & BS_TYPEMASK) == BS_GROUPBOX)
                                                 return new GroupBoxWidget(window.handle);
                                             return new PushButtonWidget(window.handle);
                                         });
}

}  // namespace platform
