#pragma once

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <mutex>
#include <string>
#include <unordered_map>

#include "HttpHandler.h"
#include "HttpLimits.h"
#include "RefusalLog.h"
#include "StopSignal.h"

namespace quillet::service {

class ServiceLog;
class TlsContext;

// An HTTP/1.1 server: one thread accepts, each connection is served on a thread of its own
// under the limits, and stop() ends it all within the stop grace.
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
    void acceptWaiting();
    void serveOnItsOwnThread(int socket, const std::string& peer);
    // Counts the connection in, or says which limit keeps it out.
    const char* admit(const std::string& peer);
    void connectionEnded(const std::string& peer);

    const HttpLimits limits_;
    HttpHandler& handler_;
    const ServiceLog& log_;
    const TlsContext* tls_;
    StopSignal stop_;
    int listener_ = -1;
    std::atomic<bool> running_{false};
    std::mutex mutex_;
    std::condition_variable ended_;
    std::size_t connections_ = 0;
    std::unordered_map<std::string, std::size_t> connectionsOf_;
    RefusalLog refusals_;
};

} // namespace quillet::service
