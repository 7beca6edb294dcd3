#include "StopSignal.h"

#include <fcntl.h>
#include <unistd.h>

namespace quillet::service {

StopSignal::StopSignal() {
    if (::pipe(pipe_) == 0) {
        for (const int end : pipe_) {
            ::fcntl(end, F_SETFD, FD_CLOEXEC);
            ::fcntl(end, F_SETFL, O_NONBLOCK);
        }
    }
}

StopSignal::~StopSignal() {
    ::close(pipe_[0]);
    ::close(pipe_[1]);
}

void StopSignal::raise() {
    // The time goes first, so whoever sees the flag also sees when it went up.
    if (!raised_.load()) {
        raisedAt_.store(std::chrono::steady_clock::now());
    }
    if (raised_.exchange(true)) {
        return;
    }
    const char byte = 1;
    [[maybe_unused]] const auto written = ::write(pipe_[1], &byte, 1);
}

} // namespace quillet::service
