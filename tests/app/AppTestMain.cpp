#include <cstdlib>
#include <filesystem>
#include <string>

#include <QApplication>
#include <gtest/gtest.h>

#include "log/Console.h"
#include "platform/QtMainQueue.h"
#include "service/MainQueue.h"

// The app's tests run in one QApplication, headless unless a platform is asked for, with a home
// folder of their own.
int main(int argc, char** argv) {
    std::string home = (std::filesystem::temp_directory_path() / "quillet-home-XXXXXX").string();
    if (::mkdtemp(home.data()) == nullptr) {
        return 1;
    }
    ::setenv("HOME", home.c_str(), 1);
    ::unsetenv("XDG_CONFIG_HOME");
    ::setenv("QT_QPA_PLATFORM",
             std::getenv("QT_QPA_PLATFORM") ? std::getenv("QT_QPA_PLATFORM") : "offscreen", 1);
    ::setenv("QTWEBENGINE_DISABLE_SANDBOX", "1", 1);
    ::setenv("QTWEBENGINE_CHROMIUM_FLAGS", "--disable-gpu", 0);
    QApplication application(argc, argv);
    Q_INIT_RESOURCE(app); // the images live in a static library
    QtMainQueue queue;
    quillet::MainQueue::setMain(queue);
    quillet::Console::shared().setEcho(false);
    ::testing::InitGoogleTest(&argc, argv);
    const int result = RUN_ALL_TESTS();
    std::error_code ignored;
    std::filesystem::remove_all(home, ignored);
    return result;
}
