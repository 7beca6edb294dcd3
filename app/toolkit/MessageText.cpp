#include "MessageText.h"

#include <QLabel>

namespace quillet::app {

namespace {

constexpr QChar breakHere(0x200B); // zero-width space
constexpr QChar joinHere(0x2060);  // word joiner

bool inWord(QChar c) {
    return c.isLetterOrNumber() || c == '_';
}

} // namespace

QString MessageText::shown(const QString& text) {
    QString out;
    out.reserve(text.size() + text.size() / 8);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        out += c;
        const bool last = i + 1 == text.size();
        if (c == '/' && !last && !text[i + 1].isSpace()) {
            out += breakHere;
        } else if (c == '-' && !last && i > 0 && inWord(text[i - 1]) && inWord(text[i + 1])) {
            out += joinHere;
        }
    }
    return out;
}

QString MessageText::written(const QString& shown) {
    QString out = shown;
    out.remove(breakHere);
    out.remove(joinHere);
    return out;
}

int MessageText::balancedWidth(const QLabel& label, int widest) {
    const int height = label.heightForWidth(widest);
    if (height <= 0) {
        return widest;
    }
    // Narrower never takes fewer lines, so the first width that keeps the height is the answer.
    int low = widest / 2;
    int high = widest;
    if (label.heightForWidth(low) <= height) {
        high = low;
    }
    while (low < high) {
        const int middle = (low + high) / 2;
        if (label.heightForWidth(middle) <= height) {
            high = middle;
        } else {
            low = middle + 1;
        }
    }
    return high;
}

} // namespace quillet::app
