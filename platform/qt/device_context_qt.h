#pragma once
// Inside the platform only: a device context is a QPainter on some paint device.

#include "platform/device_context.h"
#include "platform/graphics.h"

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPainter>

#include <vector>

namespace platform {

struct DeviceContext::Impl {
    QPainter* painter = nullptr;
    std::unique_ptr<QPainter> owned_painter;  // when the context made its own painter
    std::unique_ptr<QImage> owned_image;      // when the context draws on a memory image
    int width = 0;
    int height = 0;
    StretchMode stretch_mode = StretchMode::ColourOnColour;

    // Text state; saved and restored with the painter's own state.
    struct TextState {
        Colour text_colour = 0x000000;
        Colour background_colour = 0xFFFFFF;
        BackgroundMode background_mode = BackgroundMode::Opaque;
        LogFont log_font;
        QFont font;
    };
    TextState text;
    std::vector<TextState> saved_text;
};

inline QColor qt_colour(Colour colour)
{
    return QColor(colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF);
}

inline Colour colour_from_qt(const QColor& colour)
{
    return static_cast<Colour>(colour.red()) | (static_cast<Colour>(colour.green()) << 8) |
           (static_cast<Colour>(colour.blue()) << 16);
}

inline QRect qt_rect(const Rect& rect)
{
    return QRect(rect.left, rect.top, rect.width(), rect.height());
}

inline Rect rect_from_qt(const QRect& rect)
{
    return Rect{rect.left(), rect.top(), rect.left() + rect.width(), rect.top() + rect.height()};
}

// A bitmap that takes a 32-bit image as it is (no copy); none for a null image.
std::unique_ptr<Bitmap> bitmap_adopting_image(QImage image);

// A device context over an existing painter (a paint handler's), of the given size.
std::unique_ptr<DeviceContext> device_context_for_painter(QPainter& painter, int width, int height);
// A device context over a new 32-bit memory image of the given size, filled with `fill`.
std::unique_ptr<DeviceContext> memory_device_context(int width, int height, Colour fill);
// The memory image of a context made by memory_device_context (painting is flushed first).
const QImage* memory_image(DeviceContext& context);

// Each adds one to its member of graphics_counters().
void count_font_conversion();
void count_frame_drawn();
void count_list_item_drawn();
void count_button_drawn();

// Push buttons and group boxes copy the kept drawing of each look of their face and title; tests
// have every paint drawn afresh to compare the two.
enum class ButtonFaces {
    Kept,
    DrawnAfresh,
};
void set_button_faces(ButtonFaces faces);

}  // namespace platform
