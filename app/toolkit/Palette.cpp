#include "Palette.h"

namespace quillet::app {

namespace Palette {

QColor theme() {
    return QColor(58, 188, 208);
}

QColor themeDeep() {
    return QColor(40, 160, 180);
}

QColor textDark() {
    return QColor(88, 88, 88);
}

QColor textLight() {
    return QColor(111, 111, 111);
}

} // namespace Palette

} // namespace quillet::app
