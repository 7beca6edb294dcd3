#pragma once

#include <chrono>
#include <memory>
#include <string>
#include <string_view>

#include "Channel.h"
#include "HttpHandler.h"
#include "HttpLimits.h"
#include "HttpRequestReader.h"
#include "StopSignal.h"

namespace quillet::service {

class ServiceLog;

// Serves the requests of one connection in turn until the client leaves, breaks a rule, runs
// out of time, or the server stops. Every wait has a deadline, so a client can hold the
// connection only as long as the limits allow.
class HttpConnection {
public:
    // `peer` is the client's address, given to every request it sends.
    HttpConnection(std::unique_ptr<Channel> channel, std::string peer, const HttpLimits& limits,
                   HttpHandler& handler, const ServiceLog& log, const StopSignal& stop);

    void serve();

private:
    using Clock = std::chrono::steady_clock;
    enum class Read { complete, refused, timedOut, ended };

    // Reads until the reader holds a whole request or refuses one.
    Read readRequest();
    // Waits until the channel can go on, the deadline passes or (when `watchStop`) the server
    // stops; true when it can go on.
    bool waitFor(Channel::Wait wait, Clock::time_point deadline, bool watchStop);
    bool writeAll(std::string_view data);
    // Sends the answer and logs the request; false when the client did not take it.
    bool answer(const HttpRequest& request, const HttpResponse& response, bool keepAlive);
    // After a refusal: stops sending and drops what the client still sends, for a while.
    void drain();

    std::unique_ptr<Channel> channel_;
    const std::string peer_;
    const HttpLimits& limits_;
    HttpHandler& handler_;
    const ServiceLog& log_;
    const StopSignal& stop_;
    HttpRequestReader reader_;
    Clock::time_point requestStart_;
};

} // namespace quillet::service
