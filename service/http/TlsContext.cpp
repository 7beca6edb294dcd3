#include "TlsContext.h"

#include <unistd.h>

#include <openssl/err.h>
#include <openssl/ssl.h>

#include "TlsChannel.h"

namespace quillet::service {

TlsContext::TlsContext(const std::string& certificate, const std::string& key,
                       std::string& problem) {
    context_ = SSL_CTX_new(TLS_server_method());
    if (context_ == nullptr || SSL_CTX_set_min_proto_version(context_, TLS1_2_VERSION) != 1 ||
        SSL_CTX_use_certificate_chain_file(context_, certificate.c_str()) != 1 ||
        SSL_CTX_use_PrivateKey_file(context_, key.c_str(), SSL_FILETYPE_PEM) != 1 ||
        SSL_CTX_check_private_key(context_) != 1) {
        problem = "the certificate or key cannot be used";
        SSL_CTX_free(context_);
        context_ = nullptr;
        ERR_clear_error();
        return;
    }
    // Answers are written from a buffer that stays put but may be sent in pieces.
    SSL_CTX_set_mode(context_, SSL_MODE_ENABLE_PARTIAL_WRITE | SSL_MODE_ACCEPT_MOVING_WRITE_BUFFER);
}

TlsContext::~TlsContext() {
    SSL_CTX_free(context_);
}

std::unique_ptr<Channel> TlsContext::wrap(int socket) const {
    SSL* session = context_ != nullptr ? SSL_new(context_) : nullptr;
    if (session == nullptr || SSL_set_fd(session, socket) != 1) {
        SSL_free(session);
        ::close(socket);
        ERR_clear_error();
        return nullptr;
    }
    SSL_set_accept_state(session);
    return std::make_unique<TlsChannel>(session, socket);
}

} // namespace quillet::service
