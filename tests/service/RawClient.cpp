#include "RawClient.h"

#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace quillet::test {

sockaddr_in loopback(int port, std::uint8_t last) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<uint16_t>(port));
    address.sin_addr.s_addr = htonl(0x7F000000U | last);
    return address;
}

int connectTo(int port, bool blocking) {
    const int fd = ::socket(AF_INET, SOCK_STREAM | (blocking ? 0 : SOCK_NONBLOCK), 0);
    sockaddr_in address = loopback(port);
    const int result = ::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
    EXPECT_TRUE(result == 0 || (!blocking && errno == EINPROGRESS)) << std::strerror(errno);
    return fd;
}

bool sendAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const auto sent = ::send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL);
        if (sent <= 0) {
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(sent));
    }
    return true;
}

std::string readUntilClosed(int fd, std::chrono::milliseconds limit) {
    std::string received;
    const auto deadline = std::chrono::steady_clock::now() + limit;
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                              deadline - std::chrono::steady_clock::now())
                              .count();
        pollfd watched{fd, POLLIN, 0};
        if (left <= 0 || ::poll(&watched, 1, static_cast<int>(left)) <= 0) {
            return received + "<still open>";
        }
        char buffer[4096];
        const auto got = ::recv(fd, buffer, sizeof buffer, 0);
        if (got <= 0) {
            return received;
        }
        received.append(buffer, static_cast<std::size_t>(got));
    }
}

std::string exchangeRaw(int port, const std::string& request) {
    const int fd = connectTo(port);
    sendAll(fd, request);
    ::shutdown(fd, SHUT_WR);
    std::string answer = readUntilClosed(fd);
    ::close(fd);
    return answer;
}

} // namespace quillet::test
