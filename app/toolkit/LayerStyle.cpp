#include "LayerStyle.h"

namespace quillet::app {

namespace {

QString rgba(const QColor& color) {
    return QString("rgba(%1, %2, %3, %4)")
        .arg(color.red())
        .arg(color.green())
        .arg(color.blue())
        .arg(color.alpha());
}

} // namespace

LayerStyle::Look LayerStyle::current() const {
    Look look{border, background, text};
    if (!hovered || !highlight) {
        return look;
    }
    if (highlight->background && highlight->background->color) {
        look.background.color = highlight->background->color;
    }
    if (const auto& over = highlight->border) {
        if (over->color) {
            look.border.color = over->color;
        }
        if (over->width > 0) {
            look.border.width = over->width;
        }
        if (over->radius > 0) {
            look.border.radius = over->radius;
        }
    }
    if (highlight->text) {
        look.text = highlight->text;
    }
    return look;
}

QString LayerStyle::styleSheet(const char* className) const {
    const Look look = current();
    QString rules;
    rules += look.background.color ? "background: " + rgba(*look.background.color) + ";"
                                   : QString("background: transparent;");
    if (look.border.width > 0 && look.border.color) {
        rules +=
            QString("border: %1px solid %2;").arg(look.border.width).arg(rgba(*look.border.color));
    } else {
        rules += "border: none;";
    }
    rules += QString("border-radius: %1px;").arg(look.border.radius);
    if (look.text) {
        rules += "color: " + rgba(look.text->color) + ";";
        if (look.text->fontSize > 0) {
            rules += QString("font-size: %1px;").arg(look.text->fontSize);
        }
    }
    return QString("%1 { %2 }").arg(classSelector(className), rules);
}

QString LayerStyle::classSelector(const char* className) {
    return "." + QString::fromLatin1(className).replace("::", "--");
}

} // namespace quillet::app
