#pragma once

#include <QPushButton>

#include "Styled.h"

namespace quillet::app {

// A QPushButton with the app's styles; named after UIKit's UIButton, like the rest of the toolkit.
// A flat push button styled through records.
class UIButton : public Styled<QPushButton> {
    Q_OBJECT
public:
    explicit UIButton(QWidget* parent = nullptr);
    UIButton(const QString& title, QWidget* parent = nullptr);

    // The filled button of the screens: theme-deep background, theme while hovered, white text
    // of size 18, corners of 5.
    static UIButton* filled(const QString& title, QWidget* parent = nullptr);
    // The text button of the screens: orange text of size 18 on nothing.
    static UIButton* plain(const QString& title, QWidget* parent = nullptr);

protected:
    QString extraStyleRules() const override;
};

} // namespace quillet::app
