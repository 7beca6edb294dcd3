#pragma once

#include <QWidget>

namespace quillet::app {

class MaterialProgress;

// A QWidget overlay; named like a UIKit view, like the rest of the toolkit.
// The loading overlay: covers its host, keeps clicks from the controls below and shows a
// 100-point spinner in its middle. It draws no background of its own.
class ProgressView : public QWidget {
    Q_OBJECT
public:
    static constexpr int spinnerSize = 100;

    explicit ProgressView(QWidget* host);

    MaterialProgress* progress() const { return progress_; }

    // Covers the host and starts the spinner.
    void cover();
    // Stops the spinner and takes the overlay away.
    void stop();

    // The one overlay of a host: nothing until the first coverOn, then kept for reuse.
    static ProgressView* of(const QWidget* host);
    static void coverOn(QWidget* host);
    static void stopOn(const QWidget* host);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    MaterialProgress* progress_;
};

} // namespace quillet::app
