#include "platform/dialogs.h"

#include "platform/controls/edit_control.h"
#include "platform/message_loop.h"
#include "platform/native_window.h"
#include "platform/text_encoding.h"

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QFontDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QMimeDatabase>
#include <QProcess>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace {

using namespace platform;

TEST(Dialogs, ScriptedServiceAnswersInOrderThenCancelsAndRecordsEveryRequest)
{
    ScriptedDialogService scripted;
    set_dialog_service(&scripted);
    scripted.queue_file_answer(FileDialogAnswer{true, "/tmp/a.bmp"});
    FileDialogRequest request;
    request.mode = FileDialogMode::Save;
    request.title = gbk_from_utf8("保存");
    request.filter = gbk_from_utf8("bmp图片|*.bmp||");
    FileDialogAnswer first = dialog_service().ask_file(request);
    FileDialogAnswer second = dialog_service().ask_file(request);
    EXPECT_TRUE(first.confirmed);
    EXPECT_EQ(first.path, "/tmp/a.bmp");
    EXPECT_FALSE(second.confirmed);
    ASSERT_EQ(scripted.file_requests().size(), 2u);
    EXPECT_EQ(scripted.file_requests()[0].title, gbk_from_utf8("保存"));
    EXPECT_EQ(scripted.file_requests()[0].mode, FileDialogMode::Save);

    dialog_service().show_message_box(MessageBoxRequest{"t", "x", MessageBoxIcon::Error});
    ASSERT_EQ(scripted.message_boxes().size(), 1u);
    EXPECT_EQ(scripted.message_boxes()[0].icon, MessageBoxIcon::Error);

    EXPECT_FALSE(dialog_service().ask_font(FontDialogRequest{}).confirmed);
    EXPECT_EQ(scripted.font_requests().size(), 1u);
    set_dialog_service(nullptr);
    EXPECT_NE(&dialog_service(), &scripted);
}

TEST(Dialogs, QtMessageBoxShowsTheErrorIconAndOneOkButton)
{
    set_dialog_service(nullptr);
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QString title;
    QString text;
    int buttons = -1;
    bool has_ok = false;
    // Looks at the box while it runs modally, then closes it.
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box)
            return;
        icon = box->icon();
        title = box->windowTitle();
        text = box->text();
        buttons = static_cast<int>(box->buttons().size());
        has_ok = box->button(QMessageBox::Ok) != nullptr;
        box->accept();
    });
    dialog_service().show_message_box(
        MessageBoxRequest{gbk_from_utf8("错误"), gbk_from_utf8("运行时出错!"), MessageBoxIcon::Error});
    EXPECT_EQ(icon, QMessageBox::Critical);
    EXPECT_EQ(title, QStringLiteral(u"错误"));
    EXPECT_EQ(text, QStringLiteral(u"运行时出错!"));
    EXPECT_EQ(buttons, 1);
    EXPECT_TRUE(has_ok);
}

}  // namespace

// ==== The Qt dialogs, driven as a user would ======================================================

namespace {

using namespace platform;

// Works the modal dialogs of one call from the event loop they run: each step is tried on every tick
// until it reports done. Five seconds after the start every dialog still open is rejected, so that a
// failing test ends instead of hanging.
class DialogDriver {
public:
    using Step = std::function<bool()>;

    explicit DialogDriver(std::vector<Step> steps)
        : m_steps(std::move(steps))
    {
        m_clock.start();
        m_timer.setInterval(20);
        QObject::connect(&m_timer, &QTimer::timeout, [this] { tick(); });
        m_timer.start();
    }

    bool finished() const { return m_next == m_steps.size(); }

private:
    void tick()
    {
        if (m_next < m_steps.size() && m_steps[m_next]())
            ++m_next;
        if (m_clock.elapsed() > 5000) {
            if (QWidget* modal = QApplication::activeModalWidget()) {
                if (auto* dialog = qobject_cast<QDialog*>(modal))
                    QMetaObject::invokeMethod(dialog, &QDialog::reject, Qt::QueuedConnection);
            }
        }
    }

    std::vector<Step> m_steps;
    std::size_t m_next = 0;
    QElapsedTimer m_clock;
    QTimer m_timer;
};

template <typename T>
T* shown()
{
    return qobject_cast<T*>(QApplication::activeModalWidget());
}

QString qt_text(const std::string& utf8)
{
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

std::string utf8_of(const QString& text)
{
    return text.toStdString();
}

// The names the dialog lists in its current folder, once the listing has arrived.
std::optional<std::set<std::string>> listed_names(QFileDialog& dialog)
{
    auto* model = dialog.findChild<QFileSystemModel*>();
    if (!model)
        return std::nullopt;
    QModelIndex folder = model->index(dialog.directory().absolutePath());
    if (model->rowCount(folder) == 0)
        return std::nullopt;
    std::set<std::string> names;
    for (int row = 0; row < model->rowCount(folder); ++row)
        names.insert(utf8_of(model->index(row, 0, folder).data().toString()));
    return names;
}

void write_file(const std::filesystem::path& path, std::string_view bytes)
{
    std::ofstream(path, std::ios::binary) << bytes;
}

class QtDialogTest : public testing::Test {
protected:
    void SetUp() override
    {
        set_dialog_service(nullptr);
        m_folder = std::filesystem::temp_directory_path() /
                   ("certmaker-dialogs-" + std::to_string(::getpid()) + "-" +
                    testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(m_folder);
        std::filesystem::create_directories(m_folder);
        m_previous_folder = std::filesystem::current_path();
    }

    void TearDown() override
    {
        std::filesystem::current_path(m_previous_folder);
        std::filesystem::remove_all(m_folder);
    }

    FileDialogRequest request_in_folder(FileDialogMode mode, std::uint32_t flags) const
    {
        FileDialogRequest request;
        request.mode = mode;
        request.flags = flags;
        request.filter = gbk_from_utf8("jpg图片|*.jpg|bmp图片|*.bmp|gif图片|*.gif|所有文件|*.*||");
        request.initial_filter_index = 1;
        request.initial_directory = gbk_from_utf8(m_folder.string());
        return request;
    }

    std::filesystem::path m_folder;
    std::filesystem::path m_previous_folder;
};

TEST_F(QtDialogTest, EachFilterListsItsFilesAndAllFilesListsNamesWithoutADot)
{
    write_file(m_folder / "a.jpg", "x");
    write_file(m_folder / "b.bmp", "x");
    write_file(m_folder / "README", "x");
    struct Case {
        int filter_index;
        std::set<std::string> expected;
    };
    for (const Case& c : {Case{1, {"a.jpg"}}, Case{2, {"b.bmp"}}, Case{4, {"README", "a.jpg", "b.bmp"}}}) {
        FileDialogRequest request = request_in_folder(FileDialogMode::Open, FileDialogFlag::FileMustExist);
        request.initial_filter_index = c.filter_index;
        std::set<std::string> names;
        DialogDriver driver({[&] {
            QFileDialog* dialog = shown<QFileDialog>();
            std::optional<std::set<std::string>> listed = dialog ? listed_names(*dialog) : std::nullopt;
            if (!listed)
                return false;
            names = *listed;
            QMetaObject::invokeMethod(dialog, &QDialog::reject, Qt::QueuedConnection);
            return true;
        }});
        EXPECT_FALSE(dialog_service().ask_file(request).confirmed);
        EXPECT_TRUE(driver.finished()) << c.filter_index;
        EXPECT_EQ(names, c.expected) << c.filter_index;
    }
}

// A name typed and confirmed: either the dialog takes it, or it says why in a box (answered with
// `answer`) and stays open until cancelled.
TEST_F(QtDialogTest, TheFlagsDecideWhichTypedNamesAreTaken)
{
    using namespace FileDialogFlag;
    write_file(m_folder / "old.bmp", "x");
    struct Case {
        const char* what;
        FileDialogMode mode;
        std::uint32_t flags;
        const char* typed;
        const char* box_says;  // null: no box
        QMessageBox::StandardButton answer;
        bool taken;
    };
    const Case cases[] = {
        {"missing folder", FileDialogMode::Save, PathMustExist, "no_such_folder/x.bmp", "路径不存在",
         QMessageBox::Ok, false},
        {"missing folder allowed", FileDialogMode::Save, 0, "no_such_folder/x.bmp", nullptr, QMessageBox::Ok, true},
        {"missing file", FileDialogMode::Open, FileMustExist | PathMustExist, "missing.bmp", "missing.bmp",
         QMessageBox::Ok, false},
        {"create declined", FileDialogMode::Save, CreatePrompt, "new.bmp", "要创建该文件吗", QMessageBox::No, false},
        {"create accepted", FileDialogMode::Save, CreatePrompt, "new.bmp", "要创建该文件吗", QMessageBox::Yes, true},
        {"overwrite declined", FileDialogMode::Save, OverwritePrompt, "old.bmp", "old.bmp", QMessageBox::No, false},
        {"overwrite unasked", FileDialogMode::Save, 0, "old.bmp", nullptr, QMessageBox::Ok, true},
    };
    for (const Case& c : cases) {
        FileDialogRequest request = request_in_folder(c.mode, c.flags);
        request.filter.clear();
        QString title;
        QString box_text;
        bool stayed_open = false;
        std::vector<DialogDriver::Step> steps = {[&] {
            QFileDialog* dialog = shown<QFileDialog>();
            if (!dialog)
                return false;
            title = dialog->windowTitle();
            dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(QString::fromUtf8(c.typed));
            QMetaObject::invokeMethod(dialog, "accept", Qt::QueuedConnection);
            return true;
        }};
        if (c.box_says) {
            steps.push_back([&] {
                QMessageBox* box = shown<QMessageBox>();
                if (!box)
                    return false;
                box_text = box->text();
                QMetaObject::invokeMethod(box->button(c.answer), &QAbstractButton::click, Qt::QueuedConnection);
                return true;
            });
        }
        if (!c.taken) {
            steps.push_back([&] {
                QFileDialog* dialog = shown<QFileDialog>();
                if (!dialog)
                    return false;
                stayed_open = true;
                QMetaObject::invokeMethod(dialog, &QDialog::reject, Qt::QueuedConnection);
                return true;
            });
        }
        DialogDriver driver(std::move(steps));
        FileDialogAnswer answer = dialog_service().ask_file(request);
        EXPECT_TRUE(driver.finished()) << c.what;
        EXPECT_EQ(answer.confirmed, c.taken) << c.what;
        EXPECT_EQ(stayed_open, !c.taken) << c.what;
        if (c.box_says) {
            EXPECT_TRUE(box_text.contains(QString::fromUtf8(c.box_says))) << c.what << ": " << utf8_of(box_text);
        }
        if (c.taken) {
            EXPECT_EQ(utf8_from_gbk(answer.path), (m_folder / c.typed).string()) << c.what;
        }
        // Qt's own texts are Chinese.
        EXPECT_EQ(utf8_of(title), c.mode == FileDialogMode::Save ? "另存为" : "打开") << c.what;
    }
}

TEST_F(QtDialogTest, KeepDirectoryDecidesWhetherTheChosenFolderBecomesCurrent)
{
    std::filesystem::create_directory(m_folder / "chosen");
    for (bool keep : {false, true}) {
        std::filesystem::current_path(m_folder);
        std::uint32_t flags = keep ? FileDialogFlag::NoChangeDirectory : 0;
        FileDialogRequest request = request_in_folder(FileDialogMode::Save, flags);
        DialogDriver driver({[&] {
            QFileDialog* dialog = shown<QFileDialog>();
            if (!dialog)
                return false;
            dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(QStringLiteral("chosen/x.bmp"));
            QMetaObject::invokeMethod(dialog, "accept", Qt::QueuedConnection);
            return true;
        }});
        EXPECT_TRUE(dialog_service().ask_file(request).confirmed);
        EXPECT_EQ(std::filesystem::current_path(), keep ? m_folder : m_folder / "chosen") << keep;
    }
}

// The folder a dialog opens in when none is asked for, as an ordinary user (the folder the program
// starts in is not theirs). Root writes everywhere, so the test takes another user's identity for the
// time of the call, keeping root's as the saved one to come back to.
TEST_F(QtDialogTest, WithoutAFolderTheDialogOpensWhereTheUserCanWrite)
{
    const std::filesystem::path home = m_folder / "home";
    const std::filesystem::path pictures = home / "Pictures";
    const std::filesystem::path writable = m_folder / "writable";
    const std::filesystem::path locked = m_folder / "locked";
    for (const auto& folder : {home, writable, locked})
        std::filesystem::create_directories(folder);
    std::filesystem::permissions(m_folder, std::filesystem::perms::all);
    std::filesystem::permissions(home, std::filesystem::perms::all);
    std::filesystem::permissions(writable, std::filesystem::perms::all);
    std::filesystem::permissions(locked, std::filesystem::perms::owner_all | std::filesystem::perms::group_read |
                                             std::filesystem::perms::group_exec | std::filesystem::perms::others_read |
                                             std::filesystem::perms::others_exec);
    if (::getuid() != 0)
        GTEST_SKIP() << "needs root to act as an ordinary user";
    const uid_t user = 65534;
    const char* old_home = std::getenv("HOME");
    const std::string saved_home = old_home ? old_home : "";
    ::setenv("HOME", home.c_str(), 1);
    ::unsetenv("XDG_CONFIG_HOME");

    auto folder_shown = [&](const std::filesystem::path& current) {
        std::filesystem::current_path(current);
        QString folder;
        DialogDriver driver({[&] {
            QFileDialog* dialog = shown<QFileDialog>();
            if (!dialog)
                return false;
            folder = dialog->directory().absolutePath();
            QMetaObject::invokeMethod(dialog, &QDialog::reject, Qt::QueuedConnection);
            return true;
        }});
        FileDialogRequest request = request_in_folder(FileDialogMode::Save, FileDialogFlag::PathMustExist);
        request.initial_directory.clear();
        if (::setresuid(user, user, 0) != 0)
            return std::string("(could not change user)");
        dialog_service().ask_file(request);
        if (::setresuid(0, 0, 0) != 0)
            std::abort();
        return utf8_of(folder);
    };
    EXPECT_EQ(folder_shown(writable), writable.string());
    EXPECT_EQ(folder_shown(locked), home.string());
    std::filesystem::create_directory(pictures);
    std::filesystem::permissions(pictures, std::filesystem::perms::all);
    EXPECT_EQ(folder_shown(locked), pictures.string());

    ::setenv("HOME", saved_home.c_str(), 1);
}

// Type names come from the file's name: reading a special file to sniff its type blocks for good.
// A file without an extension that holds a PNG signature shows whether its contents were read.
TEST_F(QtDialogTest, TheFileListNeverReadsAFile)
{
    write_file(m_folder / "picture", std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16));
    const QString sniffed = QMimeDatabase().mimeTypeForFile(qt_text((m_folder / "picture").string())).comment();
    ASSERT_FALSE(sniffed.isEmpty());
    FileDialogRequest request = request_in_folder(FileDialogMode::Open, 0);
    request.filter.clear();
    QString type;
    DialogDriver driver({[&] {
        QFileDialog* dialog = shown<QFileDialog>();
        auto* model = dialog ? dialog->findChild<QFileSystemModel*>() : nullptr;
        if (!model || !listed_names(*dialog))
            return false;
        QModelIndex index = model->index(qt_text((m_folder / "picture").string()));
        type = model->index(index.row(), 2, index.parent()).data().toString();
        if (type.isEmpty())
            return false;
        QMetaObject::invokeMethod(dialog, &QDialog::reject, Qt::QueuedConnection);
        return true;
    }});
    dialog_service().ask_file(request);
    EXPECT_TRUE(driver.finished());
    EXPECT_NE(type, sniffed);
}

// The window a dialog was opened over is active again afterwards, with the focus where it was.
TEST_F(QtDialogTest, TheOwnerGetsActivationAndFocusBack)
{
    register_edit_class();
    if (!is_window_class_registered("DialogOwner")) {
        ClassInfo info;
        info.procedure = &default_window_procedure;
        register_window_class("DialogOwner", std::move(info));
    }
    CreateParams params;
    params.class_name = "DialogOwner";
    params.style = WS_OVERLAPPED | WS_CAPTION;
    params.width = 300;
    params.height = 200;
    WindowHandle owner = create_window(params);
    show_window(owner, ShowCommand::Show);
    CreateParams edit_params;
    edit_params.class_name = kEditClassName;
    edit_params.style = WS_CHILD | WS_VISIBLE | WS_TABSTOP;
    edit_params.width = 100;
    edit_params.height = 24;
    edit_params.parent = owner;
    WindowHandle edit = create_window(edit_params);
    set_focus(edit);
    process_waiting_messages();
    ASSERT_EQ(focus_window(), edit);

    FileDialogRequest file_request = request_in_folder(FileDialogMode::Save, 0);
    file_request.owner = edit;
    DialogDriver driver({[&] {
        QFileDialog* dialog = shown<QFileDialog>();
        if (!dialog)
            return false;
        QMetaObject::invokeMethod(dialog, &QDialog::reject, Qt::QueuedConnection);
        return true;
    }, [&] {
        QMessageBox* box = shown<QMessageBox>();
        if (!box)
            return false;
        QMetaObject::invokeMethod(box, &QDialog::accept, Qt::QueuedConnection);
        return true;
    }});
    dialog_service().ask_file(file_request);
    process_waiting_messages();
    EXPECT_EQ(active_window(), owner);
    EXPECT_EQ(focus_window(), edit);
    dialog_service().show_message_box(MessageBoxRequest{"t", "x", MessageBoxIcon::Error});
    process_waiting_messages();
    EXPECT_TRUE(driver.finished());
    EXPECT_EQ(active_window(), owner);
    EXPECT_EQ(focus_window(), edit);
    destroy_window(owner);
    process_waiting_messages();
}

TEST_F(QtDialogTest, TheFontDialogReturnsItsColour)
{
    struct Case {
        Colour initial;
        const char* pick;  // null: leave the colour as it is
        Colour expected;
    };
    for (const Case& c : {Case{0x0000FF, "蓝色", 0xFF0000}, Case{0x123456, nullptr, 0x123456},
                          Case{0x000000, "紫红色", 0xFF00FF}}) {
        FontDialogRequest request;
        request.colour = c.initial;
        DialogDriver driver({[&] {
            QFontDialog* dialog = shown<QFontDialog>();
            if (!dialog)
                return false;
            auto* colours = dialog->findChild<QComboBox*>(QStringLiteral("colour"));
            if (colours && c.pick)
                colours->setCurrentIndex(colours->findText(QString::fromUtf8(c.pick)));
            QMetaObject::invokeMethod(dialog, &QDialog::accept, Qt::QueuedConnection);
            return true;
        }});
        FontDialogAnswer answer = dialog_service().ask_font(request);
        EXPECT_TRUE(answer.confirmed);
        EXPECT_EQ(answer.colour, c.expected) << std::hex << c.initial;
    }
}

// The child run of the test below: one file dialog, shown and confirmed.
TEST_F(QtDialogTest, DISABLED_OneFileDialog)
{
    DialogDriver driver({[&] {
        QFileDialog* dialog = shown<QFileDialog>();
        if (!dialog || !listed_names(*dialog))
            return false;
        dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(QStringLiteral("x.bmp"));
        QMetaObject::invokeMethod(dialog, "accept", Qt::QueuedConnection);
        return true;
    }});
    write_file(m_folder / "y.bmp", "x");
    FileDialogRequest request = request_in_folder(FileDialogMode::Save, 0);
    request.filter.clear();
    EXPECT_TRUE(dialog_service().ask_file(request).confirmed);
}

TEST_F(QtDialogTest, ARunWritesNothingIntoTheConfigurationFolder)
{
    const std::filesystem::path configuration = m_folder / "config";
    std::filesystem::create_directory(configuration);
    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), qt_text(configuration.string()));
    child.setProcessEnvironment(environment);
    child.start(qt_text(std::filesystem::read_symlink("/proc/self/exe").string()),
                {QStringLiteral("--gtest_also_run_disabled_tests"),
                 QStringLiteral("--gtest_filter=QtDialogTest.DISABLED_OneFileDialog")});
    ASSERT_TRUE(child.waitForFinished(30000));
    EXPECT_EQ(child.exitCode(), 0) << child.readAll().toStdString();
    EXPECT_TRUE(std::filesystem::is_empty(configuration));
}

}  // namespace
