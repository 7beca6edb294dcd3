#pragma once

#include "Channel.h"

typedef struct ssl_st SSL;

namespace quillet::service {

// TLS over a non-blocking socket. The handshake happens inside the first receive, so it falls
// under the same deadline as the request it carries.
class TlsChannel : public Channel {
public:
    // Takes ownership of both.
    TlsChannel(SSL* session, int socket) : session_(session), socket_(socket) {}
    ~TlsChannel() override;
    TlsChannel(const TlsChannel&) = delete;
    TlsChannel& operator=(const TlsChannel&) = delete;

    int descriptor() const override { return socket_; }
    Step receive(char* into, std::size_t size) override;
    Step send(const char* data, std::size_t size) override;

private:
    Step stepOf(int result);

    SSL* session_;
    int socket_;
};

} // namespace quillet::service
