#include "HttpServer.h"

#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <pthread.h>
#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <thread>

#include "HttpConnection.h"
#include "ServiceLog.h"
#include "SocketChannel.h"
#include "TlsContext.h"

#ifndef MSG_NOSIGNAL
#define MSG_NOSIGNAL 0 // macOS: sockets are set SO_NOSIGPIPE instead
#endif

namespace quillet::service {

namespace {

void setNonBlocking(int socket) {
    ::fcntl(socket, F_SETFL, ::fcntl(socket, F_GETFL) | O_NONBLOCK);
    ::fcntl(socket, F_SETFD, FD_CLOEXEC);
}

int listeningSocket(const std::string& host, int port) {
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_flags = AI_PASSIVE | AI_NUMERICSERV;
    addrinfo* found = nullptr;
    const std::string service = std::to_string(port);
    if (::getaddrinfo(host.empty() ? nullptr : host.c_str(), service.c_str(), &hints, &found) !=
        0) {
        return -1;
    }
    int socket = -1;
    for (const addrinfo* at = found; at != nullptr && socket < 0; at = at->ai_next) {
        socket = ::socket(at->ai_family, at->ai_socktype, at->ai_protocol);
        if (socket < 0) {
            continue;
        }
        const int yes = 1;
        ::setsockopt(socket, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
        // The system's own maximum: the kernel caps the backlog at its limit
        // (net.core.somaxconn), so a burst of new connections waits in the queue instead of
        // having its SYNs dropped.
        if (::bind(socket, at->ai_addr, at->ai_addrlen) != 0 || ::listen(socket, INT_MAX) != 0) {
            ::close(socket);
            socket = -1;
        }
    }
    ::freeaddrinfo(found);
    if (socket >= 0) {
        setNonBlocking(socket);
    }
    return socket;
}

// The numeric address of an accepted client, without its port.
std::string peerText(const sockaddr_storage& address, socklen_t length) {
    char host[NI_MAXHOST] = "";
    if (::getnameinfo(reinterpret_cast<const sockaddr*>(&address), length, host, sizeof host,
                      nullptr, 0, NI_NUMERICHOST) != 0) {
        return {};
    }
    return host;
}

int boundPort(int socket) {
    sockaddr_storage address{};
    socklen_t length = sizeof address;
    if (::getsockname(socket, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        return -1;
    }
    return address.ss_family == AF_INET6
               ? ntohs(reinterpret_cast<const sockaddr_in6*>(&address)->sin6_port)
               : ntohs(reinterpret_cast<const sockaddr_in*>(&address)->sin_port);
}

// Answers are small and leave in one write; without this, the second of two writes on a
// kept-alive connection waits for the client's delayed acknowledgement.
void prepareAccepted(int socket) {
    setNonBlocking(socket);
    const int yes = 1;
    ::setsockopt(socket, IPPROTO_TCP, TCP_NODELAY, &yes, sizeof yes);
#ifdef SO_NOSIGPIPE
    ::setsockopt(socket, SOL_SOCKET, SO_NOSIGPIPE, &yes, sizeof yes);
#endif
}

// TLS writes go through OpenSSL, which cannot ask for MSG_NOSIGNAL: a client gone mid-answer
// must be an error on this thread, not a signal that ends the process.
void blockBrokenPipeSignal() {
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGPIPE);
    pthread_sigmask(SIG_BLOCK, &signals, nullptr);
}

} // namespace

HttpServer::HttpServer(const HttpLimits& limits, HttpHandler& handler, const ServiceLog& log,
                       const TlsContext* tls)
    : limits_(limits), handler_(handler), log_(log), tls_(tls), refusals_(log) {}

HttpServer::~HttpServer() {
    stop();
    if (listener_ >= 0) {
        ::close(listener_);
    }
}

int HttpServer::bind(const std::string& host, int port) {
    if (listener_ >= 0) {
        ::close(listener_);
    }
    listener_ = listeningSocket(host, port);
    return listener_ < 0 ? -1 : boundPort(listener_);
}

bool HttpServer::run() {
    if (listener_ < 0 || stop_.raised()) {
        return false;
    }
    running_ = true;
    while (!stop_.raised()) {
        pollfd watched[2] = {{listener_, POLLIN, 0}, {stop_.descriptor(), POLLIN, 0}};
        // Refusals still to be counted in the log are written within the second.
        if (::poll(watched, 2, refusals_.pending() ? 250 : -1) < 0 && errno != EINTR) {
            break;
        }
        if ((watched[0].revents & POLLIN) != 0) {
            acceptWaiting();
        }
        refusals_.flush();
    }
    ::close(listener_);
    listener_ = -1;
    refusals_.flush(RefusalLog::Clock::time_point::max()); // the last count, however recent
    std::unique_lock lock(mutex_);
    ended_.wait(lock, [this] { return connections_ == 0; });
    running_ = false;
    return true;
}

void HttpServer::stop() {
    stop_.raise();
}

void HttpServer::acceptWaiting() {
    for (;;) {
        sockaddr_storage address{};
        socklen_t length = sizeof address;
        const int socket = ::accept(listener_, reinterpret_cast<sockaddr*>(&address), &length);
        if (socket < 0) {
            if (errno == EMFILE || errno == ENFILE || errno == ENOBUFS || errno == ENOMEM) {
                // Out of descriptors or memory: the waiting clients stay queued; try again
                // once some connection may have ended.
                std::this_thread::sleep_for(std::chrono::milliseconds(20));
            }
            return;
        }
        prepareAccepted(socket);
        serveOnItsOwnThread(socket, peerText(address, length));
    }
}

const char* HttpServer::admit(const std::string& peer) {
    std::lock_guard lock(mutex_);
    if (connections_ >= limits_.maximumConnections) {
        return "too many connections";
    }
    std::size_t& fromPeer = connectionsOf_[peer];
    if (fromPeer >= limits_.maximumConnectionsPerClient) {
        return "too many connections from one client";
    }
    ++fromPeer;
    ++connections_;
    return nullptr;
}

void HttpServer::serveOnItsOwnThread(int socket, const std::string& peer) {
    if (const char* why = admit(peer)) {
        // Said plainly and at once rather than left to time out; the client may try again.
        const std::string busy = handler_.refuse(503, {}).serialize(false, false);
        [[maybe_unused]] const auto sent =
            ::send(socket, busy.data(), busy.size(), MSG_NOSIGNAL | MSG_DONTWAIT);
        ::close(socket);
        refusals_.refused(why);
        return;
    }
    try {
        std::thread([this, socket, peer]() {
            blockBrokenPipeSignal();
            auto channel =
                tls_ != nullptr ? tls_->wrap(socket) : std::make_unique<SocketChannel>(socket);
            if (channel) {
                HttpConnection(std::move(channel), peer, limits_, handler_, log_, stop_).serve();
            }
            connectionEnded(peer);
        }).detach();
    } catch (const std::system_error&) {
        ::close(socket);
        connectionEnded(peer);
    }
}

void HttpServer::connectionEnded(const std::string& peer) {
    std::lock_guard lock(mutex_);
    --connections_;
    if (const auto it = connectionsOf_.find(peer);
        it != connectionsOf_.end() && --it->second == 0) {
        connectionsOf_.erase(it); // the table holds only clients that are connected
    }
    ended_.notify_all();
}

} // namespace quillet::service
