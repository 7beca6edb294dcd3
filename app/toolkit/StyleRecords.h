#pragma once

#include <QColor>
#include <functional>
#include <optional>

namespace quillet::app {

// Plain structs, no Qt classes: the UIKit and CALayer properties of the toolkit's controls.
// The looks a control can be given; a control applies a record the moment it is set.
// Sizes are device-independent pixels.

struct Border {
    std::optional<QColor> color;
    int width = 0;
    int radius = 0;
};

struct Background {
    std::optional<QColor> color;
};

struct TextStyle {
    QColor color = Qt::black;
    int fontSize = 0; // 0 keeps the platform's size
};

// The look while the mouse is over the control; only what it defines is applied over the normal
// look, and leaving restores the normal look completely.
struct Highlight {
    std::optional<Border> border;
    std::optional<Background> background;
    std::optional<TextStyle> text;
};

// What clicks on a view or label run: the first release of a click runs `signleClickBlock`, the
// release that ends a double click runs `doubleClickBlock`.
struct ClickBlocks {
    std::function<void()> signleClickBlock;
    std::function<void()> doubleClickBlock;
};

} // namespace quillet::app
