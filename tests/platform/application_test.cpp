#include "platform/application.h"

#include "platform/qt/application_qt.h"

#include <gtest/gtest.h>

#include <QString>
#include <QWidget>

#include <string>
#include <vector>

namespace {

std::vector<std::string>& received()
{
    static std::vector<std::string> messages;
    return messages;
}

void capture(QtMsgType, const QMessageLogContext&, const QString& message)
{
    received().push_back(message.toStdString());
}

TEST(PlatformNotices, FeatureNoticesOfThePlatformPluginAreDroppedAndEverythingElsePasses)
{
    ASSERT_TRUE(platform::platform_started());
    QtMessageHandler before = qInstallMessageHandler(capture);
    EXPECT_EQ(platform::install_platform_notice_filter(), &capture);
    received().clear();

    qWarning("This plugin does not support raise()");
    qWarning("This plugin does not support grabbing the keyboard");
    // The notices as the offscreen platform itself gives them.
    QWidget widget;
    widget.show();
    widget.raise();
    widget.grabKeyboard();
    widget.releaseKeyboard();

    qWarning("a real warning");
    qCritical("This plugin does not support raise()");  // not a warning: kept
    qInfo("information");

    qInstallMessageHandler(before);
    EXPECT_EQ(received(), (std::vector<std::string>{"a real warning", "This plugin does not support raise()",
                                                    "information"}));
}

}  // namespace
