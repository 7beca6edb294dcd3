#include "SettingViewController.h"

#include <QUrl>

#include "engine/MethodPrefix.h"
#include "paths/PathRule.h"
#include "platform/CMOpenPanel.h"
#include "platform/Workspace.h"
#include "settings/Cacher.h"
#include "settings/SettingModel.h"
#include "toolkit/QtText.h"
#include "toolkit/UIAlertViewController.h"
#include "toolkit/UIButton.h"
#include "toolkit/UIInteractiveView.h"
#include "toolkit/UILabel.h"
#include "toolkit/UITextField.h"

namespace quillet::app {

SettingViewController::SettingViewController(QWidget* parent) : UIViewController(parent) {}

void SettingViewController::viewDidLoad() {
    openBtn_ = UIButton::plain("打开", this);
    updateBtn_ = UIButton::plain("修改", this);
    connect(openBtn_, &QPushButton::clicked, this, &SettingViewController::openAction);
    connect(updateBtn_, &QPushButton::clicked, this, &SettingViewController::updateAction);

    const auto& settings = quillet::SettingModel::shared();
    backupPathInput_ = new UIInteractiveView(false, 120, this);
    backupPathInput_->hint()->setText("代码备份目录:");
    backupPathInput_->label()->setText(QString::fromStdString(settings.backupPath));
    methodPrefixInput_ = new UIInteractiveView(true, 120, this);
    methodPrefixInput_->hint()->setText("填充方法前缀:");
    methodPrefixInput_->label()->setPlaceholderText("默认不填充,示例: test_、my、gobal等");
    methodPrefixInput_->label()->setText(QString::fromStdString(settings.methodPrefix));
    classPrefixInput_ = new UIInteractiveView(true, 120, this);
    classPrefixInput_->hint()->setText("填充类名前缀:");
    classPrefixInput_->label()->setPlaceholderText("默认不填充,示例: XY、Shop等");
    classPrefixInput_->label()->setText(QString::fromStdString(settings.classPrefix));

    sureBtn_ = UIButton::filled("保存", this);
    connect(sureBtn_, &QPushButton::clicked, this, &SettingViewController::sureAction);
}

void SettingViewController::viewDidLayout() {
    const int w = width();
    openBtn_->setGeometry(w - 20 - 50, 40, 50, 34);
    updateBtn_->setGeometry(w - 20 - 50 - 20 - 50, 40, 50, 34);
    const int fieldWidth = updateBtn_->x() - 20 - 20;
    backupPathInput_->setGeometry(20, 40, fieldWidth, 34);
    methodPrefixInput_->setGeometry(20, 40 + 34 + 15, fieldWidth, 34);
    classPrefixInput_->setGeometry(20, 40 + 2 * (34 + 15), fieldWidth, 34);
    sureBtn_->setGeometry(20, height() - 20 - 48, w - 40, 48);
}

void SettingViewController::updateAction() {
    auto& panel = CMOpenPanel::shared();
    panel.chooseFolder();
    if (panel.folderPath()) {
        backupPathInput_->label()->setText(*panel.folderPath() + "/Quillet/Backup");
    }
}

void SettingViewController::openAction() {
    // Straight to the file browser, no shell between: the text is never a command.
    Workspace::open(QUrl::fromLocalFile(backupPathInput_->label()->text()));
}

std::optional<QString> SettingViewController::refusal() const {
    const std::string path = backupPathInput_->label()->text().toStdString();
    if (!quillet::isAcceptedPath(path)) {
        return "路径含有特殊符号";
    }
    if (!quillet::isAcceptedBackupDirectory(path)) {
        return qs(quillet::relativeBackupDirectoryMessage);
    }
    if (!quillet::isValidMethodPrefix(methodPrefixInput_->label()->text().toStdString())) {
        return qs(quillet::methodPrefixRuleText);
    }
    if (!quillet::isValidClassPrefix(classPrefixInput_->label()->text().toStdString())) {
        return qs(quillet::classPrefixRuleText);
    }
    return std::nullopt;
}

void SettingViewController::sureAction() {
    if (const auto why = refusal()) {
        CMAlert::show(this, "保存失败", *why, false);
        return;
    }
    auto& settings = quillet::SettingModel::shared();
    settings.backupPath = backupPathInput_->label()->text().toStdString();
    settings.methodPrefix = methodPrefixInput_->label()->text().toStdString();
    settings.classPrefix = classPrefixInput_->label()->text().toStdString();
    if (!quillet::Cacher::shared().save(settings)) {
        // The values hold for this run, but the user must know they were not kept.
        CMAlert::show(this, "保存失败", "设置无法写入配置文件", false);
        return;
    }
    CMAlert::show(this, "保存成功", "", false);
}

} // namespace quillet::app
