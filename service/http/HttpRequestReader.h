#pragma once

#include <cstddef>
#include <string>

#include "HttpLimits.h"
#include "HttpRequest.h"

namespace quillet::service {

// Reads HTTP/1.x requests from the bytes of one connection as they arrive, and refuses a
// request as soon as it breaks a limit or the framing rules, so that nothing unbounded is ever
// held. Bytes after a whole request are kept for the next one.
class HttpRequestReader {
public:
    explicit HttpRequestReader(const HttpLimits& limits) : limits_(limits) {}

    enum class State { incomplete, complete, refused };

    void append(const char* data, std::size_t size) { buffer_.append(data, size); }
    bool hasBufferedBytes() const { return !buffer_.empty(); }
    // Whether a request has begun: empty lines before one do not count, so a stray CRLF after
    // a request leaves the connection idle rather than mid-request.
    bool hasStarted() const;

    // Reads on from where the last call stopped.
    State parse();
    // The whole request, once parse() said so; the reader is then ready for the next one.
    HttpRequest take();

    // Why the request was refused: an HTTP status (400, 413, 431, 501 or 505).
    int refusalStatus() const { return refusal_; }
    // What is known of the request so far: method and target once its first line was read.
    const HttpRequest& partial() const { return request_; }
    // The headers are in and the client waits for "100 Continue" before it sends its body.
    bool awaitsContinue() const { return stage_ == Stage::body && expectsContinue_; }

private:
    enum class Stage { requestLine, headers, body };

    State refuse(int status);
    bool readRequestLine(std::string_view line);
    bool readHeaderLine(std::string_view line);
    // Checks the framing once the headers are in; false with `refusal_` set when it is refused.
    bool readFraming();

    const HttpLimits& limits_;
    std::string buffer_;
    std::size_t scanned_ = 0; // where the next unread line starts
    Stage stage_ = Stage::requestLine;
    HttpRequest request_;
    std::size_t bodyLength_ = 0;
    bool expectsContinue_ = false;
    bool http11_ = false;
    int refusal_ = 0;
};

} // namespace quillet::service
