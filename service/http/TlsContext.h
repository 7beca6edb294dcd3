#pragma once

#include <memory>
#include <string>

#include "base/Result.h"

typedef struct ssl_ctx_st SSL_CTX;

namespace quillet::service {

class Channel;

// The server's certificate and key, loaded once; makes a TLS channel of each accepted socket.
class TlsContext {
public:
    // The context of the certificate (chain) and key files, or why they cannot be used.
    static Result<std::unique_ptr<TlsContext>> load(const std::string& certificate,
                                                    const std::string& key);
    ~TlsContext();
    TlsContext(const TlsContext&) = delete;
    TlsContext& operator=(const TlsContext&) = delete;

    // Takes ownership of the socket; nothing when TLS cannot start on it (it is then closed).
    std::unique_ptr<Channel> wrap(int socket) const;

private:
    explicit TlsContext(SSL_CTX* context) : context_(context) {}

    SSL_CTX* context_;
};

} // namespace quillet::service
