#pragma once

#include <functional>

#include "UIViewController.h"

class QProgressBar;

namespace quillet::app {

class UIButton;
class UILabel;

// A UIViewController, so a QWidget and not a QDialog; named after UIKit's alert controllers.
// The application's one modal dialog: a title, a message, an OK button and hidden Back and
// second buttons, over the whole window.
class UIAlertViewController : public UIViewController {
    Q_OBJECT
public:
    explicit UIAlertViewController(QWidget* parent = nullptr);

    UILabel* titleLabel();
    UILabel* message();
    UIButton* cancleBtn();
    UIButton* backBtn();
    // A second button left of OK, for what a result offers to do next; hidden unless shown.
    UIButton* otherBtn();
    void showOtherButton(const QString& title, std::function<void()> action);
    void hideOtherButton();
    // A bar under the message for long work; hidden unless a caller shows it.
    QProgressBar* progressBar();
    // Places the message for its text: 520 x 320, taller when the text needs it, as far as the
    // room above the progress bar (or, while it is hidden, the buttons) allows.
    void fitMessage();
    // Shows `text` with its paths breakable after each '/', then fits the box to it.
    void setMessage(const QString& text);

    std::function<void()> block;       // runs whenever the dialog disappears
    std::function<void()> actionBlock; // when set, OK runs it instead of closing

public slots:
    void cancleAction();
    void backAction();

protected:
    void viewDidLoad() override;
    void viewDidAppear() override;
    void viewDidLayout() override;
    void viewDidDisappear() override;
    // Return presses OK, Esc Back (or OK when there is no Back); never the second button, which
    // acts on the project.
    void keyPressEvent(QKeyEvent* event) override;

private:
    UILabel* titleLabel_ = nullptr;
    UILabel* message_ = nullptr;
    UIButton* cancleBtn_ = nullptr;
    UIButton* backBtn_ = nullptr;
    UIButton* otherBtn_ = nullptr;
    std::function<void()> otherAction_;
    QProgressBar* progressBar_ = nullptr;
};

// Shows the shared dialog as a sheet of a controller.
namespace CMAlert {
UIAlertViewController& shared();
void show(UIViewController* on, const QString& title, const QString& message, bool hidesButton,
          std::function<void()> completion = {});
} // namespace CMAlert

} // namespace quillet::app
