#include "DKAsyncImageView.h"

#include <QNetworkReply>
#include <cstdio>
#include <iostream>

#include "MaterialProgress.h"

namespace quillet::app {

namespace {

void print(const std::string& line) {
    std::fputs((line + "\n").c_str(), stdout);
    std::fflush(stdout);
}

void systemLog(const std::string& line) {
    std::cerr << line << std::endl;
}

bool isValidAddress(const QUrl& url) {
    return url.isValid() && !url.scheme().isEmpty() && !url.host().isEmpty();
}

} // namespace

DKAsyncImageView::DKAsyncImageView(QWidget* parent) : QLabel(parent) {
    setAlignment(Qt::AlignCenter);
}

void DKAsyncImageView::downloadImageFromURL(const QString& address, const QImage& errorImage,
                                            bool usesSpinningWheel, int attemptLimit,
                                            Completion completion) {
    if (imageURLDownloadTask_) {
        imageURLDownloadTask_->disconnect(this);
        imageURLDownloadTask_->abort();
    }
    didFailLoadingImage_ = false;
    userDidCancel_ = false;
    clear();
    errorImage_ = errorImage;
    completionHandler_ = std::move(completion);
    downloadTaskAttemptLimit_ = attemptLimit;
    downloadTaskAttempts_ = 0;
    isLoadingImage_ = true;

    address_ = QUrl(address, QUrl::StrictMode);
    if (!isValidAddress(address_)) {
        systemLog("Error: malformed URL passed to downloadImageFromURL");
        // The caller still hears of it, and the view does not claim to be loading for ever.
        giveUp("malformed URL");
        return;
    }
    startTask();
    if (usesSpinningWheel) {
        showSpinningWheel();
    }
}

void DKAsyncImageView::cancel() {
    userDidCancel_ = true;
    isLoadingImage_ = false;
    didFailLoadingImage_ = false;
    if (imageURLDownloadTask_) {
        imageURLDownloadTask_->disconnect(this);
        imageURLDownloadTask_->abort();
    }
    removeSpinningWheel();
    clear();
}

void DKAsyncImageView::startTask() {
    imageURLDownloadTask_ = network_.get(QNetworkRequest(address_));
    connect(imageURLDownloadTask_, &QNetworkReply::finished, this,
            [this, reply = imageURLDownloadTask_.data()] { attemptFinished(reply); });
}

void DKAsyncImageView::attemptFinished(QNetworkReply* reply) {
    reply->deleteLater();
    if (reply->error() == QNetworkReply::OperationCanceledError) {
        return; // the user cancelled
    }
    if (reply->error() != QNetworkReply::NoError) {
        attemptFailed(reply->errorString());
        return;
    }
    const QByteArray data = reply->readAll();
    if (data.isEmpty()) {
        print("Image data not downloaded correctly.");
        attemptFailed("no image data");
        return;
    }
    const QImage image = QImage::fromData(data);
    if (image.isNull()) {
        print("Error forming image from data.");
        attemptFailed("not an image");
        return;
    }
    print("Image download task successful with URL.");
    setPixmap(QPixmap::fromImage(image));
    isLoadingImage_ = false;
    removeSpinningWheel();
    if (completionHandler_) {
        completionHandler_(data, std::nullopt);
    }
}

void DKAsyncImageView::attemptFailed(const QString& reason) {
    if (downloadTaskAttempts_ >= downloadTaskAttemptLimit_) {
        print("Image download task exceeded retry attempts.");
        giveUp(reason);
        return;
    }
    ++downloadTaskAttempts_;
    print("Image download task retrying attempt " + std::to_string(downloadTaskAttempts_) + " / " +
          std::to_string(downloadTaskAttemptLimit_));
    startTask(); // the address was checked when the download began
}

void DKAsyncImageView::giveUp(const QString& reason) {
    isLoadingImage_ = false;
    didFailLoadingImage_ = true;
    if (!errorImage_.isNull()) {
        setPixmap(QPixmap::fromImage(errorImage_));
    }
    removeSpinningWheel();
    if (completionHandler_) {
        completionHandler_(std::nullopt, reason);
    }
}

void DKAsyncImageView::showSpinningWheel() {
    removeSpinningWheel();
    int side = 0;
    if (width() >= 64 && height() >= 64) {
        side = 32;
    } else if (width() >= 16 && height() >= 16) {
        side = 16;
    } else {
        return; // too small for a wheel
    }
    spinningWheel_ = new MaterialProgress(this);
    spinningWheel_->background = Qt::transparent;
    spinningWheel_->foreground = palette().color(QPalette::WindowText);
    spinningWheel_->setGeometry((width() - side) / 2, (height() - side) / 2, side, side);
    spinningWheel_->raise();
    spinningWheel_->setAnimate(true);
}

void DKAsyncImageView::removeSpinningWheel() {
    delete spinningWheel_;
}

void DKAsyncImageView::enterEvent(QEnterEvent* event) {
    QLabel::enterEvent(event);
    if (isLoadingImage_) {
        setToolTip(toolTipWhileLoading);
    } else if (didFailLoadingImage_) {
        setToolTip(toolTipWhenFinishedWithError);
    } else {
        setToolTip(toolTipWhenFinished);
    }
}

} // namespace quillet::app
