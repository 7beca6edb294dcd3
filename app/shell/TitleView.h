#pragma once

#include <QPointer>
#include <QWidget>

class QLabel;

namespace quillet::app {

class UIViewController;

// Plain QWidgets; named like UIKit views, like the rest of the app.
// The bar at the top of the content pane with the current page's title.
class TitleView : public QWidget {
    Q_OBJECT
public:
    explicit TitleView(QWidget* parent = nullptr);

    QPointer<UIViewController> controller;
    QLabel* title();

public slots:
    void theme();

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    QLabel* title_ = nullptr;
};

// The strip at the bottom of the content pane.
class ButtomView : public QWidget {
    Q_OBJECT
public:
    using QWidget::QWidget;
};

} // namespace quillet::app
