// The run environment check: its report for passing and failing installs and home folders, the
// dialog's states, and its presentation over the window until a check has passed.
#include <gtest/gtest.h>

#include <QCoreApplication>

#include "ManualTimers.h"
#include "screens/CheckRunViewController.h"
#include "shell/ContentViewController.h"
#include "shell/MainWindow.h"
#include "toolkit/UIButton.h"
#include "toolkit/UILabel.h"

using namespace quillet::app;

namespace {

const QString app = CheckRunViewController::appPath;

TEST(CheckRunReport, AnInstalledAppAndAPlainHomePassWithEachPathOnItsOwnLine) {
    const auto report = CheckRunViewController::checkReport(app, "/Users/me");
    EXPECT_TRUE(report.passed);
    EXPECT_EQ(report.text, "[ 通过 ]安装路径:\n" + app + "\n\n\n[ 通过 ]用户目录: \n/Users/me\n");
}

TEST(CheckRunReport, AnotherInstallPlaceFailsAndNamesBothPathsWhileTheHomeIsStillChecked) {
    const auto report = CheckRunViewController::checkReport("/tmp/copy/Quillet", "/Users/me");
    EXPECT_FALSE(report.passed);
    // The failure says how to get there, not only where.
    EXPECT_TRUE(report.text.startsWith(
        "[ 未通过 ]当前安装路径: \n/tmp/copy/Quillet\n\n正确安装路径: \n" + app + "\n解决方法: "))
        << report.text.toStdString();
    EXPECT_TRUE(report.text.contains(app + "/bin/quillet\n") &&
                report.text.contains("make install-app"))
        << report.text.toStdString();
    EXPECT_TRUE(report.text.endsWith("\n\n\n[ 通过 ]用户目录: \n/Users/me\n"));

    // The comparison is exact.
    EXPECT_FALSE(CheckRunViewController::checkReport(app + "/", "/Users/me").passed);
    EXPECT_FALSE(CheckRunViewController::checkReport(app.toUpper(), "/Users/me").passed);
}

TEST(CheckRunReport, AHomeWithASpaceOrAChineseCharacterFails) {
    for (const QString& home : {QString("/Users/my mac"), QString("/Users/王")}) {
        const auto report = CheckRunViewController::checkReport(app, home);
        EXPECT_FALSE(report.passed) << home.toStdString();
        EXPECT_EQ(report.text, "[ 通过 ]安装路径:\n" + app +
                                   "\n\n\n[ 未通过 ]用户目录含有特殊符号:\n" + home +
                                   "\n解决方法: 换用路径只含英文字母、数字和 _ . - 的用户目录 "
                                   "(新建这样的用户后登录)\n");
    }
}

class CheckDialog : public ::testing::Test {
protected:
    CheckDialog() { CheckRunViewController::setPassed(false); }
    ~CheckDialog() override { CheckRunViewController::setPassed(true); }
};

TEST_F(CheckDialog, ShowsNoButtonWhileCheckingThenLetsAPassingUserIn) {
    ManualTimers timers;
    CheckRunViewController dialog(app, "/Users/me");
    dialog.resize(960, 600);
    dialog.show();
    EXPECT_EQ(dialog.titleLabel()->text(), "检测运行环境...");
    EXPECT_EQ(dialog.message()->text(), "安装路径 ...\n\n用户目录 ...");
    // Nothing that comes due before the check's time, nor the event loop, checks.
    timers.advance(CheckRunViewController::checkDelayMs - 1);
    QCoreApplication::processEvents();
    EXPECT_FALSE(dialog.cancleBtn()->isVisible());

    timers.advance(1);
    ASSERT_TRUE(dialog.cancleBtn()->isVisible());
    EXPECT_EQ(dialog.titleLabel()->text(), "运行环境正常");
    EXPECT_EQ(dialog.cancleBtn()->text(), "进入App");
    EXPECT_FALSE(static_cast<bool>(dialog.actionBlock));
    EXPECT_TRUE(CheckRunViewController::hasPassed());
}

TEST_F(CheckDialog, AFailedCheckOnlyOffersToQuit) {
    CheckRunViewController dialog("/tmp/elsewhere", "/Users/me");
    dialog.loadViewIfNeeded();
    dialog.check();
    EXPECT_EQ(dialog.titleLabel()->text(), "检测未通过, 请退出App解决以下问题后重新打开App");
    EXPECT_EQ(dialog.cancleBtn()->text(), "退出App");
    EXPECT_TRUE(static_cast<bool>(dialog.actionBlock));
    EXPECT_FALSE(CheckRunViewController::hasPassed());
}

TEST_F(CheckDialog, IsPresentedOverTheWindowAtEachAppearanceUntilACheckPasses) {
    auto checkDialogs = [](ContentViewController* content) {
        int count = 0;
        for (const auto& presented : content->presentedViewControllers()) {
            count += qobject_cast<CheckRunViewController*>(presented.data()) != nullptr;
        }
        return count;
    };
    {
        MainWindow window;
        window.show();
        EXPECT_EQ(checkDialogs(window.content()), 1);
        window.hide();
        window.show(); // it reappears under the dialog that is still there
        EXPECT_EQ(checkDialogs(window.content()), 1);
    }
    CheckRunViewController::setPassed(true);
    MainWindow window;
    window.show();
    EXPECT_EQ(checkDialogs(window.content()), 0);
}

} // namespace
