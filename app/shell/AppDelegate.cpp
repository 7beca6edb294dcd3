#include "AppDelegate.h"

#include <QCoreApplication>
#include <QMainWindow>
#include <QStandardPaths>
#include <QSysInfo>

#include "LocalMonitor.h"
#include "crash/Crashlytics.h"
#include "platform/AfterDelay.h"

#include "defaults/DefaultsStore.h"
#include "log/Console.h"
#include "log/Log.h"
#include "wordbank/DeviceIdentifier.h"

namespace quillet::app {

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
    LocalMonitor::shared().start();
    quillet::Console::shared().clear();
    QLOG_AS("applicationDidFinishLaunching(_:)",
            QCoreApplication::applicationFilePath().toStdString());
    startCrashReporting();
    AfterDelay::run(backgroundCheckDelayMs, this, [] {
        if (auto* checking = standardUpdater()) {
            checking->checkForUpdatesInBackground();
        }
    });
}

QString AppDelegate::crashReportFolder() {
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + "/Crashes";
}

void AppDelegate::startCrashReporting() {
    auto& reporter = quillet::Crashlytics::shared();
    if (const auto started = reporter.start(crashReportFolder().toStdString(),
                                            QCoreApplication::applicationVersion().toStdString());
        !started) {
        QLOG_AS("applicationDidFinishLaunching(_:)",
                "crash reports cannot be kept in " + crashReportFolder().toStdString(),
                started.error().message);
    }
    const QString host = QSysInfo::machineHostName();
    reporter.setUserName(host.isEmpty() ? "Unknown" : host.toStdString());
    reporter.setUserIdentifier(quillet::deviceIdentifier());
}

bool AppDelegate::applicationShouldHandleReopen(bool hasVisibleWindows) {
    if (!hasVisibleWindows) {
        window_.show();
        window_.raise();
        window_.activateWindow();
    }
    return true;
}

} // namespace quillet::app
