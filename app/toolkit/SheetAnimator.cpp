#include "SheetAnimator.h"

#include "SheetCover.h"

namespace quillet::app {

SheetAnimator& SheetAnimator::shared() {
    static SheetAnimator animator;
    return animator;
}

bool SheetAnimator::animatePresentation(UIViewController* presented, UIViewController* presenter) {
    QWidget* window = presenter->window();
    presented->setParent(window);
    presented->setEnabled(true);
    SheetCover::cover(presented);
    presented->raise();
    presented->show();
    presented->setFocus();
    return true;
}

void SheetAnimator::animateDismissal(UIViewController* presented, UIViewController*,
                                     std::function<void()> done) {
    SheetCover::uncover(presented);
    presented->hide();
    done();
}

} // namespace quillet::app
