#include "TlsChannel.h"

#include <unistd.h>

#include <algorithm>
#include <climits>

#include <openssl/err.h>
#include <openssl/ssl.h>

namespace quillet::service {

TlsChannel::~TlsChannel() {
    // One try at a polite close; a peer that is gone or slow is not waited for.
    SSL_shutdown(session_);
    SSL_free(session_);
    ::close(socket_);
    ERR_clear_error();
}

Channel::Step TlsChannel::stepOf(int result) {
    if (result > 0) {
        return {static_cast<std::size_t>(result), Wait::none};
    }
    const int error = SSL_get_error(session_, result);
    // The error queue is per thread; clear it so the next connection on this thread starts
    // clean.
    ERR_clear_error();
    switch (error) {
    case SSL_ERROR_WANT_READ:
        return {0, Wait::readable};
    case SSL_ERROR_WANT_WRITE:
        return {0, Wait::writable};
    default:
        return {};
    }
}

Channel::Step TlsChannel::receive(char* into, std::size_t size) {
    return stepOf(SSL_read(session_, into, static_cast<int>(std::min<std::size_t>(size, INT_MAX))));
}

Channel::Step TlsChannel::send(const char* data, std::size_t size) {
    return stepOf(
        SSL_write(session_, data, static_cast<int>(std::min<std::size_t>(size, INT_MAX))));
}

} // namespace quillet::service
