#pragma once

#include <cstddef>

namespace quillet::service {

// The byte stream of one accepted connection, plain or TLS, on a non-blocking socket that
// the channel owns.
class Channel {
public:
    virtual ~Channel() = default;

    enum class Wait { none, readable, writable };
    // Bytes moved; or none, with what to wait for before trying again; or none and nothing to
    // wait for: the peer closed or the connection failed.
    struct Step {
        std::size_t bytes = 0;
        Wait wait = Wait::none;
    };

    virtual int descriptor() const = 0;
    virtual Step receive(char* into, std::size_t size) = 0;
    virtual Step send(const char* data, std::size_t size) = 0;
};

} // namespace quillet::service
