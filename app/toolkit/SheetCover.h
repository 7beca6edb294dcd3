#pragma once

#include <QObject>
#include <QPointer>
#include <QWidget>
#include <vector>

namespace quillet::app {

// A QObject event filter on the window; named after the AppKit sheet it keeps in place.
// While a sheet is up: keeps it over the whole of its window as the window changes size, and
// keeps the window's other views disabled, giving each back its own state when it goes.
class SheetCover : public QObject {
    Q_OBJECT
public:
    // Owned by the sheet, and gone with it.
    static void cover(QWidget* sheet);
    static void uncover(QWidget* sheet);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    explicit SheetCover(QWidget* sheet);
    void release();

    QPointer<QWidget> sheet_;
    QPointer<QWidget> window_;
    std::vector<QPointer<QWidget>> disabled_;
};

} // namespace quillet::app
