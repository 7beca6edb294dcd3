#include "UIInteractiveView.h"

#include <QHBoxLayout>

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

} // namespace quillet::app
