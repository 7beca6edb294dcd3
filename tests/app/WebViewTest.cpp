// The help page viewer on pages the real local service serves.
#include <gtest/gtest.h>

#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QWebEnginePage>
#include <QWebEngineView>

#include "ClosedPort.h"
#include "FixedAnswerServer.h"
#include "LocalService.h"
#include "platform/Workspace.h"
#include "shell/CMWebViewController.h"
#include "toolkit/ProgressView.h"

using namespace quillet::app;

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

TEST_F(HelpPage, AnUnreachableServerShowsTheRedConnectionTextAndNoBackArrow) {
    QSignalSpy finished(&page_, &CMWebViewController::pageFinished);
    open(closedLoopbackAddress("/index.php/901.html"));
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return pageText() == QString("网络异常: 无法连接服务器"); }, 20000));
    waitForLoad(finished, 1);
    EXPECT_FALSE(overlayShown());
    EXPECT_EQ(evaluate("getComputedStyle(document.querySelector('p')).color").toString(),
              "rgb(255, 0, 0)");
    // The error text is no page to go back from.
    EXPECT_FALSE(page_.backbtn()->isVisible());
}

TEST_F(HelpPage, AfterALinkThatFailsTheBackArrowLeadsToTheLastPage) {
    QSignalSpy finished(&page_, &CMWebViewController::pageFinished);
    open(site_ + "/901.html");
    waitForLoad(finished, 1);
    page_.webView()->load(QUrl(closedLoopbackAddress("/gone.html")));
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return pageText() == QString("网络异常: 无法连接服务器"); }, 20000));
    waitForLoad(finished, 2);
    ASSERT_TRUE(page_.backbtn()->isVisible());
    page_.backbtn()->click();
    waitForLoad(finished, 3);
    EXPECT_TRUE(address().endsWith("/901.html")) << address().toStdString();
    EXPECT_TRUE(pageText().contains("公告"));
    EXPECT_FALSE(page_.backbtn()->isVisible());
}

TEST_F(HelpPage, AnErrorStatusFromTheSiteShowsTheSitesPage) {
    for (const int status : {404, 500}) {
        FixedAnswerServer site(status, "<html><body><p>这一页不在了</p></body></html>");
        CMWebViewController page;
        QSignalSpy finished(&page, &CMWebViewController::pageFinished);
        page.url = site.url("/index.php/missing.html");
        page.resize(760, 510);
        page.show();
        ASSERT_TRUE(QTest::qWaitFor([&] { return finished.count() == 1; }, 20000));
        QVariant text;
        bool done = false;
        page.webView()->page()->runJavaScript("document.body.innerText", [&](const QVariant& v) {
            text = v;
            done = true;
        });
        ASSERT_TRUE(QTest::qWaitFor([&] { return done; }, 10000));
        EXPECT_EQ(text.toString(), "这一页不在了") << status;
    }
}

TEST_F(HelpPage, APageThatNeverArrivesEndsInTheConnectionTextAfterTheTimeOut) {
    FixedAnswerServer silent(0, {});
    page_.loadTimeout = std::chrono::milliseconds(500);
    open(silent.url("/index.php/901.html"));
    EXPECT_TRUE(overlayShown());
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return pageText() == QString("网络异常: 无法连接服务器"); }, 20000));
    EXPECT_FALSE(overlayShown());
}

} // namespace
