#include "HeavyAnswerGate.h"

namespace quillet::service {

HeavyAnswerGate::Pass::~Pass() {
    if (gate_ != nullptr) {
        gate_->leave();
    }
}

HeavyAnswerGate::HeavyAnswerGate(std::size_t atOnce, std::size_t queued,
                                 std::chrono::milliseconds wait)
    : atOnce_(atOnce), queued_(queued), wait_(wait) {}

std::optional<HeavyAnswerGate::Pass> HeavyAnswerGate::enter() {
    std::unique_lock lock(mutex_);
    if (building_ >= atOnce_) {
        if (waiting_ >= queued_) {
            return std::nullopt;
        }
        ++waiting_;
        const bool free = turn_.wait_for(lock, wait_, [this] { return building_ < atOnce_; });
        --waiting_;
        if (!free) {
            return std::nullopt;
        }
    }
    ++building_;
    return Pass(*this);
}

void HeavyAnswerGate::leave() {
    {
        std::lock_guard lock(mutex_);
        --building_;
    }
    turn_.notify_one();
}

} // namespace quillet::service
