#pragma once

#include <QFont>
#include <QString>
#include <utility>

namespace quillet::app {

// Word-wrapped text without a lone word on the last line of a paragraph ("法）" under a line of
// twenty): measured with the font the label draws in.
class LineBalance {
public:
    LineBalance(QFont font, int width) : font_(std::move(font)), width_(width) {}

    // The narrowest width, down to three quarters of the given one, at which `text` takes no more
    // lines and no paragraph ends on a line of one or two characters; the given width when none
    // does or when there is no such line to begin with.
    int widthFor(const QString& text) const;

private:
    struct Shape {
        int lines = 0;
        bool orphan = false;
    };
    Shape shapeAt(const QString& text, int width) const;

    QFont font_;
    int width_;
};

} // namespace quillet::app
