#pragma once

#include <QColor>

namespace quillet::app {

// Not a QPalette: plain QColor values, as UIColor constants would be in UIKit code.
// The application's fixed colours.
namespace Palette {
QColor theme();     // title bar in light mode, highlighted buttons, accents
QColor themeDeep(); // filled buttons, the alert dialog, sidebar section titles
QColor textDark();
QColor textLight();
} // namespace Palette

} // namespace quillet::app
