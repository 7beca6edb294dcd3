#pragma once

#include <QString>
#include <QStringList>
#include <functional>

class QWidget;

namespace quillet::app {

// A window-modal QDialog behind a seam; named after AppKit's NSAlert run as a sheet.
// A modal question over a window: a message, an optional informative text and accessory view,
// and buttons in the order given. The accessory shows at its own size and goes back to its parent
// afterwards. Tests put an answerer of their own behind it.
class SheetAlert {
public:
    // Closed without a choice (Esc, the close button): never any button's answer, so a
    // question that guards a change must be answered with its button to make it.
    static constexpr int dismissed = 0;
    static constexpr int firstButton = 1000;
    static constexpr int secondButton = 1001;

    struct Question {
        QString message;
        QString informativeText;
        QStringList buttons;
        QWidget* accessory = nullptr;
        // The button Return presses, with the focus at first. For a question that guards a
        // change it is the one that changes nothing.
        int defaultButton = 0;
    };
    using Answerer = std::function<int(const Question&)>;

    // The return code of the button that ended it: firstButton, secondButton, ...; dismissed
    // when none did.
    static int run(QWidget* over, const Question& question);
    static void setAnswerer(Answerer answerer);
};

} // namespace quillet::app
