#pragma once

#include <QColor>
#include <QElapsedTimer>
#include <QTimer>
#include <QWidget>

namespace quillet::app {

// A QWidget that paints itself; named after the Material Design spinner, not a UIKit class.
// The material spinner: an arc that grows and shrinks while the whole circle turns. Each sweep
// lasts 1.5 s and the next one starts where the last ended, so the motion looks continuous.
class MaterialProgress : public QWidget {
    Q_OBJECT
public:
    static constexpr double sweepSeconds = 1.5;
    static constexpr double turnSecondsPerRadian = 0.75;

    struct Stroke {
        double start; // fractions of the circle
        double end;
    };

    explicit MaterialProgress(QWidget* parent = nullptr);

    QColor background = QColor(88, 104, 118);
    QColor foreground = QColor(66, 173, 106);
    int cornerRadius = 0;
    double lineWidth = -1; // -1: a tenth of the radius
    bool displayAfterAnimationEnds = false;

    bool animate() const { return animating_; }
    // True shows the spinner and starts it (again from the beginning); false stops it and hides
    // it unless it is to stay on display.
    void setAnimate(bool animate);

    double radius() const { return width() * 0.5 * 0.75; }
    double effectiveLineWidth() const { return lineWidth == -1 ? radius() / 10 : lineWidth; }
    double currentRotation() const { return currentRotation_; }

    // Where the arc starts and ends `seconds` into a sweep.
    static Stroke strokeAt(double seconds);
    // Ends a sweep: the next one starts where the arc ended.
    void finishSweep();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void tick();

    bool animating_ = false;
    double currentRotation_ = 0;
    QElapsedTimer running_; // since the spinner started
    QElapsedTimer sweep_;   // since the current sweep started
    QTimer frames_;
};

} // namespace quillet::app
