#include "TlsContext.h"

#include <boost/asio/ssl/context.hpp>
#include <openssl/ssl.h>

namespace quillet::service {

Result<std::unique_ptr<TlsContext>> TlsContext::load(const std::string& certificate,
                                                     const std::string& key) {
    auto context =
        std::make_unique<boost::asio::ssl::context>(boost::asio::ssl::context::tls_server);
    boost::system::error_code error;
    context->use_certificate_chain_file(certificate, error);
    if (!error) {
        context->use_private_key_file(key, boost::asio::ssl::context::pem, error);
    }
    if (error || SSL_CTX_set_min_proto_version(context->native_handle(), TLS1_2_VERSION) != 1 ||
        SSL_CTX_check_private_key(context->native_handle()) != 1) {
        return Error{"the certificate or key cannot be used"};
    }
    return std::unique_ptr<TlsContext>(new TlsContext(std::move(context)));
}

TlsContext::TlsContext(std::unique_ptr<boost::asio::ssl::context> context)
    : context_(std::move(context)) {}

TlsContext::~TlsContext() = default;

} // namespace quillet::service
