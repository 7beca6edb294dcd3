#pragma once

#include <QObject>

namespace quillet::app {

// A QObject that watches the application palette; named in AppKit's NS style.
// The system's light or dark interface style. Qt reports a switch as a change of the
// application palette; this object turns that into one signal, the counterpart of the system's
// theme-changed notification.
class NSTheme : public QObject {
    Q_OBJECT
public:
    enum class Style { dark, light };

    static NSTheme& shared();
    // Read on every call: dark when the palette's window colour is dark.
    Style style() const;

signals:
    void themeChanged();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    NSTheme();
};

} // namespace quillet::app
