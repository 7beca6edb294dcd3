#pragma once

#include <QLabel>

#include "Styled.h"

namespace quillet::app {

// A QLabel with the app's styles; named after UIKit's UILabel, like the rest of the toolkit.
// A label styled through records, with click blocks; one that ignores the mouse lets clicks
// through to what lies below.
class UILabel : public Styled<QLabel> {
    Q_OBJECT
public:
    explicit UILabel(const QString& text = QString(), QWidget* parent = nullptr);

    bool isIgnoresMouseEvents() const { return testAttribute(Qt::WA_TransparentForMouseEvents); }
    void setIgnoresMouseEvents(bool ignores);
};

} // namespace quillet::app
