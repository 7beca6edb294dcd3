#include "HttpConnection.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <limits>

#include <boost/asio/co_spawn.hpp>
#include <boost/asio/dispatch.hpp>
#include <boost/asio/redirect_error.hpp>
#include <boost/asio/use_awaitable.hpp>
#include <boost/asio/write.hpp>
#include <boost/beast/core/string.hpp>
#include <boost/beast/http/error.hpp>
#include <boost/beast/http/parser.hpp>
#include <boost/beast/http/read.hpp>
#include <boost/beast/http/string_body.hpp>

#include "ServiceLog.h"
#include "UrlText.h"

namespace asio = boost::asio;
namespace beast = boost::beast;
namespace http = beast::http;

namespace quillet::service {

namespace {

using Parser = http::request_parser<http::string_body>;

constexpr std::string_view kContinue = "HTTP/1.1 100 Continue\r\n\r\n";
// A refused client may still be sending; its bytes are read and dropped for this long, so it
// gets to read the refusal instead of a reset connection.
constexpr std::chrono::milliseconds kDrainTime{2'000};
constexpr std::size_t kDrainBytes = 16 << 20;
// Each piece of an answer gets the whole write limit: a reader that keeps taking bytes gets
// all of a large answer, one that stops is cut off.
constexpr std::size_t kWritePiece = std::size_t{64} * 1024;

// Beast's strings are Boost's own string views.
std::string_view viewOf(beast::string_view text) {
    return {text.data(), text.size()};
}

std::string orDash(const std::string& text) {
    return text.empty() ? "-" : text;
}

// The parser's refusals, in the statuses the service has always answered with.
int statusOf(const beast::error_code& error) {
    if (error == http::error::header_limit) {
        return 431;
    }
    return error == http::error::body_limit ? 413 : 400;
}

// A client that left in the middle of a request broke no rule: it is not answered.
bool isRefusal(const beast::error_code& error) {
    return error.category() == beast::error_code(http::error::bad_method).category() &&
           error != http::error::end_of_stream && error != http::error::partial_message;
}

// What the service refuses beyond the parser's own rules, once the head is in; 0 when nothing.
int headRefusal(const Parser::value_type& head, std::size_t maximumHeaderCount) {
    if (head.version() != 10 && head.version() != 11) {
        return 505;
    }
    if (!originPart(viewOf(head.target()))) {
        return 400;
    }
    std::size_t fields = 0;
    int hosts = 0;
    int lengths = 0;
    bool listedLength = false;
    for (const auto& field : head) {
        ++fields;
        hosts += field.name() == http::field::host ? 1 : 0;
        if (field.name() == http::field::content_length) {
            ++lengths;
            listedLength = listedLength || field.value().find(',') != beast::string_view::npos;
        }
    }
    if (fields > maximumHeaderCount) {
        return 431;
    }
    // HTTP/1.1 names its host once; none or two leave it open which site is meant.
    if (hosts > 1 || (head.version() == 11 && hosts == 0)) {
        return 400;
    }
    if (head.find(http::field::transfer_encoding) != head.end()) {
        return 501;
    }
    // Two lengths, even equal ones, are how requests get smuggled past a proxy.
    return lengths > 1 || listedLength ? 400 : 0;
}

// Method, target and headers of what has been read of a request.
void copyHead(const Parser::value_type& head, HttpRequest& request) {
    // A target that is refused stays out of the request, and so out of the log.
    if (const auto origin = originPart(viewOf(head.target()))) {
        request.method = std::string(head.method_string());
        request.target = std::string(head.target());
        request.path = std::string(origin->substr(0, origin->find('?')));
    }
    for (const auto& field : head) {
        request.headers.emplace_back(std::string(field.name_string()), std::string(field.value()));
    }
}

// Parses what the buffer already holds, up to the end of the head or of the whole request, as
// Beast's reads would but without their trip through the I/O loop, which a request that came in
// one piece would take twice. `done` says where to stop; a parser wanting more is no error.
template <class Done>
void parseBuffered(Parser& parser, beast::flat_buffer& buffer, beast::error_code& error,
                   Done done) {
    while (!error && buffer.size() > 0 && !done()) {
        const auto used = parser.put(buffer.data(), error);
        buffer.consume(used);
        if (error == http::error::need_more) {
            error = {};
            return;
        }
        if (used == 0) {
            return; // the read takes it from here
        }
    }
}

} // namespace

struct HttpConnection::Exchange {
    enum class Outcome { ended, complete, refused };
    Outcome outcome = Outcome::ended;
    int status = 0;
    HttpRequest request;
};

HttpConnection::HttpConnection(std::variant<Plain, Tls> stream, std::string peer,
                               const Services& services)
    : stream_(std::move(stream)), peer_(std::move(peer)), services_(services),
      deadlineTimer_(lowest().get_executor()) {}

HttpConnection::Plain& HttpConnection::lowest() {
    return std::visit([](auto& stream) -> Plain& { return beast::get_lowest_layer(stream); },
                      stream_);
}

asio::awaitable<void> HttpConnection::serve() {
    co_await std::visit([this](auto& stream) { return serveOn(stream); }, stream_);
    // A ticking timer would keep its thread from ever running out of work.
    served_ = true;
    deadlineTimer_.cancel();
}

void HttpConnection::stop() {
    asio::dispatch(lowest().get_executor(), [self = shared_from_this()] {
        self->stopping_ = true;
        if (self->reading_) {
            self->lowest().cancel();
        }
    });
}

void HttpConnection::cut() {
    asio::dispatch(lowest().get_executor(), [self = shared_from_this()] {
        self->stopping_ = true;
        self->lowest().close();
    });
}

template <class Stream> asio::awaitable<void> HttpConnection::serveOn(Stream& stream) {
    beast::error_code error;
    armDeadline(Clock::now());
    if constexpr (std::is_same_v<Stream, Tls>) {
        // The handshake is part of the wait for the first request.
        reading_ = true;
        lowest().expires_after(services_.limits.requestTimeout);
        co_await stream.async_handshake(asio::ssl::stream_base::server,
                                        asio::redirect_error(asio::use_awaitable, error));
        reading_ = false;
        lowest().expires_never();
        if (error || stopping_) {
            co_return;
        }
    }
    for (;;) {
        Exchange exchange;
        co_await readRequest(stream, exchange);
        exchange.request.peer = peer_;
        switch (exchange.outcome) {
        case Exchange::Outcome::ended:
            co_return;
        case Exchange::Outcome::refused: {
            const HttpResponse refusal =
                services_.handler.refuse(exchange.status, exchange.request);
            if (co_await answer(stream, exchange.request, refusal, false)) {
                co_await drain();
            }
            co_return;
        }
        case Exchange::Outcome::complete:
            break;
        }
        const HttpResponse response = co_await respond(exchange.request);
        const bool keepAlive = exchange.request.keepAlive && !stopping_;
        if (!co_await answer(stream, exchange.request, response, keepAlive) || !keepAlive) {
            co_return;
        }
    }
}

template <class Stream> asio::awaitable<bool> HttpConnection::awaitRequest(Stream& stream) {
    awaitUntil(Wait::idle, Clock::now() + services_.limits.idleTimeout);
    for (;;) {
        // Empty lines before a request are not one: clients may send them after a body.
        const auto* bytes = static_cast<const char*>(buffer_.data().data());
        const auto* end = bytes + buffer_.size();
        buffer_.consume(static_cast<std::size_t>(
            std::find_if(bytes, end, [](char c) { return c != '\r' && c != '\n'; }) - bytes));
        if (buffer_.size() > 0) {
            co_return true;
        }
        if (stopping_) {
            co_return false;
        }
        beast::error_code error;
        const auto got = co_await stream.async_read_some(
            buffer_.prepare(4096), asio::redirect_error(asio::use_awaitable, error));
        if (error) {
            co_return false;
        }
        buffer_.commit(got);
    }
}

HttpConnection::Clock::duration HttpConnection::deadlineStep() const {
    return std::min<Clock::duration>(services_.limits.idleTimeout, services_.limits.requestTimeout);
}

void HttpConnection::awaitUntil(Wait wait, Clock::time_point deadline) {
    wait_ = wait;
    deadline_ = deadline;
}

// Armed no later than a step from now, and so never past any deadline a later wait may set.
void HttpConnection::armDeadline(Clock::time_point now) {
    deadlineTimer_.expires_at(std::min(deadline_, now + deadlineStep()));
    deadlineTimer_.async_wait([weak = weak_from_this()](const beast::error_code& error) {
        const auto self = weak.lock();
        if (error || !self || self->served_) {
            return;
        }
        const auto now = Clock::now();
        if (self->wait_ != Wait::none && now >= self->deadline_) {
            // A request under way is answered 408; a connection idle too long just ends.
            self->timedOut_ = self->wait_ == Wait::request;
            self->wait_ = Wait::none;
            self->deadline_ = Clock::time_point::max();
            self->lowest().cancel();
        }
        self->armDeadline(now);
    });
}

template <class Stream>
asio::awaitable<void> HttpConnection::readRequest(Stream& stream, Exchange& exchange) {
    const HttpLimits& limits = services_.limits;
    reading_ = true;
    if (!co_await awaitRequest(stream)) {
        reading_ = false;
        co_return;
    }
    requestStart_ = Clock::now();
    timedOut_ = false;
    awaitUntil(Wait::request, requestStart_ + services_.limits.requestTimeout);
    Parser parser;
    parser.header_limit(static_cast<std::uint32_t>(std::min<std::size_t>(
        limits.maximumHeaderBytes, std::numeric_limits<std::uint32_t>::max())));
    parser.body_limit(limits.maximumBody);
    beast::error_code error;
    parseBuffered(parser, buffer_, error, [&] { return parser.is_header_done(); });
    if (!error && !parser.is_header_done()) {
        co_await http::async_read_header(stream, buffer_, parser,
                                         asio::redirect_error(asio::use_awaitable, error));
    }
    copyHead(parser.get(), exchange.request);
    if (!error) {
        exchange.status = headRefusal(parser.get(), limits.maximumHeaderCount);
    }
    if (!error && exchange.status == 0) {
        exchange.request.keepAlive = parser.get().keep_alive();
        const auto expect = parser.get()[http::field::expect];
        if (beast::iequals(expect, "100-continue") && parser.content_length().value_or(0) > 0) {
            co_await asio::async_write(stream, asio::buffer(kContinue),
                                       asio::redirect_error(asio::use_awaitable, error));
        }
        if (!error) {
            parseBuffered(parser, buffer_, error, [&] { return parser.is_done(); });
        }
        if (!error && !parser.is_done()) {
            co_await http::async_read(stream, buffer_, parser,
                                      asio::redirect_error(asio::use_awaitable, error));
        }
    }
    awaitUntil(Wait::none, Clock::time_point::max());
    reading_ = false;
    if (exchange.status != 0) {
        exchange.outcome = Exchange::Outcome::refused;
    } else if (timedOut_ && !stopping_) {
        exchange.outcome = Exchange::Outcome::refused;
        exchange.status = 408;
    } else if (error && isRefusal(error)) {
        exchange.outcome = Exchange::Outcome::refused;
        exchange.status = statusOf(error);
    } else if (!error) {
        exchange.outcome = Exchange::Outcome::complete;
        exchange.request.body = std::move(parser.get().body());
    }
}

asio::awaitable<HttpResponse> HttpConnection::respond(const HttpRequest& request) {
    HttpAnswer answer = services_.handler.respond(request);
    if (!answer.later) {
        co_return std::move(answer.now);
    }
    co_return co_await asio::co_spawn(
        services_.workers,
        [&answer]() -> asio::awaitable<HttpResponse> { co_return answer.later(); },
        asio::use_awaitable);
}

template <class Stream>
asio::awaitable<bool> HttpConnection::writeAll(Stream& stream, std::string_view data) {
    if constexpr (std::is_same_v<Stream, Plain>) {
        // Most answers fit in the socket's buffer: written at once, with no deadline to set and
        // cancel (the socket does not block; the server made it so).
        beast::error_code error;
        data.remove_prefix(stream.socket().write_some(asio::buffer(data), error));
        if (error && error != asio::error::would_block) {
            co_return false;
        }
    }
    while (!data.empty()) {
        const auto piece = std::min(data.size(), kWritePiece);
        lowest().expires_after(services_.limits.writeTimeout);
        beast::error_code error;
        co_await asio::async_write(stream, asio::buffer(data.data(), piece),
                                   asio::redirect_error(asio::use_awaitable, error));
        if (error) {
            co_return false;
        }
        data.remove_prefix(piece);
        if (data.empty()) {
            lowest().expires_never(); // reading has deadlines of its own
        }
    }
    co_return true;
}

template <class Stream>
asio::awaitable<bool> HttpConnection::answer(Stream& stream, const HttpRequest& request,
                                             const HttpResponse& response, bool keepAlive) {
    const bool headOnly = request.method == "HEAD";
    bool written = false;
    if (headOnly || response.body.size() <= kWritePiece) {
        written = co_await writeAll(stream, response.serialize(keepAlive, headOnly));
    } else {
        // A large body goes out from where it is: a second copy of an owner's list behind its
        // headers would double what every such answer holds while it is written.
        written = co_await writeAll(stream, response.head(keepAlive)) &&
                  co_await writeAll(stream, response.body);
    }
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
    services_.log.write(line);
    co_return written;
}

asio::awaitable<void> HttpConnection::drain() {
    beast::error_code error;
    lowest().socket().shutdown(asio::ip::tcp::socket::shutdown_send, error);
    lowest().expires_after(kDrainTime);
    reading_ = true;
    std::array<char, std::size_t{16} * 1024> dropped{};
    for (std::size_t total = 0; total < kDrainBytes && !stopping_;) {
        total += co_await lowest().async_read_some(
            asio::buffer(dropped), asio::redirect_error(asio::use_awaitable, error));
        if (error) {
            break;
        }
    }
    reading_ = false;
}

} // namespace quillet::service
