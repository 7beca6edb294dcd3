#include "ChineseInterface.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

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
