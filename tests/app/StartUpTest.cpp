// The start-up sequence and the reopen rule of the application delegate.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QMainWindow>

#include "ManualTimers.h"
#include "defaults/DefaultsStore.h"
#include "log/Console.h"
#include "log/Log.h"
#include "shell/AppDelegate.h"
#include "shell/LocalMonitor.h"
#include "support/Files.h"

using namespace quillet::app;

namespace {

struct CountingUpdater : UpdateChecking {
    int interactive = 0;
    int background = 0;
    void checkForUpdates() override { ++interactive; }
    void checkForUpdatesInBackground() override { ++background; }
};

TEST(StartUp, RunsItsStepsAndChecksForUpdatesInTheBackgroundFiveSecondsLater) {
    QLOG_AS("earlier", "an entry of the previous run");
    CountingUpdater updater;
    AppDelegate::setStandardUpdater(&updater);
    QMainWindow window;
    AppDelegate delegate(window);
    ManualTimers timers;

    delegate.applicationDidFinishLaunching();
    const auto crashOnExceptions =
        quillet::DefaultsStore::standard().object("NSApplicationCrashOnExceptions");
    ASSERT_TRUE(crashOnExceptions.has_value());
    EXPECT_EQ(*crashOnExceptions, quillet::DefaultsValue(true));
    EXPECT_TRUE(LocalMonitor::shared().isStarted());
    EXPECT_TRUE(QDir(AppDelegate::crashReportFolder()).exists());
    // The log was emptied first, so the bundle path is its only entry.
    const std::string log = quillet::test::readFile(quillet::Console::shared().path());
    EXPECT_EQ(log.find("an entry of the previous run"), std::string::npos);
    EXPECT_NE(log.find("applicationDidFinishLaunching(_:)"), std::string::npos) << log;
    EXPECT_NE(log.find(QCoreApplication::applicationFilePath().toStdString()), std::string::npos);

    // Nothing that comes due before the check's time, nor the event loop, checks; then one does.
    timers.advance(AppDelegate::backgroundCheckDelayMs - 1);
    QCoreApplication::processEvents();
    EXPECT_EQ(updater.background, 0);
    timers.advance(1);
    EXPECT_EQ(updater.background, 1);
    EXPECT_EQ(timers.waiting(), 0u); // no second check comes later
    EXPECT_EQ(updater.interactive, 0);
    AppDelegate::setStandardUpdater(nullptr);
}

TEST(StartUp, ReopenBringsAClosedWindowBackAndLeavesAVisibleOneAlone) {
    QMainWindow window;
    AppDelegate delegate(window);
    EXPECT_TRUE(delegate.applicationShouldHandleReopen(false));
    EXPECT_TRUE(window.isVisible());
    window.close();
    EXPECT_TRUE(delegate.applicationShouldHandleReopen(true));
    EXPECT_FALSE(window.isVisible());
}

} // namespace
