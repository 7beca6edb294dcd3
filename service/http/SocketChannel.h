#pragma once

#include "Channel.h"

namespace quillet::service {

// Plain TCP.
class SocketChannel : public Channel {
public:
    explicit SocketChannel(int socket) : socket_(socket) {}
    ~SocketChannel() override;
    SocketChannel(const SocketChannel&) = delete;
    SocketChannel& operator=(const SocketChannel&) = delete;

    int descriptor() const override { return socket_; }
    Step receive(char* into, std::size_t size) override;
    Step send(const char* data, std::size_t size) override;

private:
    int socket_;
};

} // namespace quillet::service
