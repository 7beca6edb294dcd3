#pragma once

#include "HttpAnswer.h"
#include "HttpRequest.h"
#include "HttpResponse.h"

namespace quillet::service {

// What a server does with requests. Called from several threads at once.
class HttpHandler {
public:
    virtual ~HttpHandler() = default;

    // Called on a thread that serves many connections: what may wait goes in the answer's
    // `later`.
    virtual HttpAnswer respond(const HttpRequest& request) = 0;
    // The answer to a request refused before it was whole (400, 408, 413, 431, 501, 503,
    // 505). `request` holds its method and target when its first line had been read.
    virtual HttpResponse refuse(int status, const HttpRequest& request) = 0;
};

} // namespace quillet::service
