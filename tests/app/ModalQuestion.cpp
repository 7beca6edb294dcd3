#include "ModalQuestion.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QPushButton>
#include <QTest>
#include <QTimer>

namespace modal_question {

void whenShown(std::function<void(QWidget*)> act) {
    QTimer::singleShot(0, [act = std::move(act)] {
        QWidget* dialog = QApplication::activeModalWidget();
        ASSERT_NE(dialog, nullptr) << "no question is up";
        act(dialog);
    });
}

QPushButton* button(QWidget* dialog, const QString& title) {
    for (auto* candidate : dialog->findChildren<QPushButton*>()) {
        if (candidate->text() == title) {
            return candidate;
        }
    }
    ADD_FAILURE() << "no button " << title.toStdString();
    return nullptr;
}

void press(QWidget* dialog, int key) {
    QWidget* target = dialog->focusWidget() != nullptr ? dialog->focusWidget() : dialog;
    QTest::keyClick(target, static_cast<Qt::Key>(key));
}

const std::vector<Leaving>& leavingWithoutAChoice() {
    static const std::vector<Leaving> ways{
        {"Esc", [](QWidget* dialog) { press(dialog, Qt::Key_Escape); }},
        // What the title bar's close button sends.
        {"close", [](QWidget* dialog) { dialog->close(); }},
        {"Return", [](QWidget* dialog) { press(dialog, Qt::Key_Return); }},
    };
    return ways;
}

} // namespace modal_question
