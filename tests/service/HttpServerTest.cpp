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

// Refuses with the plain answer of each status; what it answers is up to each test's handler.
class TestHandler : public HttpHandler {
public:
    HttpResponse refuse(int status, const HttpRequest& /*request*/) override {
        return HttpResponse::plain(status);
    }
};

// Answers only once the test lets it: every request it is given holds its thread until then.
class HeldHandler : public TestHandler {
public:
    HttpAnswer respond(const HttpRequest& /*request*/) override {
        std::unique_lock lock(mutex_);
        ++held_;
        changed_.notify_all();
        changed_.wait(lock, [&] { return released_; });
        return HttpResponse::plain(200);
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

// Says back what it was asked: method, path and body.
class EchoHandler : public TestHandler {
public:
    HttpAnswer respond(const HttpRequest& request) override {
        HttpResponse response;
        response.body = "[" + request.method + " " + request.path + " " + request.body + "]";
        return response;
    }
};

// A server on a free loopback port, served on a thread of its own while it lives.
class RunningServer {
public:
    RunningServer(const HttpLimits& limits, HttpHandler& handler)
        : server_(limits, handler, log(), nullptr), port_(server_.bind("127.0.0.1", 0)),
          serving_([this] { server_.run(); }) {}
    ~RunningServer() {
        server_.stop();
        serving_.join();
    }
    RunningServer(const RunningServer&) = delete;
    RunningServer& operator=(const RunningServer&) = delete;
    int port() const { return port_; }

private:
    static const ServiceLog& log() {
        static const ServiceLog standardError;
        return standardError;
    }

    HttpServer server_;
    int port_;
    std::thread serving_;
};

// The bodies of the answers in `received`, in order, each as the echo handler wrote it.
std::string echoes(const std::string& received) {
    std::string bodies;
    for (auto open = received.find('['); open != std::string::npos;
         open = received.find('[', open + 1)) {
        bodies += received.substr(open, received.find(']', open) - open + 1);
    }
    return bodies;
}

} // namespace

// Requests sent back to back are answered in order, however the bytes are cut into pieces: a
// head or a body split anywhere, or several requests in one piece.
TEST(HttpServer, RequestsAreReadWholeHoweverTheirBytesArrive) {
    EchoHandler handler;
    RunningServer server(HttpLimits{}, handler);
    ASSERT_GT(server.port(), 0);
    const std::string requests = "GET /first HTTP/1.1\r\nHost: test\r\n\r\n"
                                 "POST /second HTTP/1.1\r\nHost: test\r\nContent-Length: 5"
                                 "\r\n\r\nhello"
                                 "GET /third HTTP/1.1\r\nHost: test\r\nConnection: close\r\n\r\n";
    const std::string expected = "[GET /first ][POST /second hello][GET /third ]";
    for (std::size_t cut = 0; cut < requests.size(); ++cut) {
        const int fd = quillet::test::connectTo(server.port());
        quillet::test::sendAll(fd, requests.substr(0, cut));
        // Long enough that the server reads the first piece on its own.
        std::this_thread::sleep_for(2ms);
        quillet::test::sendAll(fd, requests.substr(cut));
        const std::string received = quillet::test::readUntilClosed(fd);
        ::close(fd);
        EXPECT_EQ(echoes(received), expected) << "cut at " << cut << ": " << received;
    }
}

// New connections are taken in, and those over the limit turned away, even while every thread
// that serves connections is busy with a long request.
TEST(HttpServer, ConnectionsAreTakenInWhileEveryServingThreadIsBusy) {
    HttpLimits limits;
    limits.maximumConnections = 16; // the most I/O threads there can be
    HeldHandler handler;
    RunningServer server(limits, handler);
    const int port = server.port();
    ASSERT_GT(port, 0);

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
}
