#include "SocketChannel.h"

#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>

#ifndef MSG_NOSIGNAL
#define MSG_NOSIGNAL 0 // macOS: sockets are set SO_NOSIGPIPE instead
#endif

namespace quillet::service {

namespace {

Channel::Step stepOf(ssize_t result, Channel::Wait retry) {
    if (result > 0) {
        return {static_cast<std::size_t>(result), Channel::Wait::none};
    }
    if (result < 0 && (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR)) {
        return {0, retry};
    }
    return {};
}

} // namespace

SocketChannel::~SocketChannel() {
    ::close(socket_);
}

Channel::Step SocketChannel::receive(char* into, std::size_t size) {
    return stepOf(::recv(socket_, into, size, 0), Wait::readable);
}

Channel::Step SocketChannel::send(const char* data, std::size_t size) {
    return stepOf(::send(socket_, data, size, MSG_NOSIGNAL), Wait::writable);
}

} // namespace quillet::service
