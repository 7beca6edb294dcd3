#include "UIButton.h"

#include "LayerStyle.h"
#include "Palette.h"

namespace quillet::app {

UIButton::UIButton(QWidget* parent) : UIButton(QString(), parent) {}

UIButton::UIButton(const QString& title, QWidget* parent) : Styled<QPushButton>(title, parent) {
    setFlat(true);
    setCursor(Qt::PointingHandCursor);
    applyStyle();
}

QString UIButton::extraStyleRules() const {
    // Where Tab has left the keyboard: flat and filled buttons alike draw no focus of their own.
    return QString(" %1:focus { border: 2px solid %2; }")
        .arg(LayerStyle::classSelector(metaObject()->className()),
             Palette::textDark().name(QColor::HexArgb));
}

UIButton* UIButton::filled(const QString& title, QWidget* parent) {
    auto* button = new UIButton(title, parent);
    button->setBackground({Palette::themeDeep()});
    button->setHighlight(
        {.border = std::nullopt, .background = Background{Palette::theme()}, .text = std::nullopt});
    button->setTextStyle({Qt::white, 18});
    button->setBorder({std::nullopt, 0, 5});
    return button;
}

UIButton* UIButton::plain(const QString& title, QWidget* parent) {
    auto* button = new UIButton(title, parent);
    button->setTextStyle({QColor(222, 128, 60), 18});
    return button;
}

} // namespace quillet::app
