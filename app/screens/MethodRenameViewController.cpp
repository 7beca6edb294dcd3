#include "MethodRenameViewController.h"

#include <QCheckBox>
#include <QLocale>
#include <QProgressBar>
#include <algorithm>
#include <array>
#include <chrono>
#include <string_view>

#include "ProgressSteps.h"
#include "ReusedNamesRow.h"
#include "RunOutcome.h"
#include "backup/BackupRestore.h"
#include "engine/MethodPrefix.h"
#include "job/RenameJob.h"
#include "log/Log.h"
#include "paths/PathRule.h"
#include "platform/CMOpenPanel.h"
#include "platform/SheetAlert.h"
#include "settings/Cacher.h"
#include "settings/SettingModel.h"
#include "toolkit/MessageText.h"
#include "toolkit/Palette.h"
#include "toolkit/QtText.h"
#include "toolkit/UIAlertViewController.h"
#include "toolkit/UIButton.h"
#include "toolkit/UIInteractiveView.h"
#include "toolkit/UILabel.h"
#include "toolkit/UITextField.h"
#include "toolkit/UITextView.h"

namespace quillet::app {

namespace {

constexpr auto pauseBeforeReplacing = std::chrono::seconds(1);

QString byteCount(std::uint64_t bytes) {
    return QLocale::c().formattedDataSize(static_cast<qint64>(bytes), 1);
}

// The kinds a precise run can rename besides methods, in the row's order, and where each is kept.
struct KindOption {
    const char* title;
    bool quillet::SettingModel::*setting;
};
constexpr std::array<KindOption, 4> kindOptions{{
    {"无参方法", &quillet::SettingModel::renameUnary},
    {"属性", &quillet::SettingModel::renameProperties},
    {"类名", &quillet::SettingModel::renameClasses},
    {"协议", &quillet::SettingModel::renameProtocols},
}};

QCheckBox* checkBox(const QString& title, QWidget* parent) {
    auto* box = new QCheckBox(title, parent);
    // The images "normal" and "ok" stand for off and on; greyed ones for a box that cannot be
    // changed.
    box->setStyleSheet(
        "QCheckBox { font-size: 16px; color: rgb(88, 88, 88); spacing: 8px; }"
        " QCheckBox:disabled { color: rgb(190, 190, 190); }"
        " QCheckBox::indicator { width: 20px; height: 20px; }"
        " QCheckBox::indicator:unchecked { image: url(:/images/normal.svg); }"
        " QCheckBox::indicator:checked { image: url(:/images/ok.svg); }"
        " QCheckBox::indicator:unchecked:disabled { image: url(:/images/normal-disabled.svg); }"
        " QCheckBox::indicator:checked:disabled { image: url(:/images/ok-disabled.svg); }");
    box->setCursor(Qt::PointingHandCursor);
    return box;
}

// A stored prefix the rule refuses (an older version's, or one edited by hand): it would have
// been written into the code.
void showInvalidPrefix(UIViewController* screen, const QString& title, std::string_view rule) {
    CMAlert::show(screen, title, qs(rule) + "，请在设置中修改", false);
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
    pathInput_ = UIInteractiveView::folderField([this] { selectPathAction(); }, this);
    condition();

    swiftBtn_ = checkBox("Swift项目", this);
    fillBtn_ = checkBox("随机生成新方法名", this);
    preciseBtn_ = checkBox("精确模式（保护系统方法）", this);
    const auto& settings = quillet::SettingModel::shared();
    preciseBtn_->setChecked(settings.preciseMode);
    connect(swiftBtn_, &QCheckBox::clicked, this, [this] { selectDidChange(swiftBtn_); });
    connect(fillBtn_, &QCheckBox::clicked, this, [this] { selectDidChange(fillBtn_); });
    connect(preciseBtn_, &QCheckBox::clicked, this,
            [this](bool on) { remember(&quillet::SettingModel::preciseMode, on); });

    kindsHint_ = new UILabel("同时重命名：", this);
    kindsHint_->setTextStyle({QColor(88, 88, 88), 16});
    for (const auto& option : kindOptions) {
        auto* box = checkBox(option.title, this);
        box->setChecked(settings.*option.setting);
        // Only the precise mode tells which names the SDK and the runtime need.
        box->setEnabled(preciseBtn_->isChecked());
        connect(box, &QCheckBox::clicked, this,
                [this, setting = option.setting](bool on) { remember(setting, on); });
        connect(preciseBtn_, &QCheckBox::toggled, box, &QCheckBox::setEnabled);
        kindBtns_.push_back(box);
    }

    namesRow_ = new ReusedNamesRow(this);
    connect(pathInput_->label(), &QLineEdit::textChanged, namesRow_, &ReusedNamesRow::setProject);

    ignoreInput_ = new UITextView(ignoreTemplate, this);
    ignoreInput_->setBorder({Palette::theme(), 1, 0});
    ignoreInput_->setTextStyle({Palette::textLight(), 14});
    ignoreInput_->setSelectedTextColor(Qt::white);
    ignoreInput_->setSelectedTextBackgroundColor(Palette::theme());

    sureBtn_ = UIButton::filled("执行", this);
    connect(sureBtn_, &QPushButton::clicked, this, &MethodRenameViewController::sureAction);

    updateCondition();
}

void MethodRenameViewController::viewDidLayout() {
    const int w = width();
    const int h = height();
    pathInput_->setGeometry(20, 20, w - 40, 32);
    condition_->setGeometry(20, 20 + 32 + 4, w - 40, 32);
    const auto rowTop = [](int row) { return 90 + row * (38 + 4); };
    swiftBtn_->setGeometry(80, rowTop(0), w - 160, 38);
    fillBtn_->setGeometry(80, rowTop(1), w - 160, 38);
    preciseBtn_->setGeometry(80, rowTop(2), w - 160, 38);
    // The kinds belong to the precise mode: their row starts under its text.
    int x = 80 + 20 + 8;
    kindsHint_->setGeometry(x, rowTop(3), kindsHint_->sizeHint().width(), 38);
    x += kindsHint_->width() + 4;
    for (auto* box : kindBtns_) {
        box->setGeometry(x, rowTop(3), box->sizeHint().width(), 38);
        x += box->width() + 24;
    }
    namesRow_->setGeometry(80, rowTop(4), w - 160, 38);
    sureBtn_->setGeometry(20, h - 20 - 48, w - 40, 48);
    // The editor takes what the rows of boxes leave of its 230 points.
    const int editorTop = std::max(rowTop(5), h - 20 - 48 - 20 - 230);
    ignoreInput_->setGeometry(20, editorTop, w - 40, h - 20 - 48 - 20 - editorTop);
}

void MethodRenameViewController::remember(bool quillet::SettingModel::*setting, bool on) {
    auto& settings = quillet::SettingModel::shared();
    settings.*setting = on;
    (void)quillet::Cacher::shared().save(settings);
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
    auto options = quillet::RunOptions::stored(
        path.toStdString(),
        preciseBtn_->isChecked() ? quillet::RenameMode::precise : quillet::RenameMode::literal);
    options.ignore = ignoreList(ignoreInput_->toPlainText());
    if (fillBtn_->isChecked()) {
        options.words.reset(); // random names need no words
    }
    startRun(std::move(options));
}

void MethodRenameViewController::startRun(quillet::RunOptions options) {
    CMAlert::show(this, "执行中...", "解析中...", true, [input = QPointer(pathInput_)] {
        if (input) {
            input->label()->clear();
        }
    });
    emit dialogMessageShown("解析中...");
    QProgressBar* bar = CMAlert::shared().progressBar();
    bar->setRange(0, 1);
    bar->setValue(0);
    bar->show();
    progressCount_ = 0;

    if (worker_.joinable()) {
        worker_.join();
    }
    worker_ = std::thread([this, options = std::move(options)] {
        // Texts reach the main thread in the order they were posted, the report last.
        class Observer final : public quillet::RunObserver {
        public:
            explicit Observer(MethodRenameViewController* screen) : screen_(screen) {}
            void progress(std::size_t, std::size_t total, const std::string& text) override {
                QMetaObject::invokeMethod(
                    screen_,
                    [screen = screen_, message = QString::fromStdString(text), total] {
                        screen->showProgress(message, total);
                    },
                    Qt::QueuedConnection);
            }
            void phaseProgress(quillet::RunPhase phase, std::uint64_t done,
                               std::uint64_t total) override {
                if (phase == quillet::RunPhase::backup && backupSteps_.due(done, total)) {
                    QMetaObject::invokeMethod(
                        screen_,
                        [screen = screen_, done, total] { screen->showBackup(done, total); },
                        Qt::QueuedConnection);
                }
            }
            // The backup is made: a moment to read the dialog before the project changes.
            void aboutToRename(const quillet::RunReport&) override {
                std::this_thread::sleep_for(pauseBeforeReplacing);
            }

        private:
            MethodRenameViewController* screen_;
            ProgressSteps backupSteps_;
        } observer(this);
        // The job holds the folder's lock until it returns, before the user can act on the
        // result.
        auto report =
            std::make_shared<quillet::RunReport>(quillet::RenameJob().run(options, observer));
        QMetaObject::invokeMethod(
            this, [this, report] { finishRun(*report); }, Qt::QueuedConnection);
    });
}

void MethodRenameViewController::showProgress(const QString& text, std::size_t total) {
    auto& dialog = CMAlert::shared();
    dialog.message()->setText(text);
    dialog.progressBar()->setRange(0, static_cast<int>(total));
    dialog.progressBar()->setValue(++progressCount_);
    emit dialogMessageShown(text);
}

void MethodRenameViewController::showBackup(std::uint64_t done, std::uint64_t total) {
    auto& dialog = CMAlert::shared();
    const QString text = QString("备份中…\n已压缩 %1 / %2").arg(byteCount(done), byteCount(total));
    dialog.message()->setText(text);
    // In thousandths: a project's bytes do not fit the bar's int.
    dialog.progressBar()->setRange(0, 1000);
    dialog.progressBar()->setValue(total == 0 ? 1000 : static_cast<int>(done * 1000 / total));
    emit dialogMessageShown(text);
}

void MethodRenameViewController::finishRun(const quillet::RunReport& report) {
    if (worker_.joinable()) {
        worker_.join(); // it has nothing left to do but return
    }
    if (report.refusal) {
        showRefusal(report);
        emit runFinished();
        return;
    }
    const auto outcome = RunOutcome::of(report);
    auto& dialog = CMAlert::shared();
    const QString text = outcome.message();
    dialog.titleLabel()->setText(outcome.title());
    dialog.progressBar()->hide();
    dialog.setMessage(text);
    dialog.cancleBtn()->show();
    if (outcome.offersRestore()) {
        offerRestore(*outcome.archive, report.project);
    }
    emit dialogMessageShown(text);
    emit runFinished();
}

// Tells the user, in the dialog already up, why the run did not start; closing it keeps the
// path for another try.
void MethodRenameViewController::showRefusal(const quillet::RunReport& report) {
    using Reason = quillet::RunRefusal::Reason;
    const auto& refusal = *report.refusal;
    auto& dialog = CMAlert::shared();
    dialog.block = nullptr;
    switch (refusal.reason) {
    case Reason::illegalPath:
        CMAlert::show(this, "非法路径", "[路径/文件名]不能使用中文、空格以及特殊字符", false);
        break;
    case Reason::busy:
        CMAlert::show(this, "项目正在重命名中", "另一个重命名正在处理这个项目，请等它完成后再试",
                      false);
        break;
    case Reason::protectionUnreadable:
        CMAlert::show(this, "无法读取精确模式的设置", QString::fromStdString(refusal.detail),
                      false);
        break;
    case Reason::namesUnreadable:
        CMAlert::show(this, "无法读取名称表", QString::fromStdString(refusal.detail), false);
        break;
    case Reason::namesTakenSince:
        CMAlert::show(this, "无法还原名称", QString::fromStdString(refusal.detail), false);
        break;
    case Reason::notEnoughWords:
        CMAlert::show(this, QString::fromStdString(refusal.detail), "", false);
        break;
    case Reason::wordsRanOut:
        // Enough words, but too few different ones to give every method a new name.
        CMAlert::show(this, "单词数量不足", "词库中不同的单词不够生成全部新方法名", false);
        break;
    case Reason::invalidPrefix:
        showInvalidPrefix(this, "方法前缀无效", quillet::methodPrefixRuleText);
        break;
    case Reason::invalidClassPrefix:
        showInvalidPrefix(this, "类名前缀无效", quillet::classPrefixRuleText);
        break;
    case Reason::unreadable:
        CMAlert::show(this, "无法读取项目", RunOutcome::unreadableMessage(report.inaccessible),
                      false);
        CMAlert::shared().fitMessage();
        break;
    case Reason::noSuchFolder:
    case Reason::notAFolder:
    case Reason::noHeaders:
        dialog.dismissController(); // the log says it; the user sees nothing
        break;
    }
}

// "恢复备份" beside OK: asks, then puts the project back as the backup holds it.
void MethodRenameViewController::offerRestore(const std::string& archive,
                                              const std::string& project) {
    CMAlert::shared().showOtherButton("恢复备份", [screen = QPointer(this), archive, project] {
        if (!screen) {
            return;
        }
        auto* clean = new QCheckBox("同时删除此后新增的文件", screen);
        clean->hide();
        clean->resize(clean->sizeHint());
        const int answer = SheetAlert::run(
            screen->window(),
            {"恢复备份？",
             "项目将恢复为备份中的状态: " + QString::fromStdString(archive) +
                 "\n重命名后新增的文件（如 MethodReplaceList.txt）会保留；勾选下面一项则一并删除。",
             {"恢复", "取消"},
             clean});
        const bool removeAdded = clean->isChecked();
        clean->deleteLater();
        if (answer == SheetAlert::firstButton) {
            screen->restoreAction(archive, project, removeAdded);
        }
    });
}

// On the worker thread, as a run: a large project takes seconds, and the window keeps drawing.
void MethodRenameViewController::restoreAction(const std::string& archive,
                                               const std::string& project, bool clean) {
    auto& dialog = CMAlert::shared();
    dialog.hideOtherButton();
    dialog.cancleBtn()->hide();
    dialog.titleLabel()->setText("恢复中...");
    dialog.message()->setText("恢复中...");
    dialog.progressBar()->setRange(0, 1);
    dialog.progressBar()->setValue(0);
    dialog.progressBar()->show();
    if (worker_.joinable()) {
        worker_.join();
    }
    worker_ = std::thread([this, archive, project, clean] {
        ProgressSteps steps;
        const auto progress = [this, &steps](std::size_t done, std::size_t total) {
            if (steps.due(done, total)) {
                QMetaObject::invokeMethod(
                    this, [this, done, total] { showRestoreProgress(done, total); },
                    Qt::QueuedConnection);
            }
        };
        auto result = std::make_shared<Result<quillet::RestoreReport>>(
            quillet::restoreBackup(archive, project, clean, progress));
        QMetaObject::invokeMethod(
            this, [this, result, archive, project] { finishRestore(*result, archive, project); },
            Qt::QueuedConnection);
    });
}

void MethodRenameViewController::showRestoreProgress(std::size_t done, std::size_t total) {
    auto& dialog = CMAlert::shared();
    const QString text = QString("已恢复 %1 / %2 项").arg(done).arg(total);
    dialog.message()->setText(text);
    dialog.progressBar()->setRange(0, static_cast<int>(total));
    dialog.progressBar()->setValue(static_cast<int>(done));
    emit dialogMessageShown(text);
}

void MethodRenameViewController::finishRestore(const Result<quillet::RestoreReport>& result,
                                               const std::string& archive,
                                               const std::string& project) {
    if (worker_.joinable()) {
        worker_.join(); // it has nothing left to do but return
    }
    auto& dialog = CMAlert::shared();
    dialog.progressBar()->hide();
    dialog.cancleBtn()->show();
    if (!result) {
        QLOG_AS("restoreAction()", "Restore failed", result.error().message);
        dialog.titleLabel()->setText("恢复备份失败");
        dialog.setMessage(QString::fromStdString(result.error().message));
    } else {
        const auto& report = *result;
        QLOG_AS("restoreAction()", "Restored " + project + " from " + archive);
        dialog.titleLabel()->setText(report.failed.empty() ? "已恢复备份" : "部分文件未能恢复");
        QString text = QString("恢复了 %1 个文件，%2 个文件本来就与备份相同")
                           .arg(report.restored)
                           .arg(report.unchanged);
        if (!report.added.empty()) {
            text += QString(report.addedRemoved ? "\n备份之后新增的 %1 个文件已删除"
                                                : "\n备份之后新增的 %1 个文件已保留")
                        .arg(report.added.size());
        }
        if (!report.failed.empty()) {
            text += QString("\n%1 个文件无法恢复（见日志）").arg(report.failed.size());
            for (const auto& failure : report.failed) {
                QLOG_AS("restoreAction()", "Not restored", failure);
            }
        }
        dialog.setMessage(text);
    }
    emit dialogMessageShown(MessageText::written(dialog.message()->text()));
    emit restoreFinished();
}

} // namespace quillet::app
