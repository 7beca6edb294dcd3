#pragma once

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <mutex>
#include <optional>
#include <utility>

namespace quillet::service {

// At most a few large answers (an owner's whole list) built at once, since each holds its banks
// in memory several times over while it is made; a short queue waits for a turn, and past it a
// request is turned away rather than letting memory grow with the requests. Safe from any
// thread.
class HeavyAnswerGate {
public:
    // Held while one answer is built; the turn goes back when it ends.
    class Pass {
    public:
        explicit Pass(HeavyAnswerGate& gate) : gate_(&gate) {}
        Pass(Pass&& other) noexcept : gate_(std::exchange(other.gate_, nullptr)) {}
        Pass(const Pass&) = delete;
        Pass& operator=(const Pass&) = delete;
        Pass& operator=(Pass&&) = delete;
        ~Pass();

    private:
        HeavyAnswerGate* gate_;
    };

    // `atOnce` answers built together, `queued` more waiting up to `wait` each.
    HeavyAnswerGate(std::size_t atOnce, std::size_t queued, std::chrono::milliseconds wait);

    // A turn, or nothing when the queue is full or the wait ran out.
    std::optional<Pass> enter();

private:
    void leave();

    const std::size_t atOnce_;
    const std::size_t queued_;
    const std::chrono::milliseconds wait_;
    std::mutex mutex_;
    std::condition_variable turn_;
    std::size_t building_ = 0;
    std::size_t waiting_ = 0;
};

} // namespace quillet::service
