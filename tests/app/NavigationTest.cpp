// The main window as a user drives it: the sidebar posts, the content pane shows one page.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QListWidget>
#include <QPalette>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSet>
#include <QTest>

#include "LocalService.h"
#include "notify/Notify.h"
#include "platform/Workspace.h"
#include "screens/CrashReportViewController.h"
#include "screens/MethodRenameViewController.h"
#include "shell/AppDelegate.h"
#include "shell/CMWebViewController.h"
#include "shell/ContentViewController.h"
#include "shell/MainWindow.h"
#include "shell/SidebarViewController.h"
#include "shell/TitleView.h"
#include "toolkit/PresentAnimator.h"
#include "toolkit/UIAlertViewController.h"
#include "toolkit/UIButton.h"
#include "toolkit/UIInteractiveView.h"
#include "toolkit/UILabel.h"
#include "toolkit/UITextView.h"

using namespace quillet::app;

namespace {

// The window at launch, on the real local service.
class Window : public ::testing::Test {
protected:
    void SetUp() override {
        window_.show();
        ASSERT_TRUE(
            QTest::qWaitFor([&] { return PresentAnimator::pageStack().size() == std::size_t{1}; }));
    }
    void TearDown() override {
        Workspace::setOpener([](const QUrl&) {});
    }

    QString serviceUrl() const { return QString::fromStdString(service_.url()); }
    QString title() const { return window_.content()->titleView()->title()->text(); }
    UIViewController* page() const {
        const auto& stack = PresentAnimator::pageStack();
        return stack.empty() ? nullptr : stack.back().data();
    }
    void choose(const QString& value) { ASSERT_TRUE(window_.sidebar()->select(value)); }
    void post(const QString& value, Action action) {
        quillet::Notify::center().post(quillet::Notification::navigation,
                                       SidebarEntry{value, action});
    }

    quillet::test::LocalService service_;
    MainWindow window_;
};

} // namespace

TEST_F(Window, OpensOnTheNoticePageWithTheSidebarInItsSections) {
    EXPECT_EQ(title(), "公告");
    auto* notice = qobject_cast<CMWebViewController*>(page());
    ASSERT_NE(notice, nullptr);
    EXPECT_EQ(notice->url, serviceUrl() + "/index.php/901.html");
    EXPECT_FALSE(notice->showBackBtn);

    const auto& datas = window_.sidebar()->datas();
    ASSERT_EQ(datas.size(), 4u);
    QStringList rows;
    for (int i = 0; i < window_.sidebar()->list()->count(); ++i) {
        rows << window_.sidebar()->list()->item(i)->text();
    }
    EXPECT_EQ(rows.join("|"), "功能|方法重命名|崩溃日志还原|帮助|公告|教程 & 问题|快捷键|QQ交流群|"
                              "进入官网|设置|常规|我的词库|维护|在线更新");
    EXPECT_EQ(window_.sidebar()->width(), MainWindow::sidebarWidth);
    EXPECT_GE(window_.content()->width(), MainWindow::minimumContentWidth);
    EXPECT_FALSE(window_.windowFlags() & Qt::WindowMaximizeButtonHint);
}

TEST_F(Window, FitsA1600By1000ScreenAt200PercentAndScrollsToEveryControl) {
    // 800 x 500 points, less a title bar, a frame and a panel.
    EXPECT_LE(window_.minimumSize().width(), 800 - 40);
    EXPECT_LE(window_.minimumSize().height(), 500 - 60);
    window_.resize(window_.minimumSize());
    QTest::qWait(50);
    choose("方法重命名");
    MethodRenameViewController* screen = nullptr;
    ASSERT_TRUE(QTest::qWaitFor([&] {
        screen = qobject_cast<MethodRenameViewController*>(page());
        return screen != nullptr && screen->isVisible();
    }));
    auto* scroller = qobject_cast<QScrollArea*>(window_.centralWidget());
    ASSERT_NE(scroller, nullptr);
    UIButton* run = screen->sureBtn();
    // Clickable: its middle is on screen.
    const auto inView = [&] {
        return scroller->viewport()->rect().contains(
            run->mapTo(scroller->viewport(), run->rect().center()));
    };
    EXPECT_FALSE(inView()); // at the bottom of a page laid out for 960 x 600
    scroller->ensureWidgetVisible(run);
    EXPECT_TRUE(inView());
    // A window as large as the layout needs has nothing to scroll.
    window_.resize(MainWindow::sidebarWidth + MainWindow::minimumContentWidth,
                   MainWindow::designHeight);
    QTest::qWait(0);
    EXPECT_EQ(scroller->verticalScrollBar()->maximum(), 0);
    EXPECT_EQ(scroller->horizontalScrollBar()->maximum(), 0);
}

TEST_F(Window, AtItsSmallestEveryButtonOfEachPageScrollsIntoView) {
    window_.resize(window_.minimumSize());
    auto* scroller = qobject_cast<QScrollArea*>(window_.centralWidget());
    ASSERT_NE(scroller, nullptr);
    for (const QString entry : {"方法重命名", "崩溃日志还原", "常规", "我的词库"}) {
        choose(entry);
        ASSERT_TRUE(QTest::qWaitFor(
            [&] { return title() == entry && page() != nullptr && page()->isVisible(); }));
        QTest::qWait(50);
        const auto buttons = page()->findChildren<UIButton*>();
        int shown = 0;
        for (UIButton* button : buttons) {
            if (!button->isVisible()) {
                continue;
            }
            ++shown;
            scroller->ensureWidgetVisible(button);
            EXPECT_TRUE(scroller->viewport()->rect().contains(
                button->mapTo(scroller->viewport(), button->rect().center())))
                << entry.toStdString() << ": " << button->text().toStdString();
        }
        EXPECT_GT(shown, 0) << entry.toStdString();
    }
}

TEST_F(Window, TheSidebarTakesTheFocusAndTheArrowKeysMoveBetweenPagesPastTheHeaders) {
    window_.activateWindow();
    QListWidget* list = window_.sidebar()->list();
    choose("崩溃日志还原");
    list->setFocus(Qt::TabFocusReason);
    ASSERT_TRUE(QTest::qWaitFor([&] { return list->hasFocus(); }));
    QTest::keyClick(list, Qt::Key_Down); // past the header "帮助"
    ASSERT_TRUE(QTest::qWaitFor([&] { return title() == QString("公告"); }));
    QTest::keyClick(list, Qt::Key_Up);
    ASSERT_TRUE(QTest::qWaitFor([&] { return title() == QString("崩溃日志还原"); }));
    EXPECT_EQ(list->currentItem()->text(), "崩溃日志还原");
}

// Every control a page shows is met by Tab from the sidebar, and Tab comes round to the
// sidebar again instead of sticking in a text area.
TEST_F(Window, TabReachesEveryControlOfEachPageAndComesBackToTheSidebar) {
    window_.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window_));
    QListWidget* list = window_.sidebar()->list();
    for (const QString entry : {"方法重命名", "崩溃日志还原", "常规", "我的词库"}) {
        choose(entry);
        ASSERT_TRUE(QTest::qWaitFor(
            [&] { return title() == entry && page() != nullptr && page()->isVisible(); }));
        QTest::qWait(800); // the page it replaces has faded out and left the focus chain
        QSet<QWidget*> expected;
        for (QWidget* control : page()->findChildren<QWidget*>()) {
            if (control->isVisible() && control->isEnabled() && control->focusProxy() == nullptr &&
                (control->focusPolicy() & Qt::TabFocus) != 0) {
                expected.insert(control);
            }
        }
        ASSERT_GE(expected.size(), 2) << entry.toStdString();
        list->setFocus(Qt::TabFocusReason);
        ASSERT_TRUE(QTest::qWaitFor([&] { return list->hasFocus(); }));
        QSet<QWidget*> reached;
        bool backToSidebar = false;
        for (int i = 0; i < 3 * expected.size() + 10 && !backToSidebar; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QWidget* focus = QApplication::focusWidget();
            ASSERT_NE(focus, nullptr) << entry.toStdString();
            reached.insert(focus);
            backToSidebar = focus == list;
        }
        EXPECT_TRUE(backToSidebar) << entry.toStdString();
        for (QWidget* control : expected) {
            EXPECT_TRUE(reached.contains(control))
                << entry.toStdString() << ": Tab never reaches "
                << control->metaObject()->className() << " " << control->objectName().toStdString();
        }
        // The rename screen's own fields are among them, the path field and Execute too.
        if (auto* rename = qobject_cast<MethodRenameViewController*>(page())) {
            for (QWidget* control :
                 QList<QWidget*>{rename->pathInput(), rename->ignoreInput(), rename->sureBtn()}) {
                EXPECT_TRUE(reached.contains(control)) << control->metaObject()->className();
            }
        }
    }
}

TEST_F(Window, ChoosingAPageReplacesTheOneOnScreenAndARepeatChangesNothing) {
    choose("常规");
    ASSERT_TRUE(QTest::qWaitFor([&] { return title() == QString("常规"); }));
    ASSERT_TRUE(QTest::qWaitFor([&] {
        return PresentAnimator::pageStack().size() == 1 && page() != nullptr &&
               qobject_cast<CMWebViewController*>(page()) == nullptr;
    }));
    UIViewController* settings = page();
    post("常规", Action::settingNormal);
    QTest::qWait(50);
    EXPECT_EQ(page(), settings);

    choose("快捷键");
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return qobject_cast<CMWebViewController*>(page()) != nullptr; }));
    EXPECT_EQ(PresentAnimator::pageStack().size(), 1u);
    EXPECT_EQ(qobject_cast<CMWebViewController*>(page())->url,
              serviceUrl() + "/index.php/302.html");
    EXPECT_EQ(window_.content()->previousAction(), Action::shortcutKey);
}

TEST_F(Window, TheCrashReportEntryShowsItsPageUnderItsTitle) {
    choose("崩溃日志还原");
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return qobject_cast<CrashReportViewController*>(page()) != nullptr; }));
    EXPECT_EQ(title(), "崩溃日志还原");
    EXPECT_EQ(PresentAnimator::pageStack().size(), 1u);
    EXPECT_EQ(window_.content()->previousAction(), Action::crashReport);
    EXPECT_EQ(page()->geometry(), window_.content()->pageArea());
}

TEST_F(Window, EntriesThatActInPlaceKeepThePageAndTheTitle) {
    UIViewController* notice = page();
    QUrl opened;
    Workspace::setOpener([&](const QUrl& url) { opened = url; });

    choose("QQ交流群");
    EXPECT_EQ(QApplication::clipboard()->text(), QUILLET_CHAT_GROUP);
    EXPECT_EQ(CMAlert::shared().titleLabel()->text(), "复制成功");
    ASSERT_TRUE(QTest::qWaitFor([&] { return CMAlert::shared().isVisible(); }));
    CMAlert::shared().cancleBtn()->click();
    EXPECT_FALSE(CMAlert::shared().isVisible());

    choose("进入官网");
    EXPECT_EQ(opened, QUrl(serviceUrl()));

    struct Recorder : UpdateChecking {
        int interactive = 0;
        void checkForUpdates() override { ++interactive; }
        void checkForUpdatesInBackground() override {}
    } recorder;
    AppDelegate::setStandardUpdater(&recorder);
    choose("在线更新");
    post("在线更新", Action::onlineUpdate); // acts every time
    AppDelegate::setStandardUpdater(nullptr);
    EXPECT_EQ(recorder.interactive, 2);
    choose("在线更新");

    EXPECT_EQ(title(), "公告");
    EXPECT_EQ(page(), notice);
    EXPECT_EQ(PresentAnimator::pageStack().size(), 1u);
}

TEST_F(Window, TheThemeFollowsThePalette) {
    const QPalette light = QApplication::palette();
    QPalette dark = light;
    dark.setColor(QPalette::Window, QColor(30, 30, 30));
    QApplication::setPalette(dark);
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return window_.content()->styleSheet().contains("transparent"); }));
    EXPECT_TRUE(window_.content()->titleView()->styleSheet().contains("transparent"));
    QApplication::setPalette(light);
    ASSERT_TRUE(QTest::qWaitFor([&] { return window_.content()->styleSheet().contains("white"); }));
    EXPECT_TRUE(window_.content()->titleView()->styleSheet().contains("#3abcd0"));
}
