#include "UITextView.h"

#include <QScrollBar>

namespace quillet::app {

UITextView::UITextView(const QString& text, QWidget* parent)
    : Styled<QPlainTextEdit>(text, parent),
      selectedBackground_(palette().color(QPalette::Highlight)),
      selectedText_(palette().color(QPalette::HighlightedText)) {
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
    // None of the app's lists takes a tab; the key moves on, as everywhere else in the window.
    setTabChangesFocus(true);
    setBackground({Qt::white});
    setTextStyle({Qt::black, 12});
}

void UITextView::setContentInsets(const QMargins& insets) {
    contentInsets_ = insets;
    setViewportMargins(insets);
}

void UITextView::setSelectedTextBackgroundColor(const QColor& color) {
    selectedBackground_ = color;
    applyStyle();
}

void UITextView::setSelectedTextColor(const QColor& color) {
    selectedText_ = color;
    applyStyle();
}

QString UITextView::extraStyleRules() const {
    return QString(" %1 { selection-background-color: %2; selection-color: %3; }")
        .arg(LayerStyle::classSelector(metaObject()->className()),
             selectedBackground_.name(QColor::HexArgb), selectedText_.name(QColor::HexArgb));
}

} // namespace quillet::app
