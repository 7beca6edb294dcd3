#include "SheetCover.h"

#include <QApplication>
#include <QEvent>

namespace quillet::app {

void SheetCover::cover(QWidget* sheet) {
    uncover(sheet);
    new SheetCover(sheet);
}

void SheetCover::uncover(QWidget* sheet) {
    for (auto* cover : sheet->findChildren<SheetCover*>(QString(), Qt::FindDirectChildrenOnly)) {
        cover->release();
        delete cover;
    }
}

SheetCover::SheetCover(QWidget* sheet) : QObject(sheet), sheet_(sheet), window_(sheet->window()) {
    window_->installEventFilter(this);
    for (auto* child : window_->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
        if (child != sheet && child->isEnabled() && !child->isWindow()) {
            child->setEnabled(false);
            disabled_.emplace_back(child);
        }
    }
    sheet->setGeometry(window_->rect());
    // Focus left on a covered view would keep taking keys.
    if (QWidget* focus = QApplication::focusWidget();
        focus != nullptr && focus->window() == window_ && !sheet->isAncestorOf(focus)) {
        focus->clearFocus();
    }
}

void SheetCover::release() {
    if (window_) {
        window_->removeEventFilter(this);
    }
    for (const auto& view : disabled_) {
        if (view) {
            view->setEnabled(true);
        }
    }
    disabled_.clear();
}

bool SheetCover::eventFilter(QObject* watched, QEvent* event) {
    if (watched == window_ && event->type() == QEvent::Resize && sheet_) {
        sheet_->setGeometry(window_->rect());
    }
    return false;
}

} // namespace quillet::app
