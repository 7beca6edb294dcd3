#include "UITextField.h"

namespace quillet::app {

UITextField::UITextField(QWidget* parent) : Styled<QLineEdit>(parent) {
    setTextMargins(padding, 0, padding, 0);
    setAttribute(Qt::WA_MacShowFocusRect, false);
    setBorder({QColor(204, 204, 204), 1, 0}); // the platform's grid colour
    setBackground({Qt::white});
}

} // namespace quillet::app
