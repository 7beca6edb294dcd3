#include "UIView.h"

#include "ProgressView.h"

UIView::UIView(QWidget* parent) : Styled<QWidget>(parent) {}

void UIView::startLoading() {
    if (loadingProgress_ == nullptr) {
        loadingProgress_ = new ProgressView(this);
    }
    loadingProgress_->cover();
}

void UIView::stopLoading() {
    if (loadingProgress_ != nullptr) {
        loadingProgress_->stop();
    }
}
