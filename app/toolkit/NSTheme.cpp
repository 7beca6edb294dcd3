#include "NSTheme.h"

#include <QApplication>
#include <QEvent>
#include <QPalette>

namespace quillet::app {

NSTheme::NSTheme() {
    qApp->installEventFilter(this);
}

NSTheme& NSTheme::shared() {
    static NSTheme* theme = new NSTheme(); // lives as long as the application
    return *theme;
}

NSTheme::Style NSTheme::style() const {
    return QApplication::palette().color(QPalette::Window).lightness() < 128 ? Style::dark
                                                                             : Style::light;
}

bool NSTheme::eventFilter(QObject* watched, QEvent* event) {
    if (watched == qApp && event->type() == QEvent::ApplicationPaletteChange) {
        emit themeChanged();
    }
    return QObject::eventFilter(watched, event);
}

} // namespace quillet::app
