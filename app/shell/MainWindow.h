#pragma once

#include <QMainWindow>

namespace quillet::app {

class SidebarViewController;
class ContentViewController;

// The one window: the sidebar, fixed at 200 points, and the content pane, never narrower than
// 760.
class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit MainWindow(QWidget* parent = nullptr);

    SidebarViewController* sidebar() const { return sidebar_; }
    ContentViewController* content() const { return content_; }

    static constexpr int sidebarWidth = 200;
    static constexpr int minimumContentWidth = 760;

private:
    SidebarViewController* sidebar_;
    ContentViewController* content_;
};

} // namespace quillet::app
