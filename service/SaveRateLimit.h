#pragma once

#include <chrono>
#include <cstddef>
#include <mutex>
#include <string>
#include <unordered_map>

namespace quillet::service {

// How many saves each client address may make a minute: a token bucket per address that holds
// a minute's worth and refills evenly, so a burst is allowed and a steady flood is not. Safe
// from any thread.
class SaveRateLimit {
public:
    using Clock = std::chrono::steady_clock;

    explicit SaveRateLimit(unsigned perMinute) : perMinute_(perMinute) {}

    // Takes one save for `client`; false when its bucket is empty.
    bool take(const std::string& client, Clock::time_point now = Clock::now());

    // Addresses remembered at most; past it, the buckets that have refilled are forgotten (they
    // are the same as new ones), then the longest unused.
    static constexpr std::size_t maximumClients = 65536;

private:
    struct Bucket {
        double tokens;
        Clock::time_point last;
    };
    double refilled(const Bucket& bucket, Clock::time_point now) const;
    void makeRoom(Clock::time_point now);

    const double perMinute_;
    std::mutex mutex_;
    std::unordered_map<std::string, Bucket> buckets_;
};

} // namespace quillet::service
