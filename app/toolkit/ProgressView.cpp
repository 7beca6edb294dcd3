#include "ProgressView.h"

#include <QMouseEvent>
#include <cstdio>

#include "MaterialProgress.h"

namespace quillet::app {

ProgressView::ProgressView(QWidget* host) : QWidget(host), progress_(new MaterialProgress(this)) {
    progress_->resize(spinnerSize, spinnerSize);
    progress_->lineWidth = 2;
    hide();
}

void ProgressView::cover() {
    setGeometry(parentWidget()->rect());
    progress_->move((width() - spinnerSize) / 2, (height() - spinnerSize) / 2);
    raise();
    show();
    progress_->setAnimate(true);
}

void ProgressView::stop() {
    progress_->setAnimate(false);
    hide();
}

ProgressView* ProgressView::of(const QWidget* host) {
    return host->findChild<ProgressView*>(QString(), Qt::FindDirectChildrenOnly);
}

void ProgressView::coverOn(QWidget* host) {
    ProgressView* overlay = of(host);
    (overlay != nullptr ? overlay : new ProgressView(host))->cover();
}

void ProgressView::stopOn(const QWidget* host) {
    if (ProgressView* overlay = of(host)) {
        overlay->stop();
    }
}

void ProgressView::mousePressEvent(QMouseEvent* event) {
    std::puts("mouseDown");
    event->accept();
}

void ProgressView::mouseReleaseEvent(QMouseEvent* event) {
    std::puts("mouseUp");
    event->accept();
}

} // namespace quillet::app
