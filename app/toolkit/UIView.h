#pragma once

#include <QWidget>

#include "Styled.h"

namespace quillet::app {

class ProgressView;

// A QWidget with the app's styles; named after UIKit's UIView, like the rest of the toolkit.
// A plain view styled through records, with click blocks and the loading overlay.
class UIView : public Styled<QWidget> {
    Q_OBJECT
public:
    explicit UIView(QWidget* parent = nullptr);

    // Covers the view with the spinner overlay, which keeps clicks from what lies below.
    void startLoading();
    void stopLoading();
    ProgressView* loadingProgress() const;
};

} // namespace quillet::app
