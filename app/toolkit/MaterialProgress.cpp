#include "MaterialProgress.h"

#include <QEasingCurve>
#include <QPainter>
#include <QPainterPath>
#include <cmath>
#include <numbers>

namespace quillet::app {

namespace {

constexpr double twoPi = 2 * std::numbers::pi;
constexpr double strokeFraction = 0.8;
constexpr int frameMs = 16;

// One stroke edge: runs from 0 to 0.8 over `length` seconds from `begin`, eased in and out;
// outside that stretch it is at its resting value.
double edge(double seconds, double begin, double length, double resting) {
    if (seconds < begin || seconds >= begin + length) {
        return resting;
    }
    static const QEasingCurve easing(QEasingCurve::InOutQuad);
    return strokeFraction * easing.valueForProgress((seconds - begin) / length);
}

} // namespace

MaterialProgress::MaterialProgress(QWidget* parent) : QWidget(parent) {
    frames_.setInterval(frameMs);
    connect(&frames_, &QTimer::timeout, this, &MaterialProgress::tick);
}

void MaterialProgress::setAnimate(bool animate) {
    animating_ = animate;
    if (animate) {
        show();
        running_.start();
        sweep_.start();
        frames_.start();
    } else {
        frames_.stop();
        setVisible(displayAfterAnimationEnds);
    }
    update();
}

MaterialProgress::Stroke MaterialProgress::strokeAt(double seconds) {
    // The end runs in the first half of the sweep, the start in the second; both at double speed.
    const double half = sweepSeconds / 2;
    return {edge(seconds, half, half, 0.0), edge(seconds, 0.0, half, strokeFraction)};
}

void MaterialProgress::finishSweep() {
    currentRotation_ = std::fmod(currentRotation_ + strokeFraction * twoPi, twoPi);
    sweep_.start();
}

void MaterialProgress::tick() {
    if (sweep_.elapsed() >= sweepSeconds * 1000) {
        finishSweep();
    }
    update();
}

void MaterialProgress::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(background);
    painter.drawRoundedRect(rect(), cornerRadius, cornerRadius);

    const Stroke stroke = animating_ ? strokeAt(sweep_.elapsed() / 1000.0) : Stroke{0, 0.8};
    if (stroke.end <= stroke.start) {
        return;
    }
    const double turn = animating_ ? running_.elapsed() / 1000.0 / turnSecondsPerRadian : 0;
    painter.translate(width() / 2.0, height() / 2.0);
    painter.rotate((turn + currentRotation_) * 180 / std::numbers::pi);
    QPen pen(foreground, effectiveLineWidth());
    pen.setCapStyle(Qt::RoundCap);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    const double r = radius();
    // Qt counts angles anticlockwise in sixteenths of a degree.
    const int from = static_cast<int>(-stroke.start * 360 * 16);
    const int span = static_cast<int>(-(stroke.end - stroke.start) * 360 * 16);
    painter.drawArc(QRectF(-r, -r, 2 * r, 2 * r), from, span);
}

} // namespace quillet::app
