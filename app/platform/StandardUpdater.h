#pragma once

#include <QNetworkAccessManager>
#include <QPointer>
#include <QUrl>

#include "UpdateWindow.h"
#include "shell/AppDelegate.h"

class QNetworkReply;

namespace quillet::app {

// A QObject on QNetworkAccessManager; named after Sparkle's SPUStandardUpdaterController.
// Checks the service's update feed. The interactive check shows its window at once with
// progress and then the outcome; the background check shows it only for a newer version.
class StandardUpdater : public QObject, public UpdateChecking {
    Q_OBJECT
public:
    StandardUpdater(QUrl feed, QString currentVersion, QObject* parent = nullptr);
    ~StandardUpdater() override;

    void checkForUpdates() override;
    void checkForUpdatesInBackground() override;

    // The window of the last check that showed one.
    UpdateWindow* window() const { return window_; }

signals:
    void checkFinished();

private:
    void fetch();
    void finish(QNetworkReply* reply);
    UpdateWindow& openWindow();

    QUrl feed_;
    QString currentVersion_;
    QNetworkAccessManager network_;
    QPointer<QNetworkReply> running_;
    bool interactive_ = false; // whether the running check reports every outcome
    QPointer<UpdateWindow> window_;
};

} // namespace quillet::app
