// The standard "BUTTON" class on Qt widgets.
//
//   Widgets ......... the push button (a QAbstractButton painted in the classic look, each look's
//                     face kept and copied) and the group box
//   Procedure ....... the class's window procedure: text, font, image, click
//   Registration .... the class and its client factory

#include "platform/controls/button_control.h"

#include "platform/graphics.h"
#include "platform/qt/device_context_qt.h"
#include "platform/qt/fonts_qt.h"
#include "platform/qt/native_window_qt.h"
#include "platform/qt/vector_state_qt.h"
#include "platform/system_colours.h"
#include "platform/text_encoding.h"

#include <QAbstractButton>
#include <QImage>
#include <QKeyEvent>
#include <QPaintEngine>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionButton>
#include <QStyleOptionFocusRect>

#include <cmath>
#include <vector>

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

ButtonFaces g_button_faces = ButtonFaces::Kept;

// The image a painter draws on, when copying a kept drawing through it gives what drawing afresh
// would: a plain image at pixel ratio 1, moved by whole pixels, nothing blended in. None otherwise.
const QImage* plain_target(const QPainter& painter)
{
    // A widget's painter draws into its window's backing store: that image is the device.
    QPaintDevice* device = painter.paintEngine() ? painter.paintEngine()->paintDevice() : nullptr;
    const QTransform& placed = painter.deviceTransform();
    if (g_button_faces != ButtonFaces::Kept || !device || device->devType() != QInternal::Image ||
        placed.type() > QTransform::TxTranslate || placed.dx() != std::floor(placed.dx()) ||
        placed.dy() != std::floor(placed.dy()) || painter.opacity() != 1.0 ||
        painter.compositionMode() != QPainter::CompositionMode_SourceOver)
        return nullptr;
    const auto* target = static_cast<const QImage*>(device);
    if (target->devicePixelRatio() != 1.0 || target->depth() < 16)
        return nullptr;
    return target;
}

// An image to keep a drawing in, at the resolution of `widget` (fonts given in points take their
// size from it); none when an image cannot have that resolution.
QImage image_at_resolution_of(const QWidget& widget, QSize size, QImage::Format format)
{
    QImage image(size, format);
    if (image.isNull())
        return image;
    constexpr double kInchesPerMetre = 1 / 0.0254;
    image.setDotsPerMeterX(qRound(widget.logicalDpiX() * kInchesPerMetre));
    image.setDotsPerMeterY(qRound(widget.logicalDpiY() * kInchesPerMetre));
    if (image.logicalDpiX() != widget.logicalDpiX() || image.logicalDpiY() != widget.logicalDpiY())
        return QImage();
    return image;
}

// What a push button shows inside its bevel when it shows no picture.
struct Caption {
    QString text;
    Colour colour = 0;
    int flags = 0;  // alignment, mnemonic, wrapping
    bool operator==(const Caption&) const = default;
};

// Everything a push button's face depends on besides the widget's code: two paints with the same
// look give the same pixels.
struct FaceLook {
    QSize size;
    QStyle::State state;
    QStyleOptionButton::ButtonFeatures features;
    Qt::LayoutDirection direction = Qt::LeftToRight;
    Caption caption;
    QFont font;
    QPalette palette;
    const QStyle* style = nullptr;
    QImage::Format format = QImage::Format_Invalid;
    QPainter::RenderHints hints;
    int dpi_x = 0;
    int dpi_y = 0;
    bool operator==(const FaceLook&) const = default;
};

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
    // Every press and release repaints the button, and laying out its caption and drawing its bevel
    // is what that costs. A face without a picture depends only on its look (FaceLook), so the
    // drawing of each look is kept and copied. What could come out differently when copied (a
    // painter that is not a plain one on an image at pixel ratio 1, a face that leaves pixels of
    // what lies beneath showing) is drawn as always.
    void paintEvent(QPaintEvent*) override
    {
        std::uint32_t style_bits = button_style(m_handle);
        QPainter painter(this);
        QStyleOptionButton option;
        option.initFrom(this);
        option.state |= isDown() ? QStyle::State_Sunken : QStyle::State_Raised;
        if ((style_bits & BS_TYPEMASK) == BS_DEFPUSHBUTTON)
            option.features |= QStyleOptionButton::DefaultButton;
        if (shows_image(style_bits)) {
            paint_face(painter, option, style_bits, nullptr);
            count_button_drawn();
            return;
        }
        Caption caption = caption_of(style_bits, option.state);
        if (const QImage* kept = kept_face(painter, option, caption)) {
            painter.drawImage(QPoint(0, 0), *kept);
            return;
        }
        paint_face(painter, option, style_bits, &caption);
        count_button_drawn();
    }

    // A style object that replaces a deleted one may be made at the same address.
    void changeEvent(QEvent* event) override
    {
        if (event->type() == QEvent::StyleChange)
            m_kept_faces.clear();
        QAbstractButton::changeEvent(event);
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
    struct KeptFace {
        FaceLook look;
        QImage image;  // null: this look is drawn as always
    };
    // Bounds what one button keeps: a few states of a few captions, and no more than a few
    // megabytes however large the button is.
    static constexpr std::size_t kMaximumKeptFaces = 16;
    static constexpr qsizetype kMaximumKeptBytes = qsizetype{4} * 1024 * 1024;

    bool shows_image(std::uint32_t style_bits) const
    {
        return ((style_bits & BS_ICON) && look.icon) || ((style_bits & BS_BITMAP) && look.bitmap);
    }

    Caption caption_of(std::uint32_t style_bits, QStyle::State state) const
    {
        ControlColours colours = query_control_colours(m_handle, WM_CTLCOLORBTN);
        Caption caption;
        caption.text = qt_text(button_text(m_handle));
        caption.colour = (state & QStyle::State_Enabled) ? colours.text : system_colour(SystemColour::GrayText);
        caption.flags =
            horizontal_alignment(style_bits, Qt::AlignHCenter) | vertical_alignment(style_bits) | Qt::TextShowMnemonic;
        caption.flags |= (style_bits & BS_MULTILINE) ? Qt::TextWordWrap : Qt::TextSingleLine;
        return caption;
    }

    // The bevel, the picture or the caption, and the focus frame; `caption` is null for a picture.
    void paint_face(QPainter& painter, const QStyleOptionButton& option, std::uint32_t style_bits,
                    const Caption* caption) const
    {
        style()->drawControl(QStyle::CE_PushButtonBevel, &option, &painter, this);
        clear_wide_vector_state();  // the bevel is filled

        QRect content = option.rect.adjusted(4, 4, -4, -4);
        if (option.state & QStyle::State_Sunken)
            content.translate(1, 1);
        if (caption) {
            painter.setFont(font());
            painter.setPen(qt_colour(caption->colour));
            painter.drawText(content, caption->flags, caption->text);
        } else {
            paint_image(painter, style_bits, content);
        }

        if (option.state & QStyle::State_HasFocus) {
            QStyleOptionFocusRect focus;
            focus.initFrom(this);
            focus.rect = option.rect.adjusted(3, 3, -3, -3);
            style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &painter, this);
        }
    }

    void paint_image(QPainter& painter, std::uint32_t style_bits, const QRect& content) const
    {
        bool icon = (style_bits & BS_ICON) && look.icon;
        QSize size =
            icon ? QSize(look.icon->width(), look.icon->height()) : QSize(look.bitmap->width(), look.bitmap->height());
        int alignment = horizontal_alignment(style_bits, Qt::AlignHCenter) | vertical_alignment(style_bits);
        QRect place = QStyle::alignedRect(Qt::LeftToRight, Qt::Alignment(alignment), size, content);
        std::unique_ptr<DeviceContext> context = device_context_for_painter(painter, width(), height());
        if (icon)
            draw_icon(*context, *look.icon, place.x(), place.y(), -1, -1);
        else
            draw_bitmap(*context, *look.bitmap, rect_from_qt(place));
    }

    const QImage* kept_face(QPainter& painter, const QStyleOptionButton& option, const Caption& caption)
    {
        const QImage* target = plain_target(painter);
        if (!target || option.rect.isEmpty())
            return nullptr;
        FaceLook face{.size = option.rect.size(),
                      .state = option.state,
                      .features = option.features,
                      .direction = option.direction,
                      .caption = caption,
                      .font = font(),
                      .palette = option.palette,
                      .style = style(),
                      .format = target->format(),
                      .hints = painter.renderHints(),
                      .dpi_x = logicalDpiX(),
                      .dpi_y = logicalDpiY()};
        for (const KeptFace& kept : m_kept_faces) {
            if (kept.look == face)
                return kept.image.isNull() ? nullptr : &kept.image;
        }
        qsizetype face_bytes = qsizetype(face.size.width()) * face.size.height() * (target->depth() / 8);
        if (face_bytes > kMaximumKeptBytes)
            return nullptr;
        QImage image = drawn_face(face, option, caption, Qt::black);
        // Drawn over black and over white, a face that covers every pixel comes out the same; one
        // that does not would lose what lies beneath it when copied, so it is drawn as always.
        if (!image.isNull() && image != drawn_face(face, option, caption, Qt::white))
            image = QImage();
        qsizetype kept_bytes = image.sizeInBytes();
        for (const KeptFace& kept : m_kept_faces)
            kept_bytes += kept.image.sizeInBytes();
        if (m_kept_faces.size() >= kMaximumKeptFaces || kept_bytes > kMaximumKeptBytes)
            m_kept_faces.clear();
        m_kept_faces.push_back(KeptFace{std::move(face), std::move(image)});
        if (m_kept_faces.back().image.isNull())
            return nullptr;
        count_button_drawn();
        return &m_kept_faces.back().image;
    }

    QImage drawn_face(const FaceLook& face, const QStyleOptionButton& option, const Caption& caption,
                      Qt::GlobalColor beneath) const
    {
        QImage image = image_at_resolution_of(*this, face.size, face.format);
        if (image.isNull())
            return image;
        image.fill(beneath);
        QPainter painter(&image);
        // As a painter on the widget starts.
        painter.setRenderHints(face.hints);
        painter.setPen(palette().color(foregroundRole()));
        painter.setBackground(palette().brush(backgroundRole()));
        painter.setFont(font());
        painter.setLayoutDirection(layoutDirection());
        paint_face(painter, option, 0, &caption);
        return image;
    }

    WindowHandle m_handle;
    std::vector<KeptFace> m_kept_faces;
};

// Everything a group box's title depends on: two titles with the same look give the same pixels.
struct TitleLook {
    QString text;
    QFont font;
    Colour colour = 0;
    Colour background = 0;
    QImage::Format format = QImage::Format_Invalid;
    QPainter::RenderHints hints;
    Qt::BGMode background_mode = Qt::TransparentMode;
    QBrush background_brush;
    Qt::LayoutDirection direction = Qt::LeftToRight;
    int dpi_x = 0;
    int dpi_y = 0;
    bool operator==(const TitleLook&) const = default;
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
    // A group box is painted again whenever something over it is (a push button pressed inside
    // it), and measuring and laying out its title is most of what that costs. The title is its
    // text in a cell of its own, so the width and drawing of each look are kept and copied, as a
    // push button's face is; a title whose glyphs reach out of its cell is drawn as always.
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

        TitleLook look{.text = title,
                       .font = font(),
                       .colour = isEnabled() ? colours.text : system_colour(SystemColour::GrayText),
                       .background = colours.text_background,
                       .format = QImage::Format_Invalid,
                       .hints = painter.renderHints(),
                       .background_mode = painter.backgroundMode(),
                       .background_brush = painter.background(),
                       .direction = painter.layoutDirection(),
                       .dpi_x = logicalDpiX(),
                       .dpi_y = logicalDpiY()};
        const KeptTitle* kept = nullptr;
        if (const QImage* target = plain_target(painter)) {
            look.format = target->format();
            kept = kept_title(look, metrics);
        }
        int title_width = kept ? kept->width : metrics.size(Qt::TextShowMnemonic, title).width();
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
        if (kept && !kept->image.isNull()) {
            painter.drawImage(cell.topLeft(), kept->image);
            return;
        }
        paint_title(painter, cell, look);
        count_button_drawn();
    }

private:
    struct KeptTitle {
        TitleLook look;
        int width = 0;
        QImage image;  // null: this look is drawn as always
    };
    static constexpr std::size_t kMaximumKeptTitles = 8;

    static constexpr int kTitleFlags = Qt::AlignCenter | Qt::TextSingleLine | Qt::TextShowMnemonic;

    void paint_title(QPainter& painter, const QRect& cell, const TitleLook& look) const
    {
        painter.fillRect(cell, qt_colour(look.background));
        clear_wide_vector_state();
        painter.setFont(font());
        painter.setPen(qt_colour(look.colour));
        painter.drawText(cell, kTitleFlags, look.text);
    }

    const KeptTitle* kept_title(const TitleLook& look, const QFontMetrics& metrics)
    {
        for (const KeptTitle& kept : m_kept_titles) {
            if (kept.look == look)
                return &kept;
        }
        if (m_kept_titles.size() >= kMaximumKeptTitles)
            m_kept_titles.clear();
        int width = metrics.size(Qt::TextShowMnemonic, look.text).width();
        QSize cell(width + 4, metrics.height());
        // The title is drawn with a margin around its cell, over black and over white: glyphs
        // that reach into the margin would be cut off when the cell is copied.
        int margin = cell.height();
        QRect placed(QPoint(margin, margin), cell);
        QImage over_black = drawn_title(look, placed, Qt::black);
        QImage over_white = drawn_title(look, placed, Qt::white);
        QImage image;
        if (!over_black.isNull() && !over_white.isNull() && margin_untouched(over_black, placed, Qt::black) &&
            margin_untouched(over_white, placed, Qt::white))
            image = over_black.copy(placed);
        m_kept_titles.push_back(KeptTitle{look, width, std::move(image)});
        if (!m_kept_titles.back().image.isNull())
            count_button_drawn();
        return &m_kept_titles.back();
    }

    QImage drawn_title(const TitleLook& look, const QRect& cell, Qt::GlobalColor beneath) const
    {
        QImage image = image_at_resolution_of(
            *this, cell.size().grownBy(QMargins(cell.left(), cell.top(), cell.left(), cell.top())), look.format);
        if (image.isNull())
            return image;
        image.fill(beneath);
        QPainter painter(&image);
        painter.setRenderHints(look.hints);
        painter.setBackgroundMode(look.background_mode);
        painter.setBackground(look.background_brush);
        painter.setLayoutDirection(look.direction);
        paint_title(painter, cell, look);
        return image;
    }

    static bool margin_untouched(QImage image, const QRect& cell, Qt::GlobalColor beneath)
    {
        {
            QPainter painter(&image);
            painter.fillRect(cell, beneath);
        }
        QImage plain(image.size(), image.format());
        plain.fill(beneath);
        return image == plain;
    }

    WindowHandle m_handle;
    std::vector<KeptTitle> m_kept_titles;
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

void set_button_faces(ButtonFaces faces)
{
    g_button_faces = faces;
}

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
