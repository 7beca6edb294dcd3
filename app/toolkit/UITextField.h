#pragma once

#include <QLineEdit>

#include "Styled.h"

namespace quillet::app {

// A QLineEdit with the app's styles; named after UIKit's UITextField, like the rest of the toolkit.
// A one-line text field with 5 points of padding at each side; a plain one has a 1-point grid
// border on white.
class UITextField : public Styled<QLineEdit> {
    Q_OBJECT
public:
    static constexpr int padding = 5;

    explicit UITextField(QWidget* parent = nullptr);
};

} // namespace quillet::app
