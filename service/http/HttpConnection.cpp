#include "HttpConnection.h"

#include <poll.h>
#include <sys/socket.h>

#include <cerrno>
#include <cstdio>
#include <string>

#include "ServiceLog.h"

namespace quillet::service {

namespace {

constexpr std::string_view kContinue = "HTTP/1.1 100 Continue\r\n\r\n";
// A refused client may still be sending; its bytes are read and dropped for this long, so it
// gets to read the refusal instead of a reset connection.
constexpr std::chrono::milliseconds kDrainTime{2'000};
constexpr std::size_t kDrainBytes = 16 << 20;

std::string orDash(const std::string& text) {
    return text.empty() ? "-" : text;
}

} // namespace

HttpConnection::HttpConnection(std::unique_ptr<Channel> channel, std::string peer,
                               const HttpLimits& limits, HttpHandler& handler,
                               const ServiceLog& log, const StopSignal& stop)
    : channel_(std::move(channel)), peer_(std::move(peer)), limits_(limits), handler_(handler),
      log_(log), stop_(stop), reader_(limits) {}

void HttpConnection::serve() {
    for (;;) {
        const Read read = readRequest();
        if (read == Read::ended) {
            return;
        }
        if (read != Read::complete) {
            const int status = read == Read::timedOut ? 408 : reader_.refusalStatus();
            HttpRequest partial = reader_.partial();
            partial.peer = peer_;
            if (answer(partial, handler_.refuse(status, partial), false)) {
                drain();
            }
            return;
        }
        HttpRequest request = reader_.take();
        request.peer = peer_;
        const HttpResponse response = handler_.respond(request);
        const bool keepAlive = request.keepAlive && !stop_.raised();
        if (!answer(request, response, keepAlive) || !keepAlive) {
            return;
        }
    }
}

HttpConnection::Read HttpConnection::readRequest() {
    bool started = reader_.hasStarted();
    requestStart_ = Clock::now();
    // Before a request's first byte the idle limit holds; from it on, the request limit.
    auto deadline = requestStart_ + (started ? limits_.requestTimeout : limits_.idleTimeout);
    bool continued = false;
    char buffer[16 * 1024];
    for (;;) {
        switch (reader_.parse()) {
        case HttpRequestReader::State::complete:
            return Read::complete;
        case HttpRequestReader::State::refused:
            return Read::refused;
        case HttpRequestReader::State::incomplete:
            break;
        }
        if (reader_.awaitsContinue() && !continued) {
            continued = true;
            if (!writeAll(kContinue)) {
                return Read::ended;
            }
        }
        const auto step = channel_->receive(buffer, sizeof buffer);
        if (step.bytes > 0) {
            reader_.append(buffer, step.bytes);
            if (!started && reader_.hasStarted()) {
                started = true;
                requestStart_ = Clock::now();
                deadline = requestStart_ + limits_.requestTimeout;
            }
            continue;
        }
        if (step.wait == Channel::Wait::none) {
            return Read::ended;
        }
        if (!waitFor(step.wait, deadline, true)) {
            const bool late = started && !stop_.raised() && Clock::now() >= deadline;
            return late ? Read::timedOut : Read::ended;
        }
    }
}

bool HttpConnection::waitFor(Channel::Wait wait, Clock::time_point deadline, bool watchStop) {
    for (;;) {
        const auto left =
            std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now()).count();
        if (left <= 0 || (watchStop && stop_.raised())) {
            return false;
        }
        pollfd watched[2] = {
            {channel_->descriptor(),
             static_cast<short>(wait == Channel::Wait::writable ? POLLOUT : POLLIN), 0},
            {stop_.descriptor(), POLLIN, 0}};
        const int ready = ::poll(watched, watchStop ? 2 : 1, static_cast<int>(left));
        if (ready < 0 && errno != EINTR) {
            return false;
        }
        if (ready > 0 && watched[0].revents != 0) {
            return true;
        }
    }
}

// The write deadline starts again whenever the client takes bytes: a slow reader of a large
// answer gets it whole, one that stops taking any is cut off.
bool HttpConnection::writeAll(std::string_view data) {
    auto deadline = Clock::now() + limits_.writeTimeout;
    while (!data.empty()) {
        const auto step = channel_->send(data.data(), data.size());
        if (step.bytes > 0) {
            data.remove_prefix(step.bytes);
            deadline = Clock::now() + limits_.writeTimeout;
            continue;
        }
        if (step.wait == Channel::Wait::none) {
            return false;
        }
        // Once the server stops, an answer still going out gets only the grace time: a stop
        // during the wait ends it early, and the next round waits within the grace.
        const bool stopping = stop_.raised();
        const auto until =
            stopping ? std::min(deadline, stop_.raisedAt() + limits_.stopGrace) : deadline;
        if (!waitFor(step.wait, until, !stopping) && Clock::now() >= until) {
            return false;
        }
    }
    return true;
}

bool HttpConnection::answer(const HttpRequest& request, const HttpResponse& response,
                            bool keepAlive) {
    const bool written = writeAll(response.serialize(keepAlive, request.method == "HEAD"));
    const double ms =
        std::chrono::duration<double, std::milli>(Clock::now() - requestStart_).count();
    char timing[32];
    std::snprintf(timing, sizeof timing, "%.1f ms", ms);
    std::string line = orDash(request.method) + " " + orDash(request.target) + " " +
                       std::to_string(response.status) + " ";
    if (!response.logNote.empty()) {
        line += response.logNote + " ";
    }
    line += timing;
    if (!written) {
        line += " (the client did not take the answer)";
    }
    log_.write(line);
    return written;
}

void HttpConnection::drain() {
    ::shutdown(channel_->descriptor(), SHUT_WR);
    const auto deadline = Clock::now() + kDrainTime;
    std::size_t dropped = 0;
    char buffer[16 * 1024];
    while (dropped < kDrainBytes) {
        const auto step = channel_->receive(buffer, sizeof buffer);
        if (step.bytes > 0) {
            dropped += step.bytes;
        } else if (step.wait == Channel::Wait::none || !waitFor(step.wait, deadline, true)) {
            return;
        }
    }
}

} // namespace quillet::service
