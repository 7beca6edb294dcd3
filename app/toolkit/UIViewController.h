#pragma once

#include <functional>

#include <QPointer>
#include <QWidget>
#include <vector>

class QPushButton;

namespace quillet::app {

class PresentationAnimator;
class ProgressView;

// A QWidget that is both screen and view; named after UIKit's UIViewController, like the toolkit.
// The base of every screen. A controller is its own root view; it gets its view set up once
// (viewDidLoad), is told of every appearance and disappearance, and of the first appearance once.
// Controllers present others through an animator, which decides where their views go.
class UIViewController : public QWidget {
    Q_OBJECT
public:
    explicit UIViewController(QWidget* parent = nullptr);
    ~UIViewController() override;

    bool isFirstAppear() const { return isFirstAppear_; }

    // Presents `controller` (taking it over) with `animator`; the animator lays its view out.
    void presentViewController(UIViewController* controller, PresentationAnimator& animator);
    // Presents `controller` as a sheet covering the window; it is not deleted when dismissed.
    void presentViewControllerAsSheet(UIViewController* controller);
    // Dismisses this controller from the one that presented it.
    void dismissController();
    void dismissViewController(UIViewController* controller);

    const std::vector<QPointer<UIViewController>>& presentedViewControllers() const {
        return presented_;
    }
    UIViewController* presentingViewController() const { return presenting_; }

    // The back arrow, made on first use: top left, closes this controller.
    QPushButton* backbtn();

    // Sets the view up now if that has not happened yet.
    void loadViewIfNeeded();

    // True for the one controller that pages are laid into (the content pane).
    virtual bool isPageHost() const { return false; }
    // Where pages go in a page host.
    virtual QRect pageArea() const { return rect(); }

    // Loads the view before it first shows, so that the subviews made on loading show with it.
    void setVisible(bool visible) override;

    // Covers the view with the spinner overlay, which keeps clicks from what lies below.
    virtual void startLoading();
    virtual void stopLoading();
    ProgressView* loadingProgress() const;

public slots:
    void disappear();

protected:
    virtual void viewDidLoad() {}
    virtual void viewDidAppear();
    virtual void viewFirstDidAppear() {}
    virtual void viewDidDisappear() {}
    // Places the subviews; runs after viewDidLoad and at every resize of a loaded view.
    virtual void viewDidLayout() {}

    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    bool loaded_ = false;
    bool isFirstAppear_ = true;
    QPushButton* backbtn_ = nullptr;
    QPointer<UIViewController> presenting_;
    PresentationAnimator* animator_ = nullptr; // how this controller was presented
    bool ownedByPresenter_ = false;
    std::vector<QPointer<UIViewController>> presented_;
};

// Lays a presented controller's view into place and takes it away again.
class PresentationAnimator {
public:
    virtual ~PresentationAnimator() = default;
    // False when the presentation is refused; nothing has changed then.
    virtual bool animatePresentation(UIViewController* presented, UIViewController* presenter) = 0;
    // Removes the view; `done` runs when it is gone.
    virtual void animateDismissal(UIViewController* presented, UIViewController* presenter,
                                  std::function<void()> done) = 0;
};

} // namespace quillet::app
