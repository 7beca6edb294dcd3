#include "TitleView.h"

#include <QLabel>

#include "toolkit/NSTheme.h"
#include "toolkit/Palette.h"

namespace quillet::app {

TitleView::TitleView(QWidget* parent) : QWidget(parent) {
    setObjectName("titleView");
    setAttribute(Qt::WA_StyledBackground);
    theme();
    connect(&NSTheme::shared(), &NSTheme::themeChanged, this, &TitleView::theme);
}

QLabel* TitleView::title() {
    if (title_ == nullptr) {
        title_ = new QLabel(this);
        title_->setGeometry(0, 0, 490, 60);
        title_->setAlignment(Qt::AlignCenter);
        title_->setStyleSheet("color: white; font-size: 20px;");
    }
    return title_;
}

void TitleView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    // Centred over the bar, whatever its width.
    title()->setGeometry((width() - 490) / 2, 0, 490, height());
}

void TitleView::theme() {
    const bool dark = NSTheme::shared().style() == NSTheme::Style::dark;
    setStyleSheet(dark ? "#titleView { background: transparent; }"
                       : QString("#titleView { background: %1; }").arg(Palette::theme().name()));
}

} // namespace quillet::app
