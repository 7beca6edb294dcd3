#include "SheetAlert.h"

#include <QDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <QWindow>
#include <algorithm>

namespace quillet::app {

namespace {

SheetAlert::Answerer& answerer() {
    static SheetAlert::Answerer current;
    return current;
}

int defaultIndex(const SheetAlert::Question& question) {
    if (question.defaultButton) {
        return *question.defaultButton;
    }
    return std::max(0, static_cast<int>(question.buttons.indexOf(SheetAlert::cancelTitle)));
}

int askWithDialog(QWidget* over, const SheetAlert::Question& question) {
    QWidget* covered = over != nullptr ? over->window() : nullptr;
    QDialog dialog(covered);
    dialog.setWindowModality(Qt::WindowModal);
    // A window closing leaves its questions unanswered, never answered by a button; a child
    // dialog would otherwise stay up, still asking.
    if (covered != nullptr && covered->windowHandle() != nullptr) {
        QObject::connect(covered->windowHandle(), &QWindow::visibleChanged, &dialog,
                         [&dialog](bool visible) {
                             if (!visible) {
                                 dialog.reject();
                             }
                         });
    }
    auto* layout = new QVBoxLayout(&dialog);
    if (!question.message.isEmpty()) {
        auto* message = new QLabel(question.message, &dialog);
        QFont bold = message->font();
        bold.setBold(true);
        message->setFont(bold);
        layout->addWidget(message);
    }
    if (!question.informativeText.isEmpty()) {
        layout->addWidget(new QLabel(question.informativeText, &dialog));
    }
    QWidget* accessoryOwner = nullptr;
    if (question.accessory != nullptr) {
        accessoryOwner = question.accessory->parentWidget();
        // At the size the caller gave it, not the narrow one a layout would pick.
        question.accessory->setFixedSize(question.accessory->size());
        layout->addWidget(question.accessory);
        question.accessory->show();
    }
    auto* row = new QHBoxLayout;
    row->addStretch();
    int answer = SheetAlert::dismissed;
    QPushButton* defaultButton = nullptr;
    const int defaultAt = defaultIndex(question);
    for (int i = 0; i < question.buttons.size(); ++i) {
        auto* button = new QPushButton(question.buttons[i], &dialog);
        QObject::connect(button, &QPushButton::clicked, &dialog, [&dialog, &answer, i] {
            answer = SheetAlert::firstButton + i;
            dialog.accept();
        });
        row->addWidget(button);
        // Not following the focus: Return always means the default button, whichever has it.
        button->setAutoDefault(false);
        if (i == defaultAt) {
            button->setDefault(true);
            defaultButton = button;
        }
    }
    layout->addLayout(row);
    // A field to fill takes the keys first; otherwise the default button.
    if (question.accessory != nullptr) {
        question.accessory->setFocus();
    } else if (defaultButton != nullptr) {
        defaultButton->setFocus();
    }
    dialog.exec();
    if (question.accessory != nullptr) {
        question.accessory->hide();
        question.accessory->setParent(accessoryOwner); // the caller keeps its field
    }
    return answer;
}

} // namespace

int SheetAlert::run(QWidget* over, const Question& question) {
    if (answerer()) {
        return answerer()(question);
    }
    return askWithDialog(over, question);
}

void SheetAlert::setAnswerer(Answerer answerer_) {
    answerer() = std::move(answerer_);
}

} // namespace quillet::app
