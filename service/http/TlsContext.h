#pragma once

#include <memory>
#include <string>

typedef struct ssl_ctx_st SSL_CTX;

namespace quillet::service {

class Channel;

// The server's certificate and key, loaded once; makes a TLS channel of each accepted socket.
class TlsContext {
public:
    // `problem` says why the files cannot be used; the context is then unusable.
    TlsContext(const std::string& certificate, const std::string& key, std::string& problem);
    ~TlsContext();
    TlsContext(const TlsContext&) = delete;
    TlsContext& operator=(const TlsContext&) = delete;

    // Takes ownership of the socket; nothing when TLS cannot start on it (it is then closed).
    std::unique_ptr<Channel> wrap(int socket) const;

private:
    SSL_CTX* context_ = nullptr;
};

} // namespace quillet::service
