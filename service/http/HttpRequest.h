#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace quillet::service {

// One request as it came in. `target` is the raw request target, undecoded; `path` is its
// part before "?".
struct HttpRequest {
    std::string method;
    std::string target;
    std::string path;
    std::vector<std::pair<std::string, std::string>> headers;
    std::string body;
    bool keepAlive = true;
    // The client's address (IPv4 or IPv6, without its port), for limits per client.
    std::string peer;

    // The first header of that name (names compare without case), or nothing.
    std::optional<std::string_view> header(std::string_view name) const;
};

} // namespace quillet::service
