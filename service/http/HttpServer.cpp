#include "HttpServer.h"

#include <boost/asio/co_spawn.hpp>
#include <boost/asio/detached.hpp>
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

bool isShortOfResources(const boost::system::error_code& error) {
    return error == asio::error::no_descriptors || error == asio::error::no_buffer_space ||
           error == asio::error::no_memory;
}

} // namespace

HttpServer::HttpServer(const HttpLimits& limits, HttpHandler& handler, const ServiceLog& log,
                       const TlsContext* tls)
    : limits_(limits), handler_(handler), log_(log),
      tls_(tls), services_{limits_, handler_, log_, workers_}, refusals_(log) {}

HttpServer::~HttpServer() = default;

int HttpServer::bind(const std::string& host, int port) {
    boost::system::error_code error;
    acceptor_.close(error);
    tcp::resolver resolver(io_);
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
    asio::co_spawn(io_, acceptConnections(), asio::detached);
    io_.run();
    refusals_.flush(RefusalLog::Clock::time_point::max()); // the last count, however recent
    running_ = false;
    return true;
}

void HttpServer::stop() {
    stopRequested_ = true;
    asio::post(io_, [this] { beginStop(); });
}

void HttpServer::beginStop() {
    if (stopping_) {
        return;
    }
    stopping_ = true;
    boost::system::error_code ignored;
    acceptor_.close(ignored);
    refusalFlush_.cancel();
    for (HttpConnection* connection : connections_) {
        connection->stop();
    }
    if (connections_.empty()) {
        return;
    }
    grace_.expires_after(limits_.stopGrace);
    grace_.async_wait([this](const boost::system::error_code& error) {
        if (error) {
            return; // every connection ended in time
        }
        for (HttpConnection* connection : connections_) {
            connection->cut();
        }
    });
}

asio::awaitable<void> HttpServer::acceptConnections() {
    for (;;) {
        boost::system::error_code error;
        tcp::socket socket =
            co_await acceptor_.async_accept(asio::redirect_error(asio::use_awaitable, error));
        if (stopping_) {
            co_return;
        }
        if (isShortOfResources(error)) {
            asio::steady_timer pause(io_, kAcceptPause);
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
        connections_.insert(connection.get());
        asio::co_spawn(io_, serve(std::move(connection), std::move(peer)), asio::detached);
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
        asio::co_spawn(io_, flushRefusals(), asio::detached);
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
    connections_.erase(connection.get());
    if (const auto it = connectionsOf_.find(peer);
        it != connectionsOf_.end() && --it->second == 0) {
        connectionsOf_.erase(it); // the table holds only clients that are connected
    }
    if (stopping_ && connections_.empty()) {
        grace_.cancel();
    }
}

} // namespace quillet::service
