#include "MethodRenameViewController.h"

#include <QCheckBox>
#include <QProgressBar>
#include <any>
#include <chrono>

#include "backup/FolderBackup.h"
#include "engine/MRenameTool.h"
#include "engine/WordCountRule.h"
#include "log/Log.h"
#include "notify/Notify.h"
#include "paths/PathRule.h"
#include "platform/CMOpenPanel.h"
#include "settings/SettingModel.h"
#include "toolkit/Palette.h"
#include "toolkit/UIAlertViewController.h"
#include "toolkit/UIButton.h"
#include "toolkit/UIInteractiveView.h"
#include "toolkit/UILabel.h"
#include "toolkit/UITextField.h"
#include "toolkit/UITextView.h"
#include "wordbank/WordModel.h"

namespace {

constexpr auto pauseBeforeReplacing = std::chrono::seconds(1);
constexpr const char* backupFailedMessage = "项目未做任何修改，请检查设置中的代码备份目录";

QCheckBox* checkBox(const QString& title, QWidget* parent) {
    auto* box = new QCheckBox(title, parent);
    // The images "normal" and "ok" stand for off and on.
    box->setStyleSheet("QCheckBox { font-size: 16px; color: rgb(88, 88, 88); spacing: 8px; }"
                       " QCheckBox::indicator { width: 20px; height: 20px; }"
                       " QCheckBox::indicator:unchecked { image: url(:/images/normal.svg); }"
                       " QCheckBox::indicator:checked { image: url(:/images/ok.svg); }");
    box->setCursor(Qt::PointingHandCursor);
    return box;
}

} // namespace

const QString MethodRenameViewController::ignoreTemplate =
    "# 忽略所选路径下的MyDocument所有文件\n"
    "MyDocument\n"
    "\n"
    "# 忽略所选路径下的OtherDocument/SubDocument所有文件\n"
    "MyDocument/SubDocument\n"
    "\n"
    "# 忽略所选路径下的某些文件\n"
    "DIR/Tool/xxxx.m\n"
    "aaaa.m\n"
    "view/bbb.m";

QString MethodRenameViewController::rawValue(Language language) {
    return language == Language::swift ? "Swift 项目" : "Objective-C 项目";
}

std::vector<std::string> MethodRenameViewController::ignoreList(const QString& editorText) {
    std::vector<std::string> prefixes;
    for (const QString& line : editorText.split('\n')) {
        const QString trimmed = line.trimmed();
        if (!trimmed.isEmpty() && !trimmed.startsWith('#')) {
            prefixes.push_back(trimmed.toStdString());
        }
    }
    return prefixes;
}

MethodRenameViewController::MethodRenameViewController(QWidget* parent)
    : UIViewController(parent) {}

MethodRenameViewController::~MethodRenameViewController() {
    quillet::Notify::center().removeObserver(this);
    if (worker_.joinable()) {
        worker_.join(); // a run is never cut off half way through the project
    }
}

UIInteractiveView* MethodRenameViewController::condition() {
    if (condition_ == nullptr) {
        condition_ = new UIInteractiveView(false, 50, this);
        condition_->hint()->setText("条件: ");
        condition_->hint()->setTextStyle({Palette::textLight(), 16});
        condition_->label()->setTextStyle({Qt::red, 16});
    }
    return condition_;
}

void MethodRenameViewController::viewDidLoad() {
    pathInput_ = new UIInteractiveView(false, 50, this);
    pathInput_->hint()->setText("路径:");
    pathInput_->label()->setPlaceholderText("双击 选择/更改 路径");
    pathInput_->event.doubleClickBlock = [this] { selectPathAction(); };
    condition();

    swiftBtn_ = checkBox("Swift项目", this);
    fillBtn_ = checkBox("随机生成新方法名", this);
    connect(swiftBtn_, &QCheckBox::clicked, this, [this] { selectDidChange(swiftBtn_); });
    connect(fillBtn_, &QCheckBox::clicked, this, [this] { selectDidChange(fillBtn_); });

    ignoreInput_ = new UITextView(ignoreTemplate, this);
    ignoreInput_->setBorder({Palette::theme(), 1, 0});
    ignoreInput_->setTextStyle({Palette::textLight(), 14});
    ignoreInput_->setSelectedTextColor(Qt::white);
    ignoreInput_->setSelectedTextBackgroundColor(Palette::theme());

    sureBtn_ = UIButton::filled("执行", this);
    connect(sureBtn_, &QPushButton::clicked, this, &MethodRenameViewController::sureAction);

    updateCondition();
    // Progress comes from the worker thread; the texts move to the main thread in order.
    quillet::Notify::add(
        this,
        [this](const quillet::PostedNotification& posted) {
            const auto* text = std::any_cast<std::string>(&posted.object);
            const QString message = text != nullptr ? QString::fromStdString(*text) : QString();
            QMetaObject::invokeMethod(
                this, [this, message] { showProgress(message); }, Qt::QueuedConnection);
        },
        quillet::Notification::progress);
}

void MethodRenameViewController::viewDidLayout() {
    const int w = width();
    const int h = height();
    pathInput_->setGeometry(20, 20, w - 40, 32);
    condition_->setGeometry(20, 20 + 32 + 4, w - 40, 32);
    swiftBtn_->setGeometry(80, 90, w - 160, 38);
    fillBtn_->setGeometry(80, 90 + 38 + 10, w - 160, 38);
    sureBtn_->setGeometry(20, h - 20 - 48, w - 40, 48);
    ignoreInput_->setGeometry(20, h - 20 - 48 - 20 - 230, w - 40, 230);
}

void MethodRenameViewController::updateCondition() {
    condition()->label()->setText(rawValue(language_) + ", " +
                                  (fillBtn_ != nullptr && fillBtn_->isChecked()
                                       ? "随机生成新方法名(代码质量欠佳)"
                                       : "从单词库生成方法名"));
}

void MethodRenameViewController::selectDidChange(QCheckBox* box) {
    if (box == swiftBtn_) {
        CMAlert::show(this, "暂时未支持", "", false, [box = QPointer<QCheckBox>(box)] {
            if (box) {
                box->setChecked(false);
            }
        });
        return;
    }
    updateCondition();
}

void MethodRenameViewController::selectPathAction() {
    auto& panel = CMOpenPanel::shared();
    panel.chooseFolder();
    pathInput_->label()->setText(panel.folderPath().value_or(QString()));
}

void MethodRenameViewController::sureAction() {
    const QString path = pathInput_->label()->text();
    if (path.isEmpty()) {
        CMAlert::show(this, "请选择路径", "", false);
        return;
    }
    if (!quillet::isAcceptedPath(path.toStdString())) {
        CMAlert::show(this, "非法路径", "[路径/文件名]不能使用中文、空格以及特殊字符", false);
        return;
    }
    auto tool = std::make_shared<quillet::MRenameTool>();
    tool->setRootPath(path.toStdString());
    tool->setMethodPrefix(quillet::SettingModel::shared().methodPrefix);
    if (!tool->loadFiles(ignoreList(ignoreInput_->toPlainText()))) {
        QLOG_AS("sureAction()", "查找头文件失败");
        return;
    }
    tool->collectMethods();
    std::vector<std::string> words;
    if (!fillBtn_->isChecked()) {
        const std::size_t needed =
            quillet::wordsNeeded(quillet::selectorPieceCount(tool->allMethodNames()));
        words = quillet::wordList(quillet::WordModel::loadLocal().text);
        if (words.size() < needed) {
            CMAlert::show(
                this, QString::fromStdString(quillet::notEnoughWordsMessage(words.size(), needed)),
                "", false);
            return;
        }
    }
    startRun(std::move(tool), words);
}

void MethodRenameViewController::startRun(std::shared_ptr<quillet::MRenameTool> tool,
                                          const std::vector<std::string>& words) {
    auto pairs = tool->makeNewNames(words);
    if (!pairs) {
        // Enough words, but too few different ones to give every method a new name.
        CMAlert::show(this, "单词数量不足", "词库中不同的单词不够生成全部新方法名", false);
        return;
    }
    CMAlert::show(this, "执行中...", "解析中...", true, [input = QPointer(pathInput_)] {
        if (input) {
            input->label()->clear();
        }
    });
    emit dialogMessageShown("解析中...");
    QProgressBar* bar = CMAlert::shared().progressBar();
    bar->setRange(0, static_cast<int>(pairs->size()));
    bar->setValue(0);
    bar->show();
    progressCount_ = 0;

    // The backup is of the folder being rewritten, made before anything is written.
    const std::string project = tool->rootPath();
    const std::string backupDirectory = quillet::SettingModel::shared().backupPath;
    if (worker_.joinable()) {
        worker_.join();
    }
    worker_ = std::thread([this, tool, pairs = std::move(*pairs), project, backupDirectory] {
        const auto archive = quillet::backupFolder(project, backupDirectory);
        // Without a backup the project stays as it is: its files are the user's only copy.
        if (archive) {
            std::this_thread::sleep_for(pauseBeforeReplacing);
            tool->replace(pairs);
        }
        QMetaObject::invokeMethod(
            this, [this, archive] { finishRun(archive); }, Qt::QueuedConnection);
    });
}

void MethodRenameViewController::showProgress(const QString& text) {
    auto& dialog = CMAlert::shared();
    dialog.message()->setText(text);
    dialog.progressBar()->setValue(++progressCount_);
    emit dialogMessageShown(text);
}

void MethodRenameViewController::finishRun(const std::optional<std::string>& backupPath) {
    if (worker_.joinable()) {
        worker_.join(); // it has nothing left to do but return
    }
    auto& dialog = CMAlert::shared();
    const QString text = backupPath ? "代码备份" + QString::fromStdString(*backupPath)
                                    : QString(backupFailedMessage);
    dialog.titleLabel()->setText(backupPath ? "已完成" : "代码备份失败");
    dialog.message()->setText(text);
    dialog.cancleBtn()->show();
    emit dialogMessageShown(text);
    emit runFinished();
}
