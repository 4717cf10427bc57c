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
#include <tuple>
#include <type_traits>
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
namespace fs = std::filesystem;
using Step = std::function<bool()>;

// Works the modal dialogs of one call from the event loop they run: each step is tried on every tick
// until it reports done. After five seconds whatever dialog is still open is rejected, so that a
// failing test ends instead of hanging.
class DialogDriver {
public:
    explicit DialogDriver(std::vector<Step> steps)
        : m_steps(std::move(steps))
    {
        m_clock.start();
        QObject::connect(&m_timer, &QTimer::timeout, [this] {
            if (m_next < m_steps.size() && m_steps[m_next]())
                ++m_next;
            if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
                dialog && m_clock.elapsed() > 5000)
                QMetaObject::invokeMethod(dialog, &QDialog::reject, Qt::QueuedConnection);
        });
        m_timer.start(20);
    }

    bool finished() const { return m_next == m_steps.size(); }

private:
    std::vector<Step> m_steps;
    std::size_t m_next = 0;
    QElapsedTimer m_clock;
    QTimer m_timer;
};

template <typename T> T* shown()
{
    return qobject_cast<T*>(QApplication::activeModalWidget());
}

// The names the file dialog lists in its folder, once the listing has arrived.
std::optional<std::set<std::string>> listed_names(QFileDialog* dialog)
{
    auto* model = dialog ? dialog->findChild<QFileSystemModel*>() : nullptr;
    QModelIndex folder = model ? model->index(dialog->directory().absolutePath()) : QModelIndex();
    if (!model || model->rowCount(folder) == 0)
        return std::nullopt;
    std::set<std::string> names;
    for (int row = 0; row < model->rowCount(folder); ++row)
        names.insert(model->index(row, 0, folder).data().toString().toStdString());
    return names;
}

Step type_and_confirm(const char* name)
{
    return [name] {
        QFileDialog* dialog = shown<QFileDialog>();
        if (!dialog)
            return false;
        dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(QString::fromUtf8(name));
        QMetaObject::invokeMethod(dialog, "accept", Qt::QueuedConnection);
        return true;
    };
}

// Runs `look` on the shown dialog of type T until it returns true, then cancels (or, for a box,
// presses `button`).
template <typename T>
Step on_shown(std::function<bool(T&)> look, QMessageBox::StandardButton button = QMessageBox::NoButton)
{
    return [look = std::move(look), button] {
        T* dialog = shown<T>();
        if (!dialog || !look(*dialog))
            return false;
        static_cast<void>(button);  // only message boxes are answered with a button
        if constexpr (std::is_same_v<T, QMessageBox>)
            QMetaObject::invokeMethod(dialog->button(button), &QAbstractButton::click, Qt::QueuedConnection);
        else
            QMetaObject::invokeMethod(dialog, &QDialog::reject, Qt::QueuedConnection);
        return true;
    };
}

class QtDialogTest : public testing::Test {
protected:
    void SetUp() override
    {
        set_dialog_service(nullptr);
        m_folder = fs::temp_directory_path() / ("certmaker-dialogs-" + std::to_string(::getpid()) + "-" +
                                                testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(m_folder);
        fs::create_directories(m_folder);
        m_previous_folder = fs::current_path();
    }

    void TearDown() override
    {
        fs::current_path(m_previous_folder);
        fs::remove_all(m_folder);
    }

    void write_file(const std::string& name, std::string_view bytes = "x") const
    {
        std::ofstream(m_folder / name, std::ios::binary) << bytes;
    }

    FileDialogRequest request(FileDialogMode mode, std::uint32_t flags, int filter_index = 0) const
    {
        FileDialogRequest request;
        request.mode = mode;
        request.flags = flags;
        if (filter_index > 0)
            request.filter = gbk_from_utf8("jpg图片|*.jpg|bmp图片|*.bmp|gif图片|*.gif|所有文件|*.*||");
        request.initial_filter_index = filter_index;
        request.initial_directory = gbk_from_utf8(m_folder.string());
        return request;
    }

    fs::path m_folder;
    fs::path m_previous_folder;
};

TEST_F(QtDialogTest, EachFilterListsItsFilesAndAllFilesListsNamesWithoutADot)
{
    for (const char* name : {"a.jpg", "b.bmp", "README"})
        write_file(name);
    for (auto [index, expected] :
         {std::pair<int, std::set<std::string>>{1, {"a.jpg"}}, {2, {"b.bmp"}}, {4, {"README", "a.jpg", "b.bmp"}}}) {
        std::set<std::string> names;
        DialogDriver driver({on_shown<QFileDialog>([&](QFileDialog& dialog) {
            std::optional<std::set<std::string>> listed = listed_names(&dialog);
            names = listed.value_or(names);
            return listed.has_value();
        })});
        dialog_service().ask_file(request(FileDialogMode::Open, FileDialogFlag::FileMustExist, index));
        EXPECT_TRUE(driver.finished()) << index;
        EXPECT_EQ(names, expected) << index;
    }
}

// A name typed and confirmed: either the dialog takes it, or it says why in a box (answered with
// `answer`) and stays open until cancelled. Qt's own texts (the title) are Chinese.
TEST_F(QtDialogTest, TheFlagsDecideWhichTypedNamesAreTaken)
{
    using namespace FileDialogFlag;
    write_file("old.bmp");
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
        {"missing folder", FileDialogMode::Save, PathMustExist, "no_such_folder/x.bmp", "路径不存在", QMessageBox::Ok,
         false},
        {"missing folder allowed", FileDialogMode::Save, 0, "no_such_folder/x.bmp", nullptr, QMessageBox::Ok, true},
        {"missing file", FileDialogMode::Open, FileMustExist | PathMustExist, "missing.bmp", "missing.bmp",
         QMessageBox::Ok, false},
        {"create declined", FileDialogMode::Save, CreatePrompt, "new.bmp", "要创建该文件吗", QMessageBox::No, false},
        {"create accepted", FileDialogMode::Save, CreatePrompt, "new.bmp", "要创建该文件吗", QMessageBox::Yes, true},
        {"overwrite declined", FileDialogMode::Save, OverwritePrompt, "old.bmp", "old.bmp", QMessageBox::No, false},
        {"overwrite unasked", FileDialogMode::Save, 0, "old.bmp", nullptr, QMessageBox::Ok, true},
    };
    for (const Case& c : cases) {
        QString title;
        QString box_text;
        bool stayed_open = false;
        std::vector<Step> steps = {[&] {
            title = shown<QFileDialog>() ? shown<QFileDialog>()->windowTitle() : title;
            return type_and_confirm(c.typed)();
        }};
        if (c.box_says)
            steps.push_back(
                on_shown<QMessageBox>([&](QMessageBox& box) { return !(box_text = box.text()).isEmpty(); }, c.answer));
        if (!c.taken)
            steps.push_back(on_shown<QFileDialog>([&](QFileDialog&) { return stayed_open = true; }));
        DialogDriver driver(std::move(steps));
        FileDialogAnswer answer = dialog_service().ask_file(request(c.mode, c.flags));
        EXPECT_TRUE(driver.finished()) << c.what;
        EXPECT_EQ(answer.confirmed, c.taken) << c.what;
        EXPECT_EQ(stayed_open, !c.taken) << c.what;
        EXPECT_TRUE(!c.box_says || box_text.contains(QString::fromUtf8(c.box_says))) << c.what;
        EXPECT_EQ(utf8_from_gbk(answer.path), c.taken ? (m_folder / c.typed).string() : "") << c.what;
        EXPECT_EQ(title.toStdString(), c.mode == FileDialogMode::Save ? "另存为" : "打开") << c.what;
    }
}

TEST_F(QtDialogTest, KeepDirectoryDecidesWhetherTheChosenFolderBecomesCurrent)
{
    fs::create_directory(m_folder / "chosen");
    for (bool keep : {false, true}) {
        fs::current_path(m_folder);
        DialogDriver driver({type_and_confirm("chosen/x.bmp")});
        std::uint32_t flags = keep ? FileDialogFlag::NoChangeDirectory : 0;
        EXPECT_TRUE(dialog_service().ask_file(request(FileDialogMode::Save, flags)).confirmed);
        EXPECT_EQ(fs::current_path(), keep ? m_folder : m_folder / "chosen") << keep;
    }
}

// The folder a dialog opens in when none is asked for, as an ordinary user would see it (the folder
// the program starts in is not theirs). Root writes everywhere, so the call runs under another user's
// identity, with root's kept as the saved one to come back to.
TEST_F(QtDialogTest, WithoutAFolderTheDialogOpensWhereTheUserCanWrite)
{
    if (::getuid() != 0)
        GTEST_SKIP() << "needs root to act as an ordinary user";
    const fs::path home = m_folder / "home";
    const fs::path writable = m_folder / "writable";
    const fs::path locked = m_folder / "locked";
    for (const fs::path& folder : {home, writable, locked}) {
        fs::create_directories(folder);
        fs::permissions(folder, folder == locked ? fs::perms(0755) : fs::perms::all);
    }
    fs::permissions(m_folder, fs::perms::all);
    const std::string saved_home = std::getenv("HOME") ? std::getenv("HOME") : "";
    ::setenv("HOME", home.c_str(), 1);
    ::unsetenv("XDG_CONFIG_HOME");

    auto folder_shown = [&](const fs::path& current) {
        fs::current_path(current);
        std::string folder;
        DialogDriver driver({on_shown<QFileDialog>([&](QFileDialog& dialog) {
            folder = dialog.directory().absolutePath().toStdString();
            return true;
        })});
        FileDialogRequest asked = request(FileDialogMode::Save, FileDialogFlag::PathMustExist);
        asked.initial_directory.clear();
        if (::setresuid(65534, 65534, 0) != 0)
            return std::string("(could not change user)");
        dialog_service().ask_file(asked);
        if (::setresuid(0, 0, 0) != 0)
            std::abort();
        return folder;
    };
    EXPECT_EQ(folder_shown(writable), writable.string());
    EXPECT_EQ(folder_shown(locked), home.string());
    fs::create_directory(home / "Pictures");
    fs::permissions(home / "Pictures", fs::perms::all);
    EXPECT_EQ(folder_shown(locked), (home / "Pictures").string());
    ::setenv("HOME", saved_home.c_str(), 1);
}

// Type names come from the file's name: reading a special file to sniff its type blocks for good.
// A file without an extension that holds a PNG signature shows whether its contents were read.
TEST_F(QtDialogTest, TheFileListNeverReadsAFile)
{
    write_file("picture", std::string_view("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16));
    const QString path = QString::fromStdString((m_folder / "picture").string());
    const QString sniffed = QMimeDatabase().mimeTypeForFile(path).comment();
    ASSERT_FALSE(sniffed.isEmpty());
    QString type;
    DialogDriver driver({on_shown<QFileDialog>([&](QFileDialog& dialog) {
        auto* model = dialog.findChild<QFileSystemModel*>();
        QModelIndex index = listed_names(&dialog) ? model->index(path) : QModelIndex();
        type = index.siblingAtColumn(2).data().toString();
        return !type.isEmpty();
    })});
    dialog_service().ask_file(request(FileDialogMode::Open, 0));
    EXPECT_TRUE(driver.finished());
    EXPECT_NE(type, sniffed);
}

// The window a dialog or box was opened over is active again afterwards, with the focus where it was.
TEST_F(QtDialogTest, TheOwnerGetsActivationAndFocusBack)
{
    register_edit_class();
    if (!is_window_class_registered("DialogOwner"))
        register_window_class("DialogOwner", ClassInfo{});
    CreateParams params;
    params.class_name = "DialogOwner";
    params.style = WS_OVERLAPPED | WS_CAPTION;
    params.width = 300;
    params.height = 200;
    WindowHandle owner = create_window(params);
    show_window(owner, ShowCommand::Show);
    params.class_name = kEditClassName;
    params.style = WS_CHILD | WS_VISIBLE | WS_TABSTOP;
    params.parent = owner;
    WindowHandle edit = create_window(params);
    set_focus(edit);
    process_waiting_messages();
    ASSERT_EQ(focus_window(), edit);

    DialogDriver driver({on_shown<QFileDialog>([](QFileDialog&) { return true; }),
                         on_shown<QMessageBox>([](QMessageBox&) { return true; }, QMessageBox::Ok)});
    FileDialogRequest asked = request(FileDialogMode::Save, 0);
    asked.owner = edit;
    dialog_service().ask_file(asked);
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
    for (auto [initial, pick, expected] : {std::tuple<Colour, const char*, Colour>{0x0000FF, "蓝色", 0xFF0000},
                                           {0x123456, nullptr, 0x123456},
                                           {0x000000, "紫红色", 0xFF00FF}}) {
        DialogDriver driver({[pick = pick] {
            QFontDialog* dialog = shown<QFontDialog>();
            auto* colours = dialog ? dialog->findChild<QComboBox*>(QStringLiteral("colour")) : nullptr;
            if (colours && pick)
                colours->setCurrentIndex(colours->findText(QString::fromUtf8(pick)));
            if (dialog)
                QMetaObject::invokeMethod(dialog, &QDialog::accept, Qt::QueuedConnection);
            return dialog != nullptr;
        }});
        FontDialogRequest asked;
        asked.colour = initial;
        FontDialogAnswer answer = dialog_service().ask_font(asked);
        EXPECT_TRUE(answer.confirmed);
        EXPECT_EQ(answer.colour, expected) << std::hex << initial;
    }
}

// Run by the test below in a process of its own: one file dialog, shown and confirmed.
TEST_F(QtDialogTest, DISABLED_OneFileDialog)
{
    write_file("y.bmp");
    DialogDriver driver({[] { return listed_names(shown<QFileDialog>()) && type_and_confirm("x.bmp")(); }});
    EXPECT_TRUE(dialog_service().ask_file(request(FileDialogMode::Save, 0)).confirmed);
}

TEST_F(QtDialogTest, ARunWritesNothingIntoTheConfigurationFolder)
{
    const fs::path configuration = m_folder / "config";
    fs::create_directory(configuration);
    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), QString::fromStdString(configuration.string()));
    child.setProcessEnvironment(environment);
    child.start(QString::fromStdString(fs::read_symlink("/proc/self/exe").string()),
                {QStringLiteral("--gtest_also_run_disabled_tests"),
                 QStringLiteral("--gtest_filter=QtDialogTest.DISABLED_OneFileDialog")});
    ASSERT_TRUE(child.waitForFinished(30000));
    EXPECT_EQ(child.exitCode(), 0) << child.readAll().toStdString();
    EXPECT_TRUE(fs::is_empty(configuration));
}

}  // namespace
