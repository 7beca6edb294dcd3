#pragma once

#include <optional>
#include <string>

#include "service/NormalModel.h"
#include "service/WebRequest.h"
#include "toolkit/UIViewController.h"
#include "wordbank/WordModel.h"

namespace quillet::app {

class UIButton;
class UIInteractiveView;
class UILabel;
class UITextField;
class UITextView;

// A UIViewController (QWidget); named in UIKit's view-controller style.
// The page on which the user edits, checks, saves, shares, fetches and deletes word banks, and
// picks the default bank the rename screen uses.
class WordBankViewController : public UIViewController {
    Q_OBJECT
public:
    static constexpr std::size_t length = 7;

    explicit WordBankViewController(QWidget* parent = nullptr);

    const quillet::WordModel& localWord() const { return localWord_; }
    const quillet::WordModel& currentWord() const { return currentWord_; }
    UITextView* wordBankInput() const { return wordBankInput_; }
    UILabel* id() const { return id_; }
    UIButton* copyIDBtn() const { return copyIDBtn_; }
    UIInteractiveView* label() const { return label_; }
    UILabel* defualtTip() const { return defualtTip_; }
    UITextField* identifyInput();
    // The bottom row's button titled `title`.
    UIButton* button(const QString& title) const;

public slots:
    void aboutAction();
    void sureAction();
    void copyIDAction();
    void setDefualtAction();
    void newAction();
    void deleteAction();
    void orderCmdAction();
    void verifyAction();
    void cloudAction();

signals:
    void answered(); // after every answer of the service has been handled

protected:
    void viewDidLoad() override;
    void viewDidLayout() override;
    void viewFirstDidAppear() override;
    void viewDidAppear() override;

private:
    void showBank(const quillet::WordModel& bank);
    void takeEdits();
    // The bank's words as the editor shows them, wrapping only after a comma, and as typed.
    void showBankText(const std::string& text);
    std::string bankText() const;
    // Stores the bank on screen as the default bank; false after the alert when that failed.
    bool saveAsDefault();
    // Replaces the text area by its canonical text; false after the alert when it breaks the rules.
    bool normalizeTextArea();
    void saveToServer();
    void deleteFromServer();
    void requestData();
    void showLocalWordAgain();
    void updateDefaultTip();
    // Sends to the service; `handler` runs on the screen, if it is still there, with the decoded
    // answer after the common failure handling.
    void send(const quillet::RequestParams& params, const char* function,
              std::function<void(const quillet::NormalModel&)> handler);

    quillet::WordModel localWord_;
    quillet::WordModel currentWord_;
    UITextView* wordBankInput_ = nullptr;
    UILabel* id_ = nullptr;
    UIButton* copyIDBtn_ = nullptr;
    UIInteractiveView* label_ = nullptr;
    UILabel* defualtTip_ = nullptr;
    UITextField* identifyInput_ = nullptr;
    std::vector<UIButton*> bottomRow_; // right to left, as they are laid out
    UIButton* aboutBtn_ = nullptr;
};

} // namespace quillet::app
