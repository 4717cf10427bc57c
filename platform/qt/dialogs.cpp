#include "platform/dialogs.h"

#include "platform/qt/fonts_qt.h"
#include "platform/text_encoding.h"

#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QFontDialog>
#include <QMessageBox>
#include <QString>
#include <QStringList>

namespace platform {
namespace {

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

// "jpg图片|*.jpg|所有文件|*.*||" becomes the Qt filters "jpg图片 (*.jpg)" and "所有文件 (*.*)".
QStringList qt_filters(const QString& filter)
{
    QStringList filters;
    QStringList parts = filter.split(u'|');
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        if (parts[i].isEmpty() && parts[i + 1].isEmpty())
            break;
        QString patterns = parts[i + 1];
        patterns.replace(u';', u' ');
        filters << QStringLiteral("%1 (%2)").arg(parts[i], patterns.trimmed());
    }
    return filters;
}

class QtDialogService final : public DialogService {
public:
    void show_message_box(const MessageBoxRequest& request) override
    {
        QMessageBox box(icon_of(request.icon), qt_from_gbk(request.title), qt_from_gbk(request.text),
                        QMessageBox::Ok);
        box.exec();
    }

    FileDialogAnswer ask_file(const FileDialogRequest& request) override
    {
        QFileDialog dialog(QApplication::activeWindow(), qt_from_gbk(request.title),
                           qt_from_file_name(request.initial_directory));
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
        }
        return answer;
    }

    FontDialogAnswer ask_font(const FontDialogRequest& request) override
    {
        bool accepted = false;
        QFont initial = qt_font_from_log_font(request.font);
        QFont chosen = QFontDialog::getFont(&accepted, initial, QApplication::activeWindow(), QString(),
                                            QFontDialog::DontUseNativeDialog);
        FontDialogAnswer answer;
        if (!accepted)
            return answer;
        answer.confirmed = true;
        answer.font = log_font_from_qt_font(chosen);
        answer.colour = request.colour;
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

void ScriptedDialogService::show_message_box(const MessageBoxRequest& request)
{
    m_message_boxes.push_back(request);
}

FileDialogAnswer ScriptedDialogService::ask_file(const FileDialogRequest& request)
{
    m_file_requests.push_back(request);
    if (m_file_answers.empty())
        return {};
    FileDialogAnswer answer = std::move(m_file_answers.front());
    m_file_answers.pop_front();
    return answer;
}

FontDialogAnswer ScriptedDialogService::ask_font(const FontDialogRequest& request)
{
    m_font_requests.push_back(request);
    if (m_font_answers.empty())
        return {};
    FontDialogAnswer answer = std::move(m_font_answers.front());
    m_font_answers.pop_front();
    return answer;
}

}  // namespace platform
