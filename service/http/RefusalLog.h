#pragma once

#include <chrono>
#include <cstddef>
#include <mutex>
#include <string>

namespace quillet::service {

class ServiceLog;

// Connections turned away at the door, logged at most once a second with how many: a client
// that floods the service must not flood its log too.
class RefusalLog {
public:
    using Clock = std::chrono::steady_clock;

    explicit RefusalLog(const ServiceLog& log) : log_(log) {}

    // One refused connection; `why` says which limit, and is the same for each call.
    void refused(const std::string& why, Clock::time_point now = Clock::now());
    // Writes what has been counted since the last line, once a second has passed.
    void flush(Clock::time_point now = Clock::now());
    bool pending() const;

private:
    void writeLocked(Clock::time_point now);

    const ServiceLog& log_;
    mutable std::mutex mutex_;
    std::string why_;
    std::size_t counted_ = 0;
    Clock::time_point lastLine_{};
};

} // namespace quillet::service
