// The async image view against a real HTTP server on loopback: success, retries, giving up,
// cancelling, malformed addresses and the wheel sizes.
#include <gtest/gtest.h>

#include <QBuffer>
#include <QTest>
#include <atomic>
#include <httplib.h>
#include <thread>

#include "ClosedPort.h"
#include "toolkit/DKAsyncImageView.h"
#include "toolkit/MaterialProgress.h"

using namespace quillet::app;

namespace {

QByteArray pngBytes(QColor colour) {
    QImage image(8, 6, QImage::Format_RGB32);
    image.fill(colour);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

class ImageServer : public ::testing::Test {
protected:
    ImageServer() {
        server_.Get("/image.png", [this](const httplib::Request&, httplib::Response& response) {
            ++hits;
            response.set_content(png_.toStdString(), "image/png");
        });
        server_.Get("/broken", [this](const httplib::Request&, httplib::Response& response) {
            ++hits;
            response.set_content("not an image", "text/plain");
        });
        server_.Get("/slow", [](const httplib::Request&, httplib::Response& response) {
            std::this_thread::sleep_for(std::chrono::milliseconds(600));
            response.set_content("late", "text/plain");
        });
        port_ = server_.bind_to_any_port("127.0.0.1");
        thread_ = std::thread([this] { server_.listen_after_bind(); });
        while (!server_.is_running()) {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    }
    ~ImageServer() override {
        server_.stop();
        thread_.join();
    }

    QString url(const char* path) const {
        return QString("http://127.0.0.1:%1%2").arg(port_).arg(path);
    }

    struct Outcome {
        int calls = 0;
        std::optional<QByteArray> data;
        std::optional<QString> error;
    };
    static DKAsyncImageView::Completion recordInto(Outcome& outcome) {
        return
            [&outcome](const std::optional<QByteArray>& data, const std::optional<QString>& error) {
                ++outcome.calls;
                outcome.data = data;
                outcome.error = error;
            };
    }

    std::atomic<int> hits{0};
    const QByteArray png_ = pngBytes(Qt::red);
    const QImage errorImage_ = QImage::fromData(pngBytes(Qt::blue));

private:
    httplib::Server server_;
    int port_ = 0;
    std::thread thread_;
};

TEST_F(ImageServer, ADownloadedImageIsShownAndHandedToTheCompletion) {
    DKAsyncImageView view;
    view.resize(100, 100);
    Outcome outcome;
    view.downloadImageFromURL(url("/image.png"), errorImage_, true, 3, recordInto(outcome));
    EXPECT_TRUE(view.isLoadingImage());
    ASSERT_NE(view.spinningWheel(), nullptr);
    EXPECT_EQ(view.spinningWheel()->geometry(), QRect(34, 34, 32, 32));

    ASSERT_TRUE(QTest::qWaitFor([&] { return outcome.calls == 1; }));
    EXPECT_EQ(outcome.data, png_);
    EXPECT_FALSE(outcome.error.has_value());
    EXPECT_FALSE(view.isLoadingImage());
    EXPECT_FALSE(view.didFailLoadingImage());
    EXPECT_EQ(view.spinningWheel(), nullptr);
    EXPECT_EQ(view.image().pixelColor(0, 0), QColor(Qt::red));
    EXPECT_EQ(hits.load(), 1);
}

TEST_F(ImageServer, FailedAttemptsAreRetriedUpToTheLimitThenTheErrorImageIsShown) {
    DKAsyncImageView view;
    view.resize(40, 40);
    Outcome outcome;
    ::testing::internal::CaptureStdout();
    view.downloadImageFromURL(closedLoopbackAddress("/image.png"), errorImage_, true, 2,
                              recordInto(outcome));
    ASSERT_NE(view.spinningWheel(), nullptr);
    EXPECT_EQ(view.spinningWheel()->size(), QSize(16, 16));
    ASSERT_TRUE(QTest::qWaitFor([&] { return outcome.calls == 1; }));
    QTest::qWait(50);
    EXPECT_EQ(::testing::internal::GetCapturedStdout(),
              "Image download task retrying attempt 1 / 2\n"
              "Image download task retrying attempt 2 / 2\n"
              "Image download task exceeded retry attempts.\n");
    EXPECT_EQ(outcome.calls, 1);
    EXPECT_TRUE(outcome.error.has_value());
    EXPECT_TRUE(view.didFailLoadingImage());
    EXPECT_FALSE(view.isLoadingImage());
    EXPECT_EQ(view.image().pixelColor(0, 0), QColor(Qt::blue));
    EXPECT_EQ(view.spinningWheel(), nullptr);
}

TEST_F(ImageServer, DataThatIsNoImageFailsAndALimitOfZeroGivesUpAtOnce) {
    DKAsyncImageView view;
    view.resize(10, 10);
    Outcome outcome;
    ::testing::internal::CaptureStdout();
    view.downloadImageFromURL(url("/broken"), errorImage_, true, 0, recordInto(outcome));
    EXPECT_EQ(view.spinningWheel(), nullptr); // too small for a wheel
    ASSERT_TRUE(QTest::qWaitFor([&] { return outcome.calls == 1; }));
    EXPECT_EQ(::testing::internal::GetCapturedStdout(),
              "Error forming image from data.\nImage download task exceeded retry attempts.\n");
    EXPECT_EQ(hits.load(), 1);
    EXPECT_TRUE(view.didFailLoadingImage());
}

TEST_F(ImageServer, ACancelledDownloadNeverReportsAnErrorNorShowsTheErrorImage) {
    DKAsyncImageView view;
    view.resize(100, 100);
    Outcome outcome;
    view.downloadImageFromURL(url("/slow"), errorImage_, true, 3, recordInto(outcome));
    view.cancel();
    QTest::qWait(900);
    EXPECT_EQ(outcome.calls, 0);
    EXPECT_TRUE(view.userDidCancel());
    EXPECT_FALSE(view.isLoadingImage());
    EXPECT_FALSE(view.didFailLoadingImage());
    EXPECT_TRUE(view.image().isNull());
    EXPECT_EQ(view.spinningWheel(), nullptr);
}

TEST_F(ImageServer, AMalformedAddressIsLoggedAndReportedWithoutARequest) {
    DKAsyncImageView view;
    Outcome outcome;
    ::testing::internal::CaptureStderr();
    view.downloadImageFromURL("not an address", errorImage_, true, 3, recordInto(outcome));
    EXPECT_EQ(::testing::internal::GetCapturedStderr(),
              "Error: malformed URL passed to downloadImageFromURL\n");
    EXPECT_EQ(outcome.calls, 1);
    EXPECT_TRUE(outcome.error.has_value());
    EXPECT_FALSE(view.isLoadingImage());
    EXPECT_EQ(hits.load(), 0);
}

} // namespace
