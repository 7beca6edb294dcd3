#pragma once

#include <QImage>
#include <QLabel>
#include <QNetworkAccessManager>
#include <QPointer>
#include <functional>
#include <optional>

class QNetworkReply;

namespace quillet::app {

class MaterialProgress;

// A QLabel that loads its own image; named after the Cocoa control DKAsyncImageView.
// An image view that downloads its image, shows a spinning wheel meanwhile, retries a failed
// download a limited number of times and shows an error image when it gives up.
class DKAsyncImageView : public QLabel {
    Q_OBJECT
public:
    // Called once per download: the data on success, else the reason.
    using Completion = std::function<void(const std::optional<QByteArray>& data,
                                          const std::optional<QString>& error)>;

    static constexpr int defaultAttemptLimit = 3;

    explicit DKAsyncImageView(QWidget* parent = nullptr);

    void downloadImageFromURL(const QString& address, const QImage& errorImage = QImage(),
                              bool usesSpinningWheel = true, int attemptLimit = defaultAttemptLimit,
                              Completion completion = {});
    void cancel();

    bool isLoadingImage() const { return isLoadingImage_; }
    bool userDidCancel() const { return userDidCancel_; }
    bool didFailLoadingImage() const { return didFailLoadingImage_; }
    int downloadTaskAttempts() const { return downloadTaskAttempts_; }
    MaterialProgress* spinningWheel() const { return spinningWheel_; }
    QImage image() const { return pixmap().toImage(); }

    QString toolTipWhileLoading = "正在加载图片…";
    QString toolTipWhenFinished;
    QString toolTipWhenFinishedWithError = "图片加载失败";

protected:
    void enterEvent(QEnterEvent* event) override;

private:
    void startTask();
    void attemptFinished(QNetworkReply* reply);
    void attemptFailed(const QString& reason);
    void giveUp(const QString& reason);
    void showSpinningWheel();
    void removeSpinningWheel();

    QNetworkAccessManager network_;
    QPointer<QNetworkReply> imageURLDownloadTask_;
    QUrl address_;
    QImage errorImage_;
    QPointer<MaterialProgress> spinningWheel_;
    Completion completionHandler_;
    int downloadTaskAttemptLimit_ = defaultAttemptLimit;
    int downloadTaskAttempts_ = 0;
    bool isLoadingImage_ = false;
    bool userDidCancel_ = false;
    bool didFailLoadingImage_ = false;
};

} // namespace quillet::app
