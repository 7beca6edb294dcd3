#include "RefusalLog.h"

#include "ServiceLog.h"

namespace quillet::service {

namespace {
constexpr std::chrono::seconds kEvery{1};
} // namespace

void RefusalLog::refused(const std::string& why, Clock::time_point now) {
    std::lock_guard lock(mutex_);
    if (counted_ > 0 && why != why_) {
        writeLocked(now); // each line counts one kind of refusal
    }
    why_ = why;
    ++counted_;
    if (now - lastLine_ >= kEvery) {
        writeLocked(now);
    }
}

void RefusalLog::flush(Clock::time_point now) {
    std::lock_guard lock(mutex_);
    if (counted_ > 0 && now - lastLine_ >= kEvery) {
        writeLocked(now);
    }
}

bool RefusalLog::pending() const {
    std::lock_guard lock(mutex_);
    return counted_ > 0;
}

void RefusalLog::writeLocked(Clock::time_point now) {
    log_.write("- - 503 " + why_ +
               (counted_ == 1 ? std::string() : " (" + std::to_string(counted_) + " connections)"));
    counted_ = 0;
    lastLine_ = now;
}

} // namespace quillet::service
