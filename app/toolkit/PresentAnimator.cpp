#include "PresentAnimator.h"

#include <QApplication>
#include <QGraphicsOpacityEffect>
#include <QMainWindow>
#include <QPropertyAnimation>
#include <QTimer>

#include "log/Log.h"

namespace quillet::app {

namespace {

QPointer<UIViewController>& host() {
    static QPointer<UIViewController> pageHost;
    return pageHost;
}

QGraphicsOpacityEffect* opacityOf(QWidget* view) {
    auto* effect = qobject_cast<QGraphicsOpacityEffect*>(view->graphicsEffect());
    if (effect == nullptr) {
        effect = new QGraphicsOpacityEffect(view);
        view->setGraphicsEffect(effect);
    }
    return effect;
}

QPropertyAnimation* animate(QObject* target, const QByteArray& property, const QVariant& to) {
    auto* animation = new QPropertyAnimation(target, property, target);
    animation->setDuration(PresentAnimator::durationMs);
    animation->setEndValue(to);
    animation->start(QAbstractAnimation::DeleteWhenStopped);
    return animation;
}

// The main window's content: the view a window dialog covers.
QWidget* windowContent() {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* window = qobject_cast<QMainWindow*>(widget); window && window->centralWidget()) {
            return window->centralWidget();
        }
    }
    return nullptr;
}

} // namespace

PresentAnimator& PresentAnimator::shared() {
    static PresentAnimator animator;
    return animator;
}

std::vector<QPointer<UIViewController>>& PresentAnimator::pageStack() {
    static std::vector<QPointer<UIViewController>> stack;
    // A page deleted with its window is no longer on screen.
    std::erase_if(stack, [](const QPointer<UIViewController>& page) { return page.isNull(); });
    return stack;
}

UIViewController* PresentAnimator::pageHost() {
    return host();
}

bool PresentAnimator::animatePresentation(UIViewController* presented,
                                          UIViewController* presenter) {
    QLOG_AS("animatePresentation(of:from:)", static_cast<long long>(pageStack().size()));
    if (!host() && presenter->isPageHost()) {
        host() = presenter;
    }
    if (!host()) {
        return false;
    }
    presented->setParent(host());
    presented->setGeometry(host()->pageArea());
    opacityOf(presented)->setOpacity(0);
    presented->show();
    QPointer<UIViewController> page(presented);
    QTimer::singleShot(0, presented, [page] {
        auto* fade = animate(opacityOf(page), "opacity", 1.0);
        // Once faded in, the page paints directly again: an effect left on it renders the whole
        // page off screen at every update, and its tables then stop repainting on screen.
        QObject::connect(fade, &QPropertyAnimation::finished, page,
                         [page] { page->setGraphicsEffect(nullptr); });
        auto& stack = pageStack();
        if (!stack.empty() && stack.back()) {
            stack.back()->hide();
        }
        stack.emplace_back(page);
    });
    return true;
}

void PresentAnimator::animateDismissal(UIViewController* presented, UIViewController*,
                                       std::function<void()> done) {
    QPointer<UIViewController> page(presented);
    auto* fade = animate(opacityOf(presented), "opacity", 0.0);
    QObject::connect(fade, &QPropertyAnimation::finished, presented, [page, done] {
        auto& stack = pageStack();
        if (!stack.empty() && stack.back() == page) {
            stack.pop_back();
            if (!stack.empty() && stack.back()) {
                stack.back()->show();
            }
        }
        page->hide();
        page->setParent(nullptr);
        done();
    });
}

PresentAnimatorForWindow& PresentAnimatorForWindow::shared() {
    static PresentAnimatorForWindow animator;
    return animator;
}

bool PresentAnimatorForWindow::animatePresentation(UIViewController* presented, UIViewController*) {
    QWidget* content = windowContent();
    if (content == nullptr || content->children().isEmpty()) {
        return false;
    }
    QWidget* onTop = nullptr;
    for (QObject* child : content->children()) {
        if (auto* widget = qobject_cast<QWidget*>(child); widget && widget->isVisible()) {
            onTop = widget;
        }
    }
    const QSize size = content->size();
    presented->setParent(content);
    presented->setGeometry(0, -size.height(), size.width(), size.height());
    presented->show();
    presented->raise();
    QPointer<UIViewController> dialog(presented);
    QPointer<QWidget> covered(onTop);
    QTimer::singleShot(0, presented, [dialog, covered, size] {
        animate(dialog, "geometry", QRect(QPoint(0, 0), size));
        if (covered) {
            covered->hide();
        }
    });
    return true;
}

void PresentAnimatorForWindow::animateDismissal(UIViewController* presented, UIViewController*,
                                                std::function<void()> done) {
    QWidget* content = windowContent();
    QWidget* main = nullptr;
    if (content != nullptr) {
        for (QObject* child : content->children()) {
            if (auto* widget = qobject_cast<QWidget*>(child); widget && widget != presented) {
                main = widget;
                break;
            }
        }
    }
    QRect out = presented->geometry();
    out.moveTop(out.top() + (main != nullptr ? main->height() : out.height()));
    auto* slide = animate(presented, "geometry", out);
    if (main != nullptr) {
        main->show();
    }
    QPointer<UIViewController> dialog(presented);
    QObject::connect(slide, &QPropertyAnimation::finished, presented, [dialog, done] {
        dialog->hide();
        dialog->setParent(nullptr);
        done();
    });
}

} // namespace quillet::app
