#pragma once

#include <atomic>
#include <chrono>

namespace quillet::service {

// A flag that threads waiting in poll() can watch: once raised, its descriptor stays readable.
class StopSignal {
public:
    StopSignal();
    ~StopSignal();
    StopSignal(const StopSignal&) = delete;
    StopSignal& operator=(const StopSignal&) = delete;

    // Safe from any thread; raising twice is harmless.
    void raise();
    bool raised() const { return raised_.load(); }
    int descriptor() const { return pipe_[0]; }
    // When it was raised; meaningful once raised() is true.
    std::chrono::steady_clock::time_point raisedAt() const { return raisedAt_.load(); }

private:
    int pipe_[2] = {-1, -1};
    std::atomic<bool> raised_{false};
    std::atomic<std::chrono::steady_clock::time_point> raisedAt_{};
};

} // namespace quillet::service
