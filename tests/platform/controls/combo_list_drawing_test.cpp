// The dropped list of a combo box on Qt keeps the drawing of each item and copies it.

#include "platform/controls/combo_control.h"
#include "platform/graphics.h"
#include "platform/input_synthesis.h"
#include "tests/platform/controls/control_test_parent.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QImage>
#include <QMouseEvent>
#include <QPixmap>
#include <QScreen>
#include <QStyledItemDelegate>

#include <gtest/gtest.h>

namespace platform {
namespace {

using namespace control_test;

QAbstractItemView* dropped_view()
{
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (!widget->isVisible())
            continue;
        if (auto* view = widget->findChild<QAbstractItemView*>())
            return view;
    }
    return nullptr;
}

// What the list's window holds on the display.
QImage shown_items(QAbstractItemView& view)
{
    view.viewport()->repaint();
    QWidget* window = view.window();
    if (!window->screen())
        return {};
    QPoint origin = view.viewport()->mapTo(window, QPoint(0, 0));
    return window->screen()
        ->grabWindow(window->winId(), origin.x(), origin.y(), view.viewport()->width(), view.viewport()->height())
        .toImage();
}

QImage drawn_items(QAbstractItemView& view)
{
    QImage image(view.viewport()->size(), QImage::Format_RGB32);
    image.fill(Qt::black);
    view.viewport()->render(&image);
    return image;
}

// What the list shows from kept drawings is what drawing every item afresh shows, pixel for pixel,
// in each state an item takes there (chosen, under the mouse, current with its focus frame, plain),
// and showing it again draws nothing anew.
TEST(ComboListDrawing, KeptDrawingsShowWhatDrawingAfreshShows)
{
    register_combo_class();
    WindowHandle parent = make_recording_parent();
    WindowHandle combo = make_child(kComboClassName, parent, ComboStyle::DropDownList, 9, {20, 20, 140, 44});
    for (const char* item : {"red", "green", "blue", "\xB9\xE2\xB9\xF7\xD6\xA4", "a longer item than the box is wide"})
        combo_add_item(combo, item);
    combo_set_drop_down_height(combo, 200);
    combo_set_current_selection(combo, 1);
    long before = graphics_counters().list_items_drawn;
    synthesize_click(combo, {40, 10});
    process_waiting_messages();
    ASSERT_TRUE(combo_dropped(combo));
    QAbstractItemView* view = dropped_view();
    ASSERT_TRUE(view);
    QPointF over = QRectF(view->visualRect(view->model()->index(3, 0))).center();
    QMouseEvent move(QEvent::MouseMove, over, view->viewport()->mapToGlobal(over), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(view->viewport(), &move);

    QImage first = drawn_items(*view);
    long drawn = graphics_counters().list_items_drawn;
    EXPECT_GT(drawn, before);
    QImage again = drawn_items(*view);
    QImage shown = shown_items(*view);
    EXPECT_EQ(graphics_counters().list_items_drawn, drawn);
    ASSERT_FALSE(shown.isNull());

    QAbstractItemDelegate* keeping = view->itemDelegate();
    QStyledItemDelegate afresh_delegate;
    view->setItemDelegate(&afresh_delegate);
    QImage afresh = drawn_items(*view);
    QImage shown_afresh = shown_items(*view);
    view->setItemDelegate(keeping);
    EXPECT_TRUE(first == afresh);
    EXPECT_TRUE(again == afresh);
    EXPECT_TRUE(shown == shown_afresh);

    ASSERT_TRUE(click_combo_list_item(combo, 2));
    process_waiting_messages();
    destroy_window(parent);
    process_waiting_messages();
}

}  // namespace
}  // namespace platform
