#pragma once

#include <functional>

#include "UIView.h"

namespace quillet::app {

class UILabel;
class UITextField;

// A QWidget with a UILabel and a UITextField; named in UIKit's style, like the rest of the toolkit.
// A row: a hint of fixed width at the left and the value filling the rest. The value can be
// typed into only when the row is editable; otherwise the row ignores the mouse.
class UIInteractiveView : public UIView {
    Q_OBJECT
public:
    UIInteractiveView(bool editable, int hintWidth, QWidget* parent = nullptr);
    // The framed row of a project folder, "路径:", which cannot be typed into: a double click
    // runs `choose`, and so do Return and Space once Tab has brought the focus to it (its frame
    // then takes the theme's colour).
    static UIInteractiveView* folderField(std::function<void()> choose, QWidget* parent);

    UILabel* hint() const { return hint_; }
    UITextField* label() const { return label_; }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void frame(bool focused);

    UILabel* hint_;
    UITextField* label_;
    std::function<void()> choose_; // set for a folder field
};

} // namespace quillet::app
