#pragma once

#include <utility> // before awaitable.hpp, which GCC 12 needs it for

#include <atomic>
#include <cstddef>
#include <memory>
#include <string>
#include <unordered_map>
#include <unordered_set>

#include <boost/asio/awaitable.hpp>
#include <boost/asio/io_context.hpp>
#include <boost/asio/ip/tcp.hpp>
#include <boost/asio/steady_timer.hpp>
#include <boost/asio/thread_pool.hpp>

#include "HttpConnection.h"
#include "HttpHandler.h"
#include "HttpLimits.h"
#include "RefusalLog.h"

namespace quillet::service {

class ServiceLog;
class TlsContext;

// An HTTP/1.1 server on Boost.Beast: one I/O thread serves every connection, each a
// coroutine, and the handlers run on a few worker threads. stop() ends it all within the stop
// grace.
class HttpServer {
public:
    // `tls` may be null for plain HTTP; everything given must outlive the server.
    HttpServer(const HttpLimits& limits, HttpHandler& handler, const ServiceLog& log,
               const TlsContext* tls);
    ~HttpServer();
    HttpServer(const HttpServer&) = delete;
    HttpServer& operator=(const HttpServer&) = delete;

    // Listens on `port` of `host` (0: any free port); returns the port, or -1.
    int bind(const std::string& host, int port);
    // Serves until stop(), then waits for the connections to end; false when not bound.
    bool run();
    // Safe from any thread, before or during run().
    void stop();
    bool isRunning() const { return running_.load(); }

private:
    boost::asio::awaitable<void> acceptConnections();
    // Counts the connection in, or says which limit keeps it out.
    const char* admit(const std::string& peer);
    void turnAway(boost::asio::ip::tcp::socket& socket, const char* why);
    boost::asio::awaitable<void> serve(std::shared_ptr<HttpConnection> connection,
                                       std::string peer);
    boost::asio::awaitable<void> flushRefusals();
    void beginStop();

    const HttpLimits limits_;
    HttpHandler& handler_;
    const ServiceLog& log_;
    const TlsContext* tls_;
    boost::asio::io_context io_{1};
    boost::asio::ip::tcp::acceptor acceptor_{io_};
    // Handlers wait on SQLite and on the heavy answer gate: a few threads, so that one slow
    // answer does not hold up the rest.
    boost::asio::thread_pool workers_{8};
    const HttpConnection::Services services_;
    boost::asio::steady_timer grace_{io_};
    boost::asio::steady_timer refusalFlush_{io_};
    std::atomic<bool> stopRequested_{false};
    std::atomic<bool> running_{false};
    bool stopping_ = false;
    bool flushing_ = false;
    // Touched on the I/O thread only.
    std::unordered_set<HttpConnection*> connections_;
    std::unordered_map<std::string, std::size_t> connectionsOf_;
    RefusalLog refusals_;
};

} // namespace quillet::service
