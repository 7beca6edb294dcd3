#include "HttpServer.h"

#include <algorithm>
#include <thread>
#include <vector>

#include <boost/asio/co_spawn.hpp>
#include <boost/asio/detached.hpp>
#include <boost/asio/executor_work_guard.hpp>
#include <boost/asio/post.hpp>
#include <boost/asio/redirect_error.hpp>
#include <boost/asio/use_awaitable.hpp>

#include "HttpConnection.h"
#include "TlsContext.h"

namespace asio = boost::asio;
using asio::ip::tcp;

namespace quillet::service {

namespace {

using namespace std::chrono_literals;

// Refusals still to be counted in the log are written within the second.
constexpr std::chrono::milliseconds kRefusalFlush = 250ms;
// Out of descriptors or memory: the waiting clients stay queued in the backlog meanwhile.
constexpr std::chrono::milliseconds kAcceptPause = 20ms;
// A request answered on the thread that read it costs no hand-over between threads; work that
// may wait long (an owner's list, at the heavy answer gate) goes to this many workers instead.
constexpr int kWorkers = 8;

// Twice the cores, at least four: a save waits for the store's lock and the disk, and the
// connections dealt to its thread wait with it.
std::size_t ioThreads() {
    return std::clamp<std::size_t>(std::size_t{2} * std::thread::hardware_concurrency(), 4, 16);
}

std::vector<std::unique_ptr<asio::io_context>> makeContexts() {
    std::vector<std::unique_ptr<asio::io_context>> contexts;
    for (std::size_t i = 0; i < ioThreads(); ++i) {
        contexts.push_back(std::make_unique<asio::io_context>(1));
    }
    return contexts;
}

bool isShortOfResources(const boost::system::error_code& error) {
    return error == asio::error::no_descriptors || error == asio::error::no_buffer_space ||
           error == asio::error::no_memory;
}

} // namespace

HttpServer::HttpServer(const HttpLimits& limits, HttpHandler& handler, const ServiceLog& log,
                       const TlsContext* tls)
    : limits_(limits), handler_(handler), log_(log), tls_(tls), contexts_(makeContexts()),
      acceptor_(own_), workers_(kWorkers), services_{limits_, handler_, log_, workers_},
      grace_(own_), refusalFlush_(own_), refusals_(log) {}

HttpServer::~HttpServer() = default;

int HttpServer::bind(const std::string& host, int port) {
    boost::system::error_code error;
    acceptor_.close(error);
    tcp::resolver resolver(own_);
    const auto found = resolver.resolve(
        host, std::to_string(port), tcp::resolver::passive | tcp::resolver::numeric_service, error);
    if (error) {
        return -1;
    }
    for (const auto& entry : found) {
        acceptor_.open(entry.endpoint().protocol(), error);
        if (error) {
            continue;
        }
        acceptor_.set_option(tcp::acceptor::reuse_address(true), error);
        acceptor_.bind(entry.endpoint(), error);
        // The system's own maximum, so that a burst of new connections waits in the queue
        // instead of having its SYNs dropped.
        if (!error) {
            acceptor_.listen(asio::socket_base::max_listen_connections, error);
        }
        if (!error) {
            return acceptor_.local_endpoint().port();
        }
        acceptor_.close(error);
    }
    return -1;
}

bool HttpServer::run() {
    if (!acceptor_.is_open() || stopRequested_) {
        return false;
    }
    running_ = true;
    asio::co_spawn(own_, acceptConnections(), asio::detached);
    // The I/O threads wait for connections until this thread's work, which outlasts every
    // connection, is done.
    std::vector<asio::executor_work_guard<asio::io_context::executor_type>> waiting;
    std::vector<std::thread> others;
    for (const auto& context : contexts_) {
        waiting.push_back(asio::make_work_guard(*context));
        others.emplace_back([context = context.get()] { context->run(); });
    }
    own_.run();
    for (auto& guard : waiting) {
        guard.reset();
    }
    for (auto& thread : others) {
        thread.join();
    }
    workers_.join();
    refusals_.flush(RefusalLog::Clock::time_point::max()); // the last count, however recent
    running_ = false;
    return true;
}

void HttpServer::stop() {
    stopRequested_ = true;
    asio::post(own_, [this] { beginStop(); });
}

void HttpServer::beginStop() {
    if (stopping_) {
        return;
    }
    stopping_ = true;
    boost::system::error_code ignored;
    acceptor_.close(ignored);
    refusalFlush_.cancel();
    for (const auto& [pointer, weak] : connections_) {
        if (const auto connection = weak.lock()) {
            connection->stop();
        }
    }
    if (connections_.empty()) {
        return;
    }
    grace_.expires_after(limits_.stopGrace);
    grace_.async_wait([this](const boost::system::error_code& error) {
        if (error) {
            return; // every connection ended in time
        }
        for (const auto& [pointer, weak] : connections_) {
            if (const auto connection = weak.lock()) {
                connection->cut();
            }
        }
    });
}

asio::awaitable<void> HttpServer::acceptConnections() {
    for (;;) {
        boost::system::error_code error;
        // The connections are dealt to the I/O threads in turn.
        asio::io_context& context = *contexts_[nextContext_++ % contexts_.size()];
        tcp::socket socket = co_await acceptor_.async_accept(
            context, asio::redirect_error(asio::use_awaitable, error));
        if (stopping_) {
            co_return;
        }
        if (isShortOfResources(error)) {
            asio::steady_timer pause(own_, kAcceptPause);
            co_await pause.async_wait(asio::redirect_error(asio::use_awaitable, error));
            continue;
        }
        const auto remote = socket.remote_endpoint(error);
        if (error) {
            continue; // gone before it was served
        }
        // Without this, the second of two writes on a kept-alive connection waits for the
        // client's delayed acknowledgement.
        socket.set_option(tcp::no_delay(true), error);
        // Writes are tried at once and wait only for what the socket cannot take.
        socket.non_blocking(true, error);
        std::string peer = remote.address().to_string();
        if (const char* why = admit(peer)) {
            turnAway(socket, why);
            continue;
        }
        auto connection =
            tls_ != nullptr
                ? std::make_shared<HttpConnection>(
                      HttpConnection::Tls(std::move(socket), tls_->context()), peer, services_)
                : std::make_shared<HttpConnection>(HttpConnection::Plain(std::move(socket)), peer,
                                                   services_);
        connections_.emplace(connection.get(), connection);
        const auto executor = connection->executor();
        asio::co_spawn(executor, serve(std::move(connection), std::move(peer)), asio::detached);
    }
}

const char* HttpServer::admit(const std::string& peer) {
    if (connections_.size() >= limits_.maximumConnections) {
        return "too many connections";
    }
    std::size_t& fromPeer = connectionsOf_[peer];
    if (fromPeer >= limits_.maximumConnectionsPerClient) {
        return "too many connections from one client";
    }
    ++fromPeer;
    return nullptr;
}

void HttpServer::turnAway(tcp::socket& socket, const char* why) {
    // Said plainly and at once rather than left to time out; the client may try again.
    const std::string busy = handler_.refuse(503, {}).serialize(false, false);
    boost::system::error_code ignored;
    socket.non_blocking(true, ignored);
    socket.send(asio::buffer(busy), 0, ignored);
    socket.close(ignored);
    refusals_.refused(why);
    if (!flushing_) {
        flushing_ = true;
        asio::co_spawn(own_, flushRefusals(), asio::detached);
    }
}

asio::awaitable<void> HttpServer::flushRefusals() {
    while (refusals_.pending() && !stopping_) {
        refusalFlush_.expires_after(kRefusalFlush);
        boost::system::error_code cancelled;
        co_await refusalFlush_.async_wait(asio::redirect_error(asio::use_awaitable, cancelled));
        refusals_.flush();
    }
    flushing_ = false;
}

asio::awaitable<void> HttpServer::serve(std::shared_ptr<HttpConnection> connection,
                                        std::string peer) {
    co_await connection->serve();
    // The connection lives until it is out of the table, so that its address cannot come back
    // as a new connection's first.
    asio::post(own_, [this, connection = std::move(connection), peer = std::move(peer)] {
        forget(connection.get(), peer);
    });
}

void HttpServer::forget(HttpConnection* connection, const std::string& peer) {
    connections_.erase(connection);
    if (const auto it = connectionsOf_.find(peer);
        it != connectionsOf_.end() && --it->second == 0) {
        connectionsOf_.erase(it); // the table holds only clients that are connected
    }
    if (stopping_ && connections_.empty()) {
        grace_.cancel();
    }
}

} // namespace quillet::service
