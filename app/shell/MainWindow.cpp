#include "MainWindow.h"

#include <QHBoxLayout>

#include "ContentViewController.h"
#include "SidebarViewController.h"

namespace quillet::app {

MainWindow::MainWindow(QWidget* parent) : QMainWindow(parent) {
    setWindowTitle("Quillet");
    // No zoom button: the layout is made for the fixed pane sizes.
    setWindowFlags((windowFlags() | Qt::CustomizeWindowHint | Qt::WindowCloseButtonHint |
                    Qt::WindowMinimizeButtonHint) &
                   ~Qt::WindowMaximizeButtonHint);
    auto* central = new QWidget(this);
    auto* panes = new QWidget(central);
    auto* layout = new QHBoxLayout(panes);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    sidebar_ = new SidebarViewController(panes);
    sidebar_->setFixedWidth(sidebarWidth);
    content_ = new ContentViewController(panes);
    content_->setMinimumWidth(minimumContentWidth);
    layout->addWidget(sidebar_);
    layout->addWidget(content_, 1);
    auto* centralLayout = new QHBoxLayout(central);
    centralLayout->setContentsMargins(0, 0, 0, 0);
    centralLayout->addWidget(panes);
    setCentralWidget(central);
    setMinimumSize(sidebarWidth + minimumContentWidth, 600);
    resize(sidebarWidth + minimumContentWidth, 600);
}

} // namespace quillet::app
