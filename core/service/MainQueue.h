#pragma once

#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>

namespace quillet {

// Where completions of background work are handed back to the program's main thread. The app
// puts its event loop behind it; the tests run a RunLoopQueue.
class MainQueue {
public:
    // A queue that goes stops being the main queue first.
    virtual ~MainQueue();
    // Runs `work` later on the main thread, in the order of the calls. Safe from any thread.
    virtual void async(std::function<void()> work) = 0;

    // Hands `work` to the main queue. Once there is none (the app quit while a request was still
    // out), the work is dropped: nothing is left to run it on, and nothing gone is touched.
    static void post(std::function<void()> work);
    static void setMain(MainQueue& queue);

protected:
    // Stops being the main queue; a derived queue calls it first thing in its destructor, so
    // that no work reaches it half destroyed.
    void retire();
};

// A main queue drained by whoever owns the main thread.
class RunLoopQueue : public MainQueue {
public:
    ~RunLoopQueue() override { retire(); }
    void async(std::function<void()> work) override;
    // Runs queued work until `done` holds or `timeout` passes; returns whether `done` held.
    bool runUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout);

private:
    std::mutex mutex_;
    std::condition_variable ready_;
    std::deque<std::function<void()>> work_;
};

} // namespace quillet
