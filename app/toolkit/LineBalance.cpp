#include "LineBalance.h"

#include <QTextLayout>
#include <algorithm>

namespace quillet::app {

namespace {
constexpr int kStep = 4;
constexpr qsizetype kOrphanLength = 2;
} // namespace

LineBalance::Shape LineBalance::shapeAt(const QString& text, int width) const {
    Shape shape;
    QTextOption wrapping;
    wrapping.setWrapMode(QTextOption::WordWrap);
    for (const QString& paragraph : text.split('\n')) {
        QTextLayout layout(paragraph, font_);
        layout.setTextOption(wrapping);
        layout.beginLayout();
        QTextLine last;
        int lines = 0;
        for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
            line.setLineWidth(width);
            last = line;
            ++lines;
        }
        layout.endLayout();
        shape.lines += std::max(lines, 1);
        if (lines > 1 &&
            paragraph.mid(last.textStart(), last.textLength()).trimmed().size() <= kOrphanLength) {
            shape.orphan = true;
        }
    }
    return shape;
}

int LineBalance::widthFor(const QString& text) const {
    const Shape given = shapeAt(text, width_);
    if (!given.orphan) {
        return width_;
    }
    for (int width = width_ - kStep; width >= width_ * 3 / 4; width -= kStep) {
        const Shape narrower = shapeAt(text, width);
        if (narrower.lines > given.lines) {
            break;
        }
        if (!narrower.orphan) {
            return width;
        }
    }
    return width_;
}

} // namespace quillet::app
