#pragma once

#include <QEnterEvent>
#include <QMouseEvent>

#include "LayerStyle.h"

namespace quillet::app {

// A mixin over a QWidget class; it gives the toolkit's UIKit-named controls their looks.
// Gives a Qt widget class the toolkit's styling records, the hover highlight and click blocks.
// Each setter applies at once.
template <class QtWidget> class Styled : public QtWidget {
public:
    using QtWidget::QtWidget;

    const Border& border() const { return style_.border; }
    const Background& background() const { return style_.background; }
    const std::optional<TextStyle>& textStyle() const { return style_.text; }
    const std::optional<Highlight>& highlight() const { return style_.highlight; }
    bool isEnableTrackingArea() const { return this->testAttribute(Qt::WA_Hover); }
    bool isHovered() const { return style_.hovered; }

    void setBorder(const Border& border) {
        style_.border = border;
        applyStyle();
    }
    void setBackground(const Background& background) {
        style_.background = background;
        applyStyle();
    }
    void setTextStyle(const TextStyle& text) {
        style_.text = text;
        applyStyle();
    }
    // The first highlight also starts following the mouse.
    void setHighlight(const Highlight& highlight) {
        style_.highlight = highlight;
        this->setAttribute(Qt::WA_Hover);
        applyStyle();
    }

    ClickBlocks clicks;

protected:
    void applyStyle() {
        this->setAttribute(Qt::WA_StyledBackground);
        this->setStyleSheet(style_.styleSheet(this->metaObject()->className()) + extraStyleRules());
    }
    // Rules a control adds to its own style sheet.
    virtual QString extraStyleRules() const { return {}; }

    void enterEvent(QEnterEvent* entered) override {
        QtWidget::enterEvent(entered);
        setHovered(true);
    }
    void leaveEvent(QEvent* left) override {
        QtWidget::leaveEvent(left);
        setHovered(false);
    }
    // A control with click blocks keeps the presses, so that the releases come to it.
    void mousePressEvent(QMouseEvent* pressed) override {
        QtWidget::mousePressEvent(pressed);
        if (hasClickBlocks()) {
            pressed->accept();
        }
    }
    void mouseDoubleClickEvent(QMouseEvent* pressed) override {
        secondClick_ = true;
        QtWidget::mouseDoubleClickEvent(pressed);
        if (hasClickBlocks()) {
            pressed->accept();
        }
    }
    void mouseReleaseEvent(QMouseEvent* released) override {
        const bool second = std::exchange(secondClick_, false);
        QtWidget::mouseReleaseEvent(released);
        if (released->button() != Qt::LeftButton) {
            return;
        }
        const auto& block = second ? clicks.doubleClickBlock : clicks.signleClickBlock;
        if (block) {
            released->accept();
            block();
        }
    }

private:
    bool hasClickBlocks() const {
        return static_cast<bool>(clicks.signleClickBlock) ||
               static_cast<bool>(clicks.doubleClickBlock);
    }
    void setHovered(bool hovered) {
        if (style_.highlight && style_.hovered != hovered) {
            style_.hovered = hovered;
            applyStyle();
        }
    }

    LayerStyle style_;
    bool secondClick_ = false;
};

} // namespace quillet::app
