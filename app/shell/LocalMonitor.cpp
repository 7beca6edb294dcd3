#include "LocalMonitor.h"

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QTextCursor>

namespace quillet::app {

namespace {

struct Selection {
    int start;
    int length;
};

Selection selectionOf(const QPlainTextEdit& view) {
    const QTextCursor cursor = view.textCursor();
    return {cursor.selectionStart(), cursor.selectionEnd() - cursor.selectionStart()};
}

// Stores the whole text back and leaves an empty selection at `caret`.
void storeText(QPlainTextEdit& view, const QString& text, int caret) {
    view.setPlainText(text);
    QTextCursor cursor = view.textCursor();
    cursor.setPosition(caret);
    view.setTextCursor(cursor);
}

} // namespace

LocalMonitor& LocalMonitor::shared() {
    static LocalMonitor* monitor = new LocalMonitor; // lives as long as the application
    return *monitor;
}

void LocalMonitor::start() {
    if (started_ || qApp == nullptr) {
        return;
    }
    qApp->installEventFilter(this);
    started_ = true;
}

bool LocalMonitor::eventFilter(QObject*, QEvent* event) {
    // The first delivery of a press we take (to the window or the focused widget) ends it;
    // one we pass on gets the same answer at every later delivery.
    if (event->type() == QEvent::KeyPress) {
        return handle(static_cast<const QKeyEvent&>(*event));
    }
    return false;
}

bool LocalMonitor::handle(const QKeyEvent& key) {
    if (!key.modifiers().testFlag(Qt::ControlModifier)) {
        return false;
    }
    // Redo has other keys than Control and Z on some systems (Control-Y here); all of them are
    // taken, like undo's.
    if (key.matches(QKeySequence::Undo) || key.matches(QKeySequence::Redo)) {
        return true;
    }
    QPlainTextEdit* view = focusedTextView();
    switch (key.key()) {
    case Qt::Key_V:
        if (view != nullptr) {
            paste(*view);
        }
        return true;
    case Qt::Key_C:
        if (view != nullptr) {
            copy(*view);
        }
        return true;
    case Qt::Key_X:
        if (view != nullptr) {
            cut(*view);
        }
        return true;
    case Qt::Key_Z: // undo and redo are disabled
        return true;
    case Qt::Key_A:
        if (view != nullptr) {
            view->selectAll();
        }
        return true;
    default:
        return false;
    }
}

QPlainTextEdit* LocalMonitor::focusedTextView() {
    return qobject_cast<QPlainTextEdit*>(QApplication::focusWidget());
}

void LocalMonitor::paste(QPlainTextEdit& view) {
    // A view the user cannot edit is not changed behind its back.
    if (view.isReadOnly()) {
        return;
    }
    const QString pasted = QApplication::clipboard()->text();
    const Selection selection = selectionOf(view);
    QString text = view.toPlainText();
    text.replace(selection.start, selection.length, pasted);
    storeText(view, text, selection.start + static_cast<int>(pasted.size()));
}

void LocalMonitor::copy(const QPlainTextEdit& view) {
    const Selection selection = selectionOf(view);
    QApplication::clipboard()->setText(view.toPlainText().mid(selection.start, selection.length));
}

void LocalMonitor::cut(QPlainTextEdit& view) {
    copy(view);
    if (view.isReadOnly()) {
        return;
    }
    const Selection selection = selectionOf(view);
    QString text = view.toPlainText();
    text.remove(selection.start, selection.length);
    storeText(view, text, selection.start);
}

} // namespace quillet::app
