#pragma once

#include <QString>

class QLabel;

namespace quillet::app {

// How a dialog's message breaks into lines: a path may break after each '/', never at a
// hyphen of a name in it, and the lines are evened out so no word is left alone on the last.
class MessageText {
public:
    // `text` as shown: a break opportunity after each '/' of a path, a joiner after each hyphen
    // inside a word.
    static QString shown(const QString& text);
    // The text as written, without the marks `shown` added (for copying or comparing).
    static QString written(const QString& shown);
    // The narrowest width up to `widest` at which `label` (word-wrapped) needs no more lines
    // than at `widest`.
    static int balancedWidth(const QLabel& label, int widest);
};

} // namespace quillet::app
