// The crash report page driven as a user drives it: a project folder with the names file a run
// left, a report pasted or dropped in, and 还原.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QDropEvent>
#include <QMainWindow>
#include <QMimeData>
#include <QSignalSpy>
#include <QTest>
#include <filesystem>

#include "ShopCrashReport.h"
#include "platform/CMOpenPanel.h"
#include "screens/CrashReportViewController.h"
#include "support/Files.h"
#include "toolkit/MessageText.h"
#include "toolkit/UIAlertViewController.h"
#include "toolkit/UIButton.h"
#include "toolkit/UIInteractiveView.h"
#include "toolkit/UILabel.h"
#include "toolkit/UITextField.h"
#include "toolkit/UITextView.h"

namespace fs = std::filesystem;
using quillet::test::originalShopReport;
using quillet::test::renamedShopReport;
using quillet::test::shopMethodList;
using quillet::test::shopNamesTable;
using quillet::test::TempDir;
using namespace quillet::app;

namespace {

// Drags `data` over `target` as a file manager does and drops it there; whether the drop was
// taken.
bool drop(QWidget* target, const QMimeData& data) {
    const QPoint middle = target->rect().center();
    QDragEnterEvent enter(middle, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &enter);
    if (!enter.isAccepted()) {
        return false;
    }
    QDropEvent dropped(middle, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &dropped);
    return dropped.isAccepted();
}

bool dropFiles(QWidget* target, const QStringList& paths) {
    QList<QUrl> urls;
    for (const QString& path : paths) {
        urls << QUrl::fromLocalFile(path);
    }
    QMimeData data;
    data.setUrls(urls);
    return drop(target, data);
}

class CrashReportScreen : public ::testing::Test {
protected:
    CrashReportScreen() {
        fs::create_directories(project_);
        CMOpenPanel::shared().setChooser(
            [this](const QString&) { return std::optional(QString::fromStdString(project_)); });
        window_.setCentralWidget(new QWidget(&window_));
        screen_ = new CrashReportViewController(window_.centralWidget());
        screen_->setGeometry(0, 30, 760, 510);
        window_.resize(960, 600);
        window_.show();
    }
    ~CrashReportScreen() override {
        CMOpenPanel::shared().setChooser({});
        if (CMAlert::shared().isVisible()) {
            CMAlert::shared().dismissController();
        }
    }

    void write(const std::string& file, std::string_view text) {
        quillet::test::writeFile(fs::path(project_) / file, text);
    }
    QString namesText() const { return screen_->namesLabel()->text(); }
    QString dialogTitle() const { return CMAlert::shared().titleLabel()->text(); }
    QString dialogMessage() const {
        return MessageText::written(CMAlert::shared().message()->text());
    }
    bool dialogShown() const { return CMAlert::shared().isVisible(); }
    // Presses 还原 and waits for the translation to show.
    void restore() {
        QSignalSpy restored(screen_, &CrashReportViewController::restored);
        screen_->restoreBtn()->click();
        ASSERT_TRUE(restored.wait(30000));
    }

    TempDir temp_;
    std::string project_ = (temp_.path() / "Demo").string();
    QMainWindow window_;
    CrashReportViewController* screen_;
};

} // namespace

TEST_F(CrashReportScreen, TheProjectsNamesAreCountedAndARestoreShowsTheOldNames) {
    write("QuilletNames.tsv", shopNamesTable());
    EXPECT_EQ(screen_->pathInput()->label()->placeholderText(), "双击 选择/更改 路径");
    EXPECT_EQ(screen_->pathInput()->cursor().shape(), Qt::PointingHandCursor);
    // Through the window, as the user double-clicks the field.
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window_));
    QTest::mouseDClick(
        window_.windowHandle(), Qt::LeftButton, {},
        screen_->pathInput()->mapTo(&window_, screen_->pathInput()->rect().center()));
    EXPECT_EQ(screen_->pathInput()->label()->text(), QString::fromStdString(project_));
    EXPECT_EQ(namesText(), "名称表：QuilletNames.tsv（6 个名称）");
    EXPECT_FALSE(screen_->copyBtn()->isVisible());

    screen_->reportInput()->setPlainText(renamedShopReport);
    QSignalSpy restored(screen_, &CrashReportViewController::restored);
    screen_->restoreBtn()->click();
    // The result comes back through the event loop: until then a second press cannot start
    // another translation.
    EXPECT_FALSE(screen_->restoreBtn()->isEnabled());
    EXPECT_EQ(screen_->restoreBtn()->text(), "还原中...");
    ASSERT_TRUE(restored.wait(30000));
    EXPECT_EQ(screen_->restoredOutput()->toPlainText(), originalShopReport);
    EXPECT_EQ(screen_->reportInput()->toPlainText(), renamedShopReport);
    EXPECT_TRUE(screen_->restoredOutput()->isReadOnly());
    EXPECT_TRUE(screen_->restoreBtn()->isEnabled());
    EXPECT_EQ(screen_->restoreBtn()->text(), "还原");

    ASSERT_TRUE(screen_->copyBtn()->isVisible());
    QApplication::clipboard()->clear();
    screen_->copyBtn()->click();
    EXPECT_EQ(QApplication::clipboard()->text(), originalShopReport);
    EXPECT_EQ(dialogTitle(), "复制成功");
}

TEST_F(CrashReportScreen, TheTableIsUsedBeforeAnOlderRunsMethodListAndABrokenOneIsNotPassedOver) {
    // Only the list of an older run: its methods are put back, the rest stays as it is.
    write("MethodReplaceList.txt", shopMethodList());
    screen_->selectPathAction();
    EXPECT_EQ(namesText(), "名称表：MethodReplaceList.txt（2 个名称）");
    screen_->reportInput()->setPlainText(renamedShopReport);
    restore();
    const QString methodsOnly = screen_->restoredOutput()->toPlainText();
    EXPECT_TRUE(methodsOnly.contains("-[ZqShelf removeItem:]")) << methodsOnly.toStdString();
    EXPECT_TRUE(methodsOnly.contains("-[ZqShelf addItem:count:]")) << methodsOnly.toStdString();
    EXPECT_TRUE(methodsOnly.contains("+[ZqLantern refreshLeaves]")) << methodsOnly.toStdString();

    // A later run's table beside it holds every kind, and is the one read.
    write("QuilletNames.tsv", shopNamesTable());
    screen_->selectPathAction();
    EXPECT_EQ(namesText(), "名称表：QuilletNames.tsv（6 个名称）");
    restore();
    EXPECT_EQ(screen_->restoredOutput()->toPlainText(), originalShopReport);

    // A table that does not read says why; the method list would give back only some names.
    write("QuilletNames.tsv", "# Quillet\nmethod\taddItem:count:\n");
    screen_->selectPathAction();
    EXPECT_TRUE(namesText().startsWith("名称表无法使用：")) << namesText().toStdString();
    EXPECT_TRUE(namesText().contains("QuilletNames.tsv is not a names file"))
        << namesText().toStdString();
    screen_->restoreBtn()->click();
    EXPECT_EQ(dialogTitle(), "无法还原");
    EXPECT_EQ(dialogMessage(), namesText());
    EXPECT_EQ(screen_->restoredOutput()->toPlainText(), originalShopReport);
}

TEST_F(CrashReportScreen, WithoutANamesFileRestoreSaysWhyAndLeavesTheTextsAlone) {
    screen_->reportInput()->setPlainText(renamedShopReport);
    screen_->restoreBtn()->click();
    EXPECT_EQ(dialogTitle(), "请选择路径");
    CMAlert::shared().cancleBtn()->click();

    temp_.write("Demo/Sources/ZqShelf.m", "@implementation ZqShelf\n@end\n");
    screen_->selectPathAction();
    EXPECT_EQ(namesText(), "项目中没有名称表");
    screen_->restoreBtn()->click();
    EXPECT_TRUE(dialogShown());
    EXPECT_EQ(dialogTitle(), "无法还原");
    EXPECT_EQ(dialogMessage(), "项目中没有名称表");
    CMAlert::shared().cancleBtn()->click();
    QTest::qWait(50); // nothing is on its way either
    EXPECT_EQ(screen_->restoredOutput()->toPlainText(), "");
    EXPECT_EQ(screen_->reportInput()->toPlainText(), renamedShopReport);
    EXPECT_TRUE(screen_->restoreBtn()->isEnabled());
    EXPECT_FALSE(screen_->copyBtn()->isVisible());
}

TEST_F(CrashReportScreen, AFileDroppedOnThePageOrItsTextAreasIsReadIn) {
    const std::string report =
        temp_.write("Reports/MyApp-2026-12-09.ips", renamedShopReport.toStdString());
    // Where the user lets go: the report area (a text area would take the address as text),
    // the page's margin, and the read-only result area.
    for (QWidget* target : std::initializer_list<QWidget*>{
             screen_->reportInput()->viewport(), screen_, screen_->restoredOutput()->viewport()}) {
        screen_->reportInput()->clear();
        ASSERT_TRUE(dropFiles(target, {QString::fromStdString(report)}));
        EXPECT_EQ(screen_->reportInput()->toPlainText(), renamedShopReport);
    }
    EXPECT_FALSE(dialogShown());

    // A link to the report, as a file manager may hand over, is read as the report.
    const fs::path link = temp_.path() / "latest.ips";
    fs::create_symlink(report, link);
    screen_->reportInput()->clear();
    ASSERT_TRUE(dropFiles(screen_, {QString::fromStdString(link.string())}));
    EXPECT_EQ(screen_->reportInput()->toPlainText(), renamedShopReport);

    // Several files at once are not taken, nor their addresses as text: the report stays.
    EXPECT_FALSE(dropFiles(screen_->reportInput()->viewport(),
                           {QString::fromStdString(report), QString::fromStdString(report)}));
    EXPECT_EQ(screen_->reportInput()->toPlainText(), renamedShopReport);
}

TEST_F(CrashReportScreen, AFileThatCannotBeReadAsTextGivesAnAlertAndKeepsTheReport) {
    screen_->reportInput()->setPlainText(renamedShopReport);
    struct Case {
        std::string path;
        QString reason;
    };
    const fs::path large = temp_.path() / "huge.log";
    {
        quillet::test::writeFile(large, "");
        fs::resize_file(large, CrashReportViewController::largestReport + 1);
    }
    const std::vector<Case> cases = {
        {temp_.write("app.dSYM.zip", std::string("PK\x03\x04\0\0binary", 12)), "binary content"},
        {temp_.write("latin1.crash", "Process: Caf\xe9\n"), "not UTF-8 or UTF-16 text"},
        {(temp_.path() / "Reports").string(), "a folder"},
        {(temp_.path() / "gone.crash").string(), "No such file or directory"},
        {large.string(), "文件大于 16 MB"},
    };
    fs::create_directories(temp_.path() / "Reports");
    for (const auto& unreadable : cases) {
        const QString path = QString::fromStdString(unreadable.path);
        ASSERT_TRUE(dropFiles(screen_->reportInput()->viewport(), {path}));
        EXPECT_TRUE(dialogShown()) << unreadable.path;
        EXPECT_EQ(dialogTitle(), "无法读取文件");
        EXPECT_EQ(dialogMessage(), path + "\n" + unreadable.reason);
        EXPECT_EQ(screen_->reportInput()->toPlainText(), renamedShopReport);
        CMAlert::shared().cancleBtn()->click();
    }
}
