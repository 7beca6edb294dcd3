#pragma once

#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>

namespace quillet {

// Where completions of background work are handed back to the program's main thread. The app
// puts its event loop behind it; the cli and the tests run a RunLoopQueue.
class MainQueue {
public:
    virtual ~MainQueue() = default;
    // Runs `work` later on the main thread, in the order of the calls. Safe from any thread.
    virtual void async(std::function<void()> work) = 0;

    static MainQueue& main();
    // Makes `queue` the main queue; it must outlive every use.
    static void setMain(MainQueue& queue);
};

// A main queue drained by whoever owns the main thread.
class RunLoopQueue : public MainQueue {
public:
    void async(std::function<void()> work) override;
    // Runs queued work until `done` holds or `timeout` passes; returns whether `done` held.
    bool runUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout);

private:
    std::mutex mutex_;
    std::condition_variable ready_;
    std::deque<std::function<void()>> work_;
};

} // namespace quillet
