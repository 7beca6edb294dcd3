#pragma once

namespace quillet::app {

// Makes Qt's own texts (file dialogs, context menus, message boxes) Chinese, like the rest of
// the interface: Qt's Chinese translations and a Chinese locale. False when the translations are
// not installed; Qt's texts then stay English.
bool installChineseInterface();

// Makes a Chinese font the application's font where the system has one. Measured in a Latin font,
// a line of mixed text is taller than the font says, and what is drawn into a line's box (a
// field's placeholder) loses its underscores and descenders.
void useChineseFont();

} // namespace quillet::app
