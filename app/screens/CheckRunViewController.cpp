#include "CheckRunViewController.h"

#include <QCoreApplication>
#include <QDir>

#include "paths/PathRule.h"
#include "platform/AfterDelay.h"
#include "toolkit/UIButton.h"
#include "toolkit/UILabel.h"

namespace quillet::app {

namespace {

bool passedInThisProcess = false;

// How to get the app where the check wants it, as it is installed on this system.
QString installHint(const QString& appPath) {
#ifdef __APPLE__
    return "解决方法: 退出App, 把 Quillet.app 移到 " + appPath + " 后从那里打开\n";
#else
    return "解决方法: 退出App, 在 Quillet 源码目录运行 make install-app (或安装 Quillet 软件包), "
           "然后运行 " +
           appPath + "/bin/quillet\n";
#endif
}

constexpr const char* homeHint = "解决方法: 换用路径只含英文字母、数字和 _ . - 的用户目录 "
                                 "(新建这样的用户后登录)\n";

} // namespace

QString CheckRunViewController::runningBundlePath() {
    QDir folder(QCoreApplication::applicationDirPath());
#ifdef __APPLE__
    folder.cd("../.."); // Quillet.app/Contents/MacOS
#else
    if (folder.dirName() == "bin") {
        folder.cdUp(); // <prefix>/bin/quillet
    }
#endif
    return QDir::cleanPath(folder.absolutePath());
}

CheckRunViewController::Report CheckRunViewController::checkReport(const QString& bundlePath,
                                                                   const QString& homePath) {
    Report report{QString(), true};
    if (bundlePath == appPath) {
        report.text = "[ 通过 ]安装路径:\n" + appPath + "\n";
    } else {
        report.text = "[ 未通过 ]当前安装路径: \n" + bundlePath + "\n\n" + "正确安装路径: \n" +
                      appPath + "\n" + installHint(appPath);
        report.passed = false;
    }
    if (quillet::isAcceptedPath(homePath.toStdString())) {
        report.text += "\n\n[ 通过 ]用户目录: \n" + homePath + "\n";
    } else {
        report.text += "\n\n[ 未通过 ]用户目录含有特殊符号:\n" + homePath + "\n" + homeHint;
        report.passed = false;
    }
    return report;
}

bool CheckRunViewController::hasPassed() {
    return passedInThisProcess;
}

void CheckRunViewController::setPassed(bool passed) {
    passedInThisProcess = passed;
}

CheckRunViewController::CheckRunViewController(QString bundlePath, QString homePath,
                                               QWidget* parent)
    : UIAlertViewController(parent), bundlePath_(std::move(bundlePath)),
      homePath_(homePath.isNull() ? QDir::homePath() : std::move(homePath)) {}

void CheckRunViewController::viewDidLoad() {
    UIAlertViewController::viewDidLoad();
    cancleBtn()->hide();
    titleLabel()->setText("检测运行环境...");
    message()->setText("安装路径 ...\n\n用户目录 ...");
    AfterDelay::run(checkDelayMs, this, [this] { check(); });
}

void CheckRunViewController::check() {
    const Report report = checkReport(bundlePath_, homePath_);
    cancleBtn()->show();
    setMessage(report.text); // a failure and its remedies take more lines than the usual box
    if (report.passed) {
        setPassed(true);
        titleLabel()->setText("运行环境正常");
        cancleBtn()->setText("进入App");
        actionBlock = nullptr; // the ordinary action closes the dialog
    } else {
        titleLabel()->setText("检测未通过, 请退出App解决以下问题后重新打开App");
        cancleBtn()->setText("退出App");
        actionBlock = &CheckRunViewController::exitApp;
    }
}

void CheckRunViewController::exitApp() {
    QCoreApplication::quit();
}

} // namespace quillet::app
