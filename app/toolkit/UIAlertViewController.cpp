#include "UIAlertViewController.h"

#include <QLabel>
#include <QPushButton>

#include "Palette.h"

namespace {

QString dialogButtonStyle() {
    return QString("QPushButton { color: %1; background: rgb(236, 236, 236); border: none;"
                   " border-radius: 4px; font-size: 16px; }"
                   " QPushButton:pressed { background: rgb(236, 236, 236); }")
        .arg(Palette::theme().name());
}

} // namespace

UIAlertViewController::UIAlertViewController(QWidget* parent) : UIViewController(parent) {}

QLabel* UIAlertViewController::titleLabel() {
    if (titleLabel_ == nullptr) {
        titleLabel_ = new QLabel(this);
        titleLabel_->setAlignment(Qt::AlignCenter);
        titleLabel_->setStyleSheet(
            QString("color: %1; font-size: 20px;").arg(Palette::textDark().name()));
    }
    return titleLabel_;
}

QLabel* UIAlertViewController::message() {
    if (message_ == nullptr) {
        message_ = new QLabel(this);
        message_->setWordWrap(true);
        message_->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
        message_->setStyleSheet("color: white; font-size: 16px;");
    }
    return message_;
}

QPushButton* UIAlertViewController::cancleBtn() {
    if (cancleBtn_ == nullptr) {
        cancleBtn_ = new QPushButton("好的", this);
        cancleBtn_->setStyleSheet(dialogButtonStyle());
        connect(cancleBtn_, &QPushButton::clicked, this, &UIAlertViewController::cancleAction);
    }
    return cancleBtn_;
}

QPushButton* UIAlertViewController::backBtn() {
    if (backBtn_ == nullptr) {
        backBtn_ = new QPushButton("返回", this);
        backBtn_->setStyleSheet(dialogButtonStyle());
        backBtn_->hide();
        connect(backBtn_, &QPushButton::clicked, this, &UIAlertViewController::backAction);
    }
    return backBtn_;
}

void UIAlertViewController::viewDidLoad() {
    setObjectName("alertDialog");
    setAttribute(Qt::WA_StyledBackground);
    setStyleSheet(QString("#alertDialog { background: %1; }").arg(Palette::themeDeep().name()));
    backBtn();
    cancleBtn();
    titleLabel();
    message();
    layOut();
}

void UIAlertViewController::resizeEvent(QResizeEvent* event) {
    UIViewController::resizeEvent(event);
    layOut();
}

void UIAlertViewController::layOut() {
    const int w = width();
    const int h = height();
    backBtn()->setGeometry(30, 30, 150, 36);
    cancleBtn()->setGeometry((w - 300) / 2, h - 40 - 40, 300, 40);
    titleLabel()->setGeometry(0, 60, w, 40);
    message()->setGeometry((w - 520) / 2, 60 + 40 + 30, 520, 320);
}

void UIAlertViewController::cancleAction() {
    if (actionBlock) {
        actionBlock();
        return;
    }
    dismissController();
}

void UIAlertViewController::backAction() {
    block = nullptr;
    dismissController();
}

void UIAlertViewController::viewDidDisappear() {
    if (block) {
        block();
    }
}

namespace CMAlert {

UIAlertViewController& shared() {
    static auto* dialog = new UIAlertViewController(); // kept for the whole process
    return *dialog;
}

void show(UIViewController* on, const QString& title, const QString& message, bool hidesButton,
          std::function<void()> completion) {
    auto& dialog = shared();
    dialog.loadViewIfNeeded();
    dialog.titleLabel()->setText(title);
    dialog.message()->setText(message);
    dialog.block = std::move(completion);
    dialog.cancleBtn()->setText("好的");
    dialog.cancleBtn()->setVisible(!hidesButton);
    dialog.backBtn()->hide();
    on->presentViewControllerAsSheet(&dialog);
}

} // namespace CMAlert
