#include "LocalService.h"

#include <cstdlib>

#include <gtest/gtest.h>

#include "service/NormalModel.h"
#include "service/ParseProtocol.h"
#include "support/ErrorText.h"

namespace quillet::test {

LocalService::LocalService(const std::string& certificate, const std::string& key) {
    service::ServiceOptions options{database(), QUILLET_SITE_DIR, certificate, key, {}};
    // The tests here save far faster than a person would; the limit has tests of its own.
    options.savesPerMinute = 1'000'000'000;
    auto opened = service::ServiceServer::open(options);
    EXPECT_TRUE(opened) << errorText(opened);
    server_ = std::move(opened).value();
    const int port = server_->bind("127.0.0.1", 0);
    EXPECT_GT(port, 0);
    url_ =
        (certificate.empty() ? "http://127.0.0.1:" : "https://127.0.0.1:") + std::to_string(port);
    ::setenv("QUILLET_SERVICE_URL", url_.c_str(), 1);
    ::setenv("QUILLET_WEB_URL", url_.c_str(), 1);
    thread_ = std::thread([this] { server_->run(); });
    // Stopping before the server runs would leave it running forever.
    while (!server_->isRunning()) {
        std::this_thread::yield();
    }
}

LocalService::~LocalService() {
    server_->stop();
    thread_.join();
}

Result<std::string> LocalService::send(const RequestParams& params) {
    MainQueue::setMain(queue);
    const auto mainThread = std::this_thread::get_id();
    std::optional<Result<std::string>> result;
    WebRequest::start(params, [&](Result<std::string> answer) {
        EXPECT_EQ(std::this_thread::get_id(), mainThread);
        EXPECT_FALSE(result) << "the handler ran twice";
        result.emplace(std::move(answer));
    });
    EXPECT_TRUE(queue.runUntil([&] { return result.has_value(); }, std::chrono::seconds(20)));
    return result.value_or(Error{"no answer"});
}

NormalModel LocalService::answer(const RequestParams& params) {
    const auto result = send(params);
    EXPECT_TRUE(result) << errorText(result);
    const auto model = ParseProtocol<NormalModel>::parse(result.value_or(""));
    EXPECT_TRUE(model);
    return model.value_or(NormalModel{});
}

} // namespace quillet::test
