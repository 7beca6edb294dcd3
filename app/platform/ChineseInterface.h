#pragma once

// Makes Qt's own texts (file dialogs, context menus, message boxes) Chinese, like the rest of
// the interface: Qt's Chinese translations and a Chinese locale. False when the translations are
// not installed; Qt's texts then stay English.
bool installChineseInterface();
