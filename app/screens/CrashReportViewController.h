#pragma once

#include <optional>
#include <thread>

#include "ProjectNames.h"
#include "toolkit/UIViewController.h"

namespace quillet::app {

class UIButton;
class UIInteractiveView;
class UILabel;
class UITextView;

// A UIViewController (QWidget); named in UIKit's view-controller style.
// The page that reads the renamed app's crash reports, logs and stacks with the old names: the
// project folder gives the names file, the user pastes a report or drops its file, and 还原
// writes the report with the old names into the area below, translated on a worker thread.
class CrashReportViewController : public UIViewController {
    Q_OBJECT
public:
    // The text areas take in 5 MB in about a third of a second, on the window's thread; much
    // larger files would hold the window up for seconds.
    static constexpr qint64 largestReport = 16 << 20;

    explicit CrashReportViewController(QWidget* parent = nullptr);
    ~CrashReportViewController() override;

    UIInteractiveView* pathInput() const { return pathInput_; }
    UILabel* namesLabel() const { return namesLabel_; }
    UITextView* reportInput() const { return reportInput_; }
    UITextView* restoredOutput() const { return restoredOutput_; }
    UIButton* restoreBtn() const { return restoreBtn_; }
    UIButton* copyBtn() const { return copyBtn_; }

public slots:
    void selectPathAction();
    void restoreAction();
    void copyAction();
    // Shows the text of the file at `path` as the report, or says why it cannot.
    void openReport(const QString& path);

signals:
    void restored(); // the translation is on screen

protected:
    void viewDidLoad() override;
    void viewDidLayout() override;

private:
    void useProject(const QString& project);
    void showRestored(const QString& text);

    UIInteractiveView* pathInput_ = nullptr;
    UILabel* namesLabel_ = nullptr;
    UITextView* reportInput_ = nullptr;
    UITextView* restoredOutput_ = nullptr;
    UIButton* restoreBtn_ = nullptr;
    UIButton* copyBtn_ = nullptr;
    std::optional<ProjectNames> names_; // none until a folder is chosen
    std::thread worker_;
};

} // namespace quillet::app
