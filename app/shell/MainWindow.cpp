#include "MainWindow.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QScreen>
#include <QScrollArea>

#include "ContentViewController.h"
#include "SidebarViewController.h"

namespace quillet::app {

MainWindow::MainWindow(QWidget* parent) : QMainWindow(parent) {
    setWindowTitle("Quillet");
    // No zoom button: the layout is made for the fixed pane sizes.
    setWindowFlags((windowFlags() | Qt::CustomizeWindowHint | Qt::WindowCloseButtonHint |
                    Qt::WindowMinimizeButtonHint) &
                   ~Qt::WindowMaximizeButtonHint);
    // The panes are laid out for 960 x 600; a smaller window (a laptop at 200%) scrolls them.
    auto* central = new QScrollArea(this);
    central->setFrameShape(QFrame::NoFrame);
    central->setWidgetResizable(true);
    auto* panes = new QWidget(central);
    panes->setMinimumSize(sidebarWidth + minimumContentWidth, designHeight);
    auto* layout = new QHBoxLayout(panes);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    sidebar_ = new SidebarViewController(panes);
    sidebar_->setFixedWidth(sidebarWidth);
    content_ = new ContentViewController(panes);
    content_->setMinimumWidth(minimumContentWidth);
    layout->addWidget(sidebar_);
    layout->addWidget(content_, 1);
    central->setWidget(panes);
    setCentralWidget(central);
    setMinimumSize(minimumWindowSize);
    QSize size(sidebarWidth + minimumContentWidth, designHeight);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        // Room for the title bar and the frame, which are outside the window's size.
        size = size.boundedTo(screen->availableSize() - QSize(40, 60)).expandedTo(minimumSize());
    }
    resize(size);
}

} // namespace quillet::app
