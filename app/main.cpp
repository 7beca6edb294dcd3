// Quillet, the desktop application.
#include <QApplication>
#include <QDir>

#include <cstdio>
#include <string_view>

#include "base/Fatal.h"
#include "log/Console.h"
#include "platform/ChineseInterface.h"
#include "platform/QtMainQueue.h"
#include "platform/StandardUpdater.h"
#include "screens/CheckRunViewController.h"
#include "service/Config.h"
#include "shell/AppDelegate.h"
#include "shell/MainWindow.h"
#include "version/Version.h"

int main(int argc, char** argv) {
    using namespace quillet::app;
    quillet::reportTerminations();
    // Answered before the application starts, so it works where there is no display.
    if (argc == 2 && std::string_view(argv[1]) == "--version") {
        std::printf("quillet %s\n", quillet::version);
        return 0;
    }
    // The environment check without a window, for scripts and for checking an installation.
    if (argc == 2 && std::string_view(argv[1]) == "--check-environment") {
        QCoreApplication core(argc, argv);
        const auto report = CheckRunViewController::checkReport(
            CheckRunViewController::runningBundlePath(), QDir::homePath());
        std::printf("%s", report.text.toStdString().c_str());
        return report.passed ? 0 : 1;
    }
    QApplication application(argc, argv);
    Q_INIT_RESOURCE(app); // the images live in a static library
    QApplication::setApplicationName("Quillet");
    QApplication::setApplicationVersion(quillet::version);
    QApplication::setWindowIcon(QIcon(":/images/quillet.svg"));
    QApplication::setDesktopFileName("app.quillet.Quillet"); // Wayland's app id: icon and entry
#ifdef __APPLE__
    // Closing the window keeps the application; activating it brings the window back.
    QApplication::setQuitOnLastWindowClosed(false);
#endif
    installChineseInterface();
    useChineseFont();
    QtMainQueue mainQueue;
    quillet::MainQueue::setMain(mainQueue);
    quillet::Console::shared().setEcho(true);

    StandardUpdater updater(
        QUrl(QString::fromStdString(quillet::Config::webURL()) + "/appcast.xml"),
        QApplication::applicationVersion());
    AppDelegate::setStandardUpdater(&updater);

    MainWindow window;
    AppDelegate delegate(window);
    QObject::connect(&application, &QGuiApplication::applicationStateChanged,
                     [&](Qt::ApplicationState state) {
                         if (state == Qt::ApplicationActive) {
                             delegate.applicationShouldHandleReopen(window.isVisible());
                         }
                     });
    delegate.applicationDidFinishLaunching();
    window.show();
    return QApplication::exec();
}
