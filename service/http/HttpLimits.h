#pragma once

#include <chrono>
#include <cstddef>

namespace quillet::service {

// What one client may take of the service. The defaults suit the word bank clients, whose
// largest request is a bank of 2000 words.
struct HttpLimits {
    std::size_t maximumHeaderBytes = 32768; // 32 KB: request line and header lines together
    std::size_t maximumHeaderCount = 100;
    std::size_t maximumBody = 1 << 20;
    // From a request's first byte to its last: a client that trickles cannot hold a connection.
    std::chrono::milliseconds requestTimeout{10'000};
    // Between requests on a kept-alive connection, and before the first one.
    std::chrono::milliseconds idleTimeout{5'000};
    std::chrono::milliseconds writeTimeout{10'000};
    // After stop(), answers still being written get this long.
    std::chrono::milliseconds stopGrace{2'000};
    std::size_t maximumConnections = 1024;
    // From one client address: one client cannot take every connection from the others.
    std::size_t maximumConnectionsPerClient = 64;
};

} // namespace quillet::service
