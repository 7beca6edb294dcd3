#pragma once

#include <QObject>

class QKeyEvent;
class QPlainTextEdit;

namespace quillet::app {

// A QObject event filter on the application; named after AppKit's local event monitors.
// Gives every text view of the application the Command-key editing shortcuts (paste, copy, cut,
// select all) and swallows undo and redo. Command is Qt's Control modifier, which Qt maps to
// the Command key on macOS.
class LocalMonitor : public QObject {
    Q_OBJECT
public:
    static LocalMonitor& shared();

    // Installs the monitor on the application once; later calls do nothing.
    void start();
    bool isStarted() const { return started_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    LocalMonitor() = default;

    // True when the key press was one of ours and must go no further.
    bool handle(const QKeyEvent& key);
    static QPlainTextEdit* focusedTextView();
    static void paste(QPlainTextEdit& view);
    static void copy(const QPlainTextEdit& view);
    static void cut(QPlainTextEdit& view);

    bool started_ = false;
};

} // namespace quillet::app
