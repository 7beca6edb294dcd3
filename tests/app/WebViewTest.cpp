// The help page viewer on pages the real local service serves.
#include <gtest/gtest.h>

#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QWebEnginePage>
#include <QWebEngineView>

#include "ClosedPort.h"
#include "LocalService.h"
#include "platform/Workspace.h"
#include "shell/CMWebViewController.h"
#include "toolkit/ProgressView.h"

namespace {

class HelpPage : public ::testing::Test {
protected:
    ~HelpPage() override {
        Workspace::setOpener([](const QUrl&) {});
    }

    void open(const QString& url) {
        page_.url = url;
        page_.resize(760, 510);
        page_.show();
    }
    void waitForLoad(QSignalSpy& finished, int count) {
        ASSERT_TRUE(QTest::qWaitFor([&] { return finished.count() == count; }, 20000));
    }
    QVariant evaluate(const QString& script) {
        QVariant result;
        bool done = false;
        page_.webView()->page()->runJavaScript(script, [&](const QVariant& value) {
            result = value;
            done = true;
        });
        [&] { ASSERT_TRUE(QTest::qWaitFor([&] { return done; }, 10000)); }();
        return result;
    }
    QString pageText() { return evaluate("document.body.innerText").toString(); }
    QString address() const { return page_.webView()->url().toString(); }
    bool overlayShown() const {
        return page_.loadingProgress() != nullptr && page_.loadingProgress()->isVisible();
    }

    quillet::test::LocalService service_;
    QString site_ = QString::fromStdString(service_.url()) + "/index.php";
    CMWebViewController page_;
};

TEST_F(HelpPage, LoadsWithTheOverlayThenShowsThePageOnWhiteWithoutABackArrow) {
    QSignalSpy finished(&page_, &CMWebViewController::pageFinished);
    open(site_ + "/901.html");
    EXPECT_TRUE(overlayShown());
    waitForLoad(finished, 1);
    EXPECT_FALSE(overlayShown());
    EXPECT_TRUE(pageText().contains("公告")) << pageText().toStdString();
    EXPECT_EQ(evaluate("getComputedStyle(document.body).backgroundColor").toString(),
              "rgb(255, 255, 255)");
    EXPECT_FALSE(page_.backbtn()->isVisible());
}

TEST_F(HelpPage, ALinkInsideThePageBringsTheBackArrowWhichGoesBack) {
    QSignalSpy finished(&page_, &CMWebViewController::pageFinished);
    open(site_ + "/901.html");
    waitForLoad(finished, 1);
    // Followed as a user's click would be. (A click made by a script would not do: the browser
    // skips back over history entries that were left without a user's gesture.)
    page_.webView()->load(QUrl(site_ + "/904.html"));
    waitForLoad(finished, 2);
    EXPECT_TRUE(address().endsWith("/904.html"));
    EXPECT_TRUE(page_.backbtn()->isVisible());

    page_.backbtn()->click();
    waitForLoad(finished, 3);
    EXPECT_TRUE(address().endsWith("/901.html"));
    EXPECT_FALSE(page_.backbtn()->isVisible());
}

TEST_F(HelpPage, AJumpLinkOpensInTheBrowserWithoutJumpAndThePageStays) {
    QUrl opened;
    Workspace::setOpener([&](const QUrl& url) { opened = url; });
    QSignalSpy finished(&page_, &CMWebViewController::pageFinished);
    open(site_ + "/901.html");
    waitForLoad(finished, 1);
    evaluate("document.querySelector('a[href$=\".jump\"]').click()");
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return opened == QUrl("https://github.com/quillet-app/quillet/releases"); }));
    QTest::qWait(200);
    EXPECT_TRUE(address().endsWith("/901.html"));
    EXPECT_EQ(finished.count(), 1);
}

TEST_F(HelpPage, AnUnreachableServerShowsTheRedConnectionText) {
    open(closedLoopbackAddress("/index.php/901.html"));
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return pageText() == QString("网络异常: 无法连接服务器"); }, 20000));
    EXPECT_FALSE(overlayShown());
    EXPECT_EQ(evaluate("getComputedStyle(document.querySelector('p')).color").toString(),
              "rgb(255, 0, 0)");
}

} // namespace
