#include "platform/dialogs.h"
#include "platform/text_encoding.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

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
