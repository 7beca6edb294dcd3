// The update checks against the feed the real local service serves (version 0.1.0).
#include <gtest/gtest.h>

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>

#include "ClosedPort.h"
#include "LocalService.h"
#include "platform/AppcastFeed.h"
#include "platform/StandardUpdater.h"
#include "platform/UpdateWindow.h"
#include "platform/Workspace.h"

using namespace quillet::app;

namespace {

class Updates : public ::testing::Test {
protected:
    ~Updates() override {
        Workspace::setOpener([](const QUrl&) {});
    }

    QUrl feed() const { return QUrl(QString::fromStdString(service_.url()) + "/appcast.xml"); }
    static void waitFor(StandardUpdater& updater) {
        QSignalSpy finished(&updater, &StandardUpdater::checkFinished);
        ASSERT_TRUE(finished.wait(10000));
    }

    quillet::test::LocalService service_;
};

TEST_F(Updates, TheInteractiveCheckShowsProgressThenTheNewVersionWithItsDownloadPage) {
    StandardUpdater updater(feed(), "0.0.9");
    updater.checkForUpdates();
    UpdateWindow* window = updater.window();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->headline()->text(), "正在检查更新…");
    EXPECT_TRUE(window->progress()->isVisible());

    waitFor(updater);
    EXPECT_EQ(window->headline()->text(), "发现新版本 Quillet 0.1.0");
    EXPECT_TRUE(window->detail()->text().startsWith("当前版本 0.0.9。"));
    EXPECT_FALSE(window->progress()->isVisible());
    ASSERT_TRUE(window->downloadButton()->isVisible());

    QUrl opened;
    Workspace::setOpener([&](const QUrl& url) { opened = url; });
    window->downloadButton()->click();
    EXPECT_EQ(opened, QUrl("https://github.com/quillet-app/quillet/releases"));
    EXPECT_FALSE(window->isVisible());
}

TEST_F(Updates, TheInteractiveCheckSaysUpToDateOrWhyItFailed) {
    StandardUpdater current(feed(), "0.1.0");
    current.checkForUpdates();
    waitFor(current);
    EXPECT_EQ(current.window()->headline()->text(), "Quillet 已是最新版本");
    EXPECT_FALSE(current.window()->downloadButton()->isVisible());

    StandardUpdater unreachable(QUrl(closedLoopbackAddress("/appcast.xml")), "0.1.0");
    unreachable.checkForUpdates();
    waitFor(unreachable);
    EXPECT_EQ(unreachable.window()->headline()->text(), "检查更新失败");
    EXPECT_EQ(unreachable.window()->detail()->text(), "服务器拒绝连接");

    StandardUpdater missing(QUrl(QString::fromStdString(service_.url()) + "/nothing.xml"), "0.1");
    missing.checkForUpdates();
    waitFor(missing);
    EXPECT_EQ(missing.window()->headline()->text(), "检查更新失败");
    EXPECT_EQ(missing.window()->detail()->text(), "服务器上没有更新信息 (404)");
}

TEST_F(Updates, TheBackgroundCheckShowsAWindowOnlyForANewerVersion) {
    StandardUpdater current(feed(), "0.1.0");
    current.checkForUpdatesInBackground();
    waitFor(current);
    EXPECT_EQ(current.window(), nullptr);

    StandardUpdater unreachable(QUrl(closedLoopbackAddress("/appcast.xml")), "0.0.1");
    unreachable.checkForUpdatesInBackground();
    waitFor(unreachable);
    EXPECT_EQ(unreachable.window(), nullptr);

    StandardUpdater older(feed(), "0.0.1");
    older.checkForUpdatesInBackground();
    waitFor(older);
    ASSERT_NE(older.window(), nullptr);
    EXPECT_TRUE(older.window()->isVisible());
    EXPECT_EQ(older.window()->headline()->text(), "发现新版本 Quillet 0.1.0");
}

TEST(AppcastFeed, PicksTheNewestItemAndRefusesWhatIsNotAFeed) {
    const QByteArray feed = R"(<?xml version="1.0"?>
<rss xmlns:sparkle="http://www.andymatuschak.org/xml-namespaces/sparkle"><channel>
  <item><title>old</title><sparkle:version>0.9</sparkle:version></item>
  <item><title>new</title><enclosure url="https://example.com/q.zip" sparkle:version="0.10"/></item>
  <item><title>no version</title></item>
</channel></rss>)";
    const auto newest = AppcastFeed::newestItem(feed);
    ASSERT_TRUE(newest.has_value());
    EXPECT_EQ(newest->title, "new");
    EXPECT_EQ(newest->version, "0.10");
    EXPECT_EQ(newest->downloadPage, "https://example.com/q.zip");

    EXPECT_FALSE(AppcastFeed::newestItem("<rss><channel></channel></rss>").has_value());
    EXPECT_FALSE(AppcastFeed::newestItem("<html><body>502").has_value());
    EXPECT_FALSE(AppcastFeed::newestItem("").has_value());
}

TEST(AppcastFeed, ComparesVersionsPartByPartAsNumbers) {
    EXPECT_GT(AppcastFeed::compareVersions("0.10", "0.9"), 0);
    EXPECT_EQ(AppcastFeed::compareVersions("1.0", "1"), 0);
    EXPECT_LT(AppcastFeed::compareVersions("1.2", "1.2.1"), 0);
    EXPECT_LT(AppcastFeed::compareVersions("0.1.0", "2"), 0);
}

} // namespace
