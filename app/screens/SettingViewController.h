#pragma once

#include <QString>
#include <optional>

#include "toolkit/UIViewController.h"

namespace quillet::app {

class UIButton;
class UIInteractiveView;

// A UIViewController (QWidget); named in UIKit's view-controller style.
// The page for the stored settings: the backup directory (chosen with the folder dialog) and the
// method and class prefixes (typed). Nothing is stored until Save.
class SettingViewController : public UIViewController {
    Q_OBJECT
public:
    explicit SettingViewController(QWidget* parent = nullptr);

    UIInteractiveView* backupPathInput() const { return backupPathInput_; }
    UIInteractiveView* methodPrefixInput() const { return methodPrefixInput_; }
    UIInteractiveView* classPrefixInput() const { return classPrefixInput_; }
    UIButton* openBtn() const { return openBtn_; }
    UIButton* updateBtn() const { return updateBtn_; }
    UIButton* sureBtn() const { return sureBtn_; }

public slots:
    void updateAction();
    void openAction();
    void sureAction();

protected:
    void viewDidLoad() override;
    void viewDidLayout() override;

private:
    // Why the fields cannot be saved as they are; nothing when they can.
    std::optional<QString> refusal() const;

    UIInteractiveView* backupPathInput_ = nullptr;
    UIInteractiveView* methodPrefixInput_ = nullptr;
    UIInteractiveView* classPrefixInput_ = nullptr;
    UIButton* openBtn_ = nullptr;
    UIButton* updateBtn_ = nullptr;
    UIButton* sureBtn_ = nullptr;
};

} // namespace quillet::app
