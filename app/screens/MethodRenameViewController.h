#pragma once

#include <cstdint>
#include <string>
#include <thread>
#include <vector>

#include "backup/BackupRestore.h"
#include "job/RunOptions.h"
#include "toolkit/UIViewController.h"

class QCheckBox;

namespace quillet {
struct RunRefusal;
struct RunReport;
class SettingModel;
} // namespace quillet

namespace quillet::app {

class ReusedNamesRow;
class UIButton;
class UIInteractiveView;
class UILabel;
class UITextView;

// A UIViewController (QWidget); named in UIKit's view-controller style.
// The page on which the user runs the tool: the project folder, the options, the ignore list and
// Execute. Once the path passes, the dialog shows and the whole run (scan, words, names, backup,
// rewrite) goes on a worker thread while the dialog shows its progress.
class MethodRenameViewController : public UIViewController {
    Q_OBJECT
public:
    enum class Language { swift, oc };
    static QString rawValue(Language language);

    static const QString ignoreTemplate;
    // The ignore prefixes in the editor's text: each non-empty line, trimmed, that is no comment.
    static std::vector<std::string> ignoreList(const QString& editorText);

    explicit MethodRenameViewController(QWidget* parent = nullptr);
    ~MethodRenameViewController() override;

    UIInteractiveView* pathInput() const { return pathInput_; }
    UIInteractiveView* condition();
    UITextView* ignoreInput() const { return ignoreInput_; }
    QCheckBox* fillBtn() const { return fillBtn_; }
    QCheckBox* preciseBtn() const { return preciseBtn_; }
    QCheckBox* swiftBtn() const { return swiftBtn_; }
    // What a precise run renames besides methods: "同时重命名：" and a box for each kind.
    UILabel* kindsHint() const { return kindsHint_; }
    const std::vector<QCheckBox*>& kindBtns() const { return kindBtns_; }
    // The names file the project's runs give their names again from.
    ReusedNamesRow* namesRow() const { return namesRow_; }
    UIButton* sureBtn() const { return sureBtn_; }

public slots:
    void sureAction();
    void selectPathAction();
    void updateCondition();

signals:
    // Every text the run dialog shows, in order, from "解析中..." to the completion text.
    void dialogMessageShown(const QString& message);
    void runFinished();
    void restoreFinished();

protected:
    void viewDidLoad() override;
    void viewDidLayout() override;

private:
    void selectDidChange(QCheckBox* box);
    void remember(bool quillet::SettingModel::*setting, bool on);
    void startRun(quillet::RunOptions options);
    void showProgress(const QString& text, std::size_t total);
    void showBackup(std::uint64_t done, std::uint64_t total);
    void finishRun(const quillet::RunReport& report);
    void showRefusal(const quillet::RunReport& report);
    void offerRestore(const std::string& archive, const std::string& project);
    void restoreAction(const std::string& archive, const std::string& project, bool clean);
    void showRestoreProgress(std::size_t done, std::size_t total);
    void finishRestore(const Result<quillet::RestoreReport>& result, const std::string& archive,
                       const std::string& project);

    Language language_ = Language::oc;
    UIInteractiveView* pathInput_ = nullptr;
    UIInteractiveView* condition_ = nullptr;
    QCheckBox* swiftBtn_ = nullptr;
    QCheckBox* fillBtn_ = nullptr;
    QCheckBox* preciseBtn_ = nullptr;
    UILabel* kindsHint_ = nullptr;
    std::vector<QCheckBox*> kindBtns_;
    ReusedNamesRow* namesRow_ = nullptr;
    UITextView* ignoreInput_ = nullptr;
    UIButton* sureBtn_ = nullptr;
    std::thread worker_;
    int progressCount_ = 0;
};

} // namespace quillet::app
