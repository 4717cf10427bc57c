// The platform application: the program's default window icon, as the platform takes it from PNG
// files, and the notices of the platform plugin that are kept from the user.

#include "window_test_support.h"

#include "platform/application.h"
#include "platform/qt/application_qt.h"
#include "platform/qt/native_window_qt.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QBuffer>
#include <QIcon>
#include <QImage>
#include <QString>
#include <QWidget>

#include <string>
#include <vector>

namespace platform_test {
namespace {

std::vector<std::uint8_t> png_of_size(int size)
{
    QImage image(size, size, QImage::Format_ARGB32);
    image.fill(Qt::red);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return {bytes.begin(), bytes.end()};
}

class DefaultIconTest : public WindowTest {
protected:
    void TearDown() override
    {
        QApplication::setWindowIcon(QIcon());
        WindowTest::TearDown();
    }
};

TEST_F(DefaultIconTest, KeepsEveryDecodableSizeAndWindowsShowIt)
{
    const std::vector<std::uint8_t> small = png_of_size(16);
    const std::vector<std::uint8_t> large = png_of_size(48);
    std::vector<std::uint8_t> cut(small.begin(), small.begin() + static_cast<std::ptrdiff_t>(small.size() / 2));
    const std::vector<std::uint8_t> not_png = {'G', 'I', 'F', '8', '9', 'a', 0, 0};
    const std::vector<std::span<const std::uint8_t>> files = {small, cut, not_png, {}, large};

    EXPECT_EQ(set_default_window_icon(files), 2);
    const QList<QSize> sizes = QApplication::windowIcon().availableSizes();
    EXPECT_EQ(sizes.size(), 2);
    EXPECT_TRUE(sizes.contains(QSize(16, 16)));
    EXPECT_TRUE(sizes.contains(QSize(48, 48)));

    // A top-level window made afterwards has no icon of its own and shows the default one.
    WindowHandle window = make_top_level(0, 0, 100, 80, WS_OVERLAPPEDWINDOW);
    auto native = find_window(window);
    ASSERT_TRUE(native && native->outer);
    EXPECT_EQ(native->outer->windowIcon().availableSizes(), sizes);
}

TEST_F(DefaultIconTest, NothingDecodableLeavesTheIconAlone)
{
    const std::vector<std::uint8_t> first = png_of_size(32);
    const std::vector<std::span<const std::uint8_t>> good = {first};
    ASSERT_EQ(set_default_window_icon(good), 1);
    const qint64 kept = QApplication::windowIcon().cacheKey();

    const std::vector<std::uint8_t> garbage(64, 0xFF);
    const std::vector<std::span<const std::uint8_t>> bad = {garbage};
    EXPECT_EQ(set_default_window_icon(bad), 0);
    EXPECT_EQ(set_default_window_icon({}), 0);
    EXPECT_EQ(QApplication::windowIcon().cacheKey(), kept);
}

TEST_F(DefaultIconTest, PixelsAreDecodedWhenAskedFor)
{
    const std::vector<std::uint8_t> small = png_of_size(16);
    const std::vector<std::uint8_t> large = png_of_size(48);
    const std::vector<std::span<const std::uint8_t>> files = {small, large};
    ASSERT_EQ(set_default_window_icon(files), 2);
    QImage shown = QApplication::windowIcon().pixmap(QSize(48, 48)).toImage();
    ASSERT_EQ(shown.size(), QSize(48, 48));
    EXPECT_EQ(shown.pixel(24, 24), QColor(Qt::red).rgba());
    EXPECT_EQ(QApplication::windowIcon().pixmap(QSize(16, 16)).size(), QSize(16, 16));
}

}  // namespace
}  // namespace platform_test

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
    EXPECT_EQ(received(),
              (std::vector<std::string>{"a real warning", "This plugin does not support raise()", "information"}));
}

}  // namespace
