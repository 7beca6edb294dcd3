#include "UIView.h"

#include "ProgressView.h"

namespace quillet::app {

UIView::UIView(QWidget* parent) : Styled<QWidget>(parent) {}

void UIView::startLoading() {
    ProgressView::coverOn(this);
}

void UIView::stopLoading() {
    ProgressView::stopOn(this);
}

ProgressView* UIView::loadingProgress() const {
    return ProgressView::of(this);
}

} // namespace quillet::app
