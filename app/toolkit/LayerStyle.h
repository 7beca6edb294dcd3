#pragma once

#include <QString>

#include "StyleRecords.h"

namespace quillet::app {

// Plain data turned into a Qt style sheet; named after the CALayer looks it stands in for.
// A control's look: the normal records, the highlight and whether the mouse is over it, turned
// into the style sheet that draws it.
class LayerStyle {
public:
    struct Look {
        Border border;
        Background background;
        std::optional<TextStyle> text;
    };

    Border border;
    Background background;
    std::optional<TextStyle> text;
    std::optional<Highlight> highlight;
    bool hovered = false;

    // The look to draw now: the normal one, with the highlight over it while hovered.
    Look current() const;
    // A style sheet for the widget of class `className` alone (not its children).
    QString styleSheet(const char* className) const;
    // The selector of exactly the class `className`; style sheets spell a namespace's :: as --.
    static QString classSelector(const char* className);
};

} // namespace quillet::app
