#pragma once

#include <string>
#include <utility>
#include <vector>

namespace quillet::service {

// One answer. `logNote` is not sent: it goes into the request's log line.
struct HttpResponse {
    int status = 200;
    std::string contentType = "text/plain; charset=utf-8";
    std::string body;
    std::vector<std::pair<std::string, std::string>> headers;
    std::string logNote;

    // Status line, headers and body in one piece, so the answer leaves in one write. A HEAD
    // answer has the length of the body it leaves out.
    std::string serialize(bool keepAlive, bool headOnly) const;
    // The status line and the headers, up to the empty line before the body.
    std::string head(bool keepAlive) const;

    // A plain text answer that says what the status means.
    static HttpResponse plain(int status);
    static const char* reason(int status);
};

} // namespace quillet::service
