#include "SaveRateLimit.h"

#include <algorithm>

namespace quillet::service {

double SaveRateLimit::refilled(const Bucket& bucket, Clock::time_point now) const {
    const double minutes = std::chrono::duration<double, std::ratio<60>>(now - bucket.last).count();
    return std::min(perMinute_, bucket.tokens + minutes * perMinute_);
}

void SaveRateLimit::makeRoom(Clock::time_point now) {
    std::erase_if(buckets_,
                  [&](const auto& entry) { return refilled(entry.second, now) >= perMinute_; });
    if (buckets_.size() >= maximumClients) {
        buckets_.erase(std::min_element(buckets_.begin(), buckets_.end(), [](auto& a, auto& b) {
            return a.second.last < b.second.last;
        }));
    }
}

bool SaveRateLimit::take(const std::string& client, Clock::time_point now) {
    std::lock_guard lock(mutex_);
    auto found = buckets_.find(client);
    if (found == buckets_.end()) {
        if (buckets_.size() >= maximumClients) {
            makeRoom(now);
        }
        found = buckets_.emplace(client, Bucket{perMinute_, now}).first;
    }
    Bucket& bucket = found->second;
    bucket.tokens = refilled(bucket, now);
    bucket.last = now;
    if (bucket.tokens < 1.0) {
        return false;
    }
    bucket.tokens -= 1.0;
    return true;
}

} // namespace quillet::service
