// The Command-key editing shortcuts, driven through real key presses.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>
#include <QVBoxLayout>

#include "shell/LocalMonitor.h"

using namespace quillet::app;

namespace {

class Keys : public ::testing::Test {
protected:
    Keys() {
        LocalMonitor::shared().start();
        LocalMonitor::shared().start(); // a second start changes nothing
        auto* layout = new QVBoxLayout(&window_);
        layout->addWidget(textView_);
        layout->addWidget(field_);
        window_.show();
        QApplication::setActiveWindow(&window_);
        EXPECT_TRUE(QTest::qWaitForWindowActive(&window_));
        textView_->setFocus();
    }

    void typeIn(QWidget* widget, Qt::Key key, Qt::KeyboardModifiers modifiers) {
        widget->setFocus();
        QTest::keyClick(widget, key, modifiers);
    }
    void select(int start, int length) {
        QTextCursor cursor = textView_->textCursor();
        cursor.setPosition(start);
        cursor.setPosition(start + length, QTextCursor::KeepAnchor);
        textView_->setTextCursor(cursor);
    }
    int caret() const { return textView_->textCursor().position(); }
    bool hasSelection() const { return textView_->textCursor().hasSelection(); }

    QWidget window_;
    QPlainTextEdit* textView_ = new QPlainTextEdit("hello world");
    QLineEdit* field_ = new QLineEdit("field");
};

TEST_F(Keys, PasteReplacesTheSelectionAndPutsTheCaretAfterThePastedText) {
    QApplication::clipboard()->setText("方法名");
    select(6, 5);
    typeIn(textView_, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(textView_->toPlainText(), "hello 方法名");
    EXPECT_EQ(caret(), 9);
    EXPECT_FALSE(hasSelection());

    // Nothing on the clipboard: the selection goes and the caret stays at its start.
    QApplication::clipboard()->clear();
    select(0, 6);
    typeIn(textView_, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(textView_->toPlainText(), "方法名");
    EXPECT_EQ(caret(), 0);
}

TEST_F(Keys, CopyCutAndSelectAllWorkOnTheFocusedTextView) {
    select(0, 5);
    typeIn(textView_, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text(), "hello");
    EXPECT_EQ(textView_->toPlainText(), "hello world");

    select(5, 6);
    typeIn(textView_, Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text(), " world");
    EXPECT_EQ(textView_->toPlainText(), "hello");
    EXPECT_EQ(caret(), 5);

    typeIn(textView_, Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(textView_->textCursor().selectedText(), "hello");
}

TEST_F(Keys, UndoAndRedoAreSwallowedWhilePlainKeysStillType) {
    textView_->moveCursor(QTextCursor::End);
    typeIn(textView_, Qt::Key_Z, Qt::NoModifier);
    EXPECT_EQ(textView_->toPlainText(), "hello worldz");
    typeIn(textView_, Qt::Key_Z, Qt::ControlModifier);
    typeIn(textView_, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(textView_->toPlainText(), "hello worldz");
    // Something undone another way (the text view's own menu) is not redone by Control-Y.
    textView_->undo();
    ASSERT_EQ(textView_->toPlainText(), "hello world");
    typeIn(textView_, Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(textView_->toPlainText(), "hello world");
}

TEST_F(Keys, WithoutAFocusedTextViewTheShortcutsDoNothingAndAreSwallowed) {
    QApplication::clipboard()->setText("pasted");
    field_->selectAll();
    typeIn(field_, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(field_->text(), "field");
    typeIn(field_, Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(field_->text(), "field");
    EXPECT_EQ(QApplication::clipboard()->text(), "pasted");
    // Other keys still reach the field.
    typeIn(field_, Qt::Key_Q, Qt::NoModifier);
    EXPECT_EQ(field_->text(), "q");
}

TEST_F(Keys, AReadOnlyTextViewIsCopiedFromButNeverChanged) {
    textView_->setReadOnly(true);
    QApplication::clipboard()->setText("pasted");
    select(0, 5);
    typeIn(textView_, Qt::Key_V, Qt::ControlModifier);
    typeIn(textView_, Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(textView_->toPlainText(), "hello world");
    EXPECT_EQ(QApplication::clipboard()->text(), "hello");
}

} // namespace
