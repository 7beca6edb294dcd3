#pragma once

#include <QDialog>

#include "AppcastFeed.h"

class QLabel;
class QProgressBar;
class QPushButton;

namespace quillet::app {

// The window of an update check: progress while checking, then the outcome.
class UpdateWindow : public QDialog {
    Q_OBJECT
public:
    explicit UpdateWindow(QWidget* parent = nullptr);

    void showChecking();
    void showUpToDate(const QString& currentVersion);
    void showNewVersion(const AppcastItem& item, const QString& currentVersion);
    void showFailure(const QString& reason);

    QLabel* headline() const { return headline_; }
    QLabel* detail() const { return detail_; }
    QProgressBar* progress() const { return progress_; }
    QPushButton* downloadButton() const { return download_; }
    QPushButton* closeButton() const { return close_; }

private:
    void showOutcome(const QString& headline, const QString& detail, bool offersDownload);

    QLabel* headline_;
    QLabel* detail_;
    QProgressBar* progress_;
    QPushButton* download_;
    QPushButton* close_;
    QString downloadPage_;
};

} // namespace quillet::app
