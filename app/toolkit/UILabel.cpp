#include "UILabel.h"

UILabel::UILabel(const QString& text, QWidget* parent) : Styled<QLabel>(text, parent) {
    applyStyle();
}

void UILabel::setIgnoresMouseEvents(bool ignores) {
    setAttribute(Qt::WA_TransparentForMouseEvents, ignores);
}
