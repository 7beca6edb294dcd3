#pragma once

#include <QObject>
#include <QPointer>

class QMainWindow;

namespace quillet::app {

// What the content pane and the start-up sequence ask of the updater.
class UpdateChecking {
public:
    virtual ~UpdateChecking() = default;
    virtual void checkForUpdates() = 0;             // interactive, with its own windows
    virtual void checkForUpdatesInBackground() = 0; // reports only when an update exists
};

// A QObject that main() calls at start-up; named after AppKit's NSApplicationDelegate.
// The application's start-up and its whole-life services.
class AppDelegate : public QObject {
    Q_OBJECT
public:
    explicit AppDelegate(QMainWindow& window);

    // The updater, or none when the application runs without one.
    static UpdateChecking* standardUpdater();
    static void setStandardUpdater(UpdateChecking* updater);

    static constexpr int backgroundCheckDelayMs = 5000;

    void applicationDidFinishLaunching();
    // Brings the main window back when the application is activated without a visible window.
    bool applicationShouldHandleReopen(bool hasVisibleWindows);

    // Where crash reports are written: the application's data folder.
    static QString crashReportFolder();

private:
    void startCrashReporting();

    QMainWindow& window_;
};

} // namespace quillet::app
