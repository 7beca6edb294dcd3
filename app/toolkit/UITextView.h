#pragma once

#include <QMargins>
#include <QPlainTextEdit>

#include "Styled.h"

namespace quillet::app {

// A QPlainTextEdit with the app's styles; named after UIKit's UITextView, like the whole toolkit.
// A plain-text editor that scrolls vertically; border and background style its frame, and the
// content insets keep the text off the frame.
class UITextView : public Styled<QPlainTextEdit> {
    Q_OBJECT
public:
    explicit UITextView(const QString& text = QString(), QWidget* parent = nullptr);

    QMargins contentInsets() const { return contentInsets_; }
    void setContentInsets(const QMargins& insets);
    void setSelectedTextBackgroundColor(const QColor& color);
    void setSelectedTextColor(const QColor& color);
    QColor selectedTextBackgroundColor() const { return selectedBackground_; }
    QColor selectedTextColor() const { return selectedText_; }

protected:
    QString extraStyleRules() const override;

private:
    QMargins contentInsets_;
    QColor selectedBackground_;
    QColor selectedText_;
};

} // namespace quillet::app
