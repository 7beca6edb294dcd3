#include "HttpResponse.h"

namespace quillet::service {

const char* HttpResponse::reason(int status) {
    switch (status) {
    case 200:
        return "OK";
    case 400:
        return "Bad Request";
    case 404:
        return "Not Found";
    case 405:
        return "Method Not Allowed";
    case 408:
        return "Request Timeout";
    case 413:
        return "Content Too Large";
    case 429:
        return "Too Many Requests";
    case 431:
        return "Request Header Fields Too Large";
    case 501:
        return "Not Implemented";
    case 503:
        return "Service Unavailable";
    case 505:
        return "HTTP Version Not Supported";
    default:
        return "Unknown";
    }
}

HttpResponse HttpResponse::plain(int status) {
    HttpResponse response;
    response.status = status;
    response.body = std::to_string(status) + " " + reason(status) + "\n";
    return response;
}

std::string HttpResponse::serialize(bool keepAlive, bool headOnly) const {
    std::string out = head(keepAlive);
    if (!headOnly) {
        out += body;
    }
    return out;
}

std::string HttpResponse::head(bool keepAlive) const {
    std::string out = "HTTP/1.1 " + std::to_string(status) + " " + reason(status) + "\r\n";
    out += "Content-Type: " + contentType + "\r\n";
    out += "Content-Length: " + std::to_string(body.size()) + "\r\n";
    out += keepAlive ? "Connection: keep-alive\r\n" : "Connection: close\r\n";
    for (const auto& [name, value] : headers) {
        out += name + ": " + value + "\r\n";
    }
    out += "\r\n";
    return out;
}

} // namespace quillet::service
