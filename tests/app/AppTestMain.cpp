#include <cstdlib>

#include <QApplication>
#include <gtest/gtest.h>

#include "log/Console.h"
#include "platform/ChineseInterface.h"
#include "platform/QtMainQueue.h"
#include "screens/CheckRunViewController.h"
#include "service/MainQueue.h"
#include "support/TestHome.h"

using namespace quillet::app;

// The app's tests run in one QApplication, headless unless a platform is asked for, with a home
// folder of their own.
int main(int argc, char** argv) {
    const std::string home = quillet::test::useFreshHome();
    if (home.empty()) {
        return 1;
    }
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    ::setenv("QTWEBENGINE_DISABLE_SANDBOX", "1", 1);
    ::setenv("QTWEBENGINE_CHROMIUM_FLAGS", "--disable-gpu", 0);
    QApplication application(argc, argv);
    Q_INIT_RESOURCE(app);      // the images live in a static library
    installChineseInterface(); // as the application does
    useChineseFont();
    QtMainQueue queue;
    quillet::MainQueue::setMain(queue);
    quillet::Console::shared().setEcho(false);
    // The tests do not run from the installed place; windows open as after a passed check,
    // except in the tests of the check itself.
    CheckRunViewController::setPassed(true);
    ::testing::InitGoogleTest(&argc, argv);
    const int result = RUN_ALL_TESTS();
    quillet::test::removeHome(home);
    return result;
}
