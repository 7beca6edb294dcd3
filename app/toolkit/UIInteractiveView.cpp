#include "UIInteractiveView.h"

#include <QHBoxLayout>
#include <QKeyEvent>

#include "Palette.h"
#include "UILabel.h"
#include "UITextField.h"

namespace quillet::app {

UIInteractiveView::UIInteractiveView(bool editable, int hintWidth, QWidget* parent)
    : UIView(parent), hint_(new UILabel(QString(), this)), label_(new UITextField(this)) {
    hint_->setFixedWidth(hintWidth);
    label_->setBorder({});
    label_->setBackground({});
    label_->setReadOnly(!editable);
    if (!editable) {
        hint_->setIgnoresMouseEvents(true);
        label_->setAttribute(Qt::WA_TransparentForMouseEvents);
        label_->setFocusPolicy(Qt::NoFocus);
    }
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    row->addWidget(hint_);
    row->addWidget(label_, 1);
}

UIInteractiveView* UIInteractiveView::folderField(std::function<void()> choose, QWidget* parent) {
    auto* field = new UIInteractiveView(false, 50, parent);
    field->hint()->setText("路径:");
    field->label()->setPlaceholderText("双击 选择/更改 路径");
    field->clicks.doubleClickBlock = choose;
    field->choose_ = std::move(choose);
    // A framed field shows where to double-click.
    field->frame(false);
    field->label()->setBackground({Qt::white});
    field->setCursor(Qt::PointingHandCursor);
    field->setFocusPolicy(Qt::StrongFocus);
    return field;
}

void UIInteractiveView::frame(bool focused) {
    label_->setBorder(focused ? Border{Palette::theme(), 2, 4}
                              : Border{QColor(204, 204, 204), 1, 4});
}

void UIInteractiveView::keyPressEvent(QKeyEvent* event) {
    const int key = event->key();
    if (choose_ && (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Space)) {
        choose_();
        return;
    }
    UIView::keyPressEvent(event);
}

void UIInteractiveView::focusInEvent(QFocusEvent* event) {
    UIView::focusInEvent(event);
    if (choose_) {
        frame(true);
    }
}

void UIInteractiveView::focusOutEvent(QFocusEvent* event) {
    UIView::focusOutEvent(event);
    if (choose_) {
        frame(false);
    }
}

} // namespace quillet::app
