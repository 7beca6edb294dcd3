#pragma once

#include <QString>
#include <functional>
#include <vector>

class QPushButton;
class QWidget;

// Ways a user ends the modal question a test is about to open: the real dialog, not an answerer.
namespace modal_question {

// Runs `act` on the modal dialog once it is up (the caller then opens it).
void whenShown(std::function<void(QWidget* dialog)> act);
// The dialog's button titled `title`; a failure when there is none.
QPushButton* button(QWidget* dialog, const QString& title);
// Presses `key` where the dialog's keys go: its focused control.
void press(QWidget* dialog, int key);

// The ways to leave a question without choosing, each with a name for failure messages: Esc,
// the title bar's close button, and Return (which must mean the safe button).
struct Leaving {
    const char* name;
    std::function<void(QWidget* dialog)> act;
};
const std::vector<Leaving>& leavingWithoutAChoice();

} // namespace modal_question
