#include "StandardUpdater.h"

#include <QNetworkReply>
#include <QNetworkRequest>

#include "AppcastFeed.h"
#include "NetworkFailureText.h"
#include "UpdateWindow.h"
#include "log/Log.h"

namespace quillet::app {

namespace {
constexpr int feedTimeoutMs = 30000;
constexpr qint64 feedSizeLimit = 1 << 20;
} // namespace

StandardUpdater::StandardUpdater(QUrl feed, QString currentVersion, QObject* parent)
    : QObject(parent), feed_(std::move(feed)), currentVersion_(std::move(currentVersion)) {}

StandardUpdater::~StandardUpdater() {
    delete window_;
}

void StandardUpdater::checkForUpdates() {
    interactive_ = true;
    openWindow().showChecking();
    fetch();
}

void StandardUpdater::checkForUpdatesInBackground() {
    fetch();
}

void StandardUpdater::fetch() {
    if (running_) {
        return; // the running check answers this request too
    }
    QNetworkRequest request(feed_);
    request.setTransferTimeout(feedTimeoutMs);
    running_ = network_.get(request);
    connect(running_, &QNetworkReply::finished, this,
            [this, reply = running_.data()] { finish(reply); });
}

void StandardUpdater::finish(QNetworkReply* reply) {
    reply->deleteLater();
    running_ = nullptr;
    const bool interactive = std::exchange(interactive_, false);
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    QString failure;
    std::optional<AppcastItem> newest;
    if (reply->error() != QNetworkReply::NoError) {
        failure = networkFailureText(reply->error(), status);
    } else if (status != 200) {
        failure = QString("服务器返回 %1").arg(status);
    } else if (reply->bytesAvailable() > feedSizeLimit ||
               !(newest = AppcastFeed::newestItem(reply->readAll()))) {
        failure = "更新信息无法读取";
    }

    if (!failure.isEmpty()) {
        QLOG_AS("checkForUpdates()", "update check failed: " + failure.toStdString());
        if (interactive) {
            openWindow().showFailure(failure);
        }
    } else if (AppcastFeed::compareVersions(newest->version, currentVersion_) > 0) {
        openWindow().showNewVersion(*newest, currentVersion_);
    } else if (interactive) {
        openWindow().showUpToDate(currentVersion_);
    }
    emit checkFinished();
}

UpdateWindow& StandardUpdater::openWindow() {
    if (!window_) {
        window_ = new UpdateWindow;
        // Closing the window while it shows progress cancels the check.
        connect(window_, &QDialog::finished, this, [this] {
            if (running_ && interactive_) {
                interactive_ = false;
                running_->abort();
            }
        });
    }
    window_->show();
    window_->raise();
    return *window_;
}

} // namespace quillet::app
