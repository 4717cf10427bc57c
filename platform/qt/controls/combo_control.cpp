// The "COMBOBOX" class on Qt. The client widget holds the items in one model, shown by a QComboBox
// for the drop-down styles, or by an edit field above a list view for the simple style.
//
// Index: widgets / class procedure / public functions.

#include "platform/controls/combo_control.h"

#include "platform/controls/control_fonts.h"
#include "platform/qt/controls/control_palette_qt.h"
#include "platform/qt/controls/control_text_qt.h"
#include "platform/qt/device_context_qt.h"
#include "platform/qt/native_window_qt.h"
#include "platform/qt/vector_state_qt.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QFontMetrics>
#include <QHash>
#include <QImage>
#include <QLineEdit>
#include <QListView>
#include <QMouseEvent>
#include <QPaintEngine>
#include <QPainter>
#include <QStandardItemModel>
#include <QStyle>
#include <QStyledItemDelegate>

#include <algorithm>
#include <cstring>
#include <vector>

namespace platform {
namespace {

constexpr int kMaximumTextLimit = 0x7FFFFFFE;
constexpr int kDataRole = Qt::UserRole + 1;

class ComboClient;
ComboClient* combo_client(WindowHandle handle);

// Rows of the platform's height (from the font) or of a set height.
//
// Every opening of the list lays out all of its items again, and measuring an item's text is what
// that costs. An item holds nothing but its text, so each text's size is measured once for a given
// font, style and set of item features and kept; a wrapping item depends on its width as well and
// is always measured.
class ItemDelegate final : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    int m_height = 0;  // 0: from the font

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        QSize size = measured_size(option, index);
        if (m_height > 0)
            size.setHeight(m_height);
        return size;
    }

    // Every opening of the list paints its items afresh, and laying out and shaping their texts is
    // most of what that costs. An item is its text on the list's plain background, so the drawing
    // of each look (text, size, state, palette, font) is kept and copied; what could come out
    // differently when copied (a focus rectangle's dotted pattern, an item drawn over anything but
    // the plain background, a painter that is not a plain image one) is drawn as always.
    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        QImage* kept = kept_drawing(painter, option, index);
        if (!kept) {
            QStyledItemDelegate::paint(painter, option, index);
            return;
        }
        painter->drawImage(option.rect.topLeft(), *kept);
    }

private:
    struct Drawing {
        QString text;
        QSize size;
        QStyle::State state;
        QStyleOptionViewItem::ViewItemFeatures features;
        Qt::Alignment alignment;
        Qt::LayoutDirection direction;
        QFont font;
        QPalette palette;
        QColor background;
        QImage::Format format;
        const QStyle* style;
        QImage image;
    };
    static constexpr std::size_t kMaximumKeptDrawings = 64;

    QImage* kept_drawing(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
    {
        const auto* view = qobject_cast<const QAbstractItemView*>(option.widget);
        // A widget's painter draws into its window's backing store: that image is the device.
        QPaintDevice* device = painter->paintEngine() ? painter->paintEngine()->paintDevice() : nullptr;
        if (!view || !device || device->devType() != QInternal::Image || option.rect.isEmpty() ||
            (option.state & QStyle::State_HasFocus) || painter->deviceTransform().type() > QTransform::TxTranslate ||
            painter->opacity() != 1.0 || painter->compositionMode() != QPainter::CompositionMode_SourceOver)
            return nullptr;
        const QImage& target = *static_cast<QImage*>(device);
        QWidget* viewport = view->viewport();
        const QBrush& beneath = viewport->palette().brush(viewport->backgroundRole());
        if (target.devicePixelRatio() != 1.0 || !viewport->autoFillBackground() ||
            beneath.style() != Qt::SolidPattern || !beneath.isOpaque())
            return nullptr;
        QStyleOptionViewItem look = option;
        initStyleOption(&look, index);
        // A patterned brush would be laid from the kept image's corner instead of the window's.
        if (look.features & (QStyleOptionViewItem::HasDecoration | QStyleOptionViewItem::HasCheckIndicator) ||
            look.backgroundBrush.style() != Qt::NoBrush ||
            look.palette.brush(QPalette::Highlight).style() != Qt::SolidPattern)
            return nullptr;
        const QStyle* style = view->style();
        for (Drawing& drawing : m_drawings) {
            if (drawing.size == option.rect.size() && drawing.state == look.state && drawing.text == look.text &&
                drawing.features == look.features && drawing.alignment == look.displayAlignment &&
                drawing.direction == look.direction && drawing.format == target.format() && drawing.style == style &&
                drawing.background == beneath.color() && drawing.font == look.font && drawing.palette == look.palette)
                return &drawing.image;
        }
        QImage image(option.rect.size(), target.format());
        if (image.isNull())
            return nullptr;
        image.fill(beneath.color());
        clear_wide_vector_state();
        {
            QPainter drawn(&image);
            drawn.setRenderHints(painter->renderHints());
            drawn.setFont(painter->font());
            QStyleOptionViewItem placed = option;
            placed.rect = QRect(QPoint(0, 0), option.rect.size());
            QStyledItemDelegate::paint(&drawn, placed, index);
        }
        count_list_item_drawn();
        if (m_drawings.size() >= kMaximumKeptDrawings)
            m_drawings.clear();
        m_drawings.push_back(Drawing{look.text, option.rect.size(), look.state, look.features, look.displayAlignment,
                                     look.direction, look.font, look.palette, beneath.color(), target.format(), style,
                                     std::move(image)});
        return &m_drawings.back().image;
    }

    // Bounds what is kept for a list of very many distinct texts.
    static constexpr qsizetype kMaximumKeptSizes = 4096;

    QSize measured_size(const QStyleOptionViewItem& option, const QModelIndex& index) const
    {
        if (option.features & QStyleOptionViewItem::WrapText)
            return QStyledItemDelegate::sizeHint(option, index);
        const QStyle* style = option.widget ? option.widget->style() : QApplication::style();
        if (style != m_measured_style || option.font != m_measured_font || option.features != m_measured_features ||
            m_measured.size() >= kMaximumKeptSizes) {
            m_measured.clear();
            m_measured_style = style;
            m_measured_font = option.font;
            m_measured_features = option.features;
        }
        QString text = index.data(Qt::DisplayRole).toString();
        auto kept = m_measured.constFind(text);
        if (kept != m_measured.constEnd())
            return *kept;
        QSize size = QStyledItemDelegate::sizeHint(option, index);
        m_measured.insert(text, size);
        return size;
    }

    mutable QHash<QString, QSize> m_measured;
    mutable const QStyle* m_measured_style = nullptr;
    mutable QFont m_measured_font;
    mutable QStyleOptionViewItem::ViewItemFeatures m_measured_features;
    mutable std::vector<Drawing> m_drawings;
};

class DropCombo final : public QComboBox {
public:
    DropCombo(WindowHandle handle, QWidget* parent)
        : QComboBox(parent)
        , m_handle(handle)
    {
    }

    void showPopup() override
    {
        notify_parent(m_handle, ComboNotification::DropDown);
        if (!is_window(m_handle))
            return;
        apply_control_colours(view(), m_handle, WM_CTLCOLORLISTBOX);
        QComboBox::showPopup();
    }

    void hidePopup() override
    {
        bool was_shown = view() && view()->isVisible();
        QComboBox::hidePopup();
        if (was_shown && is_window(m_handle))
            notify_parent(m_handle, ComboNotification::CloseUp);
    }

protected:
    void paintEvent(QPaintEvent* event) override
    {
        apply_control_colours(this, m_handle, WM_CTLCOLOREDIT);
        QComboBox::paintEvent(event);
    }

private:
    WindowHandle m_handle;
};

class ComboClient final : public QWidget {
public:
    ComboClient(WindowHandle handle, std::uint32_t style)
        : m_handle(handle)
        , m_style(style)
        , m_model(new QStandardItemModel(this))
        , m_delegate(new ItemDelegate(this))
    {
        std::uint32_t type = style & ComboStyle::TypeMask;
        if (type == ComboStyle::Simple) {
            m_edit = new QLineEdit(this);
            m_edit->setFrame(false);
            m_list = new QListView(this);
            m_list->setModel(m_model);
            m_list->setItemDelegate(m_delegate);
            m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
            m_list->setFrameShape(QFrame::Box);
            setFocusProxy(m_edit);
            QObject::connect(m_list, &QListView::clicked, this,
                             [this](const QModelIndex& index) { choose_from_list(index.row()); });
            QObject::connect(m_list, &QListView::doubleClicked, this,
                             [this](const QModelIndex&) { notify(ComboNotification::DoubleClick); });
        } else {
            m_drop = new DropCombo(handle, this);
            m_drop->setEditable(type == ComboStyle::DropDown);
            m_drop->setModel(m_model);
            m_drop->setItemDelegate(m_delegate);
            m_drop->setInsertPolicy(QComboBox::NoInsert);
            m_drop->setFrame(false);
            m_edit = m_drop->lineEdit();
            setFocusProxy(m_drop);
            QObject::connect(m_drop, &QComboBox::currentIndexChanged, this, [this](int) {
                if (!m_programmatic)
                    notify(ComboNotification::SelectionChange);
            });
            QObject::connect(m_drop, &QComboBox::activated, this,
                             [this](int) { notify(ComboNotification::SelectionEndOk); });
        }
        if (m_edit) {
            QObject::connect(m_edit, &QLineEdit::textEdited, this,
                             [this](const QString&) { notify(ComboNotification::EditChange); });
        }
        if (m_list) {
            QObject::connect(m_list->selectionModel(), &QItemSelectionModel::currentChanged, this,
                             [this](const QModelIndex&, const QModelIndex&) {
                                 if (!m_programmatic)
                                     notify(ComboNotification::SelectionChange);
                             });
        }
    }

    std::uint32_t style() const { return m_style; }
    QStandardItemModel* model() const { return m_model; }
    QLineEdit* edit() const { return m_edit; }
    QComboBox* drop() const { return m_drop; }
    QListView* list() const { return m_list; }
    int text_limit = kMaximumTextLimit;

    int item_height() const
    {
        if (m_delegate->m_height > 0)
            return m_delegate->m_height;
        return QFontMetrics(font()).height();
    }

    void set_item_height(int height)
    {
        m_delegate->m_height = std::max(1, height);
        if (m_list)
            m_list->doItemsLayout();
        update_visible_items();
    }

    void set_drop_down_height(int height)
    {
        m_drop_down_height = height;
        update_visible_items();
    }

    int current() const
    {
        if (m_drop)
            return m_drop->currentIndex();
        QModelIndex index = m_list->currentIndex();
        return index.isValid() && m_list->selectionModel()->isSelected(index) ? index.row() : -1;
    }

    void set_current(int index)
    {
        m_programmatic = true;
        if (m_drop) {
            m_drop->setCurrentIndex(index);
        } else if (index < 0) {
            m_list->selectionModel()->clearSelection();
            m_list->selectionModel()->setCurrentIndex(QModelIndex(), QItemSelectionModel::NoUpdate);
        } else {
            QModelIndex item = m_model->index(index, 0);
            m_list->selectionModel()->setCurrentIndex(item, QItemSelectionModel::ClearAndSelect);
            m_list->scrollTo(item);
            m_edit->setText(item.data().toString());
        }
        m_programmatic = false;
    }

    // Inserts without notifying, and keeps the selection on the item it named: Qt would move it, or
    // select the first item put into an empty list.
    void insert_item(int row, QStandardItem* item)
    {
        int before = current();
        int expected = before < 0 ? -1 : (row <= before ? before + 1 : before);
        m_programmatic = true;
        m_model->insertRow(row, item);
        if (current() != expected)
            set_current(expected);
        m_programmatic = false;
    }

    void clear_items()
    {
        m_programmatic = true;
        m_model->clear();
        m_programmatic = false;
    }

    QString text() const
    {
        if (m_edit)
            return m_edit->text();
        return m_drop->currentIndex() >= 0 ? m_drop->currentText() : QString();
    }

    void set_text(const QString& text)
    {
        if (m_edit) {
            m_edit->setText(text);
            m_edit->setCursorPosition(0);
        }
    }

protected:
    void resizeEvent(QResizeEvent* event) override
    {
        QWidget::resizeEvent(event);
        if (m_drop) {
            m_drop->setGeometry(rect());
            return;
        }
        int field = std::min(height(), QFontMetrics(font()).height() + 6);
        m_edit->setGeometry(0, 0, width(), field);
        m_list->setGeometry(0, field, width(), std::max(0, height() - field));
    }

    void changeEvent(QEvent* event) override
    {
        QWidget::changeEvent(event);
        if (event->type() == QEvent::FontChange) {
            // The dropped list is a window of its own and does not follow the font by itself.
            if (m_drop && m_drop->view())
                m_drop->view()->setFont(font());
            update_visible_items();
            resizeEvent(nullptr);
        }
    }

    void paintEvent(QPaintEvent*) override
    {
        if (m_edit && !m_drop)
            apply_control_colours(m_edit, m_handle, WM_CTLCOLOREDIT);
        if (m_list)
            apply_control_colours(m_list, m_handle, WM_CTLCOLORLISTBOX);
    }

private:
    void notify(int code)
    {
        if (is_window(m_handle))
            notify_parent(m_handle, code);
    }

    void choose_from_list(int row)
    {
        if (row < 0 || row >= m_model->rowCount())
            return;
        m_edit->setText(m_model->index(row, 0).data().toString());
        notify(ComboNotification::SelectionEndOk);
    }

    void update_visible_items()
    {
        if (!m_drop)
            return;
        int room = std::max(0, m_drop_down_height - height());
        m_drop->setMaxVisibleItems(std::max(1, room / std::max(1, item_height())));
    }

    WindowHandle m_handle;
    std::uint32_t m_style;
    QStandardItemModel* m_model;
    ItemDelegate* m_delegate;
    DropCombo* m_drop = nullptr;
    QLineEdit* m_edit = nullptr;
    QListView* m_list = nullptr;
    bool m_programmatic = false;
    int m_drop_down_height = 0;
};

ComboClient* combo_client(WindowHandle handle)
{
    std::shared_ptr<NativeWindow> window = find_window(handle);
    if (!window || !window->client || window->window_class->name != kComboClassName)
        return nullptr;
    return static_cast<ComboClient*>(window->client.data());
}

QWidget* make_combo_widget(NativeWindow& window, const CreateParams& params)
{
    std::uint32_t style = params.style;
    if ((style & ComboStyle::TypeMask) == 0)
        style |= ComboStyle::Simple;
    auto* client = new ComboClient(window.handle, style);
    client->set_drop_down_height(params.height);
    client->set_text(control_qstring(params.text));
    return client;
}

// Items compare as a list sorted by its texts would: byte by byte, letters without case.
bool sorts_before(const std::string& left, const std::string& right)
{
    return std::lexicographical_compare(left.begin(), left.end(), right.begin(), right.end(), [](char a, char b) {
        auto lower = [](unsigned char c) { return (c >= 'A' && c <= 'Z') ? c - 'A' + 'a' : c; };
        return lower(static_cast<unsigned char>(a)) < lower(static_cast<unsigned char>(b));
    });
}

// ==== Class procedure ===========================================================================

std::intptr_t combo_procedure(WindowHandle handle, Message& message)
{
    ComboClient* client = combo_client(handle);
    switch (message.id) {
    case WM_SETTEXT: {
        const char* gbk = reinterpret_cast<const char*>(message.lparam);
        if (!client || !client->edit())
            return 0;
        client->set_text(control_qstring(gbk ? gbk : ""));
        return 1;
    }
    case WM_GETTEXT: {
        auto* out = reinterpret_cast<std::string*>(message.lparam);
        if (!out)
            return 0;
        *out = client ? control_gbk(client->text()) : std::string();
        return static_cast<std::intptr_t>(out->size());
    }
    case WM_CHAR: {
        std::uintptr_t code = message.wparam;
        if (client && client->edit() && code >= 0x20 && code != 0x7F) {
            QLineEdit* edit = client->edit();
            int kept = static_cast<int>(edit->text().size()) - static_cast<int>(edit->selectedText().size());
            if (kept >= client->text_limit)
                return 0;
        }
        return default_window_procedure(handle, message);
    }
    case WM_SETFONT: {
        const auto* font = reinterpret_cast<const LogFont*>(message.wparam);
        set_control_font(handle, font ? std::optional<LogFont>(*font) : std::nullopt);
        return 0;
    }
    case WM_SETFOCUS:
        notify_parent(handle, ComboNotification::SetFocus);
        return 0;
    case WM_KILLFOCUS:
        notify_parent(handle, ComboNotification::KillFocus);
        return 0;
    default:
        return default_window_procedure(handle, message);
    }
}

}  // namespace

// ==== Public functions ==========================================================================

void register_combo_class()
{
    if (is_window_class_registered(kComboClassName))
        return;
    ClassInfo info;
    info.style = CS_DBLCLKS;
    info.background = Brush::system(5);  // the window colour
    info.procedure = &combo_procedure;
    register_builtin_window_class(kComboClassName, std::move(info), &make_combo_widget);
}

bool is_combo_control(WindowHandle handle)
{
    return combo_client(handle) != nullptr;
}

bool combo_has_edit(WindowHandle combo)
{
    ComboClient* client = combo_client(combo);
    return client && client->edit();
}

int combo_add_item(WindowHandle combo, std::string_view gbk)
{
    ComboClient* client = combo_client(combo);
    if (!client)
        return -1;
    QStandardItemModel* model = client->model();
    int row = model->rowCount();
    if (client->style() & ComboStyle::Sort) {
        std::string text(gbk);
        row = 0;
        while (row < model->rowCount() && !sorts_before(text, combo_item_text(combo, row)))
            ++row;
    }
    auto* item = new QStandardItem(control_qstring(gbk));
    item->setData(0u, kDataRole);
    item->setEditable(false);
    client->insert_item(row, item);
    return row;
}

int combo_item_count(WindowHandle combo)
{
    ComboClient* client = combo_client(combo);
    return client ? client->model()->rowCount() : 0;
}

std::string combo_item_text(WindowHandle combo, int index)
{
    ComboClient* client = combo_client(combo);
    if (!client || index < 0 || index >= client->model()->rowCount())
        return {};
    return control_gbk(client->model()->item(index)->text());
}

void combo_clear_items(WindowHandle combo)
{
    if (ComboClient* client = combo_client(combo))
        client->clear_items();
}

void combo_set_item_data(WindowHandle combo, int index, std::uint32_t data)
{
    ComboClient* client = combo_client(combo);
    if (client && index >= 0 && index < client->model()->rowCount())
        client->model()->item(index)->setData(data, kDataRole);
}

std::uint32_t combo_item_data(WindowHandle combo, int index)
{
    ComboClient* client = combo_client(combo);
    if (!client || index < 0 || index >= client->model()->rowCount())
        return 0;
    return client->model()->item(index)->data(kDataRole).toUInt();
}

bool combo_set_current_selection(WindowHandle combo, int index)
{
    ComboClient* client = combo_client(combo);
    if (!client)
        return false;
    if (index < -1 || index >= client->model()->rowCount()) {
        client->set_current(-1);
        return false;
    }
    client->set_current(index);
    return true;
}

int combo_current_selection(WindowHandle combo)
{
    ComboClient* client = combo_client(combo);
    return client ? client->current() : -1;
}

void combo_set_text_limit(WindowHandle combo, int characters)
{
    if (ComboClient* client = combo_client(combo))
        client->text_limit = characters <= 0 ? kMaximumTextLimit : characters;
}

void combo_set_edit_selection(WindowHandle combo, int start, int end)
{
    ComboClient* client = combo_client(combo);
    if (!client || !client->edit())
        return;
    QLineEdit* edit = client->edit();
    int length = static_cast<int>(edit->text().size());
    if (start < 0) {
        edit->deselect();
        return;
    }
    start = std::min(start, length);
    end = (end < 0 || end > length) ? length : end;
    if (start == end)
        edit->setCursorPosition(end);
    else
        edit->setSelection(start, end - start);
}

TextRange combo_edit_selection(WindowHandle combo)
{
    ComboClient* client = combo_client(combo);
    if (!client || !client->edit())
        return {};
    QLineEdit* edit = client->edit();
    if (!edit->hasSelectedText())
        return TextRange{edit->cursorPosition(), edit->cursorPosition()};
    return TextRange{edit->selectionStart(), edit->selectionStart() + edit->selectionLength()};
}

std::string combo_edit_selected_text(WindowHandle combo)
{
    ComboClient* client = combo_client(combo);
    if (!client || !client->edit())
        return {};
    return control_gbk(client->edit()->selectedText());
}

void combo_set_item_height(WindowHandle combo, int height)
{
    if (ComboClient* client = combo_client(combo))
        client->set_item_height(height);
}

int combo_item_height(WindowHandle combo)
{
    ComboClient* client = combo_client(combo);
    return client ? client->item_height() : 0;
}

void combo_set_drop_down_height(WindowHandle combo, int height)
{
    if (ComboClient* client = combo_client(combo))
        client->set_drop_down_height(height);
}

void combo_show_drop_down(WindowHandle combo, bool show)
{
    ComboClient* client = combo_client(combo);
    if (!client || !client->drop())
        return;
    if (show)
        client->drop()->showPopup();
    else
        client->drop()->hidePopup();
}

bool combo_dropped(WindowHandle combo)
{
    ComboClient* client = combo_client(combo);
    return client && client->drop() && client->drop()->view() && client->drop()->view()->isVisible();
}

bool click_combo_list_item(WindowHandle combo, int index, bool double_click)
{
    ComboClient* client = combo_client(combo);
    if (!client || index < 0 || index >= client->model()->rowCount())
        return false;
    QAbstractItemView* view = client->drop() ? client->drop()->view() : client->list();
    if (!view || !view->isVisible())
        return false;
    QModelIndex item = client->model()->index(index, 0);
    view->scrollTo(item);
    QWidget* viewport = view->viewport();
    QPointF position = QRectF(view->visualRect(item)).center();
    QPointF global = viewport->mapToGlobal(position);
    auto send = [&](QEvent::Type type, Qt::MouseButtons buttons) {
        QMouseEvent event(type, position, global, Qt::LeftButton, buttons, Qt::NoModifier);
        QApplication::sendEvent(viewport, &event);
    };
    QMouseEvent move(QEvent::MouseMove, position, global, Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(viewport, &move);
    send(QEvent::MouseButtonPress, Qt::LeftButton);
    if (is_window(combo) && view->isVisible())
        send(QEvent::MouseButtonRelease, Qt::NoButton);
    if (double_click && is_window(combo) && view->isVisible()) {
        send(QEvent::MouseButtonDblClick, Qt::LeftButton);
        if (is_window(combo) && view->isVisible())
            send(QEvent::MouseButtonRelease, Qt::NoButton);
    }
    return true;
}

}  // namespace platform
