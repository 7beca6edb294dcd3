// The settings screen: choosing the backup directory, saving, refusing and opening it.
#include <gtest/gtest.h>

#include <QMainWindow>

#include "defaults/DefaultsStore.h"
#include "platform/CMOpenPanel.h"
#include "platform/Workspace.h"
#include "screens/SettingViewController.h"
#include "settings/Cacher.h"
#include "settings/SettingModel.h"
#include "toolkit/MessageText.h"
#include "toolkit/UIAlertViewController.h"
#include "toolkit/UIButton.h"
#include "toolkit/UIInteractiveView.h"
#include "toolkit/UILabel.h"
#include "toolkit/UITextField.h"

using namespace quillet::app;

namespace {

class SettingScreen : public ::testing::Test {
protected:
    SettingScreen() {
        auto& settings = quillet::SettingModel::shared();
        settings.backupPath = "/home/me/Quillet/Backup";
        settings.methodPrefix = "old_";
        settings.classPrefix = "Old";
        window_.setCentralWidget(new QWidget(&window_));
        screen_ = new SettingViewController(window_.centralWidget());
        screen_->setGeometry(0, 30, 760, 510);
        window_.resize(960, 600);
        window_.show();
    }
    ~SettingScreen() override {
        CMOpenPanel::shared().setChooser({});
        Workspace::setOpener([](const QUrl&) {});
    }
    void answerPanel(const std::optional<QString>& answer) {
        CMOpenPanel::shared().setChooser([answer](const QString&) { return answer; });
    }
    QString backupField() const { return screen_->backupPathInput()->label()->text(); }
    QString dialogTitle() const { return CMAlert::shared().titleLabel()->text(); }
    static quillet::SettingModel stored() {
        (void)quillet::DefaultsStore::standard().synchronize();
        return quillet::Cacher::shared().read<quillet::SettingModel>();
    }

    QMainWindow window_;
    SettingViewController* screen_;
};

TEST_F(SettingScreen, AChosenFolderGetsTheBackupFoldersAndSaveStoresEveryField) {
    EXPECT_EQ(backupField(), "/home/me/Quillet/Backup");
    EXPECT_EQ(screen_->methodPrefixInput()->label()->text(), "old_");
    auto* classPrefix = screen_->classPrefixInput();
    EXPECT_EQ(classPrefix->hint()->text(), "填充类名前缀:");
    EXPECT_EQ(classPrefix->label()->text(), "Old");
    EXPECT_EQ(classPrefix->label()->placeholderText(), "默认不填充,示例: XY、Shop等");
    EXPECT_GT(classPrefix->y(), screen_->methodPrefixInput()->geometry().bottom());
    EXPECT_EQ(classPrefix->x(), screen_->methodPrefixInput()->x());

    answerPanel(QString("/Users/me/Documents"));
    screen_->updateBtn()->click();
    EXPECT_EQ(backupField(), "/Users/me/Documents/Quillet/Backup");
    EXPECT_EQ(quillet::SettingModel::shared().backupPath, "/home/me/Quillet/Backup"); // not yet

    // Cancelling keeps the earlier choice and shows it again.
    answerPanel(std::nullopt);
    screen_->backupPathInput()->label()->setText("/elsewhere");
    screen_->updateBtn()->click();
    EXPECT_EQ(backupField(), "/Users/me/Documents/Quillet/Backup");

    screen_->methodPrefixInput()->label()->setText("my_pre2");
    classPrefix->label()->setText("Shop_2");
    screen_->sureBtn()->click();
    EXPECT_EQ(dialogTitle(), "保存成功");
    EXPECT_EQ(quillet::SettingModel::shared().backupPath, "/Users/me/Documents/Quillet/Backup");
    EXPECT_EQ(quillet::SettingModel::shared().methodPrefix, "my_pre2");
    EXPECT_EQ(quillet::SettingModel::shared().classPrefix, "Shop_2");
    EXPECT_EQ(stored().backupPath, "/Users/me/Documents/Quillet/Backup");
    EXPECT_EQ(stored().methodPrefix, "my_pre2");
    EXPECT_EQ(stored().classPrefix, "Shop_2");
    CMAlert::shared().cancleBtn()->click();

    // An empty field means no prefix.
    classPrefix->label()->clear();
    screen_->sureBtn()->click();
    EXPECT_EQ(dialogTitle(), "保存成功");
    EXPECT_EQ(stored().classPrefix, "");
    EXPECT_FALSE(std::filesystem::exists("/Users/me/Documents/Quillet/Backup"));
}

TEST_F(SettingScreen, AnIllegalOrEmptyDirectoryIsRefusedAndNothingChanges) {
    const auto before = stored();
    for (const QString& bad : {QString("/Users/me/我的 备份"), QString()}) {
        screen_->backupPathInput()->label()->setText(bad);
        screen_->methodPrefixInput()->label()->setText("new_");
        screen_->sureBtn()->click();
        EXPECT_EQ(dialogTitle(), "保存失败");
        EXPECT_EQ(MessageText::written(CMAlert::shared().message()->text()), "路径含有特殊符号");
        CMAlert::shared().cancleBtn()->click();
    }
    EXPECT_EQ(quillet::SettingModel::shared().methodPrefix, "old_");
    EXPECT_EQ(stored().backupPath, before.backupPath);
    EXPECT_EQ(stored().methodPrefix, before.methodPrefix);
}

TEST_F(SettingScreen, APrefixNoSelectorCanStartWithOrARelativeDirectoryIsRefusedWithTheRule) {
    const auto before = stored();
    const auto refusal = [&](const QString& directory, const QString& prefix) {
        screen_->backupPathInput()->label()->setText(directory);
        screen_->methodPrefixInput()->label()->setText(prefix);
        screen_->sureBtn()->click();
        EXPECT_EQ(dialogTitle(), "保存失败");
        QString message = MessageText::written(CMAlert::shared().message()->text());
        CMAlert::shared().cancleBtn()->click();
        return message;
    };
    const QString rule = "方法前缀只能使用英文字母、数字和下划线，不能以数字开头，最多32个字符";
    for (const QString& prefix :
         {QString(" my pre$ "), QString("前缀"), QString("1st"), QString(33, QChar('a'))}) {
        EXPECT_EQ(refusal("/Users/me/Backup", prefix), rule) << prefix.toStdString();
    }
    EXPECT_EQ(refusal("Backup", "ok_"), "代码备份目录必须是以 / 开头的完整路径");
    EXPECT_EQ(quillet::SettingModel::shared().methodPrefix, "old_");
    EXPECT_EQ(stored().methodPrefix, before.methodPrefix);
    EXPECT_EQ(stored().backupPath, before.backupPath);
}

TEST_F(SettingScreen, AClassPrefixNoTypeNameCanStartWithIsRefusedAndNothingIsSaved) {
    const auto before = stored();
    const QString rule = "类名前缀只能使用英文字母、数字和下划线，必须以字母开头，最多32个字符";
    // "_" may start a method prefix, not a class prefix.
    for (const QString& prefix : {QString("9x"), QString("a-b"), QString("_XY"), QString(" XY"),
                                  QString("前缀"), QString(33, QChar('A'))}) {
        screen_->backupPathInput()->label()->setText("/Users/me/Other");
        screen_->methodPrefixInput()->label()->setText("new_");
        screen_->classPrefixInput()->label()->setText(prefix);
        screen_->sureBtn()->click();
        EXPECT_EQ(dialogTitle(), "保存失败") << prefix.toStdString();
        EXPECT_EQ(MessageText::written(CMAlert::shared().message()->text()), rule)
            << prefix.toStdString();
        CMAlert::shared().cancleBtn()->click();
    }
    const auto& settings = quillet::SettingModel::shared();
    EXPECT_EQ(settings.classPrefix, "Old");
    EXPECT_EQ(settings.methodPrefix, "old_");
    EXPECT_EQ(settings.backupPath, "/home/me/Quillet/Backup");
    EXPECT_EQ(stored().classPrefix, before.classPrefix);
    EXPECT_EQ(stored().methodPrefix, before.methodPrefix);
    EXPECT_EQ(stored().backupPath, before.backupPath);
}

TEST_F(SettingScreen, OpenShowsTheDirectoryInTheFileBrowser) {
    QUrl opened;
    Workspace::setOpener([&](const QUrl& url) { opened = url; });
    screen_->backupPathInput()->label()->setText("/tmp/a;rm -rf b");
    screen_->openBtn()->click();
    EXPECT_EQ(opened, QUrl::fromLocalFile("/tmp/a;rm -rf b")); // a path, never a command
}

} // namespace
