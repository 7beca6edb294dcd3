#pragma once

#include <QMainWindow>
#include <QSize>

namespace quillet::app {

class SidebarViewController;
class ContentViewController;

// The one window: the sidebar, fixed at 200 points, and the content pane, laid out for 760 and
// scrolled when the window is smaller.
class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit MainWindow(QWidget* parent = nullptr);

    SidebarViewController* sidebar() const { return sidebar_; }
    ContentViewController* content() const { return content_; }

    static constexpr int sidebarWidth = 200;
    static constexpr int minimumContentWidth = 760;
    static constexpr int designHeight = 600;
    // Fits a 1600 x 1000 screen at 200% (800 x 500 points) with its title bar and a panel.
    static constexpr QSize minimumWindowSize{640, 400};

private:
    SidebarViewController* sidebar_;
    ContentViewController* content_;
};

} // namespace quillet::app
