#pragma once

#include <utility> // before awaitable.hpp, which GCC 12 needs it for

#include <atomic>
#include <cstddef>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include <boost/asio/any_io_executor.hpp>
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

// An HTTP/1.1 server on Boost.Beast: one thread takes connections in and deals them to a few I/O
// threads, which serve each as a coroutine and run its handlers where they are read; work that
// may wait runs on a few worker threads. stop() ends it all within the stop grace.
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
    void forget(HttpConnection* connection, const std::string& peer);
    boost::asio::awaitable<void> flushRefusals();
    void beginStop();

    const HttpLimits limits_;
    HttpHandler& handler_;
    const ServiceLog& log_;
    const TlsContext* tls_;
    // One for each I/O thread, each run by that thread alone.
    std::vector<std::unique_ptr<boost::asio::io_context>> contexts_;
    std::size_t nextContext_ = 0;
    // The acceptor, the timers and the tables below, on the thread that calls run(). It serves no
    // connection, so that a burst of new ones is taken in at once however long the I/O threads'
    // work takes. Destroyed before the I/O contexts: what is left in it may hold a connection.
    boost::asio::io_context own_{1};
    boost::asio::ip::tcp::acceptor acceptor_;
    boost::asio::thread_pool workers_;
    const HttpConnection::Services services_;
    boost::asio::steady_timer grace_;
    boost::asio::steady_timer refusalFlush_;
    std::atomic<bool> stopRequested_{false};
    std::atomic<bool> running_{false};
    bool stopping_ = false;
    bool flushing_ = false;
    std::unordered_map<HttpConnection*, std::weak_ptr<HttpConnection>> connections_;
    std::unordered_map<std::string, std::size_t> connectionsOf_;
    RefusalLog refusals_;
};

} // namespace quillet::service
