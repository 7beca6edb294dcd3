#include "UILabel.h"

namespace quillet::app {

UILabel::UILabel(const QString& text, QWidget* parent) : Styled<QLabel>(text, parent) {
    applyStyle();
}

void UILabel::setIgnoresMouseEvents(bool ignores) {
    setAttribute(Qt::WA_TransparentForMouseEvents, ignores);
}

} // namespace quillet::app
