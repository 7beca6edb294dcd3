#include "ChineseInterface.h"

#include <QApplication>
#include <QCoreApplication>
#include <QFont>
#include <QFontDatabase>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace quillet::app {

bool installChineseInterface() {
    const QLocale chinese(QLocale::Chinese, QLocale::China);
    QLocale::setDefault(chinese);
    // One for the process: the application keeps a pointer to it.
    static QTranslator* translator = nullptr;
    if (translator != nullptr) {
        return true;
    }
    auto* candidate = new QTranslator(QCoreApplication::instance());
    // "qt" is the catalogue of all of Qt's modules, "qtbase" the one of widgets and dialogs.
    const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    if (!candidate->load(chinese, "qt", "_", folder) &&
        !candidate->load(chinese, "qtbase", "_", folder)) {
        delete candidate;
        return false;
    }
    QCoreApplication::installTranslator(candidate);
    translator = candidate;
    return true;
}

void useChineseFont() {
    const QStringList families = QFontDatabase::families();
    for (const char* family : {"PingFang SC", "Noto Sans CJK SC", "Source Han Sans SC",
                               "WenQuanYi Micro Hei", "Microsoft YaHei"}) {
        if (families.contains(family)) {
            QFont font = QApplication::font();
            font.setFamily(family);
            QApplication::setFont(font);
            return;
        }
    }
}

} // namespace quillet::app
