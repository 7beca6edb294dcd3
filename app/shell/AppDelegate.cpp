#include "AppDelegate.h"

#include <QCoreApplication>
#include <QMainWindow>
#include <QTimer>

#include "defaults/DefaultsStore.h"
#include "log/Console.h"
#include "log/Log.h"

namespace {

UpdateChecking*& updater() {
    static UpdateChecking* current = nullptr;
    return current;
}

} // namespace

AppDelegate::AppDelegate(QMainWindow& window) : window_(window) {}

UpdateChecking* AppDelegate::standardUpdater() {
    return updater();
}

void AppDelegate::setStandardUpdater(UpdateChecking* checking) {
    updater() = checking;
}

void AppDelegate::applicationDidFinishLaunching() {
    quillet::DefaultsStore::standard().registerDefaults({{"NSApplicationCrashOnExceptions", true}});
    quillet::Console::shared().clear();
    QLOG_AS("applicationDidFinishLaunching(_:)",
            QCoreApplication::applicationFilePath().toStdString());
    QTimer::singleShot(backgroundCheckDelayMs, this, [] {
        if (auto* checking = standardUpdater()) {
            checking->checkForUpdatesInBackground();
        }
    });
}

bool AppDelegate::applicationShouldHandleReopen(bool hasVisibleWindows) {
    if (!hasVisibleWindows) {
        window_.show();
        window_.raise();
        window_.activateWindow();
    }
    return true;
}
