#pragma once

#include <utility> // before awaitable.hpp, which GCC 12 needs it for

#include <chrono>
#include <memory>
#include <string>
#include <string_view>
#include <variant>

#include <boost/asio/awaitable.hpp>
#include <boost/asio/steady_timer.hpp>
#include <boost/asio/thread_pool.hpp>
#include <boost/beast/core/flat_buffer.hpp>
#include <boost/beast/core/tcp_stream.hpp>
#include <boost/beast/ssl/ssl_stream.hpp>

#include "HttpHandler.h"
#include "HttpLimits.h"

namespace quillet::service {

class ServiceLog;

// Serves the requests of one connection in turn until the client leaves, breaks a rule, runs
// out of time, or the server stops. Runs on the I/O thread its stream belongs to, and so do
// the handlers, but for the work they leave for later: that runs on the worker pool, so that
// what waits never holds up the other connections of the thread.
class HttpConnection : public std::enable_shared_from_this<HttpConnection> {
public:
    using Plain = boost::beast::tcp_stream;
    using Tls = boost::beast::ssl_stream<boost::beast::tcp_stream>;

    struct Services {
        const HttpLimits& limits;
        HttpHandler& handler;
        const ServiceLog& log;
        boost::asio::thread_pool& workers;
    };

    // `peer` is the client's address, given to every request it sends.
    HttpConnection(std::variant<Plain, Tls> stream, std::string peer, const Services& services);

    // Where everything of this connection runs.
    boost::asio::any_io_executor executor() { return lowest().get_executor(); }
    boost::asio::awaitable<void> serve();
    // The server stops: a connection waiting for a request ends now, one answering finishes
    // its answer and ends. Safe from any thread, as is cut().
    void stop();
    // The stop grace is over: ends whatever is under way.
    void cut();

private:
    using Clock = std::chrono::steady_clock;
    struct Exchange;

    Plain& lowest();
    template <class Stream> boost::asio::awaitable<void> serveOn(Stream& stream);
    // Waits for the first byte of a request, past any empty lines; false when none came.
    template <class Stream> boost::asio::awaitable<bool> awaitRequest(Stream& stream);
    template <class Stream>
    boost::asio::awaitable<void> readRequest(Stream& stream, Exchange& exchange);
    // The waits for a request and for its bytes run against a deadline kept here rather than
    // the stream's own, which would close the connection and leave no way to answer 408, and
    // which would set and cancel a timer for every request. The timer is lazy: it wakes up at
    // the latest every `deadlineStep()` and compares the clock with the deadline of the moment.
    enum class Wait { none, idle, request };
    void awaitUntil(Wait wait, Clock::time_point deadline);
    Clock::duration deadlineStep() const;
    void armDeadline(Clock::time_point now);
    // Sends the answer and logs the request; false when the client did not take it.
    template <class Stream>
    boost::asio::awaitable<bool> answer(Stream& stream, const HttpRequest& request,
                                        const HttpResponse& response, bool keepAlive);
    template <class Stream>
    boost::asio::awaitable<bool> writeAll(Stream& stream, std::string_view data);
    // After a refusal: stops sending and drops what the client still sends, for a while.
    boost::asio::awaitable<void> drain();
    boost::asio::awaitable<HttpResponse> respond(const HttpRequest& request);

    std::variant<Plain, Tls> stream_;
    const std::string peer_;
    const Services services_;
    boost::beast::flat_buffer buffer_;
    Clock::time_point requestStart_;
    boost::asio::steady_timer deadlineTimer_;
    Wait wait_ = Wait::none;
    Clock::time_point deadline_ = Clock::time_point::max();
    bool timedOut_ = false;
    bool served_ = false;
    // Waiting for or reading a request: what a stop ends at once.
    bool reading_ = false;
    bool stopping_ = false;
};

} // namespace quillet::service
