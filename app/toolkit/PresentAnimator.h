#pragma once

#include <QPointer>
#include <vector>

#include "UIViewController.h"

namespace quillet::app {

// Plain classes, no QObjects; named after AppKit's NSViewControllerPresentationAnimator.
// Fades pages into the content pane and keeps the stack of pages on screen, oldest first; only
// the newest is visible. Pages go into the page host, the content pane, whoever presents them.
class PresentAnimator : public PresentationAnimator {
public:
    static PresentAnimator& shared();
    static std::vector<QPointer<UIViewController>>& pageStack();
    static UIViewController* pageHost();

    // Refused (false) while no page host is known and the presenter is not one.
    bool animatePresentation(UIViewController* presented, UIViewController* presenter) override;
    void animateDismissal(UIViewController* presented, UIViewController* presenter,
                          std::function<void()> done) override;

    static constexpr int durationMs = 380;
};

// Slides a dialog that covers the whole window down into place, hiding the main content under
// it, and slides it out again.
class PresentAnimatorForWindow : public PresentationAnimator {
public:
    static PresentAnimatorForWindow& shared();
    // Refused (false) when there is no window content to cover.
    bool animatePresentation(UIViewController* presented, UIViewController* presenter) override;
    void animateDismissal(UIViewController* presented, UIViewController* presenter,
                          std::function<void()> done) override;
};

} // namespace quillet::app
