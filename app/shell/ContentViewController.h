#pragma once

#include "Action.h"
#include "toolkit/UIViewController.h"

namespace quillet::app {

class TitleView;
class ButtomView;

// A UIViewController (QWidget); named in UIKit's view-controller style.
// The right pane: a title bar, the page area and a bottom strip. It shows the page of each
// sidebar entry the navigation notification brings, one page at a time.
class ContentViewController : public UIViewController {
    Q_OBJECT
public:
    explicit ContentViewController(QWidget* parent = nullptr);
    ~ContentViewController() override;

    TitleView* titleView() const { return titleView_; }
    ButtomView* buttomView() const { return buttomView_; }
    Action previousAction() const { return previousAction_; }

    bool isPageHost() const override { return true; }
    QRect pageArea() const override;

    // The web site's address followed by `path`.
    static QString webPage(const QString& path);
    static constexpr int titleHeight = 60;
    static constexpr int bottomHeight = 30;

public slots:
    void theme();
    void doNotification(const SidebarEntry& entry);

protected:
    void viewDidLoad() override;
    void viewDidAppear() override;
    void viewFirstDidAppear() override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void layOutBars();
    void dismissPages();
    void showWebPage(const QString& path);
    void copyChatGroup();

    TitleView* titleView_ = nullptr;
    ButtomView* buttomView_ = nullptr;
    Action previousAction_ = Action::unknow;
};

} // namespace quillet::app
