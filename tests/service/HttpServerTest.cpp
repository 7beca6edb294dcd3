// The HTTP server on its own, with a handler the test controls.
#include <gtest/gtest.h>

#include <unistd.h>

#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

#include "RawClient.h"
#include "ServiceLog.h"
#include "http/HttpServer.h"

using namespace quillet::service;
using namespace std::chrono_literals;

namespace {

// Answers only once the test lets it: every request it is given holds its thread until then.
class HeldHandler : public HttpHandler {
public:
    HttpAnswer respond(const HttpRequest& /*request*/) override {
        std::unique_lock lock(mutex_);
        ++held_;
        changed_.notify_all();
        changed_.wait(lock, [&] { return released_; });
        return HttpResponse::plain(200);
    }
    HttpResponse refuse(int status, const HttpRequest& /*request*/) override {
        return HttpResponse::plain(status);
    }
    bool waitUntilHolding(int requests) {
        std::unique_lock lock(mutex_);
        return changed_.wait_for(lock, 10s, [&] { return held_ >= requests; });
    }
    void release() {
        std::lock_guard lock(mutex_);
        released_ = true;
        changed_.notify_all();
    }

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    int held_ = 0;
    bool released_ = false;
};

} // namespace

// New connections are taken in, and those over the limit turned away, even while every thread
// that serves connections is busy with a long request.
TEST(HttpServer, ConnectionsAreTakenInWhileEveryServingThreadIsBusy) {
    HttpLimits limits;
    limits.maximumConnections = 16; // no more than there can be I/O threads
    HeldHandler handler;
    ServiceLog log;
    HttpServer server(limits, handler, log, nullptr);
    const int port = server.bind("127.0.0.1", 0);
    ASSERT_GT(port, 0);
    std::thread serving([&] { server.run(); });

    std::vector<int> held;
    for (std::size_t i = 0; i < limits.maximumConnections; ++i) {
        held.push_back(quillet::test::connectTo(port));
        quillet::test::sendAll(held.back(), "GET / HTTP/1.1\r\nHost: test\r\n\r\n");
    }
    // Sixteen connections dealt in turn reach every I/O thread, and there are at least four.
    EXPECT_TRUE(handler.waitUntilHolding(4));
    const std::string turnedAway =
        quillet::test::exchangeRaw(port, "GET / HTTP/1.1\r\nHost: test\r\n\r\n");
    EXPECT_TRUE(turnedAway.starts_with("HTTP/1.1 503")) << turnedAway;

    handler.release();
    for (const int fd : held) {
        ::close(fd);
    }
    server.stop();
    serving.join();
}
