// The toolkit's rules: the alert dialog's states, first appearances, the two animators.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QMainWindow>
#include <QPushButton>
#include <QTest>
#include <QTextLayout>

#include "shell/ContentViewController.h"
#include "toolkit/MessageText.h"
#include "toolkit/PresentAnimator.h"
#include "toolkit/UIAlertViewController.h"
#include "toolkit/UIButton.h"
#include "toolkit/UILabel.h"
#include "wordbank/WordModel.h"

using namespace quillet::app;

namespace {

class CountingController : public UIViewController {
public:
    int firstAppearances = 0;

protected:
    void viewFirstDidAppear() override { ++firstAppearances; }
};

// A window with a page host, as the main window has.
class Host : public ::testing::Test {
protected:
    Host() {
        window_.setCentralWidget(new QWidget(&window_));
        main_ = new QWidget(window_.centralWidget());
        main_->setGeometry(0, 0, 960, 600);
        content_ = new ContentViewController(main_);
        content_->setGeometry(200, 0, 760, 600);
        window_.resize(960, 600);
        window_.show();
    }
    QMainWindow window_;
    QWidget* main_;
    ContentViewController* content_;
};

// The lines a word-wrapped label shows, as written.
QStringList shownLines(const QLabel& label) {
    QTextLayout layout(label.text(), label.font());
    QTextOption option;
    option.setWrapMode(QTextOption::WordWrap);
    layout.setTextOption(option);
    layout.beginLayout();
    QStringList lines;
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(label.width());
        lines << MessageText::written(label.text().mid(line.textStart(), line.textLength()));
    }
    layout.endLayout();
    return lines;
}

} // namespace

TEST_F(Host, AlertMessagesLeaveNoLoneLastLineAndBreakPathsOnlyAfterASlash) {
    auto& alert = CMAlert::shared();
    const QString words = QString("无法解析的文件保持原样请查看运行日志").repeated(4);
    for (int length = 20; length < 64; length += 3) {
        CMAlert::show(content_, "t", words.left(length) + "）", false);
        const QStringList lines = shownLines(*alert.message());
        ASSERT_FALSE(lines.isEmpty());
        if (lines.size() > 1) {
            EXPECT_GE(lines.last().size() * 3, lines.first().size())
                << length << ": " << lines.join("|").toStdString();
        }
    }

    const QString log = "/home/someone/Projects/Shop-Demo/Quillet/Logs/run-2026-12-09/"
                        "quillet-run-output/renamed-methods-and-files.log";
    CMAlert::show(content_, "t", "日志：" + log, false);
    EXPECT_EQ(MessageText::written(alert.message()->text()), "日志：" + log);
    const QStringList lines = shownLines(*alert.message());
    ASSERT_GT(lines.size(), 1);
    for (qsizetype i = 0; i + 1 < lines.size(); ++i) {
        EXPECT_TRUE(lines[i].endsWith('/') || lines[i].endsWith("："))
            << lines.join("|").toStdString();
    }
    alert.cancleBtn()->click();
}

TEST_F(Host, TheAlertKeepsItsButtonBlockAndActionRules) {
    auto& alert = CMAlert::shared();
    int closed = 0;
    CMAlert::show(content_, "标题", "消息", true, [&] { ++closed; });
    EXPECT_TRUE(alert.isVisible());
    EXPECT_FALSE(alert.cancleBtn()->isVisible());
    EXPECT_FALSE(alert.backBtn()->isVisible());
    EXPECT_EQ(alert.titleLabel()->text(), "标题");
    EXPECT_EQ(alert.message()->text(), "消息");
    alert.cancleBtn()->show();
    alert.cancleBtn()->click();
    EXPECT_FALSE(alert.isVisible());
    EXPECT_EQ(closed, 1);

    // Back closes without the completion.
    CMAlert::show(content_, "t", "m", false, [&] { ++closed; });
    alert.backBtn()->show();
    alert.backBtn()->click();
    EXPECT_FALSE(alert.isVisible());
    EXPECT_EQ(closed, 1);

    // An action replaces closing; a later show without completion clears the old one.
    int acted = 0;
    CMAlert::show(content_, "t", "m", false, [&] { ++closed; });
    alert.actionBlock = [&] { ++acted; };
    alert.cancleBtn()->click();
    EXPECT_EQ(acted, 1);
    EXPECT_TRUE(alert.isVisible());
    alert.actionBlock = nullptr;
    CMAlert::show(content_, "t", "m", false);
    alert.cancleBtn()->click();
    EXPECT_FALSE(alert.isVisible());
    EXPECT_EQ(closed, 1);
}

TEST_F(Host, TheAlertTakesReturnAndEscAtOnceAndNeverPressesItsSecondButtonByKey) {
    auto& alert = CMAlert::shared();
    const auto keyTarget = [&] {
        QWidget* focused = QApplication::focusWidget();
        return focused != nullptr ? focused : static_cast<QWidget*>(&alert);
    };
    int closed = 0;
    int restored = 0;
    CMAlert::show(content_, "t", "m", false, [&] { ++closed; });
    alert.showOtherButton("恢复备份", [&] { ++restored; });
    window_.activateWindow();
    ASSERT_TRUE(QTest::qWaitFor([&] { return alert.hasFocus(); }));
    QTest::keyClick(keyTarget(), Qt::Key_Escape); // no Back: Esc is OK
    EXPECT_FALSE(alert.isVisible());
    EXPECT_EQ(closed, 1);

    CMAlert::show(content_, "t", "m", false, [&] { ++closed; });
    alert.showOtherButton("恢复备份", [&] { ++restored; });
    QTest::keyClick(keyTarget(), Qt::Key_Return);
    EXPECT_FALSE(alert.isVisible());
    EXPECT_EQ(closed, 2);

    CMAlert::show(content_, "t", "m", false, [&] { ++closed; });
    alert.backBtn()->show();
    QTest::keyClick(keyTarget(), Qt::Key_Escape); // Back: closes without the completion
    EXPECT_FALSE(alert.isVisible());
    EXPECT_EQ(closed, 2);
    EXPECT_EQ(restored, 0);

    // While work goes on there is no button, and no key closes it.
    CMAlert::show(content_, "执行中...", "解析中...", true);
    QTest::keyClick(keyTarget(), Qt::Key_Escape);
    QTest::keyClick(keyTarget(), Qt::Key_Return);
    EXPECT_TRUE(alert.isVisible());
    alert.dismissController();
}

TEST_F(Host, TheDialogButtonsAreFilledButtonsInTheDialogsColours) {
    CMAlert::show(content_, "t", "m", false);
    for (UIButton* button : {CMAlert::shared().cancleBtn(), CMAlert::shared().backBtn()}) {
        EXPECT_EQ(button->border().radius, 5);
        ASSERT_TRUE(button->textStyle());
        EXPECT_EQ(button->textStyle()->fontSize, 18);
        EXPECT_EQ(button->fontInfo().pixelSize(), 18);
    }
    CMAlert::shared().cancleBtn()->click();
}

TEST_F(Host, ALongMessageGetsTheRoomItNeedsAndAShortOneTheUsualBox) {
    auto& alert = CMAlert::shared();
    const auto& rules = quillet::WordBankText::rulesText;
    CMAlert::show(content_, "关于词库", QString::fromUtf8(rules.data(), rules.size()), false);
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return alert.height() == window_.centralWidget()->height(); }));
    EXPECT_GE(alert.message()->height(), alert.message()->heightForWidth(520)); // the last line too
    EXPECT_LT(alert.message()->geometry().bottom(), alert.cancleBtn()->y());
    alert.cancleBtn()->click();

    CMAlert::show(content_, "t", "m", false);
    EXPECT_EQ(alert.message()->height(), 320);
    EXPECT_LE(alert.message()->width(), 520);
    EXPECT_EQ(alert.message()->geometry().center().x(), alert.rect().center().x());
    alert.cancleBtn()->click();
}

TEST(Controller, TheFirstAppearanceComesOnce) {
    CountingController controller;
    controller.show();
    controller.hide();
    controller.show();
    EXPECT_EQ(controller.firstAppearances, 1);
    EXPECT_FALSE(controller.isFirstAppear());
}

TEST_F(Host, PagesStackAndOnlyTheNewestIsVisible) {
    auto& stack = PresentAnimator::pageStack();
    // The content pane opens on the notice page.
    ASSERT_TRUE(QTest::qWaitFor([&] { return PresentAnimator::pageStack().size() == 1; }));
    UIViewController* notice = stack.back();
    auto* first = new UIViewController();
    content_->presentViewController(first, PresentAnimator::shared());
    EXPECT_EQ(PresentAnimator::pageHost(), content_);
    ASSERT_TRUE(QTest::qWaitFor([&] { return PresentAnimator::pageStack().size() == 2; }));
    EXPECT_FALSE(notice->isVisible());
    auto* second = new UIViewController();
    // Any controller may present once the host is known; the page goes into the host.
    first->presentViewController(second, PresentAnimator::shared());
    ASSERT_TRUE(QTest::qWaitFor([&] { return PresentAnimator::pageStack().size() == 3; }));
    EXPECT_EQ(second->parentWidget(), content_);
    EXPECT_FALSE(first->isVisible());
    EXPECT_TRUE(second->isVisible());
    // Faded in, a page paints on its own again, without the fade's effect.
    EXPECT_NE(second->graphicsEffect(), nullptr);
    ASSERT_TRUE(QTest::qWaitFor([&] { return second->graphicsEffect() == nullptr; }));
    QPointer<UIViewController> gone(second);
    second->dismissController();
    ASSERT_TRUE(QTest::qWaitFor([&] { return gone.isNull(); }));
    EXPECT_EQ(PresentAnimator::pageStack().size(), 2u);
    EXPECT_TRUE(first->isVisible());
    EXPECT_FALSE(notice->isVisible());
}

TEST_F(Host, TheWindowDialogSlidesOverTheWholeWindowAndAway) {
    auto* dialog = new UIViewController();
    content_->presentViewController(dialog, PresentAnimatorForWindow::shared());
    EXPECT_EQ(dialog->geometry().bottom(), -1); // starts just above the window
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return dialog->geometry() == window_.centralWidget()->rect(); }));
    EXPECT_FALSE(main_->isVisible());
    QPointer<UIViewController> gone(dialog);
    dialog->dismissController();
    EXPECT_TRUE(main_->isVisible());
    ASSERT_TRUE(QTest::qWaitFor([&] { return gone.isNull(); }));
}

TEST(PageHost, AFirstPresentationByAnotherControllerIsRefused) {
    UIViewController stranger;
    QPointer<UIViewController> page(new UIViewController());
    stranger.presentViewController(page, PresentAnimator::shared());
    EXPECT_TRUE(page.isNull());
    EXPECT_TRUE(stranger.presentedViewControllers().empty());
    EXPECT_TRUE(PresentAnimator::pageStack().empty());
}

TEST(Alert, OutlivesTheWindowItLastCovered) {
    {
        QMainWindow window;
        window.setCentralWidget(new QWidget(&window));
        auto* host = new UIViewController(window.centralWidget());
        window.show();
        CMAlert::show(host, "第一个", "窗口", true);
    } // the window goes, and the dialog sitting in it with it
    QMainWindow window;
    window.setCentralWidget(new QWidget(&window));
    auto* host = new UIViewController(window.centralWidget());
    window.show();
    CMAlert::show(host, "第二个", "窗口", false);
    EXPECT_EQ(CMAlert::shared().titleLabel()->text(), "第二个");
    EXPECT_TRUE(CMAlert::shared().isVisible());
}

TEST(Controller, AViewSizedBeforeItLoadsIsLaidOutAtItsSizeAndAgainOnEveryResize) {
    struct Recording : UIViewController {
        std::vector<QSize> layouts;
        QWidget* made = nullptr;
        void viewDidLoad() override { made = new QWidget(this); }
        void viewDidLayout() override { layouts.push_back(size()); }
    } controller;
    controller.resize(760, 510); // as the page animator does, before the first show
    EXPECT_TRUE(controller.layouts.empty());
    controller.show();
    ASSERT_FALSE(controller.layouts.empty());
    EXPECT_EQ(controller.layouts.back(), QSize(760, 510));
    EXPECT_TRUE(controller.made->isVisible()); // subviews made on loading show with the view
    controller.resize(800, 600);
    EXPECT_EQ(controller.layouts.back(), QSize(800, 600));
}
