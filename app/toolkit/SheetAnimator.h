#pragma once

#include "UIViewController.h"

namespace quillet::app {

// Shows a QWidget child over the window, not a QDialog; named after AppKit's sheets.
// Shows a controller as a sheet: a layer over the whole window that takes the input until it is
// dismissed, the keyboard as well as the mouse. What it covers is disabled meanwhile, so no
// focus, shortcut or click reaches it, and the sheet keeps the window's size.
class SheetAnimator : public PresentationAnimator {
public:
    static SheetAnimator& shared();
    bool animatePresentation(UIViewController* presented, UIViewController* presenter) override;
    void animateDismissal(UIViewController* presented, UIViewController* presenter,
                          std::function<void()> done) override;
};

} // namespace quillet::app
