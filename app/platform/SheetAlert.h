#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

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
    // The title of the button that changes nothing.
    static constexpr const char* cancelTitle = "取消";

    struct Question {
        QString message;
        QString informativeText;
        QStringList buttons;
        QWidget* accessory = nullptr;
        // The button Return presses, with the focus at first. Left unset, it is the safe one:
        // the button titled cancelTitle when there is one, so that a question guarding a change
        // never makes it on Return; else the first. Set only for a question whose every button
        // is harmless, such as one asking for a token to fetch.
        std::optional<int> defaultButton = std::nullopt;
    };
    using Answerer = std::function<int(const Question&)>;

    // The return code of the button that ended it: firstButton, secondButton, ...; dismissed
    // when none did.
    static int run(QWidget* over, const Question& question);
    static void setAnswerer(Answerer answerer);
};

} // namespace quillet::app
