// The dialog service on Qt.
//
// Index: conversions and filters / where a file dialog opens / activation / the file dialog /
// the font dialog / the services.

#include "platform/dialogs.h"

#include "platform/qt/device_context_qt.h"
#include "platform/qt/fonts_qt.h"
#include "platform/qt/native_window_qt.h"
#include "platform/text_encoding.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileIconProvider>
#include <QFileInfo>
#include <QFontDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLayout>
#include <QMessageBox>
#include <QMimeDatabase>
#include <QPixmap>
#include <QStandardPaths>
#include <QString>
#include <QStringList>

#include <unistd.h>

#include <array>

namespace platform {
namespace {

// ==== Conversions and filters ===================================================================

QString qt_from_gbk(const std::string& gbk)
{
    std::u16string text = utf16_from_gbk(gbk);
    return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

// File names cross through the file system's own form, so that any name round-trips.
QString qt_from_file_name(const std::string& name)
{
    return QFile::decodeName(QByteArray::fromStdString(os_file_name(name)));
}

std::string file_name_from_qt(const QString& path)
{
    return runtime_file_name(QFile::encodeName(path).toStdString());
}

// "jpg图片|*.jpg|所有文件|*.*||" becomes the Qt filters "jpg图片 (*.jpg)" and "所有文件 (*)".
QStringList qt_filters(const QString& filter)
{
    QStringList filters;
    QStringList parts = filter.split(u'|');
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        if (parts[i].isEmpty() && parts[i + 1].isEmpty())
            break;
        QStringList patterns;
        for (const QString& pattern : parts[i + 1].split(u';', Qt::SkipEmptyParts)) {
            // "*.*" means every file; taken literally it would hide names without a dot.
            QString trimmed = pattern.trimmed();
            patterns << (trimmed == QStringLiteral("*.*") ? QStringLiteral("*") : trimmed);
        }
        filters << QStringLiteral("%1 (%2)").arg(parts[i], patterns.join(u' '));
    }
    return filters;
}

// ==== Where a file dialog opens ==================================================================

bool is_writable_folder(const QString& path)
{
    return !path.isEmpty() && QFileInfo(path).isDir() &&
           ::access(QFile::encodeName(path).constData(), W_OK | X_OK) == 0;
}

// With no folder asked for, a file dialog opens where the user can save: the current folder when it
// is writable (the program starts in its own folder, which an ordinary user cannot write to), else
// the user's Pictures folder, else home.
QString initial_folder(const std::string& asked)
{
    if (!asked.empty())
        return qt_from_file_name(asked);
    QString current = QDir::currentPath();
    if (is_writable_folder(current))
        return current;
    QString pictures = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
    if (is_writable_folder(pictures))
        return pictures;
    return QDir::homePath();
}

// ==== Activation ================================================================================

// A modal dialog hands the activation and the keyboard focus back to the window it was opened over.
// Window managers do not always do it themselves, for instance when a prompt and its dialog close
// in quick succession.
class ActivationReturn {
public:
    explicit ActivationReturn(WindowHandle owner)
        : m_owner(owner ? top_level_ancestor(owner) : active_window())
        , m_focus(focus_window())
    {
    }

    ~ActivationReturn()
    {
        if (!m_owner || !is_visible(m_owner))
            return;
        set_active_window(m_owner);
        if (m_focus && top_level_ancestor(m_focus) == m_owner && is_visible(m_focus))
            set_focus(m_focus);
    }

    ActivationReturn(const ActivationReturn&) = delete;
    ActivationReturn& operator=(const ActivationReturn&) = delete;

    // The widget the dialog belongs to: the owner's, or the active window when there is none.
    QWidget* parent_widget() const
    {
        if (std::shared_ptr<NativeWindow> window = find_window(m_owner); window && window->outer)
            return window->outer;
        return QApplication::activeWindow();
    }

private:
    WindowHandle m_owner;
    WindowHandle m_focus;
};

// ==== The file dialog ============================================================================

// Icons and type names from the file's name alone. Qt's own provider reads a file's first bytes
// when its name says nothing, and reading a special file (/proc/kmsg, a pipe) blocks for good.
class NameOnlyIconProvider final : public QFileIconProvider {
public:
    QIcon icon(IconType type) const override { return QFileIconProvider::icon(type); }

    QIcon icon(const QFileInfo& info) const override
    {
        if (info.isRoot())
            return icon(Drive);
        return icon(info.isDir() ? Folder : File);
    }

    QString type(const QFileInfo& info) const override
    {
        if (info.isRoot())
            return QStringLiteral(u"驱动器");
        if (info.isDir())
            return QStringLiteral(u"文件夹");
        QMimeType mime = m_mime_types.mimeTypeForFile(info, QMimeDatabase::MatchExtension);
        return mime.comment().isEmpty() ? mime.name() : mime.comment();
    }

private:
    QMimeDatabase m_mime_types;
};

// Checks the chosen name against the request's flags before the dialog closes; what is refused
// is said in a message box and the dialog stays open.
class CheckingFileDialog final : public QFileDialog {
public:
    CheckingFileDialog(QWidget* parent, const QString& title, const QString& folder, std::uint32_t flags)
        : QFileDialog(parent, title, folder)
        , m_flags(flags)
    {
    }

    void accept() override
    {
        using namespace FileDialogFlag;
        QStringList files = selectedFiles();
        if (files.isEmpty()) {
            QFileDialog::accept();
            return;
        }
        QFileInfo chosen(files.first());
        // A folder is opened, not chosen; Qt does that.
        if (chosen.isDir()) {
            QFileDialog::accept();
            return;
        }
        bool opening = acceptMode() == QFileDialog::AcceptOpen;
        bool file_must_exist = opening && (m_flags & FileMustExist);
        if ((m_flags & PathMustExist) || file_must_exist) {
            if (!QFileInfo(chosen.absolutePath()).isDir()) {
                QMessageBox::warning(this, windowTitle(),
                                     QStringLiteral(u"%1\n路径不存在。\n请检查路径是否正确。")
                                         .arg(QDir::toNativeSeparators(chosen.absolutePath())));
                return;
            }
        }
        // A missing file in an open dialog that needs one is refused by Qt itself.
        if (!chosen.exists() && !file_must_exist && (m_flags & CreatePrompt)) {
            QMessageBox::StandardButton answer = QMessageBox::question(
                this, windowTitle(), QStringLiteral(u"%1 不存在。\n要创建该文件吗?").arg(chosen.fileName()),
                QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes);
            if (answer != QMessageBox::Yes)
                return;
        }
        QFileDialog::accept();
    }

private:
    std::uint32_t m_flags;
};

// ==== The font dialog ============================================================================

struct NamedColour {
    const char16_t* name;
    Colour colour;  // 0x00BBGGRR
};

constexpr std::array<NamedColour, 16> kFontColours = {{
    {u"黑色", 0x000000},
    {u"褐红色", 0x000080},
    {u"绿色", 0x008000},
    {u"橄榄色", 0x008080},
    {u"藏青色", 0x800000},
    {u"紫色", 0x800080},
    {u"蓝绿色", 0x808000},
    {u"灰色", 0x808080},
    {u"银色", 0xC0C0C0},
    {u"红色", 0x0000FF},
    {u"酸橙色", 0x00FF00},
    {u"黄色", 0x00FFFF},
    {u"蓝色", 0xFF0000},
    {u"紫红色", 0xFF00FF},
    {u"水绿色", 0xFFFF00},
    {u"白色", 0xFFFFFF},
}};

QIcon colour_swatch(Colour colour)
{
    QPixmap swatch(24, 12);
    swatch.fill(qt_colour(colour));
    return QIcon(swatch);
}

// Qt's font dialog has no colour; a colour list joins its effects (strike-out, underline), as a
// font dialog with effects offers it. Returns the list, or null when the effects are not found.
QComboBox* add_colour_choice(QFontDialog& dialog, Colour initial)
{
    QGroupBox* effects = nullptr;
    for (QCheckBox* box : dialog.findChildren<QCheckBox*>()) {
        if ((effects = qobject_cast<QGroupBox*>(box->parentWidget())))
            break;
    }
    if (!effects || !effects->layout())
        return nullptr;
    auto* label = new QLabel(QStringLiteral(u"颜色(&C):"), effects);
    auto* colours = new QComboBox(effects);
    colours->setObjectName(QStringLiteral("colour"));
    label->setBuddy(colours);
    for (const NamedColour& entry : kFontColours)
        colours->addItem(colour_swatch(entry.colour), QString::fromUtf16(entry.name), entry.colour);
    int index = colours->findData(initial);
    if (index < 0) {
        colours->addItem(colour_swatch(initial), QStringLiteral(u"自定义"), initial);
        index = colours->count() - 1;
    }
    colours->setCurrentIndex(index);
    effects->layout()->addWidget(label);
    effects->layout()->addWidget(colours);
    return colours;
}

// ==== The services ===============================================================================

class QtDialogService final : public DialogService {
public:
    void show_message_box(const MessageBoxRequest& request) override
    {
        ActivationReturn activation(0);
        QMessageBox box(icon_of(request.icon), qt_from_gbk(request.title), qt_from_gbk(request.text), QMessageBox::Ok,
                        activation.parent_widget());
        box.exec();
    }

    FileDialogAnswer ask_file(const FileDialogRequest& request) override
    {
        ActivationReturn activation(request.owner);
        // The dialog's model uses the provider until the dialog is gone.
        NameOnlyIconProvider icons;
        CheckingFileDialog dialog(activation.parent_widget(), qt_from_gbk(request.title),
                                  initial_folder(request.initial_directory), request.flags);
        dialog.setAcceptMode(request.mode == FileDialogMode::Save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
        if (request.mode == FileDialogMode::Open && (request.flags & FileDialogFlag::FileMustExist))
            dialog.setFileMode(QFileDialog::ExistingFile);
        else
            dialog.setFileMode(QFileDialog::AnyFile);
        QFileDialog::Options options;
        if (!(request.flags & FileDialogFlag::OverwritePrompt))
            options |= QFileDialog::DontConfirmOverwrite;
        options |= QFileDialog::DontUseNativeDialog;
        dialog.setOptions(options);
        dialog.setIconProvider(&icons);
        if (!request.default_extension.empty())
            dialog.setDefaultSuffix(qt_from_gbk(request.default_extension));
        QStringList filters = qt_filters(qt_from_gbk(request.filter));
        if (!filters.isEmpty()) {
            dialog.setNameFilters(filters);
            int index = request.initial_filter_index - 1;
            if (index >= 0 && index < filters.size())
                dialog.selectNameFilter(filters[index]);
        }
        if (!request.initial_file_name.empty())
            dialog.selectFile(qt_from_file_name(request.initial_file_name));
        FileDialogAnswer answer;
        if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty()) {
            answer.confirmed = true;
            answer.path = file_name_from_qt(dialog.selectedFiles().first());
            // The chosen file's folder becomes the current one unless the caller keeps its own.
            if (!(request.flags & FileDialogFlag::NoChangeDirectory))
                QDir::setCurrent(QFileInfo(dialog.selectedFiles().first()).absolutePath());
        }
        return answer;
    }

    FontDialogAnswer ask_font(const FontDialogRequest& request) override
    {
        ActivationReturn activation(request.owner);
        QFontDialog dialog(qt_font_from_log_font(request.font), activation.parent_widget());
        dialog.setOption(QFontDialog::DontUseNativeDialog);
        QComboBox* colours = add_colour_choice(dialog, request.colour);
        FontDialogAnswer answer;
        if (dialog.exec() != QDialog::Accepted)
            return answer;
        answer.confirmed = true;
        answer.font = log_font_from_qt_font(dialog.selectedFont());
        answer.colour = colours ? colours->currentData().value<Colour>() : request.colour;
        return answer;
    }

private:
    static QMessageBox::Icon icon_of(MessageBoxIcon icon)
    {
        switch (icon) {
        case MessageBoxIcon::Error:
            return QMessageBox::Critical;
        case MessageBoxIcon::Warning:
            return QMessageBox::Warning;
        case MessageBoxIcon::Information:
            return QMessageBox::Information;
        case MessageBoxIcon::None:
            break;
        }
        return QMessageBox::NoIcon;
    }
};

DialogService* g_installed = nullptr;

}  // namespace

DialogService& dialog_service()
{
    static QtDialogService qt_service;
    return g_installed ? *g_installed : qt_service;
}

void set_dialog_service(DialogService* service)
{
    g_installed = service;
}

}  // namespace platform
