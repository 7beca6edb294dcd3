#pragma once

#include <netinet/in.h>

#include <chrono>
#include <cstdint>
#include <string>
#include <string_view>

// A client on bare sockets, for requests no HTTP library would send and for connections held
// open on purpose.
namespace quillet::test {

// 127.0.0.1, or another loopback address given as its last byte, at `port`.
sockaddr_in loopback(int port, std::uint8_t last = 1);
// A connection to 127.0.0.1 at `port`; a non-blocking one may still be connecting.
int connectTo(int port, bool blocking = true);
bool sendAll(int fd, std::string_view bytes);
// Everything the server sends until it closes the connection, or until `limit` passes
// ("<still open>" is added then).
std::string readUntilClosed(int fd, std::chrono::milliseconds limit = std::chrono::seconds(15));
// One raw request on its own connection: the whole answer, up to the server's close.
std::string exchangeRaw(int port, const std::string& request);

} // namespace quillet::test
