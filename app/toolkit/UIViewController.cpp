#include "UIViewController.h"

#include <QHideEvent>
#include <QPushButton>
#include <QShowEvent>
#include <algorithm>

#include "ProgressView.h"
#include "SheetAnimator.h"

namespace quillet::app {

UIViewController::UIViewController(QWidget* parent) : QWidget(parent) {}

UIViewController::~UIViewController() = default;

void UIViewController::loadViewIfNeeded() {
    if (!loaded_) {
        loaded_ = true;
        viewDidLoad();
        viewDidLayout();
    }
}

void UIViewController::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (loaded_) {
        viewDidLayout();
    }
}

void UIViewController::setVisible(bool visible) {
    if (visible) {
        loadViewIfNeeded();
    }
    QWidget::setVisible(visible);
}

void UIViewController::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    loadViewIfNeeded(); // shown with its parent, which does not go through setVisible
    if (!event->spontaneous()) {
        viewDidAppear();
    }
}

void UIViewController::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    if (!event->spontaneous()) {
        viewDidDisappear();
    }
}

void UIViewController::viewDidAppear() {
    if (isFirstAppear_) {
        isFirstAppear_ = false;
        viewFirstDidAppear();
    }
}

void UIViewController::presentViewController(UIViewController* controller,
                                             PresentationAnimator& animator) {
    controller->loadViewIfNeeded();
    controller->presenting_ = this;
    controller->animator_ = &animator;
    controller->ownedByPresenter_ = true;
    if (!animator.animatePresentation(controller, this)) {
        delete controller;
        return;
    }
    presented_.emplace_back(controller);
}

void UIViewController::presentViewControllerAsSheet(UIViewController* controller) {
    if (std::find(presented_.begin(), presented_.end(), controller) != presented_.end()) {
        return; // already up: its texts change in place
    }
    controller->loadViewIfNeeded();
    controller->presenting_ = this;
    controller->animator_ = &SheetAnimator::shared();
    controller->ownedByPresenter_ = false;
    if (SheetAnimator::shared().animatePresentation(controller, this)) {
        presented_.emplace_back(controller);
    }
}

void UIViewController::dismissController() {
    if (presenting_) {
        presenting_->dismissViewController(this);
    }
}

void UIViewController::dismissViewController(UIViewController* controller) {
    const auto it = std::find(presented_.begin(), presented_.end(), controller);
    if (it == presented_.end() || controller->animator_ == nullptr) {
        return;
    }
    presented_.erase(it);
    PresentationAnimator* animator = controller->animator_;
    controller->animator_ = nullptr;
    controller->presenting_ = nullptr;
    const bool owned = controller->ownedByPresenter_;
    QPointer<UIViewController> gone(controller);
    animator->animateDismissal(controller, this, [gone, owned] {
        if (gone && owned) {
            gone->deleteLater();
        }
    });
}

void UIViewController::disappear() {
    dismissController();
}

QPushButton* UIViewController::backbtn() {
    if (backbtn_ == nullptr) {
        backbtn_ = new QPushButton(this);
        backbtn_->setIcon(QIcon(":/images/arrow.svg"));
        backbtn_->setIconSize(QSize(34, 22));
        backbtn_->setFlat(true);
        backbtn_->setGeometry(20, 10, 34, 22);
        backbtn_->setCursor(Qt::PointingHandCursor);
        connect(backbtn_, &QPushButton::clicked, this, &UIViewController::disappear);
        backbtn_->show();
    }
    return backbtn_;
}

void UIViewController::startLoading() {
    ProgressView::coverOn(this);
}

void UIViewController::stopLoading() {
    ProgressView::stopOn(this);
}

ProgressView* UIViewController::loadingProgress() const {
    return ProgressView::of(this);
}

} // namespace quillet::app
