// The controls as the mouse and the eye meet them: hover looks, clicks, the loading overlay and
// the spinner's geometry and timeline.
#include <gtest/gtest.h>

#include <QApplication>
#include <QPushButton>
#include <QTest>
#include <cmath>
#include <numbers>

#include "toolkit/LayerStyle.h"
#include "toolkit/MaterialProgress.h"
#include "toolkit/Palette.h"
#include "toolkit/ProgressView.h"
#include "toolkit/UIButton.h"
#include "toolkit/UIInteractiveView.h"
#include "toolkit/UILabel.h"
#include "toolkit/UITextField.h"
#include "toolkit/UITextView.h"
#include "toolkit/UIView.h"

using namespace quillet::app;

namespace {

QColor middleColour(QWidget& widget) {
    const QImage image = widget.grab().toImage();
    return image.pixelColor(image.width() / 2, image.height() / 2);
}

void hover(QWidget& widget, bool entered) {
    if (entered) {
        QEnterEvent enter(QPointF(1, 1), QPointF(1, 1), QPointF(1, 1));
        QApplication::sendEvent(&widget, &enter);
    } else {
        QEvent leave(QEvent::Leave);
        QApplication::sendEvent(&widget, &leave);
    }
}

// Clicks through the window, so hit testing decides who gets them.
void clickAt(QWidget& window, QPoint position, bool twice = false) {
    if (twice) {
        QTest::mouseDClick(window.windowHandle(), Qt::LeftButton, {}, position);
    } else {
        QTest::mouseClick(window.windowHandle(), Qt::LeftButton, {}, position);
    }
}

TEST(LayerStyle, TheHighlightChangesOnlyWhatItDefinesAndLeavingRestoresEverything) {
    LayerStyle style;
    style.border = {Qt::red, 2, 6};
    style.background = {Qt::white};
    style.highlight = Highlight{.border = Border{std::nullopt, 0, 0},
                                .background = Background{Qt::blue},
                                .text = std::nullopt};
    style.hovered = true;
    auto look = style.current();
    EXPECT_EQ(look.background.color, QColor(Qt::blue));
    EXPECT_EQ(look.border.color, QColor(Qt::red)); // kept: the highlight sets no colour
    EXPECT_EQ(look.border.width, 2);               // kept: a width of 0 is not applied
    EXPECT_EQ(look.border.radius, 6);

    // A hover border over no normal border is gone again once the mouse leaves.
    LayerStyle bare;
    bare.highlight = Highlight{.border = Border{Qt::green, 1, 3}, .background = {}, .text = {}};
    bare.hovered = true;
    EXPECT_EQ(bare.current().border.width, 1);
    EXPECT_EQ(bare.current().border.color, QColor(Qt::green));
    bare.hovered = false;
    EXPECT_EQ(bare.current().border.width, 0);
    EXPECT_FALSE(bare.current().border.color.has_value());
}

TEST(Controls, AFilledButtonShowsTheThemeWhileHoveredAndItsOwnColourAfter) {
    QWidget window;
    UIButton* button = UIButton::filled("执行", &window);
    button->setGeometry(10, 10, 120, 40);
    window.resize(200, 100);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    EXPECT_TRUE(button->isEnableTrackingArea());
    EXPECT_EQ(middleColour(*button), QColor(40, 160, 180));
    hover(*button, true);
    EXPECT_EQ(middleColour(*button), QColor(58, 188, 208));
    hover(*button, false);
    EXPECT_EQ(middleColour(*button), QColor(40, 160, 180));
}

TEST(Controls, FilledAndPlainButtonsDrawARingWhenTheKeyboardFocusIsOnThem) {
    QWidget window;
    UIButton* filled = UIButton::filled("执行", &window);
    filled->setGeometry(10, 10, 120, 40);
    UIButton* plain = UIButton::plain("清除", &window);
    plain->setGeometry(10, 60, 120, 40);
    window.resize(200, 120);
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    const QRgb ring = Palette::textDark().rgb();
    // The ring runs along the edge: the middle of the left side shows it.
    const auto edge = [&](UIButton* button) {
        return button->grab().toImage().pixelColor(0, button->height() / 2).rgb();
    };
    for (UIButton* button : {filled, plain}) {
        button->clearFocus();
        EXPECT_NE(edge(button), ring) << button->text().toStdString();
        button->setFocus(Qt::TabFocusReason);
        ASSERT_TRUE(QTest::qWaitFor([&] { return button->hasFocus(); }));
        EXPECT_EQ(edge(button), ring) << button->text().toStdString();
    }
}

// The looks reach the screen through style sheets that name the control's class, namespace and
// all.
TEST(Controls, ATextViewPaintsItsSelectionInTheColoursItWasGiven) {
    UITextView view("MMMMMMMM MMMMMMMM");
    const QColor red(255, 0, 0);
    view.setSelectedTextBackgroundColor(red);
    view.setSelectedTextColor(red); // the letters vanish into the selection
    view.resize(300, 80);
    view.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
    view.selectAll();
    const QImage image = view.grab().toImage();
    int selected = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            selected += image.pixelColor(x, y) == red;
        }
    }
    EXPECT_GT(selected, 500);
}

TEST(Controls, ClicksRunTheBlocksAndALabelThatIgnoresTheMouseLetsThemThrough) {
    QWidget window;
    auto* view = new UIView(&window);
    view->setGeometry(0, 0, 200, 100);
    auto* label = new UILabel("点我", view);
    label->setGeometry(10, 10, 80, 30);
    int viewClicks = 0;
    int labelSingles = 0;
    int labelDoubles = 0;
    view->clicks.signleClickBlock = [&] { ++viewClicks; };
    label->clicks.signleClickBlock = [&] { ++labelSingles; };
    label->clicks.doubleClickBlock = [&] { ++labelDoubles; };
    window.resize(200, 100);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));

    clickAt(window, QPoint(20, 20));
    EXPECT_EQ(labelSingles, 1);
    EXPECT_EQ(viewClicks, 0);
    // A double click runs the single block on its first release, the double block on its second.
    clickAt(window, QPoint(20, 20), true);
    EXPECT_EQ(labelSingles, 2);
    EXPECT_EQ(labelDoubles, 1);

    label->setIgnoresMouseEvents(true);
    clickAt(window, QPoint(20, 20));
    EXPECT_EQ(labelSingles, 2);
    EXPECT_EQ(viewClicks, 1);
}

TEST(Controls, TheLoadingOverlayKeepsClicksFromTheControlsBelowUntilItStops) {
    QWidget window;
    auto* view = new UIView(&window);
    view->setGeometry(0, 0, 300, 200);
    auto* button = new QPushButton("按钮", view);
    button->setGeometry(10, 10, 100, 30);
    int clicks = 0;
    QObject::connect(button, &QPushButton::clicked, [&] { ++clicks; });
    window.resize(300, 200);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));

    view->startLoading();
    ProgressView* overlay = view->loadingProgress();
    ASSERT_NE(overlay, nullptr);
    EXPECT_EQ(overlay->geometry(), view->rect());
    EXPECT_EQ(overlay->progress()->geometry(), QRect(100, 50, 100, 100));
    EXPECT_TRUE(overlay->progress()->animate());
    ::testing::internal::CaptureStdout();
    clickAt(window, QPoint(20, 20));
    std::fflush(stdout);
    EXPECT_EQ(::testing::internal::GetCapturedStdout(), "mouseDown\nmouseUp\n");
    EXPECT_EQ(clicks, 0);

    view->stopLoading();
    EXPECT_FALSE(overlay->isVisible());
    EXPECT_FALSE(overlay->progress()->animate());
    clickAt(window, QPoint(20, 20));
    EXPECT_EQ(clicks, 1);

    view->startLoading(); // the same overlay comes back
    EXPECT_EQ(view->loadingProgress(), overlay);
    EXPECT_TRUE(overlay->isVisible());
}

TEST(Spinner, ItsSizeFollowsItsWidthAndStoppingHidesItUnlessItIsToStay) {
    QWidget host;
    MaterialProgress spinner(&host);
    spinner.resize(100, 100);
    EXPECT_DOUBLE_EQ(spinner.radius(), 37.5);
    EXPECT_DOUBLE_EQ(spinner.effectiveLineWidth(), 3.75);
    spinner.lineWidth = 2;
    EXPECT_DOUBLE_EQ(spinner.effectiveLineWidth(), 2);

    host.show();
    spinner.setAnimate(true);
    EXPECT_TRUE(spinner.isVisible());
    spinner.setAnimate(false);
    EXPECT_FALSE(spinner.isVisible());
    spinner.displayAfterAnimationEnds = true;
    spinner.setAnimate(true);
    spinner.setAnimate(false);
    EXPECT_TRUE(spinner.isVisible());
}

TEST(Spinner, EachSweepGrowsTheArcThenShrinksItAndTheNextStartsWhereItEnded) {
    const auto at = MaterialProgress::strokeAt;
    EXPECT_DOUBLE_EQ(at(0).start, 0);
    EXPECT_DOUBLE_EQ(at(0).end, 0);
    EXPECT_NEAR(at(0.375).end, 0.4, 1e-9); // half way through the growing, eased
    EXPECT_NEAR(at(0.7499).end, 0.8, 1e-3);
    EXPECT_DOUBLE_EQ(at(0.75).start, 0);
    EXPECT_DOUBLE_EQ(at(0.75).end, 0.8);
    EXPECT_NEAR(at(1.4999).start, 0.8, 1e-3);

    MaterialProgress spinner;
    spinner.finishSweep();
    EXPECT_NEAR(spinner.currentRotation(), 5.026548245743669, 1e-12);
    spinner.finishSweep();
    EXPECT_NEAR(spinner.currentRotation(), std::fmod(2 * 5.026548245743669, 2 * std::numbers::pi),
                1e-12);
}

TEST(Controls, AnInteractiveRowIsTypedIntoOnlyWhenEditable) {
    UIInteractiveView editable(true, 50);
    UIInteractiveView fixed(false, 120);
    EXPECT_EQ(editable.hint()->width(), 50);
    EXPECT_EQ(fixed.hint()->width(), 120);
    QTest::keyClicks(editable.label(), "test_");
    QTest::keyClicks(fixed.label(), "test_");
    EXPECT_EQ(editable.label()->text(), "test_");
    EXPECT_EQ(fixed.label()->text(), "");
    EXPECT_TRUE(fixed.hint()->isIgnoresMouseEvents());
    EXPECT_TRUE(fixed.label()->testAttribute(Qt::WA_TransparentForMouseEvents));
}

} // namespace
