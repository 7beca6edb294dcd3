#include "MethodRenameViewController.h"

#include <QCheckBox>
#include <QProgressBar>
#include <algorithm>
#include <any>
#include <chrono>

#include "backup/FolderBackup.h"
#include "engine/MRenameTool.h"
#include "engine/WordCountRule.h"
#include "log/Log.h"
#include "notify/Notify.h"
#include "paths/CacheFolder.h"
#include "paths/PathRule.h"
#include "platform/CMOpenPanel.h"
#include "precise/ProtectionSetup.h"
#include "random/RandomSource.h"
#include "settings/Cacher.h"
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
    preciseBtn_ = checkBox("精确模式（保护系统方法）", this);
    preciseBtn_->setChecked(quillet::SettingModel::shared().preciseMode);
    connect(swiftBtn_, &QCheckBox::clicked, this, [this] { selectDidChange(swiftBtn_); });
    connect(fillBtn_, &QCheckBox::clicked, this, [this] { selectDidChange(fillBtn_); });
    connect(preciseBtn_, &QCheckBox::clicked, this, &MethodRenameViewController::rememberMode);

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
    preciseBtn_->setGeometry(80, 90 + 2 * (38 + 10), w - 160, 38);
    sureBtn_->setGeometry(20, h - 20 - 48, w - 40, 48);
    // The editor takes what the third check box leaves of its 230 points.
    const int editorTop = std::max(90 + 3 * (38 + 10), h - 20 - 48 - 20 - 230);
    ignoreInput_->setGeometry(20, editorTop, w - 40, h - 20 - 48 - 20 - editorTop);
}

void MethodRenameViewController::rememberMode() {
    auto& settings = quillet::SettingModel::shared();
    settings.preciseMode = preciseBtn_->isChecked();
    quillet::Cacher::shared().save(settings);
}

// The SDKs and selector lists a precise run protects; false (after telling the user) when one
// the settings name cannot be read.
bool MethodRenameViewController::prepareProtection(quillet::MRenameTool& tool) {
    const auto& settings = quillet::SettingModel::shared();
    auto prepared = quillet::prepareProtection(
        {settings.sdkFolders, {}, settings.protectedSelectors}, quillet::cacheFolder());
    if (!prepared.error.empty()) {
        CMAlert::show(this, "无法读取精确模式的设置", QString::fromStdString(prepared.error),
                      false);
        return false;
    }
    for (const auto& sdk : prepared.sdks) {
        QLOG_AS("sureAction()",
                "SDK " + sdk.folder + ": " + std::to_string(sdk.selectors) + " selectors");
    }
    tool.setProtectionInputs(std::move(prepared.inputs));
    return true;
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
    const bool precise = preciseBtn_->isChecked();
    auto tool = std::make_shared<quillet::MRenameTool>(quillet::RandomSource::system(),
                                                       precise ? quillet::RenameMode::precise
                                                               : quillet::RenameMode::literal);
    tool->setRootPath(path.toStdString());
    tool->setMethodPrefix(quillet::SettingModel::shared().methodPrefix);
    if (precise && !prepareProtection(*tool)) {
        return;
    }
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

    RunSummary summary;
    summary.precise = tool->mode() == quillet::RenameMode::precise;
    summary.renamed = pairs->size();
    summary.protectedMethods = tool->protectedCount();
    for (const auto& file : tool->unparsedFiles()) {
        QLOG_AS("startRun(tool:words:)", "left as it is: " + file.path + ": " + file.problem);
        ++summary.unparsedFiles;
    }

    // The backup is of the folder being rewritten, made before anything is written.
    const std::string project = tool->rootPath();
    const std::string backupDirectory = quillet::SettingModel::shared().backupPath;
    if (worker_.joinable()) {
        worker_.join();
    }
    worker_ = std::thread([this, tool, pairs = std::move(*pairs), project, backupDirectory,
                           summary] {
        const auto archive = quillet::backupFolder(project, backupDirectory);
        // Without a backup the project stays as it is: its files are the user's only copy.
        if (archive) {
            std::this_thread::sleep_for(pauseBeforeReplacing);
            tool->replace(pairs);
        }
        QMetaObject::invokeMethod(
            this, [this, archive, summary] { finishRun(archive, summary); }, Qt::QueuedConnection);
    });
}

void MethodRenameViewController::showProgress(const QString& text) {
    auto& dialog = CMAlert::shared();
    dialog.message()->setText(text);
    dialog.progressBar()->setValue(++progressCount_);
    emit dialogMessageShown(text);
}

void MethodRenameViewController::finishRun(const std::optional<std::string>& backupPath,
                                           const RunSummary& summary) {
    if (worker_.joinable()) {
        worker_.join(); // it has nothing left to do but return
    }
    auto& dialog = CMAlert::shared();
    QString text = backupPath ? "代码备份" + QString::fromStdString(*backupPath)
                              : QString(backupFailedMessage);
    if (backupPath && summary.precise) {
        text += QString("\n重命名 %1 个方法，保护 %2 个方法（系统、运行时或外部代码使用的方法）")
                    .arg(summary.renamed)
                    .arg(summary.protectedMethods);
        if (summary.unparsedFiles > 0) {
            text += QString("\n%1 个文件无法解析，保持原样（见日志）").arg(summary.unparsedFiles);
        }
    }
    dialog.titleLabel()->setText(backupPath ? "已完成" : "代码备份失败");
    dialog.message()->setText(text);
    dialog.cancleBtn()->show();
    emit dialogMessageShown(text);
    emit runFinished();
}
