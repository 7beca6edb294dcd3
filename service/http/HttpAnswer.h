#pragma once

#include <functional>
#include <utility>

#include "HttpResponse.h"

namespace quillet::service {

// What a handler gives for a request: the response itself, or, when making it may wait (for
// other answers, on a large read), the work that makes it, which the server runs on threads
// that serve no connection.
struct HttpAnswer {
    HttpResponse now;
    std::function<HttpResponse()> later;

    // Implicit, so that a handler returns a response as its answer.
    HttpAnswer(HttpResponse response) : now(std::move(response)) {}
    static HttpAnswer deferred(std::function<HttpResponse()> work) {
        HttpAnswer answer{HttpResponse{}};
        answer.later = std::move(work);
        return answer;
    }
};

} // namespace quillet::service
