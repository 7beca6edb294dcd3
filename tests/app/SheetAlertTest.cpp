// The question sheet as the user meets it: the real dialog, answered by clicking its buttons.
#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include "platform/SheetAlert.h"

using namespace quillet::app;

namespace {

// Clicks the button titled `title` of the modal dialog once it is up, after `inspect` has looked.
void clickWhenShown(const QString& title, const std::function<void(QWidget*)>& inspect) {
    QTimer::singleShot(0, [title, inspect] {
        QWidget* dialog = QApplication::activeModalWidget();
        ASSERT_NE(dialog, nullptr);
        inspect(dialog);
        for (auto* button : dialog->findChildren<QPushButton*>()) {
            if (button->text() == title) {
                button->click();
                return;
            }
        }
        ADD_FAILURE() << "no button " << title.toStdString();
    });
}

} // namespace

TEST(SheetAlertDialog, ShowsItsPartsAndAnswersWithTheClickedButtonsCode) {
    QWidget window;
    window.resize(600, 400);
    window.show();
    auto* field = new QLineEdit(&window);
    field->hide();
    field->resize(300, 30);

    QStringList titles;
    QStringList texts;
    int accessoryWidth = 0;
    clickWhenShown("确定", [&](QWidget* dialog) {
        for (auto* button : dialog->findChildren<QPushButton*>()) {
            titles << button->text();
        }
        for (auto* label : dialog->findChildren<QLabel*>()) {
            texts << label->text();
        }
        accessoryWidth = field->width();
        EXPECT_EQ(field->window(), dialog);
        EXPECT_TRUE(field->isVisible());
    });
    const int answer =
        SheetAlert::run(&window, {"你确定在删掉下面的词库吗？", "demo", {"取消", "确定"}, field});

    EXPECT_EQ(answer, SheetAlert::secondButton);
    EXPECT_EQ(titles, (QStringList{"取消", "确定"}));
    EXPECT_EQ(texts, (QStringList{"你确定在删掉下面的词库吗？", "demo"}));
    EXPECT_EQ(accessoryWidth, 300);
    EXPECT_EQ(field->parentWidget(), &window); // the caller keeps its field
    EXPECT_FALSE(field->isVisible());

    clickWhenShown("取消", [](QWidget*) {});
    EXPECT_EQ(SheetAlert::run(&window, {"", "", {"取消", "确定"}, field}), SheetAlert::firstButton);
}

TEST(SheetAlertDialog, ClosingItWithoutAChoiceIsNoButtonsAnswerAndReturnTakesTheSafeOne) {
    QWidget window;
    window.resize(600, 400);
    window.show();
    // No default named: the dialog finds the safe button itself, wherever it stands.
    const SheetAlert::Question restore{"恢复备份？", "", {"恢复", "取消"}, nullptr};
    const auto answerAfter = [&](const std::function<void(QWidget*)>& act,
                                 const SheetAlert::Question& question) {
        QTimer::singleShot(0, [act] {
            QWidget* dialog = QApplication::activeModalWidget();
            ASSERT_NE(dialog, nullptr);
            act(dialog);
        });
        return SheetAlert::run(&window, question);
    };
    const auto press = [](int key) {
        return [key](QWidget* dialog) {
            QKeyEvent down(QEvent::KeyPress, key, Qt::NoModifier);
            QApplication::sendEvent(dialog->focusWidget() ? dialog->focusWidget() : dialog, &down);
        };
    };
    // Esc and the title bar's close button once restored the project: they must not.
    EXPECT_EQ(answerAfter(press(Qt::Key_Escape), restore), SheetAlert::dismissed);
    EXPECT_EQ(answerAfter([](QWidget* dialog) { dialog->close(); }, restore),
              SheetAlert::dismissed);
    // The window it covers closing takes the question with it, unanswered.
    EXPECT_EQ(answerAfter([&](QWidget*) { window.close(); }, restore), SheetAlert::dismissed);
    window.show();
    EXPECT_EQ(answerAfter(press(Qt::Key_Return), restore), SheetAlert::secondButton);
    // The default button starts with the focus, and keeps Return when another button has it.
    QString focused;
    EXPECT_EQ(answerAfter(
                  [&](QWidget* dialog) {
                      focused = qobject_cast<QPushButton*>(dialog->focusWidget())->text();
                      dialog->findChildren<QPushButton*>().first()->setFocus();
                      press(Qt::Key_Return)(dialog);
                  },
                  restore),
              SheetAlert::secondButton);
    EXPECT_EQ(focused, "取消");

    const SheetAlert::Question remove{"你确定在删掉下面的词库吗？", "", {"取消", "确定"}, nullptr};
    EXPECT_EQ(answerAfter(press(Qt::Key_Return), remove), SheetAlert::firstButton);
    const SheetAlert::Question notice{"你不可以删掉默认词库", "", {"好的"}, nullptr};
    EXPECT_EQ(answerAfter(press(Qt::Key_Return), notice), SheetAlert::firstButton);
    // A question that guards nothing may name its own default.
    const SheetAlert::Question token{"", "", {"取消", "确定"}, nullptr, 1};
    EXPECT_EQ(answerAfter(press(Qt::Key_Return), token), SheetAlert::secondButton);
}
