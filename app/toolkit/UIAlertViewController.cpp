#include "UIAlertViewController.h"

#include <QKeyEvent>

#include <QProgressBar>
#include <algorithm>

#include "MessageText.h"
#include "Palette.h"
#include "UIButton.h"
#include "UILabel.h"

namespace quillet::app {

namespace {

constexpr int messageWidth = 520;
constexpr int messageHeight = 320;

// The top of the progress bar, which sits 30 above the OK button.
int progressTop(int dialogHeight) {
    return dialogHeight - 40 - 40 - 30;
}

// The dialog's buttons: the filled button (font 18, corners of 5) restyled light grey with
// theme-coloured text.
UIButton* dialogButton(const QString& title, QWidget* parent) {
    auto* button = UIButton::filled(title, parent);
    button->setBackground({QColor(236, 236, 236)});
    button->setHighlight({.border = std::nullopt,
                          .background = Background{QColor(236, 236, 236)},
                          .text = std::nullopt});
    button->setTextStyle({Palette::theme(), 18});
    return button;
}

} // namespace

UIAlertViewController::UIAlertViewController(QWidget* parent) : UIViewController(parent) {}

UILabel* UIAlertViewController::titleLabel() {
    if (titleLabel_ == nullptr) {
        titleLabel_ = new UILabel(QString(), this);
        titleLabel_->setAlignment(Qt::AlignCenter);
        titleLabel_->setTextStyle({Palette::textDark(), 20});
    }
    return titleLabel_;
}

UILabel* UIAlertViewController::message() {
    if (message_ == nullptr) {
        message_ = new UILabel(QString(), this);
        message_->setWordWrap(true);
        message_->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
        message_->setTextStyle({Qt::white, 16});
    }
    return message_;
}

UIButton* UIAlertViewController::cancleBtn() {
    if (cancleBtn_ == nullptr) {
        cancleBtn_ = dialogButton("好的", this);
        connect(cancleBtn_, &QPushButton::clicked, this, &UIAlertViewController::cancleAction);
    }
    return cancleBtn_;
}

UIButton* UIAlertViewController::backBtn() {
    if (backBtn_ == nullptr) {
        backBtn_ = dialogButton("返回", this);
        backBtn_->hide();
        connect(backBtn_, &QPushButton::clicked, this, &UIAlertViewController::backAction);
    }
    return backBtn_;
}

UIButton* UIAlertViewController::otherBtn() {
    if (otherBtn_ == nullptr) {
        otherBtn_ = dialogButton(QString(), this);
        otherBtn_->hide();
        connect(otherBtn_, &QPushButton::clicked, this, [this] {
            // A copy: the action may hide the button, which lets go of the action.
            if (const auto action = otherAction_) {
                action();
            }
        });
    }
    return otherBtn_;
}

void UIAlertViewController::showOtherButton(const QString& title, std::function<void()> action) {
    otherBtn()->setText(title);
    otherAction_ = std::move(action);
    otherBtn_->show();
    viewDidLayout();
}

void UIAlertViewController::hideOtherButton() {
    otherBtn()->hide();
    otherAction_ = nullptr;
    viewDidLayout();
}

QProgressBar* UIAlertViewController::progressBar() {
    if (progressBar_ == nullptr) {
        progressBar_ = new QProgressBar(this);
        progressBar_->setTextVisible(false);
        progressBar_->setStyleSheet(
            "QProgressBar { background: rgba(255, 255, 255, 60); border: none;"
            " border-radius: 3px; } QProgressBar::chunk { background: white;"
            " border-radius: 3px; }");
        progressBar_->hide();
        viewDidLayout();
    }
    return progressBar_;
}

void UIAlertViewController::viewDidLoad() {
    setObjectName("alertDialog");
    setAttribute(Qt::WA_StyledBackground);
    setStyleSheet(QString("#alertDialog { background: %1; }").arg(Palette::themeDeep().name()));
    backBtn();
    cancleBtn();
    titleLabel();
    message();
    setFocusPolicy(Qt::StrongFocus);
}

void UIAlertViewController::viewDidAppear() {
    UIViewController::viewDidAppear();
    setFocus(); // its keys work at once, not after a Tab into it
}

void UIAlertViewController::keyPressEvent(QKeyEvent* event) {
    const auto shown = [this](UIButton* button) {
        return button->isVisibleTo(this) ? button : nullptr;
    };
    UIButton* pressed = nullptr;
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        pressed = shown(cancleBtn());
    } else if (event->key() == Qt::Key_Escape) {
        pressed = shown(backBtn()) != nullptr ? backBtn() : shown(cancleBtn());
    }
    if (pressed == nullptr) {
        UIViewController::keyPressEvent(event);
        return;
    }
    pressed->click();
}

void UIAlertViewController::viewDidLayout() {
    const int w = width();
    const int h = height();
    backBtn()->setGeometry(30, 30, 150, 36);
    if (otherBtn()->isVisible()) {
        otherBtn()->setGeometry(w / 2 - 10 - 240, h - 40 - 40, 240, 40);
        cancleBtn()->setGeometry(w / 2 + 10, h - 40 - 40, 240, 40);
    } else {
        cancleBtn()->setGeometry((w - 300) / 2, h - 40 - 40, 300, 40);
    }
    titleLabel()->setGeometry(0, 60, w, 40);
    fitMessage();
    if (progressBar_ != nullptr) {
        progressBar_->setGeometry((w - messageWidth) / 2, progressTop(h), messageWidth, 6);
    }
}

void UIAlertViewController::fitMessage() {
    const int top = 60 + 40 + 30;
    // Above the progress bar while it shows, else above the buttons.
    const bool barShown = progressBar_ != nullptr && !progressBar_->isHidden();
    const int bottom = barShown ? progressTop(height()) : height() - 40 - 40;
    const int room = bottom - 10 - top;
    const int needed = message()->heightForWidth(messageWidth);
    const int fitted = std::max(messageHeight, std::min(needed, room));
    // As narrow as keeps its line count, so the last line is not a lone word.
    const int balanced = MessageText::balancedWidth(*message(), messageWidth);
    message()->setGeometry((width() - balanced) / 2, top, balanced, fitted);
}

void UIAlertViewController::setMessage(const QString& text) {
    message()->setText(MessageText::shown(text));
    fitMessage();
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
    // A sheet lives in the window it covers, so a window that goes away takes the dialog with
    // it; the next caller then gets a new one.
    static QPointer<UIAlertViewController> dialog;
    if (!dialog) {
        dialog = new UIAlertViewController();
    }
    return *dialog;
}

void show(UIViewController* on, const QString& title, const QString& message, bool hidesButton,
          std::function<void()> completion) {
    auto& dialog = shared();
    dialog.loadViewIfNeeded();
    dialog.titleLabel()->setText(title);
    dialog.block = std::move(completion);
    dialog.cancleBtn()->setText("好的");
    dialog.cancleBtn()->setVisible(!hidesButton);
    dialog.backBtn()->hide();
    dialog.hideOtherButton();
    dialog.progressBar()->hide();
    dialog.setMessage(message); // after the bar goes: a long text would lose its last lines
    on->presentViewControllerAsSheet(&dialog);
}

} // namespace CMAlert

} // namespace quillet::app
