// The toolkit's rules: the alert dialog's states, first appearances, the two animators.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QMainWindow>
#include <QPushButton>
#include <QTest>
#include <QTextLayout>

#include "shell/ContentViewController.h"
#include "toolkit/LineBalance.h"
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

} // namespace

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
    EXPECT_EQ(alert.message()->size(), QSize(520, 320));
    alert.cancleBtn()->click();
}

TEST(LineBalance, ALoneCharacterOnTheLastLineIsPulledDownByANarrowerWidth) {
    QFont font;
    font.setPixelSize(16);
    const QFontMetrics metrics(font);
    const int perLine = 520 / metrics.horizontalAdvance(QStringLiteral("测"));
    ASSERT_GT(perLine, 8);
    // One character more than a line holds: it would stand alone below the first.
    const QString orphaned = QString(perLine + 1, QChar(0x6D4B));
    const LineBalance balance(font, 520);
    const int width = balance.widthFor(orphaned);
    EXPECT_LT(width, 520);
    EXPECT_GE(width, 390);
    QTextLayout layout(orphaned, font);
    layout.beginLayout();
    QList<int> lengths;
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(width);
        lengths << line.textLength();
    }
    layout.endLayout();
    ASSERT_EQ(lengths.size(), 2);
    EXPECT_GE(lengths.last(), 3);
    // Text without a lone last line, one line or several, keeps the full width.
    EXPECT_EQ(balance.widthFor(QString(perLine / 2, QChar(0x6D4B))), 520);
    EXPECT_EQ(balance.widthFor(QString(perLine + perLine / 2, QChar(0x6D4B))), 520);
    EXPECT_EQ(balance.widthFor(QString(perLine / 2, QChar(0x6D4B)) + "\n" +
                               QString(perLine / 2, QChar(0x6D4B))),
              520);
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
