#include "TlsContext.h"

#include <unistd.h>

#include <openssl/err.h>
#include <openssl/ssl.h>

#include "TlsChannel.h"

namespace quillet::service {

Result<std::unique_ptr<TlsContext>> TlsContext::load(const std::string& certificate,
                                                     const std::string& key) {
    SSL_CTX* context = SSL_CTX_new(TLS_server_method());
    if (context == nullptr || SSL_CTX_set_min_proto_version(context, TLS1_2_VERSION) != 1 ||
        SSL_CTX_use_certificate_chain_file(context, certificate.c_str()) != 1 ||
        SSL_CTX_use_PrivateKey_file(context, key.c_str(), SSL_FILETYPE_PEM) != 1 ||
        SSL_CTX_check_private_key(context) != 1) {
        SSL_CTX_free(context);
        ERR_clear_error();
        return Error{"the certificate or key cannot be used"};
    }
    // Answers are written from a buffer that stays put but may be sent in pieces.
    SSL_CTX_set_mode(context, SSL_MODE_ENABLE_PARTIAL_WRITE | SSL_MODE_ACCEPT_MOVING_WRITE_BUFFER);
    return std::unique_ptr<TlsContext>(new TlsContext(context));
}

TlsContext::~TlsContext() {
    SSL_CTX_free(context_);
}

std::unique_ptr<Channel> TlsContext::wrap(int socket) const {
    SSL* session = SSL_new(context_);
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
