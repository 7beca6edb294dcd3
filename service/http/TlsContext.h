#pragma once

#include <memory>
#include <string>

#include "base/Result.h"

namespace boost::asio::ssl {
class context;
} // namespace boost::asio::ssl

namespace quillet::service {

// The server's certificate and key, loaded once, for every TLS connection.
class TlsContext {
public:
    // The context of the certificate (chain) and key files, or why they cannot be used.
    static Result<std::unique_ptr<TlsContext>> load(const std::string& certificate,
                                                    const std::string& key);
    ~TlsContext();
    TlsContext(const TlsContext&) = delete;
    TlsContext& operator=(const TlsContext&) = delete;

    // Connections start their sessions from it; OpenSSL allows that from any thread.
    boost::asio::ssl::context& context() const { return *context_; }

private:
    explicit TlsContext(std::unique_ptr<boost::asio::ssl::context> context);

    std::unique_ptr<boost::asio::ssl::context> context_;
};

} // namespace quillet::service
